// The program on the desktop: media keys through the session bus and USB foot
// pedals, both driving the player through its commands.
#include "application.h"

#include "app/form1_desktop_player.h"
#include "bookmarks/bookmark_navigation.h"
#include "desktop/foot_pedals.h"
#include "desktop/hidraw_pedal_source.h"
#include "desktop/mpris_service.h"
#include "desktop/pedal_controller.h"
#include "platform/files/preferences.h"
#include "player/form1.h"

#include <QAction>
#include <QDBusConnection>

using namespace quillory;

void Application::startDesktop()
{
    m_desktopPlayer = std::make_unique<Form1DesktopPlayer>(*m_player, *m_media);

    m_mpris = std::make_unique<MprisService>(*m_player, *m_desktopPlayer);
    MprisHooks hooks;
    // Next and previous are the bookmarks the player's own commands would go to.
    Form1 *player = m_player.get();
    const auto bookmark = [player](bool forward) {
        const double current = player->CurPos();
        const double rewindMs = static_cast<double>(player->pauseRewindSeconds()) * 1000.0;
        return forward ? BookmarkNavigation::next(player->bookmarkEntries(), current, rewindMs)
                       : BookmarkNavigation::previous(player->bookmarkEntries(), current, rewindMs);
    };
    hooks.canGoNext = [bookmark] { return bookmark(true).has_value(); };
    hooks.canGoPrevious = [bookmark] { return bookmark(false).has_value(); };
    hooks.next = [player] { player->mnuBMsuccessivo->trigger(); };
    hooks.previous = [player] { player->mnuBMprecedente->trigger(); };
    m_mpris->setHooks(hooks);
    // Without a session bus the program runs as before, silently.
    m_mpris->registerOn(QDBusConnection::sessionBus());

    const Preferences &preferences = Preferences::shared();
    PedalModels models;
    for (const QString &entry : preferences.text(QStringLiteral("PedalDevice"))
                                    .split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (const auto model = PedalModels::parse(entry))
            models.add(*model);
    m_pedalController = std::make_unique<PedalController>(*m_player, *m_desktopPlayer,
                                                          PedalSettings::load(preferences));
    m_pedalSource = std::make_unique<HidrawPedalSource>(models);
    m_footPedals = std::make_unique<FootPedals>(
        *m_pedalSource, *m_pedalController, [this](const QString &path, const PedalModel &model) {
            m_messages.show(nullptr, FootPedals::accessMessage(path, model), MsgButtons::Ok,
                            MsgIcon::Information, QStringLiteral("Quillory"));
        });
    m_pedalSource->start();
}
