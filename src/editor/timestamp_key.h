#pragma once

#include <QKeyCombination>
#include <QString>

namespace quillory {

class Preferences;

// The editor key that inserts a timestamp: "keys.timestamp" in the preferences
// ("F2" by default, written as a key sequence: "F2", "Ctrl+T", "Alt+Shift+3").
// A key the editor's own key table uses, a plain typing key without Ctrl, Alt
// or Meta, or text that names no single key gives the default instead.
QKeyCombination timestampKeyFromText(const QString &text);
QKeyCombination timestampKey(const Preferences &preferences);

// Whether a key press is that key (the keypad flag does not count).
bool isTimestampKey(int key, Qt::KeyboardModifiers modifiers, QKeyCombination timestampKey);

} // namespace quillory
