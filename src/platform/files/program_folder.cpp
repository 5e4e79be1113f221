#include "program_folder.h"

#include "platform/files/file_stamp.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillory {

namespace {
QString &current()
{
    static QString folder;
    return folder;
}

QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

void populateAndWarn(const QString &shippedDir, const QString &target)
{
    const ShippedUpdate update = ProgramFolder::populateFrom(shippedDir, target);
    if (update.recordDamaged)
        qWarning("Program folder %s: %s was damaged; files that differ from the shipped ones are "
                 "kept",
                 qUtf8Printable(target), ShippedRecord::FileName);
    for (const QString &error : update.errors)
        qWarning("Program folder %s: %s", qUtf8Printable(target), qUtf8Printable(error));
}

// Shipped files, the user's copies and the record: never a FIFO or device a
// start could wait on forever.
bool readAll(const QString &path, QByteArray *bytes)
{
    return readRegularFile(path, PictureFileLimit, bytes).ok;
}

bool isHexHash(const QByteArray &text)
{
    if (text.size() != 64)
        return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

// A file's size and time of change (milliseconds since the epoch), both 0
// when it cannot be read. Not QFileInfo's time of change: that is a local
// time, and the first one loads the time zone, which costs the start about
// 2.5 ms.
QByteArray sizeAndChangeTime(const QString &path)
{
    const std::optional<FileStamp> stamp = FileStamp::of(path);
    if (!stamp)
        return "0\t0";
    return QByteArray::number(stamp->size()) + '\t' + QByteArray::number(stamp->changedMs());
}

// The shipped files as the file system describes them: where they are, and
// each one's name, size and time of change.
QByteArray stampOf(const QString &shippedDir, const QStringList &files)
{
    QByteArray text = QFileInfo(shippedDir).absoluteFilePath().toUtf8() + '\n';
    for (const QString &relative : files)
        text += relative.toUtf8() + '\t' +
                sizeAndChangeTime(shippedDir + QLatin1Char('/') + relative) + '\n';
    return hashOf(text) + '\n';
}

// A record names files inside the folder only.
bool isInsideRelative(const QString &relative)
{
    if (relative.isEmpty() || relative.startsWith(QLatin1Char('/')))
        return false;
    const QStringList parts = relative.split(QLatin1Char('/'));
    return !parts.contains(QStringLiteral("..")) && !parts.contains(QString());
}
} // namespace

ShippedRecord ShippedRecord::parse(const QByteArray &bytes, bool *ok)
{
    ShippedRecord record;
    *ok = false;
    for (const QByteArray &line : bytes.split('\n')) {
        if (line.isEmpty())
            continue;
        // "<hash>  <path>", or "<hash> *<path>" as sha256sum writes in binary mode.
        const QByteArray hash = line.left(64);
        const QByteArray mode = line.mid(64, 2);
        const QString relative = QString::fromUtf8(line.mid(66));
        if (!isHexHash(hash) || (mode != "  " && mode != " *") || !isInsideRelative(relative) ||
            relative.contains(QChar::ReplacementCharacter))
            return {};
        record.set(relative, hash);
    }
    *ok = true;
    return record;
}

ShippedRecord ShippedRecord::read(const QString &path, State *state)
{
    State outcome = State::Missing;
    ShippedRecord record;
    QByteArray bytes;
    if (QFileInfo::exists(path)) {
        bool ok = readAll(path, &bytes);
        if (ok)
            record = parse(bytes, &ok);
        outcome = ok ? State::Read : State::Damaged;
    }
    if (state != nullptr)
        *state = outcome;
    return record;
}

QByteArray ShippedRecord::format() const
{
    QByteArray bytes;
    for (auto it = m_hashes.cbegin(); it != m_hashes.cend(); ++it)
        bytes += it.value() + "  " + it.key().toUtf8() + '\n';
    return bytes;
}

QString ProgramFolder::shippedFolder(const QString &executableDir)
{
    const QString installed = QDir::cleanPath(executableDir + QStringLiteral("/../share/quillory"));
    if (!QFileInfo(executableDir + QStringLiteral("/Lang")).isDir() &&
        QFileInfo(installed + QStringLiteral("/Lang")).isDir())
        return installed;
    return executableDir;
}

QString ProgramFolder::resolve(const QString &executableDir)
{
    const QString shipped = shippedFolder(executableDir);
    const QString home = qEnvironmentVariable("QUILLORY_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        populateAndWarn(shipped, home);
        return QDir(home).absolutePath();
    }
    QFileInfo exeDir(executableDir);
    if (exeDir.isWritable() && QFileInfo(executableDir + QStringLiteral("/Lang")).isDir())
        return QDir(executableDir).absolutePath();
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share/Quillory");
    QDir().mkpath(data);
    populateAndWarn(shipped, data);
    return QDir(data).absolutePath();
}

QStringList ProgramFolder::shippedFiles(const QString &shippedDir)
{
    QStringList files;
    const QDir root(shippedDir);
    for (const QString &sub : {QStringLiteral("Lang"), QStringLiteral("Files")}) {
        QDirIterator it(shippedDir + QLatin1Char('/') + sub, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << root.relativeFilePath(it.next());
    }
    files += root.entryList({QStringLiteral("*.html")}, QDir::Files);
    files.sort();
    return files;
}

ShippedUpdate ProgramFolder::populateFrom(const QString &shippedDir, const QString &target)
{
    ShippedUpdate update;
    const QString recordPath = target + QLatin1Char('/') + QLatin1String(ShippedRecord::FileName);
    ShippedRecord::State state;
    const ShippedRecord old = ShippedRecord::read(recordPath, &state);
    update.recordDamaged = state == ShippedRecord::State::Damaged;
    ShippedRecord record;
    const QStringList files = shippedFiles(shippedDir);
    const QString stampPath =
        target + QLatin1Char('/') + QLatin1String(ShippedRecord::StampFileName);
    const QByteArray stamp = stampOf(shippedDir, files);
    QByteArray lastStamp;
    // Every file was as shipped at the last fill, and the shipped ones have not
    // changed since: a file still there keeps its record, unread.
    const bool unchanged = state == ShippedRecord::State::Read && QFileInfo::exists(stampPath) &&
                           readAll(stampPath, &lastStamp) && lastStamp == stamp;

    for (const QString &relative : files) {
        if (unchanged && !old.hash(relative).isEmpty() &&
            QFileInfo::exists(target + QLatin1Char('/') + relative)) {
            record.set(relative, old.hash(relative));
            continue;
        }
        QByteArray bytes;
        if (!readAll(shippedDir + QLatin1Char('/') + relative, &bytes)) {
            update.errors << QStringLiteral("cannot read the shipped %1").arg(relative);
            continue;
        }
        const QByteArray shippedHash = hashOf(bytes);
        const QByteArray lastShipped = old.hash(relative);
        const QString destination = target + QLatin1Char('/') + relative;
        const bool exists = QFileInfo::exists(destination);
        if (exists && lastShipped == shippedHash) {
            record.set(relative,
                       shippedHash); // nothing new; the user's copy, changed or not, stays
            continue;
        }
        if (exists) {
            QByteArray present;
            const QByteArray presentHash = readAll(destination, &present) ? hashOf(present) : "";
            if (presentHash == shippedHash) {
                record.set(relative, shippedHash);
                continue;
            }
            if (presentHash.isEmpty() || presentHash != lastShipped) {
                // Changed or made by the user, or unknown: only a record that
                // names the very content there lets a newer version replace it.
                update.kept << relative;
                if (!lastShipped.isEmpty())
                    record.set(relative, lastShipped);
                continue;
            }
        }
        QDir().mkpath(QFileInfo(destination).absolutePath());
        const FileResult written = writeFileSafely(destination, bytes);
        if (!written) {
            update.errors << QStringLiteral("cannot write %1: %2").arg(relative, written.reason);
            if (!lastShipped.isEmpty())
                record.set(relative, lastShipped);
            continue;
        }
        (exists ? update.replaced : update.added) << relative;
        record.set(relative, shippedHash);
    }

    // The record read at the start tells whether it needs writing again.
    const QByteArray newBytes = record.format();
    if (state != ShippedRecord::State::Read || old.format() != newBytes) {
        const FileResult written = writeFileSafely(recordPath, newBytes);
        if (!written)
            update.errors << QStringLiteral("cannot write %1: %2")
                                 .arg(QLatin1String(ShippedRecord::FileName), written.reason);
    }
    if (update.errors.isEmpty() && update.kept.isEmpty()) {
        if (!unchanged)
            writeFileSafely(stampPath, stamp); // without it, the next start reads everything
    } else if (QFileInfo::exists(stampPath)) {
        QFile::remove(stampPath);
    }
    return update;
}

const QString &ProgramFolder::path()
{
    return current();
}

void ProgramFolder::set(const QString &path)
{
    current() = path;
    while (current().size() > 1 && current().endsWith(QLatin1Char('/')))
        current().chop(1);
}

QString ProgramFolder::file(const QString &relative)
{
    return current() + QLatin1Char('/') + relative;
}

} // namespace quillory
