#pragma once

#include <QObject>
#include <functional>

class QWidget;
class RichTextBox;

// Ctrl+click on a timestamp of the transcript: the click goes to `onClick`
// with the document position of the character under the pointer, and is kept
// from the text control when `onClick` took it (a Ctrl+click anywhere else stays
// an ordinary click). While Ctrl is held over a timestamp the pointer is a
// pointing hand, as over a link.
class TimestampClicks : public QObject {
    Q_OBJECT
public:
    // `isTimestamp` tells whether the character at a document position belongs
    // to a timestamp; `onClick` acts on one and returns true when it took the click.
    TimestampClicks(RichTextBox *box, std::function<bool(int)> isTimestamp,
                    std::function<bool(int)> onClick);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updatePointer(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers);

    RichTextBox *m_box;
    // Kept from the start: while the box is being destroyed its viewport can
    // still send events here, and the box can no longer be asked for it.
    QWidget *m_viewport;
    std::function<bool(int)> m_isTimestamp;
    std::function<bool(int)> m_onClick;
    bool m_pressTaken = false;
    bool m_handShown = false;
};
