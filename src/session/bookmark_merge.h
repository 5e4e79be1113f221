#pragma once

#include <QStringList>

namespace quillory {

// Two programs may keep bookmarks of one media file at once; the one that
// saves last must not drop what the other added. Given the entries as this
// program read them (`base`), as it holds them now (`ours`) and as the file
// holds them now (`theirs`), the merged table is ours followed by every entry
// the other program added: in theirs, neither in base nor in ours. Entries
// removed here stay removed.
QStringList mergeBookmarks(const QStringList &base, const QStringList &ours,
                           const QStringList &theirs);

} // namespace quillory
