#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quillory {

// Outcome of a file operation: success, or a reason the user can read.
struct FileResult {
    bool ok = true;
    QString reason;
    static FileResult success() { return {}; }
    static FileResult failure(const QString &why) { return {false, why}; }
    explicit operator bool() const { return ok; }
};

// Text in the program's 8-bit files: UTF-8 where valid, otherwise Windows-1252,
// so files written on Windows still read.
QString decodeText(const QByteArray &bytes);

// Reads a text file as lines; accepts CR LF and LF line ends. A final line end
// does not make an extra empty line. Returns false when the file cannot be read.
bool readTextLines(const QString &path, QStringList *lines);

// Writes each line followed by CR LF, UTF-8, through a temporary file in the same
// folder that is renamed over the old file: a failure leaves the old file whole.
FileResult writeTextLines(const QString &path, const QStringList &lines);

// Writes raw bytes with the same safe replace.
FileResult writeFileSafely(const QString &path, const QByteArray &bytes);

// An ordinary file: exists, is not a folder and is not hidden.
bool isOrdinaryFile(const QString &path);

} // namespace quillory
