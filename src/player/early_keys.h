#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

class QKeyEvent;
class QWidget;

namespace quillory {

// Key presses kept to be typed into another widget later.
class HeldKeys {
public:
    void add(const QKeyEvent &press);
    bool isEmpty() const { return m_keys.empty(); }
    int count() const { return static_cast<int>(m_keys.size()); }
    // Sends the keys to `target` as if typed there, in order, and holds no more.
    void replayInto(QWidget *target);

private:
    struct Key {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        bool autoRepeat;
        quint16 count;
    };
    std::vector<Key> m_keys;
};

// Typing that reaches a window before the window meant for it is up. While an
// EarlyKeys exists, the characters typed into `window` (keys with text and no
// Ctrl, Alt or Meta; the window's own commands and Esc still reach it) are held
// instead of being dropped. It is a child of `window`.
class EarlyKeys : public QObject {
public:
    explicit EarlyKeys(QWidget *window);
    ~EarlyKeys() override;

    bool isEmpty() const { return m_keys.isEmpty(); }
    HeldKeys takeKeys();

    // Whether a key press is typing (held) rather than a command.
    static bool isTyping(int key, Qt::KeyboardModifiers modifiers, const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_window;
    HeldKeys m_keys;
};

} // namespace quillory
