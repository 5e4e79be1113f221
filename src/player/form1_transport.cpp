// Media session and transport: open, close, position, play/pause with the rewind
// on pause, stop, jumps and the focus return after each command.
#include "editor/form2.h"
#include "form1.h"
#include "player/picture_button.h"
#include "player/position_bar.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <array>

using namespace quillory;

namespace {
constexpr int ReplyLength = 127;
constexpr int DisplayIntervalMs = 10;
} // namespace

std::uint32_t Form1::send(const QString &command)
{
    return m_media.sendString(command, nullptr, 0);
}

bool Form1::queryLength(double *length)
{
    std::array<char, ReplyLength> reply{};
    if (m_media.sendString(QStringLiteral("status wav1 length"), reply.data(), ReplyLength) != 0)
        return false;
    *length = QString::fromUtf8(reply.data()).toDouble();
    return true;
}

double Form1::CurPos()
{
    std::array<char, ReplyLength> reply{};
    if (m_media.sendString(QStringLiteral("status wav1 position"), reply.data(), ReplyLength) != 0)
        return 0;
    return QString::fromUtf8(reply.data()).toDouble();
}

void Form1::setTransportEnabled(bool enabled)
{
    for (QAction *a : {mnuChiudi, mnuPlay, mnuStop, mnuAvanti, mnuIndietro, mnuVai})
        a->setEnabled(enabled);
    for (QAbstractButton *b :
         std::initializer_list<QAbstractButton *>{cmdPlay, CmdStop, CmdAvanz, cmdIndietro, cmdVai})
        b->setEnabled(enabled);
}

void Form1::vai(const QString &path)
{
    endLoop();
    Label4->show();
    Shape3->show();
    send(QStringLiteral("close all"));
    const std::uint32_t code =
        send(QStringLiteral("open \"") + path + QStringLiteral("\" ALIAS wav1"));
    if (code > 0) {
        errore(code);
        if (m_ended)
            return;
    }
    setTransportEnabled(true);
    cmdPlay_Click();
    MostraPath();
}

void Form1::mnuChiudi_Click()
{
    endLoop();
    send(QStringLiteral("close wav1"));
    if (Timer1.isActive())
        cmdPlay_Click();
    Shape1->hide();
    Label2->setText(QStringLiteral("0:00 / 0:00"));
    Label4->hide();
    Shape3->hide();
    setTransportEnabled(false);
}

void Form1::errore(std::uint32_t code)
{
    m_services.messages->show(this, m_media.errorText(code), MsgButtons::Ok, MsgIcon::None,
                              m_productTitle);
    mnuEsci_Click();
}

void Form1::setPlayState(PlayState state)
{
    m_playState = state;
    // The button keeps the state's text, as the language table names it.
    cmdPlay->tag = m_language.T(state == PlayState::NotPlaying ? 7 : 8);
    loadButtonPicture(1, m_hover[1]);
}

void Form1::ReturnFocus()
{
    if (form2()->isVisible()) {
        m_form2->activateWindow();
        m_form2->raise();
        m_form2->focusEditor();
    } else {
        m_services.windowSwitcher->activatePreviousWindow(this);
    }
}

void Form1::cmdPlay_Click()
{
    endLoop();
    if (m_playState == PlayState::NotPlaying) {
        setPlayState(PlayState::Playing);
        send(QStringLiteral("play wav1"));
        Timer1.start(DisplayIntervalMs);
        cmdVai->setEnabled(true);
        cmdIndietro->setEnabled(true);
        CmdAvanz->setEnabled(true);
        Shape1->show();
    } else {
        setPlayState(PlayState::NotPlaying);
        // The output stops first: only then is it known where the listener's
        // sound ended (a sound server plays on what it took before the pause
        // arrived, or takes back what it had not yet played), and the rewind
        // counts from there.
        send(QStringLiteral("stop wav1"));
        const double p = CurPos();
        // Computed wide: an edited settings file may hold any 16-bit value.
        double target = p - static_cast<double>(m_settings.pauseRewindSeconds) * 1000.0;
        if (!(target > 0))
            target = 0;
        send(QStringLiteral("play wav1 from ") + QString::number(static_cast<qint64>(target)));
        send(QStringLiteral("stop wav1"));
        Timer1.stop();
        cmdVai->setEnabled(true);
        Label2->setText(QStringLiteral("0:00 / 0:00"));
    }
    ReturnFocus();
}

void Form1::mnuStop_Click()
{
    endLoop();
    send(QStringLiteral("seek wav1 to start"));
    Timer1_Timer();
    setPlayState(PlayState::NotPlaying);
}

void Form1::cmdAvanz_click()
{
    endLoop();
    if (m_settings.jumpSeconds == 0)
        m_settings.jumpSeconds = 2;
    const double p = CurPos();
    const double target = p + static_cast<double>(m_settings.jumpSeconds) * 1000.0;
    send(QStringLiteral("play wav1 from ") + QString::number(static_cast<qint64>(target)));
    Timer1_Timer();
    ReturnFocus();
}

void Form1::cmdIndietro_Click()
{
    endLoop();
    if (m_settings.jumpSeconds == 0)
        m_settings.jumpSeconds = 2;
    const double p = CurPos();
    double target = p - static_cast<double>(m_settings.jumpSeconds) * 1000.0;
    if (!(target > 0))
        target = 0;
    send(QStringLiteral("play wav1 from ") + QString::number(static_cast<qint64>(target)));
    Timer1_Timer();
    ReturnFocus();
}
