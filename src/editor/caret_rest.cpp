#include "caret_rest.h"

#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

CaretRest::CaretRest(int restAfterMs, QObject *parent)
    : QObject(parent), m_flashTime(QGuiApplication::styleHints()->cursorFlashTime())
{
    if (m_flashTime <= 0)
        return;
    m_idle.setSingleShot(true);
    m_idle.setInterval(restAfterMs);
    connect(&m_idle, &QTimer::timeout, this, &CaretRest::rest);
    qApp->installEventFilter(this);
    m_idle.start();
}

CaretRest::~CaretRest()
{
    wake();
}

bool CaretRest::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::InputMethod:
    case QEvent::Wheel:
        wake();
        m_idle.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CaretRest::rest()
{
    m_resting = true;
    QGuiApplication::styleHints()->setCursorFlashTime(0); // shown, not blinking
}

void CaretRest::wake()
{
    if (!m_resting)
        return;
    m_resting = false;
    QGuiApplication::styleHints()->setCursorFlashTime(m_flashTime);
}
