// The program on the desktop: media keys through the session bus and USB foot
// pedals, both driving the player through its commands.
#include "application.h"

#include "app/session_desktop_player.h"
#include "desktop/foot_pedals.h"
#include "desktop/hidraw_pedal_source.h"
#include "desktop/mpris_service.h"
#include "desktop/pedal_controller.h"
#include "platform/files/preferences.h"
#include "player/form1.h"
#include "session/bookmark_navigation.h"
#include "session/player_session.h"

#include <QDBusConnection>

using namespace quillory;

void Application::openHandedOver(const QString &path)
{
    if (!m_player)
        return;
    m_player->raiseWindows();
    if (!path.isEmpty())
        m_player->OpenMediaFile(path);
}

void Application::startDesktop()
{
    Form1 *player = m_player.get();
    m_desktopPlayer = std::make_unique<SessionDesktopPlayer>(
        *m_session, [player](const QString &path) { player->OpenMediaFile(path); },
        [player] { player->raiseWindows(); });

    m_mpris = std::make_unique<MprisService>(m_player->commands(), *m_desktopPlayer);
    MprisHooks hooks;
    // Next and previous are the bookmarks the player's own commands would go to.
    PlayerSession *session = m_session.get();
    const auto bookmark = [session](bool forward) {
        const double current = session->position();
        const double rewindMs = static_cast<double>(session->pauseRewindSeconds()) * 1000.0;
        return forward ? BookmarkNavigation::next(session->bookmarks(), current, rewindMs)
                       : BookmarkNavigation::previous(session->bookmarks(), current, rewindMs);
    };
    hooks.canGoNext = [bookmark] { return bookmark(true).has_value(); };
    hooks.canGoPrevious = [bookmark] { return bookmark(false).has_value(); };
    hooks.next = [player] { player->mnuBMsuccessivo_Click(); };
    hooks.previous = [player] { player->mnuBMprecedente_Click(); };
    // The speed is the session's, kept for the next start as the menu keeps it.
    hooks.rate = [session] { return session->speed().factor(); };
    hooks.setRate = [session](double rate) {
        const PlaybackSpeed speed = PlaybackSpeed::nearest(rate);
        if (session->changeSpeed(speed)) {
            Preferences &preferences = Preferences::shared();
            speed.store(preferences);
            preferences.save();
        }
    };
    hooks.volume = [player] { return player->volumePanel().volumeFraction(); };
    hooks.setVolume = [player](double volume) { player->volumePanel().setVolumeFraction(volume); };
    m_mpris->setHooks(hooks);
    // What clients see follows the session's own news; a position moved while
    // paused is a seek for them.
    MprisService *mpris = m_mpris.get();
    const auto refresh = [mpris] { mpris->refresh(); };
    for (const auto signal : {&PlayerSession::mediaClosed, &PlayerSession::bookmarksLoaded,
                              &PlayerSession::bookmarksChanged})
        QObject::connect(session, signal, mpris, refresh);
    QObject::connect(session, &PlayerSession::mediaOpened, mpris, refresh);
    QObject::connect(session, &PlayerSession::playStateChanged, mpris, refresh);
    QObject::connect(session, &PlayerSession::speedChanged, mpris, refresh);
    QObject::connect(session, &PlayerSession::bookmarksLeft, mpris, refresh);
    QObject::connect(session, &PlayerSession::positionShown, mpris, [mpris, session] {
        if (session->playState() != PlayState::Playing)
            mpris->refresh();
    });
    // Without a session bus the program runs as before, silently.
    m_mpris->registerOn(QDBusConnection::sessionBus());

    const Preferences &preferences = Preferences::shared();
    PedalModels models;
    for (const QString &entry : preferences.text(QStringLiteral("PedalDevice"))
                                    .split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (const auto model = PedalModels::parse(entry))
            models.add(*model);
    m_pedalController = std::make_unique<PedalController>(m_player->commands(), *m_desktopPlayer,
                                                          PedalSettings::load(preferences));
    m_pedalSource = std::make_unique<HidrawPedalSource>(models);
    m_footPedals = std::make_unique<FootPedals>(
        *m_pedalSource, *m_pedalController, [this](const QString &path, const PedalModel &model) {
            m_messages.show(nullptr, FootPedals::accessMessage(path, model), MsgButtons::Ok,
                            MsgIcon::Information, QStringLiteral("Quillory"));
        });
    m_pedalSource->start();
}
