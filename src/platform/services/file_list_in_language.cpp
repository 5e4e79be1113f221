#include "file_list_in_language.h"

#include <QFileSystemModel>
#include <QLocale>

namespace quillory {

QVariant FileListInLanguage::data(const QModelIndex &index, int role) const
{
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr || !index.isValid())
        return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    switch (index.column()) {
    case Size:
        if (files->isDir(source))
            break;
        return QLocale().formattedDataSize(files->size(source), 1,
                                           QLocale::DataSizeTraditionalFormat);
    case Modified: {
        const QDateTime when = files->lastModified(source);
        if (!when.isValid())
            break;
        return QLocale().toString(when, QLocale::ShortFormat);
    }
    default:
        break;
    }
    return QIdentityProxyModel::data(index, role);
}

} // namespace quillory
