// The pointer over the player: which button it is over (TransportButtonPictures).
#include "form1.h"
#include "player/picture_button.h"

#include <QEvent>
#include <QMouseEvent>

using namespace quillory;

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    // A move that a button ignored bubbles up to the window as well; it is not a
    // move over the bare window and must not undo the button's hover state. A
    // disabled button takes no moves, so over it the window counts.
    if (watched == centralWidget() && event->type() == QEvent::MouseMove) {
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        const auto *button = qobject_cast<PictureButton *>(centralWidget()->childAt(at));
        if (button == nullptr || !button->isEnabled())
            Form_MouseMove();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool Form1::isHovered(int button) const
{
    return m_buttonPictures.isHovered(button);
}

void Form1::buttonHovered(int button)
{
    m_buttonPictures.hovered(button);
}

void Form1::Form_MouseMove()
{
    m_buttonPictures.leftButtons();
}
