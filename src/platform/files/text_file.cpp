#include "text_file.h"

#include "platform/text/byte_order_mark.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillory {

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    // Closes now and says whether the system accepted it (NFS reports late
    // write errors here).
    int closeNow()
    {
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

QString systemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString folderOf(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

QString readFailureReason(int error, const QString &path)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("%1 does not exist").arg(path);
    case EACCES:
    case EPERM:
        return QStringLiteral("no permission to read %1").arg(path);
    default:
        return QStringLiteral("%1: %2").arg(path, systemMessage(error));
    }
}

QString sizeText(qint64 bytes)
{
    return QLocale::system().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

int openForReading(const QByteArray &name)
{
    int fd;
    do {
        // O_NONBLOCK: opening a FIFO would otherwise wait for a writer.
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

FileResult notRegular(const QString &path, mode_t mode)
{
    if (S_ISDIR(mode))
        return FileResult::failure(QStringLiteral("%1 is a folder").arg(path), EISDIR);
    return FileResult::failure(
        QStringLiteral("%1 is not an ordinary file (a device, pipe or socket)").arg(path), EINVAL);
}

FileResult tooLarge(const QString &path, qint64 maxBytes)
{
    return FileResult::failure(QStringLiteral("%1 is larger than %2, more than such a file can be")
                                   .arg(path, sizeText(maxBytes)),
                               EFBIG);
}

bool writeAll(int fd, const char *data, qint64 size, int *error)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(qMin<qint64>(size, 1 << 30)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *error = errno;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// The file a write ends in: a link is followed, as an editor saving through a
// link is expected to, unless the file is private.
QString finalPath(const QString &path, FileAccess access)
{
    if (access == FileAccess::OwnerOnly)
        return path;
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

// A new, empty file beside `target` that nobody else can have opened.
int createTemporary(const QString &target, FileAccess access, QByteArray *tempName, int *error)
{
    // Beside the target, named after it; a target name too long to take the
    // seven more bytes lends only its beginning (the name is never seen).
    constexpr qsizetype NameMax = 255;
    constexpr qsizetype Added = 7;
    QByteArray stem = QFile::encodeName(target);
    const qsizetype nameStart = stem.lastIndexOf('/') + 1;
    if (stem.size() - nameStart > NameMax - Added)
        stem.truncate(nameStart + NameMax - Added);
    stem += '.';
    const mode_t mode = access == FileAccess::OwnerOnly ? 0600 : 0666;
    for (int attempt = 0; attempt < 64; ++attempt) {
        QByteArray name = stem;
        for (int i = 0; i < 6; ++i)
            name += char('a' + QRandomGenerator::global()->bounded(26));
        // O_EXCL never opens an existing name, a planted link included.
        const int fd =
            ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) {
            *tempName = name;
            return fd;
        }
        if (errno != EEXIST && errno != EINTR) {
            *error = errno;
            return -1;
        }
    }
    *error = EEXIST;
    return -1;
}

} // namespace

FileResult readRegularFile(const QString &path, qint64 maxBytes, QByteArray *bytes)
{
    bytes->clear();
    if (path.isEmpty())
        return FileResult::failure(QStringLiteral("no file name"), ENOENT);
    const QByteArray name = QFile::encodeName(path);
    // A device is not even opened (some act on being opened); the descriptor
    // is checked again below, in case the name changed meanwhile.
    struct stat named {};
    if (::stat(name.constData(), &named) != 0)
        return FileResult::failure(readFailureReason(errno, path), errno);
    if (!S_ISREG(named.st_mode))
        return notRegular(path, named.st_mode);
    const int fd = openForReading(name);
    if (fd < 0)
        return FileResult::failure(readFailureReason(errno, path), errno);
    Descriptor file(fd);
    struct stat opened {};
    if (::fstat(fd, &opened) != 0)
        return FileResult::failure(readFailureReason(errno, path), errno);
    if (!S_ISREG(opened.st_mode))
        return notRegular(path, opened.st_mode);
    if (opened.st_size > maxBytes)
        return tooLarge(path, maxBytes);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    QByteArray data;
    data.reserve(qsizetype(opened.st_size) + 1);
    constexpr qint64 Chunk = 64 * 1024;
    for (;;) {
        // One byte past the limit tells a file that is too large from one that
        // is exactly as large as allowed.
        const qint64 room = maxBytes + 1 - data.size();
        // The size told is read in one go; a file that tells none, in chunks.
        const qint64 want = qMin(qMax(Chunk, qint64(opened.st_size) + 1 - data.size()), room);
        const qsizetype at = data.size();
        data.resize(at + qsizetype(want));
        const ssize_t n = ::read(fd, data.data() + at, size_t(want));
        if (n < 0) {
            data.resize(at);
            if (errno == EINTR)
                continue;
            return FileResult::failure(readFailureReason(errno, path), errno);
        }
        data.resize(at + n);
        if (data.size() > maxBytes)
            return tooLarge(path, maxBytes);
        if (n == 0)
            break;
    }
    *bytes = std::move(data);
    return FileResult::success();
}

std::optional<QString> decodeByByteOrderMark(const QByteArray &bytes)
{
    const QByteArrayView view(bytes);
    if (std::optional<QString> utf16 = decodeUtf16ByByteOrderMark(view))
        return utf16;
    if (view.startsWith("\xEF\xBB\xBF"))
        return QStringDecoder(QStringDecoder::Utf8).decode(view.sliced(3));
    return std::nullopt;
}

QString decodeText(const QByteArray &bytes)
{
    if (std::optional<QString> marked = decodeByByteOrderMark(bytes))
        return *std::move(marked);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid())
        return cp1252.decode(bytes);
    return QString::fromLatin1(bytes);
}

bool readTextLines(const QString &path, QStringList *lines, qint64 maxBytes)
{
    lines->clear();
    QByteArray bytes;
    if (!readRegularFile(path, maxBytes, &bytes))
        return false;
    const QString text = decodeText(bytes);
    if (text.isEmpty())
        return true;
    *lines = text.split(QLatin1Char('\n'));
    if (lines->last().isEmpty())
        lines->removeLast();
    for (QString &line : *lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return true;
}

QString writeFailureReason(int error, const QString &path)
{
    const QString folder = folderOf(path);
    switch (error) {
    case ENOSPC:
        return QStringLiteral("the disk is full: no room is left in %1").arg(folder);
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("your disk quota is used up: no room is left for you in %1")
            .arg(folder);
#endif
    case EFBIG:
        return QStringLiteral("%1 would be larger than the largest file allowed (a file-size "
                              "limit is set)")
            .arg(path);
    case EACCES:
    case EPERM:
        return QStringLiteral("no permission to write in %1").arg(folder);
    case EROFS:
        return QStringLiteral("%1 is on a disk that can only be read").arg(folder);
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("the folder %1 does not exist").arg(folder);
    case EISDIR:
        return QStringLiteral("%1 is a folder").arg(path);
    case ENAMETOOLONG:
        return QStringLiteral("the name %1 is too long").arg(path);
    case EIO:
        return QStringLiteral("the disk reported an error while %1 was written").arg(path);
    default:
        return QStringLiteral("%1: %2").arg(path, systemMessage(error));
    }
}

FileResult writeFileSafely(const QString &path, const QByteArray &bytes, FileAccess access)
{
    return writeFileSafely(path, QList<QByteArrayView>{QByteArrayView(bytes)}, access);
}

FileResult writeFileSafely(const QString &path, const QList<QByteArrayView> &parts,
                           FileAccess access)
{
    if (path.isEmpty())
        return FileResult::failure(QStringLiteral("no file name"), ENOENT);
    const QString target = finalPath(path, access);
    const QByteArray targetName = QFile::encodeName(target);
    // A private file replaces whatever is at the name; a usual one looks
    // through a link (already followed above, unless it leads nowhere).
    struct stat old {};
    const bool replacing =
        (access == FileAccess::OwnerOnly ? ::lstat(targetName.constData(), &old)
                                         : ::stat(targetName.constData(), &old)) == 0;
    if (replacing && S_ISDIR(old.st_mode))
        return FileResult::failure(writeFailureReason(EISDIR, target), EISDIR);
    // A file the user made read-only is not replaced behind their back, though
    // the folder would allow it.
    if (access == FileAccess::Usual && replacing && ::access(targetName.constData(), W_OK) != 0 &&
        errno == EACCES)
        return FileResult::failure(QStringLiteral("%1 is read-only").arg(target), EACCES);

    int error = 0;
    QByteArray tempName;
    const int fd = createTemporary(target, access, &tempName, &error);
    if (fd < 0)
        return FileResult::failure(writeFailureReason(error, target), error);
    Descriptor temp(fd);
    const auto fail = [&](int why) {
        ::unlink(tempName.constData());
        return FileResult::failure(writeFailureReason(why, target), why);
    };
    if (access == FileAccess::Usual && replacing && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);
    for (const QByteArrayView part : parts)
        if (!writeAll(fd, part.data(), part.size(), &error))
            return fail(error);
    // The data must reach the disk before the rename, or a crash could leave a
    // short file in place of the old one. File systems without sync say EINVAL.
    if (::fdatasync(fd) != 0 && errno != EINVAL && errno != EROFS)
        return fail(errno);
    if (const int closed = temp.closeNow())
        return fail(closed);
    if (::rename(tempName.constData(), targetName.constData()) != 0)
        return fail(errno);
    return FileResult::success();
}

FileResult writeTextLines(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return writeFileSafely(path, bytes);
}

bool isOrdinaryFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    return QFileInfo(path).isFile();
}

} // namespace quillory
