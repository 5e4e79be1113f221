#include "editor_follows_player.h"

#include "player/form1.h"

#include <QResizeEvent>

EditorFollowsPlayer::EditorFollowsPlayer(Form1 *player) : QObject(player), m_player(player)
{
    player->installEventFilter(this);
}

bool EditorFollowsPlayer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_player || event->type() != QEvent::Resize)
        return false;
    // Null while the window is being destroyed: its Form1 part is gone then.
    if (!qobject_cast<Form1 *>(watched))
        return false;
    TranscriptEditor *built = m_player->editorIfBuilt();
    if (QWidget *editor = built ? built->asWidget() : nullptr) {
        const auto *resize = static_cast<QResizeEvent *>(event);
        const int grown = resize->size().height() - resize->oldSize().height();
        const QRect now = m_player->frameGeometry();
        QRect before = now;
        before.setHeight(now.height() - grown);
        // Beside a taller bookmark list the editor stays where it is until the
        // player reaches below the list.
        const QRect oldAbove = m_player->editorAboveFrameFor(before);
        const QRect newAbove = m_player->editorAboveFrameFor(now);
        const int oldBottom = oldAbove.y() + oldAbove.height();
        if (resize->oldSize().isValid() && grown != 0 && editor->y() == oldBottom)
            editor->move(editor->x(), newAbove.y() + newAbove.height());
    }
    return false;
}
