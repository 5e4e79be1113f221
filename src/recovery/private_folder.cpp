#include "recovery/private_folder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace quillory {

namespace PrivateFolder {

FileResult check(const QString &path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
        const int error = errno;
        return FileResult::failure(
            error == ENOENT
                ? QStringLiteral("the folder %1 does not exist").arg(path)
                : QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(error))),
            error);
    }
    if (S_ISLNK(st.st_mode))
        return FileResult::failure(
            QStringLiteral("%1 is a link to another place; recovery copies are kept only in a "
                           "folder of your own")
                .arg(path),
            ELOOP);
    if (!S_ISDIR(st.st_mode))
        return FileResult::failure(QStringLiteral("%1 is not a folder").arg(path), ENOTDIR);
    if (st.st_uid != ::geteuid())
        return FileResult::failure(
            QStringLiteral("the folder %1 belongs to another user; recovery copies are kept only "
                           "in a folder of your own")
                .arg(path),
            EPERM);
    return FileResult::success();
}

FileResult make(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    // Each missing part is made 0700, as the XDG base folders are meant to be.
    for (qsizetype from = 1;;) {
        const qsizetype slash = clean.indexOf(QLatin1Char('/'), from);
        const QString part = slash < 0 ? clean : clean.left(slash);
        // A failure names the folder the new one would have gone in.
        if (::mkdir(QFile::encodeName(part).constData(), 0700) != 0 && errno != EEXIST) {
            const int error = errno;
            return FileResult::failure(writeFailureReason(error, part), error);
        }
        if (slash < 0)
            break;
        from = slash + 1;
    }
    const FileResult checked = check(clean);
    if (!checked)
        return checked;
    // A folder from an earlier version may still be open to others: the
    // copies in it are the unsaved transcript.
    struct stat st {};
    const QByteArray name = QFile::encodeName(clean);
    if (::stat(name.constData(), &st) == 0 && (st.st_mode & 077) != 0)
        ::chmod(name.constData(), 0700);
    return FileResult::success();
}

} // namespace PrivateFolder
} // namespace quillory
