// Playback speed with the pitch kept, and the loop over the last seconds heard:
// the commands, their menu items and keys, and what the window shows of them.
#include "form1.h"
#include "i18n/captions.h"
#include "platform/files/preferences.h"

#include <QLabel>
#include <QMenu>

using namespace quillory;

void Form1::buildSpeedControls()
{
    mnuRiproduzione->addSeparator()->setObjectName(QStringLiteral("mnuR5"));
    auto item = [this](const char *name, void (Form1::*handler)()) {
        QAction *action = addItem(mnuRiproduzione, name, QString());
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    mnuPiuLento = item("mnuPiuLento", &Form1::mnuPiuLento_Click);
    mnuPiuVeloce = item("mnuPiuVeloce", &Form1::mnuPiuVeloce_Click);
    mnuVelocitaNormale = item("mnuVelocitaNormale", &Form1::mnuVelocitaNormale_Click);
    mnuCiclo = item("mnuCiclo", &Form1::mnuCiclo_Click);
    mnuCiclo->setCheckable(true);
    // The loop needs an open file; it is enabled with the transport.
    mnuCiclo->setEnabled(false);
    connect(mnuPlay, &QAction::changed, this,
            [this] { mnuCiclo->setEnabled(mnuPlay->isEnabled()); });

    m_indicators = std::make_unique<SpeedLoopIndicators>(centralWidget());
    lblVelocita = m_indicators->lblVelocita;
    lblCiclo = m_indicators->lblCiclo;
    applySpeedLanguage();
}

void Form1::loadSpeedSettings()
{
    const Preferences &preferences = Preferences::shared();
    m_playbackKeys = PlaybackKeys::fromPreferences(preferences);
    mnuPiuLento->setShortcut(m_playbackKeys.sequence(PlaybackKey::SpeedDown));
    mnuPiuVeloce->setShortcut(m_playbackKeys.sequence(PlaybackKey::SpeedUp));
    mnuVelocitaNormale->setShortcut(m_playbackKeys.sequence(PlaybackKey::SpeedReset));
    mnuCiclo->setShortcut(m_playbackKeys.sequence(PlaybackKey::Loop));
    m_session.setLoopSeconds(LoopRange::secondsFromPreferences(preferences));
    m_session.restoreSpeed(PlaybackSpeed::fromPreferences(preferences));
}

void Form1::applySpeedLanguage()
{
    mnuPiuLento->setText(caption(QStringLiteral("speed.slower"), QStringLiteral("Slo&wer")));
    mnuPiuVeloce->setText(caption(QStringLiteral("speed.faster"), QStringLiteral("&Faster")));
    mnuVelocitaNormale->setText(
        caption(QStringLiteral("speed.normal"), QStringLiteral("&Normal speed")));
    mnuCiclo->setText(
        caption(QStringLiteral("loop.menu"), QStringLiteral("&Loop the last seconds")));
    showSpeedAndLoop();
}

void Form1::showSpeedAndLoop()
{
    const bool looping = m_session.isLooping();
    m_indicators->show(m_session.speed(), looping, m_playbackKeys.sequence(PlaybackKey::Loop));
    mnuCiclo->setChecked(looping);
}

void Form1::changeSpeed(PlaybackSpeed speed)
{
    if (m_session.changeSpeed(speed)) {
        Preferences &preferences = Preferences::shared();
        speed.store(preferences);
        preferences.save(); // a failure keeps the old file; the speed holds for this run
    }
    ReturnFocus();
}

void Form1::mnuPiuLento_Click()
{
    changeSpeed(m_session.speed().slower());
}

void Form1::mnuPiuVeloce_Click()
{
    changeSpeed(m_session.speed().faster());
}

void Form1::mnuVelocitaNormale_Click()
{
    changeSpeed(PlaybackSpeed());
}

void Form1::mnuCiclo_Click()
{
    const bool hadMedia = m_session.hasMedia();
    m_session.toggleLoop();
    if (hadMedia)
        ReturnFocus();
}
