#include "editor/editor_keys.h"

namespace quillory {

EditorKey editorKeyFor(int key, Qt::KeyboardModifiers modifiers, const QString &languageFile)
{
    switch (key) {
    case Qt::Key_Escape:
        return EditorKey::Exit;
    case Qt::Key_F1:
        return EditorKey::Help;
    case Qt::Key_F5:
        return EditorKey::PlayPause;
    case Qt::Key_F6:
        return EditorKey::JumpBack;
    case Qt::Key_F7:
        return EditorKey::JumpForward;
    case Qt::Key_F8:
        return EditorKey::Bookmarks;
    case Qt::Key_F9:
        return EditorKey::AudioSettings;
    case Qt::Key_F11:
        return EditorKey::FullPath;
    default:
        break;
    }
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    if (held == (Qt::ControlModifier | Qt::ShiftModifier) && key == Qt::Key_Z)
        return EditorKey::Redo;
    if (held != Qt::ControlModifier)
        return EditorKey::None;
    const bool italian = languageFile.toLower() == QLatin1String("italiano.lng");
    switch (key) {
    case Qt::Key_B:
        return italian ? EditorKey::Ignore : EditorKey::Bold;
    case Qt::Key_U:
        return italian ? EditorKey::Ignore : EditorKey::Underline;
    case Qt::Key_G:
        return italian ? EditorKey::Bold : EditorKey::Ignore;
    case Qt::Key_S:
        return italian ? EditorKey::Underline : EditorKey::Ignore;
    case Qt::Key_I:
        return EditorKey::Italic;
    case Qt::Key_Z:
        return EditorKey::Undo;
    case Qt::Key_Y:
        return EditorKey::Redo;
    case Qt::Key_F:
        return EditorKey::Find;
    case Qt::Key_M:
        return EditorKey::AddBookmark;
    default:
        return EditorKey::None;
    }
}

} // namespace quillory
