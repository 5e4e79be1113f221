#include "button_hover_watch.h"

#include "player/picture_button.h"
#include "player/player_controls.h"
#include "player/transport_button_pictures.h"

#include <QEvent>
#include <QMouseEvent>
#include <array>

ButtonHoverWatch::ButtonHoverWatch(QWidget *client, const PlayerControls &controls,
                                   TransportButtonPictures &pictures)
    : QObject(client), m_client(client), m_pictures(pictures)
{
    // In the order of TransportButtonPictures::Button.
    const std::array<PictureButton *, 5> buttons = {controls.Image3, controls.cmdPlay,
                                                    controls.cmdIndietro, controls.CmdAvanz,
                                                    controls.CmdStop};
    for (int i = 0; i < 5; ++i)
        connect(buttons[static_cast<size_t>(i)], &PictureButton::mouseMoved, this,
                [this, i] { m_pictures.hovered(i); });
    client->setMouseTracking(true);
    client->installEventFilter(this);
}

bool ButtonHoverWatch::eventFilter(QObject *watched, QEvent *event)
{
    // A move that a button ignored bubbles up to the client as well; it is not a
    // move over the bare window and must not undo the button's hover state. A
    // disabled button takes no moves, so over it the window counts.
    if (watched == m_client && event->type() == QEvent::MouseMove) {
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        const auto *button = qobject_cast<PictureButton *>(m_client->childAt(at));
        if (button == nullptr || !button->isEnabled())
            m_pictures.leftButtons();
    }
    return QObject::eventFilter(watched, event);
}
