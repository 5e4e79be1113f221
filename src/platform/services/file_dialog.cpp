#include "file_dialog.h"

#include <QDir>
#include <QFileInfo>

namespace quillory {

QString StripAtNull(const QString &text)
{
    const int at = text.indexOf(QChar(0));
    return at < 0 ? text : text.left(at);
}

QString AddBackslash(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QVariant ShowFileDialog(FileDialogs &dialogs, int *flags, const QString &initialFolder,
                        const QString &filter, int filterIndex, const QString &defaultExtension,
                        const QString &initialFileName, const QString &title, QWidget *owner,
                        bool openMode)
{
    FileDialogRequest request;
    request.owner = owner;
    request.openMode = openMode;
    request.title = title;
    request.initialFolder = initialFolder.isEmpty() ? QDir::currentPath() : initialFolder;
    // The name travels in a fixed 256-character buffer.
    request.initialFileName = StripAtNull(initialFileName).left(256);
    request.filterPairs = filter.isEmpty() ? QStringList() : filter.split(QChar(0));
    request.filterIndex = filterIndex < 1 ? 1 : filterIndex;
    request.defaultExtension = defaultExtension;
    request.multiSelect = flags != nullptr && (*flags & OFN_ALLOWMULTISELECT) != 0;

    const FileDialogReply reply = dialogs.run(request);
    if (!reply.accepted || reply.files.isEmpty())
        return QString();
    // Like the classic dialogs, a confirmed choice makes its folder the current
    // one, which the next dialog starts in.
    QDir::setCurrent(QFileInfo(reply.files.first()).absolutePath());
    if (request.multiSelect && reply.files.size() > 1)
        return reply.files;
    return StripAtNull(reply.files.first());
}

} // namespace quillory
