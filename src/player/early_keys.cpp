#include "early_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <utility>

namespace quillory {

void HeldKeys::add(const QKeyEvent &press)
{
    m_keys.push_back(Key{press.key(), press.modifiers(), press.text(), press.isAutoRepeat(),
                         static_cast<quint16>(press.count())});
}

void HeldKeys::replayInto(QWidget *target)
{
    std::vector<Key> keys;
    keys.swap(m_keys);
    const QPointer<QWidget> receiver(target);
    for (const Key &k : keys) {
        if (receiver.isNull())
            return;
        QKeyEvent press(QEvent::KeyPress, k.key, k.modifiers, k.text, k.autoRepeat, k.count);
        QCoreApplication::sendEvent(receiver, &press);
        QKeyEvent release(QEvent::KeyRelease, k.key, k.modifiers, k.text, k.autoRepeat, k.count);
        if (!receiver.isNull())
            QCoreApplication::sendEvent(receiver, &release);
    }
}

EarlyKeys::EarlyKeys(QWidget *window) : QObject(window), m_window(window)
{
    // Key events go to the window's focus widget, whichever it is; the
    // application sees them all first.
    qApp->installEventFilter(this);
}

EarlyKeys::~EarlyKeys()
{
    qApp->removeEventFilter(this);
}

HeldKeys EarlyKeys::takeKeys()
{
    return std::exchange(m_keys, HeldKeys());
}

bool EarlyKeys::isTyping(int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab ||
        key == Qt::Key_Backspace)
        return true;
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (!c.isPrint())
            return false;
    return true;
}

bool EarlyKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (widget == nullptr || m_window.isNull() || widget->window() != m_window)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (!isTyping(key->key(), key->modifiers(), key->text()))
        return false;
    // The press carries the character; its release has nothing left to do.
    if (event->type() == QEvent::KeyPress)
        m_keys.add(*key);
    return true;
}

} // namespace quillory
