#include "editor/undo_caret.h"

#include <algorithm>

namespace quillory {

int caretAfterRestore(QStringView before, QStringView after)
{
    if (before == after)
        return -1;
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    // The common tail may not reach into the common head: typing "a" after
    // "a" differs at the second letter, not the first.
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return static_cast<int>(after.size() - suffix);
}

} // namespace quillory
