#include "speed_loop_menu.h"

#include "i18n/captions.h"
#include "platform/files/preferences.h"
#include "player/player_menus.h"
#include "session/player_session.h"

#include <QAction>
#include <QMenu>

using namespace quillory;

SpeedLoopMenu::SpeedLoopMenu(PlayerSession &session, QMenu *playbackMenu, QAction *play,
                             QWidget *client, std::function<void()> returnFocus)
    : QObject(client), m_session(session), m_returnFocus(std::move(returnFocus)),
      m_indicators(client)
{
    playbackMenu->addSeparator()->setObjectName(QStringLiteral("mnuR5"));
    auto item = [this, playbackMenu](const char *name, void (SpeedLoopMenu::*command)()) {
        QAction *action = PlayerMenus::addMenuItem(playbackMenu, name, QString());
        connect(action, &QAction::triggered, this, command);
        return action;
    };
    m_slower = item("mnuPiuLento", &SpeedLoopMenu::slower);
    m_faster = item("mnuPiuVeloce", &SpeedLoopMenu::faster);
    m_normal = item("mnuVelocitaNormale", &SpeedLoopMenu::normalSpeed);
    m_loop = item("mnuCiclo", &SpeedLoopMenu::toggleLoop);
    m_loop->setCheckable(true);
    m_loop->setEnabled(false);
    connect(play, &QAction::changed, m_loop,
            [this, play] { m_loop->setEnabled(play->isEnabled()); });
    connect(&m_session, &PlayerSession::speedChanged, this, &SpeedLoopMenu::showSpeedAndLoop);
    connect(&m_session, &PlayerSession::loopChanged, this, &SpeedLoopMenu::showSpeedAndLoop);
    applyLanguage();
}

void SpeedLoopMenu::loadSettings()
{
    const Preferences &preferences = Preferences::shared();
    m_keys = PlaybackKeys::fromPreferences(preferences);
    m_slower->setShortcut(m_keys.sequence(PlaybackKey::SpeedDown));
    m_faster->setShortcut(m_keys.sequence(PlaybackKey::SpeedUp));
    m_normal->setShortcut(m_keys.sequence(PlaybackKey::SpeedReset));
    m_loop->setShortcut(m_keys.sequence(PlaybackKey::Loop));
    m_session.setLoopSeconds(LoopRange::secondsFromPreferences(preferences));
    m_session.restoreSpeed(PlaybackSpeed::fromPreferences(preferences));
}

void SpeedLoopMenu::applyLanguage()
{
    m_slower->setText(caption(QStringLiteral("speed.slower"), QStringLiteral("Slo&wer")));
    m_faster->setText(caption(QStringLiteral("speed.faster"), QStringLiteral("&Faster")));
    m_normal->setText(caption(QStringLiteral("speed.normal"), QStringLiteral("&Normal speed")));
    m_loop->setText(caption(QStringLiteral("loop.menu"), QStringLiteral("&Loop the last seconds")));
    showSpeedAndLoop();
}

void SpeedLoopMenu::showSpeedAndLoop()
{
    const bool looping = m_session.isLooping();
    m_indicators.show(m_session.speed(), looping, m_keys.sequence(PlaybackKey::Loop));
    m_loop->setChecked(looping);
}

void SpeedLoopMenu::changeSpeed(PlaybackSpeed speed)
{
    if (m_session.changeSpeed(speed)) {
        Preferences &preferences = Preferences::shared();
        speed.store(preferences);
        preferences.save(); // a failure keeps the old file; the speed holds for this run
    }
    m_returnFocus();
}

void SpeedLoopMenu::slower()
{
    changeSpeed(m_session.speed().slower());
}

void SpeedLoopMenu::faster()
{
    changeSpeed(m_session.speed().faster());
}

void SpeedLoopMenu::normalSpeed()
{
    changeSpeed(PlaybackSpeed());
}

void SpeedLoopMenu::toggleLoop()
{
    const bool hadMedia = m_session.hasMedia();
    m_session.toggleLoop();
    if (hadMedia)
        m_returnFocus();
}
