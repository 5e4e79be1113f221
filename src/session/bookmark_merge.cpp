#include "bookmark_merge.h"

#include <QSet>

namespace quillory {

QStringList mergeBookmarks(const QStringList &base, const QStringList &ours,
                           const QStringList &theirs)
{
    QSet<QString> known(base.cbegin(), base.cend());
    known.unite(QSet<QString>(ours.cbegin(), ours.cend()));
    QStringList merged = ours;
    for (const QString &entry : theirs)
        if (!known.contains(entry)) {
            merged << entry;
            known.insert(entry); // an entry the file holds twice is added once
        }
    return merged;
}

} // namespace quillory
