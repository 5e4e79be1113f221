// Time display, file label and the clickable position bar.
#include "form1.h"
#include "platform/geometry/twips.h"
#include "player/position_bar.h"
#include "player/position_display.h"
#include "session/time_format.h"

#include <QFrame>
#include <QLabel>
#include <cmath>

using namespace quillory;

void Form1::Timer1_Timer()
{
    m_session.tick();
}

void Form1::showPosition(double position, double length)
{
    m_positionDisplay->show(position, length);
}

int Form1::fillWidthTwips() const
{
    return static_cast<int>(std::lround(m_positionDisplay->fillTwips()));
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
    const QString &path = m_session.mediaPath();
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const QString fileName = slash < 0 ? path : path.mid(slash + 1);
    const std::optional<double> length = m_session.length();
    if (!length)
        return;
    const QString caption = (mnuTitoloCompleto->isChecked() ? path : fileName) +
                            QStringLiteral(" - ") + formatMinutesSeconds(*length);
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
    const std::optional<double> length = m_session.length();
    if (!length)
        return;
    const double width = pixelsToTwips(Label2->width());
    if (width <= 0)
        return;
    const double t = std::floor(*length / width * x);
    const QString text =
        (t >= 0 ? QStringLiteral(" ") : QString()) + QString::number(static_cast<qint64>(t));
    if (text != Label2->tag)
        Label2->tag = text;
}

void Form1::Label2_Click()
{
    bool ok = false;
    const qint64 ms = Label2->tag.trimmed().toLongLong(&ok);
    m_session.playFromBar(ok ? std::optional<std::int64_t>(ms) : std::nullopt);
}
