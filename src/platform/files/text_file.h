#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace quillory {

// Outcome of a file operation: success, or a reason the user can read.
struct FileResult {
    bool ok = true;
    QString reason;
    int error = 0; // the system's error number behind a failure, when there is one
    static FileResult success() { return {}; }
    static FileResult failure(const QString &why, int error = 0) { return {false, why, error}; }
    explicit operator bool() const { return ok; }
};

// Upper bounds for the files the program reads whole. Its own settings,
// preferences, language and caption files are a few kilobytes.
constexpr qint64 SmallTextFileLimit = 1024 * 1024;
constexpr qint64 PictureFileLimit = 32 * 1024 * 1024;

// Reads a whole file, links followed, only when it is a regular file: a FIFO
// would block the read forever and a device such as /dev/zero never ends. The
// kind is checked on the opened descriptor (opened without waiting, so a FIFO
// swapped in after the name was looked at cannot block either), and no more
// than `maxBytes` are ever read: a file that is, or grows, larger is refused
// (files in /proc tell a size of 0). On failure `bytes` is empty.
FileResult readRegularFile(const QString &path, qint64 maxBytes, QByteArray *bytes);

// Text that starts with a byte order mark (UTF-8, UTF-16 LE or BE, as Notepad
// writes them), decoded by it and without it; nothing when there is no mark.
std::optional<QString> decodeByByteOrderMark(const QByteArray &bytes);

// Text in the program's 8-bit files. A byte order mark decides the encoding
// (UTF-8, UTF-16 LE or BE, as Notepad writes them) and is dropped; without one
// the text is UTF-8 where valid, otherwise Windows-1252, so files written on
// Windows still read.
QString decodeText(const QByteArray &bytes);

// Reads a regular text file of at most `maxBytes` as lines; accepts CR LF and LF
// line ends. A final line end does not make an extra empty line. Returns false
// when the file cannot be read (missing, not a regular file, too large).
bool readTextLines(const QString &path, QStringList *lines, qint64 maxBytes = SmallTextFileLimit);

// Who may read a file written safely.
enum class FileAccess {
    // New files get the usual permissions (as the umask allows); a file replaced
    // keeps its own, and a link is written through to the file it names.
    Usual,
    // Only the owner may read or write (0600), and a link found at the name is
    // replaced, never written through: for copies of unsaved work.
    OwnerOnly,
};

// Writes raw bytes through a temporary file in the same folder that is synced
// and renamed over the old file: a failure (a full disk, a file-size limit)
// leaves the old file whole and says why in words a user can act on.
FileResult writeFileSafely(const QString &path, const QByteArray &bytes,
                           FileAccess access = FileAccess::Usual);
// The same for a file made of parts written one after the other, so a large
// file need not be copied into one buffer first.
FileResult writeFileSafely(const QString &path, const QList<QByteArrayView> &parts,
                           FileAccess access = FileAccess::Usual);

// Writes each line followed by CR LF, UTF-8, through writeFileSafely.
FileResult writeTextLines(const QString &path, const QStringList &lines);

// Why writing `path` failed with the system error `error`: a full disk, a used-up
// quota, a file-size limit, a read-only disk or a folder without permission are
// said as such, with the folder or file concerned.
QString writeFailureReason(int error, const QString &path);

// An ordinary file: exists and is a file (or a link to one), not a folder or a
// device. Hidden files (names beginning with a dot) count: they exist, and a
// media file so named must open and find its bookmarks again.
bool isOrdinaryFile(const QString &path);

} // namespace quillory
