// Time display, end of the media, file label and the clickable position bar.
#include "form1.h"
#include "player/position_bar.h"
#include "player/time_format.h"
#include "player/twips.h"

#include <QFrame>
#include <QLabel>
#include <cmath>

using namespace quillory;

void Form1::Timer1_Timer()
{
    double length = 0;
    if (!queryLength(&length))
        return;
    // A device that reports no length has no end to detect (and no fill to scale).
    if (length > 0 && length == CurPos()) {
        send(QStringLiteral("seek wav1 to start"));
        cmdPlay_Click();
    }
    Label2->setText(formatTimeText(CurPos(), length));
    const double position = CurPos();
    const double barWidth = pixelsToTwips(Label2->width());
    m_fillWidthTwips = length > 0 ? std::clamp(barWidth * position / length, 0.0, barWidth) : 0.0;
    Shape1->resize(twipsToPixels(m_fillWidthTwips), Shape1->height());
}

int Form1::fillWidthTwips() const
{
    return static_cast<int>(std::lround(m_fillWidthTwips));
}

QString Form1::timeText() const
{
    return Label2->text();
}

QString Form1::fileLabelText() const
{
    return Label4->text();
}

QString Form1::mouseOverTime() const
{
    return Label2->tag;
}

void Form1::MostraPath()
{
    const int slash = m_mediaPath.lastIndexOf(QLatin1Char('/'));
    const QString fileName = slash < 0 ? m_mediaPath : m_mediaPath.mid(slash + 1);
    double length = 0;
    if (!queryLength(&length))
        return;
    const QString caption = (mnuTitoloCompleto->isChecked() ? m_mediaPath : fileName) +
                            QStringLiteral(" - ") + formatMinutesSeconds(length);
    QFont font(QStringLiteral("Arial"));
    const int n = caption.size();
    font.setPointSize(n <= 20 ? 14 : n <= 44 ? 11 : 9);
    Label4->setFont(font);
    Label4->setText(caption);
}

void Form1::mnuTitoloCompleto_Click()
{
    // Run from the menu, the action has already toggled its check mark.
    if (sender() != mnuTitoloCompleto)
        mnuTitoloCompleto->setChecked(!mnuTitoloCompleto->isChecked());
    MostraPath();
    SaveSettings();
}

void Form1::Label2_MouseMove(int, int, double x, double)
{
    double length = 0;
    if (!queryLength(&length))
        return;
    const double width = pixelsToTwips(Label2->width());
    if (width <= 0)
        return;
    const double t = std::floor(length / width * x);
    const QString text =
        (t >= 0 ? QStringLiteral(" ") : QString()) + QString::number(static_cast<qint64>(t));
    if (text != Label2->tag)
        Label2->tag = text;
}

void Form1::Label2_Click()
{
    endLoop();
    send(QStringLiteral("seek wav1 to start"));
    send(QStringLiteral("play wav1 from ") + Label2->tag);
    Timer1_Timer();
    if (m_playState == PlayState::NotPlaying) {
        m_playState = PlayState::Playing;
        cmdPlay_Click();
    }
}
