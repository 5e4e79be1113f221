// Playback speed with the pitch kept, and the loop over the last seconds heard:
// the commands, their menu items and keys, and what the window shows of them.
#include "form1.h"
#include "i18n/captions.h"
#include "platform/files/preferences.h"
#include "player/picture_button.h"
#include "player/twips.h"

#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

using namespace quillory;

namespace {
constexpr int DisplayIntervalMs = 10;

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
    m_loopSeconds = LoopRange::secondsFromPreferences(preferences);
    const PlaybackSpeed stored = PlaybackSpeed::fromPreferences(preferences);
    m_speed = PlaybackSpeed();
    if (m_media.engine().setSpeed(stored.factor()) == MediaError::None)
        m_speed = stored;
    showSpeedAndLoop();
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

bool Form1::loopOn() const
{
    return m_media.engine().isLooping();
}

void Form1::showSpeedAndLoop()
{
    const QString speedName = caption(QStringLiteral("speed.name"), QStringLiteral("Speed"));
    lblVelocita->setText(m_speed.label());
    lblVelocita->setToolTip(speedName + QStringLiteral(" ") + m_speed.label());
    lblVelocita->setAccessibleName(lblVelocita->toolTip());
    lblVelocita->setVisible(!m_speed.isNormal());

    const bool looping = loopOn();
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
    if (speed != m_speed && m_media.engine().setSpeed(speed.factor()) == MediaError::None) {
        m_speed = speed;
        Preferences &preferences = Preferences::shared();
        m_speed.store(preferences);
        preferences.save(); // a failure keeps the old file; the speed holds for this run
    }
    showSpeedAndLoop();
    ReturnFocus();
}

void Form1::mnuPiuLento_Click()
{
    changeSpeed(m_speed.slower());
}

void Form1::mnuPiuVeloce_Click()
{
    changeSpeed(m_speed.faster());
}

void Form1::mnuVelocitaNormale_Click()
{
    changeSpeed(PlaybackSpeed());
}

void Form1::endLoop()
{
    if (!loopOn())
        return;
    m_media.engine().clearLoop();
    showSpeedAndLoop();
}

// The loop key: the last seconds before the position play over and over, until
// the same key (playback then simply goes on) or Play/Pause (which pauses as
// always). Any other transport command, a bar click, a bookmark or another
// file ends the loop first.
void Form1::mnuCiclo_Click()
{
    MediaEngine &engine = m_media.engine();
    if (!engine.isOpen()) {
        showSpeedAndLoop();
        return;
    }
    if (loopOn()) {
        endLoop();
        ReturnFocus();
        return;
    }
    const LoopRange range = LoopRange::before(CurPos(), m_loopSeconds);
    if (!range.isPlayable() || engine.setLoop(range.fromMs, range.toMs) != MediaError::None) {
        // At the very start there is nothing heard to go back over.
        showSpeedAndLoop();
        ReturnFocus();
        return;
    }
    send(QStringLiteral("play wav1 from ") + QString::number(range.fromMs));
    if (m_playState == PlayState::NotPlaying) {
        // Playing, as Play/Pause would have started it.
        setPlayState(PlayState::Playing);
        Timer1.start(DisplayIntervalMs);
        cmdVai->setEnabled(true);
        cmdIndietro->setEnabled(true);
        CmdAvanz->setEnabled(true);
        Shape1->show();
    }
    Timer1_Timer();
    showSpeedAndLoop();
    ReturnFocus();
}
