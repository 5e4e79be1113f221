#include "editor/timestamp_key.h"

#include "editor/editor_keys.h"
#include "platform/files/preferences.h"

#include <QKeySequence>

namespace quillory {

namespace {

constexpr Qt::KeyboardModifiers Held =
    Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier;

bool usable(QKeyCombination combination)
{
    const int key = combination.key();
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    if (key == 0 || key == Qt::Key_unknown || (modifiers & ~Held))
        return false;
    // The table's keys keep their meaning in both letter groups.
    for (const char *language : {"English.lng", "Italiano.lng"})
        if (editorKeyFor(key, modifiers, QLatin1String(language)) != EditorKey::None)
            return false;
    const bool functionKey = key >= Qt::Key_F1 && key <= Qt::Key_F35;
    return functionKey || (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

} // namespace

QKeyCombination timestampKeyFromText(const QString &text)
{
    const QKeyCombination fallback(Qt::Key_F2);
    const QKeySequence sequence =
        QKeySequence::fromString(text.trimmed(), QKeySequence::PortableText);
    if (sequence.count() != 1 || !usable(sequence[0]))
        return fallback;
    return sequence[0];
}

QKeyCombination timestampKey(const Preferences &preferences)
{
    return timestampKeyFromText(preferences.text(QStringLiteral("keys.timestamp")));
}

bool isTimestampKey(int key, Qt::KeyboardModifiers modifiers, QKeyCombination timestampKey)
{
    return key == timestampKey.key() && (modifiers & Held) == timestampKey.keyboardModifiers();
}

} // namespace quillory
