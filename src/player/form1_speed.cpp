// Playback speed with the pitch kept, and the loop over the last seconds heard:
// the commands, their menu items and keys, and what the window shows of them.
#include "form1.h"
#include "i18n/captions.h"
#include "platform/files/preferences.h"
#include "platform/geometry/twips.h"
#include "player/picture_button.h"

#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

using namespace quillory;

namespace {

QLabel *indicator(QWidget *parent, const char *name, double top)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(twipsRect(3555, top, 735, 255));
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(8.25);
    arial.setBold(true);
    label->setFont(arial);
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->hide();
    return label;
}
} // namespace

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

    QWidget *client = centralWidget();
    lblVelocita = indicator(client, "lblVelocita", 1290);
    lblVelocita->setStyleSheet(QStringLiteral("color: #1d5fa0; background: transparent;"));
    lblCiclo = indicator(client, "lblCiclo", 1590);
    lblCiclo->setStyleSheet(
        QStringLiteral("color: white; background: #c0501f; border-radius: 3px;"));
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
    const QString speedName = caption(QStringLiteral("speed.name"), QStringLiteral("Speed"));
    const PlaybackSpeed speed = m_session.speed();
    lblVelocita->setText(speed.label());
    lblVelocita->setToolTip(speedName + QStringLiteral(" ") + speed.label());
    lblVelocita->setAccessibleName(lblVelocita->toolTip());
    lblVelocita->setVisible(!speed.isNormal());

    const bool looping = m_session.isLooping();
    lblCiclo->setText(caption(QStringLiteral("loop.indicator"), QStringLiteral("Loop")));
    lblCiclo->setToolTip(
        caption(QStringLiteral("loop.tooltip"), QStringLiteral("A loop is playing; %1 ends it"))
            .arg(m_playbackKeys.sequence(PlaybackKey::Loop).toString(QKeySequence::NativeText)));
    lblCiclo->setAccessibleName(lblCiclo->toolTip());
    lblCiclo->setVisible(looping);
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
