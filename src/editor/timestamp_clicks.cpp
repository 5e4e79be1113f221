#include "editor/timestamp_clicks.h"

#include "editor/rich_text_box.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>

TimestampClicks::TimestampClicks(RichTextBox *box, std::function<bool(int)> isTimestamp,
                                 std::function<bool(int)> onClick)
    : QObject(box), m_box(box), m_viewport(box->viewport()), m_isTimestamp(std::move(isTimestamp)),
      m_onClick(std::move(onClick))
{
    box->viewport()->setMouseTracking(true);
    box->viewport()->installEventFilter(this);
    box->installEventFilter(this);
}

void TimestampClicks::updatePointer(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers)
{
    bool overTimestamp = false;
    if (modifiers & Qt::ControlModifier) {
        const int at = m_box->characterAt(viewportPoint);
        overTimestamp = at >= 0 && m_isTimestamp(at);
    }
    if (overTimestamp == m_handShown)
        return;
    m_handShown = overTimestamp;
    if (overTimestamp)
        m_viewport->setCursor(Qt::PointingHandCursor);
    else
        m_viewport->setCursor(Qt::IBeamCursor);
}

bool TimestampClicks::eventFilter(QObject *watched, QEvent *event)
{
    QWidget *viewport = m_viewport;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if (watched != viewport)
            break;
        auto *mouse = static_cast<QMouseEvent *>(event);
        m_pressTaken = false;
        if (mouse->button() != Qt::LeftButton ||
            (mouse->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) !=
                Qt::ControlModifier)
            break;
        const int at = m_box->characterAt(mouse->position().toPoint());
        if (at < 0 || !m_isTimestamp(at))
            break;
        // The second press of a double click was the first one's: taken, not repeated.
        if (event->type() == QEvent::MouseButtonDblClick || m_onClick(at)) {
            m_pressTaken = true;
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        // The release of a click that went to a timestamp must not end a
        // selection the control never started.
        if (watched == viewport && m_pressTaken) {
            m_pressTaken = false;
            return true;
        }
        break;
    case QEvent::MouseMove:
        if (watched == viewport) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->buttons() == Qt::NoButton)
                updatePointer(mouse->position().toPoint(), mouse->modifiers());
        }
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (watched == m_box && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Control)
            updatePointer(viewport->mapFromGlobal(QCursor::pos()),
                          event->type() == QEvent::KeyPress ? Qt::ControlModifier : Qt::NoModifier);
        break;
    case QEvent::Leave:
        if (watched == viewport && m_handShown) {
            m_handShown = false;
            viewport->setCursor(Qt::IBeamCursor);
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
