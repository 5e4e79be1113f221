#pragma once

#include <QStringView>

namespace quillory {

// Where the caret stands after Undo or Redo turned the text `before` into
// `after`: just behind what the step put back, or where it took text out, so
// the caret stays at the edit. -1 when the text is the same (a formatting
// step), where the caret is best left alone.
int caretAfterRestore(QStringView before, QStringView after);

} // namespace quillory
