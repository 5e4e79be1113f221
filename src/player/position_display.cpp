#include "position_display.h"

#include <QEvent>
#include <QLabel>
#include <QWidget>
#include <limits>

PositionDisplay::PositionDisplay(QWidget *window, QLabel *timeText, QWidget *fill)
    : QObject(window), m_window(window), m_timeText(timeText), m_fill(fill)
{
    window->installEventFilter(this);
}

bool PositionDisplay::windowShown() const
{
    return m_window->isVisible() && !m_window->isMinimized();
}

void PositionDisplay::show(double positionMs, double lengthMs)
{
    const quillory::PositionReadout::Change change =
        m_readout.show(positionMs, lengthMs, m_timeText->width());
    m_textChanged = m_textChanged || change.text;
    m_fillChanged = m_fillChanged || change.fill;
    if (windowShown())
        drawChanges();
}

double PositionDisplay::msUntilChange(double positionMs, double lengthMs) const
{
    if (!windowShown())
        return std::numeric_limits<double>::infinity();
    return quillory::PositionReadout::msUntilChange(positionMs, lengthMs, m_timeText->width());
}

void PositionDisplay::drawChanges()
{
    if (m_textChanged)
        m_timeText->setText(m_readout.text());
    if (m_fillChanged)
        m_fill->resize(m_readout.fillPixels(), m_fill->height());
    m_textChanged = m_fillChanged = false;
}

void PositionDisplay::clear()
{
    m_readout.forget();
    m_textChanged = m_fillChanged = false;
    m_timeText->setText(QStringLiteral("0:00 / 0:00"));
}

bool PositionDisplay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window &&
        (event->type() == QEvent::Show || event->type() == QEvent::WindowStateChange) &&
        windowShown()) {
        if (m_textChanged || m_fillChanged)
            drawChanges();
        emit shownAgain();
    }
    return QObject::eventFilter(watched, event);
}
