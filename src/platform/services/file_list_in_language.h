#pragma once

#include <QIdentityProxyModel>

namespace quillory {

// The file dialog's file list with its sizes and dates written as the default
// locale (the interface language) writes them; Qt's own list writes them as the
// system's region does, so an Italian window would show English months.
class FileListInLanguage : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The columns of the dialog's detail view.
    enum Column { Name = 0, Size = 1, Type = 2, Modified = 3 };
};

} // namespace quillory
