#pragma once

#include <QString>
#include <Qt>

namespace quillory {

// What a key press in the transcript does. The letter rows need Ctrl alone
// (no Shift, no Alt), but for Ctrl+Shift+Z; Esc and the function keys act with
// any modifiers held.
enum class EditorKey {
    None, // left to the text control
    Bold,
    Italic,
    Underline,
    Ignore,      // a formatting letter of the other language group: taken, nothing happens
    Undo,        // Ctrl+Z: the Undo item's shortcut, kept from the control's own undo
    Redo,        // Ctrl+Y and Ctrl+Shift+Z, as elsewhere on the desktop
    Find,        // Ctrl+F beside F3
    AddBookmark, // Ctrl+M, as in the player
    Exit,
    Help,
    PlayPause,
    JumpBack,
    JumpForward,
    Bookmarks,
    AudioSettings,
    FullPath,
};

// `languageFile` is the current language file's name ("Italiano.lng"); the
// Italian interface formats with Ctrl+G (grassetto) and Ctrl+S (sottolineato),
// every other with Ctrl+B and Ctrl+U.
EditorKey editorKeyFor(int key, Qt::KeyboardModifiers modifiers, const QString &languageFile);

} // namespace quillory
