#include "bookmark_file.h"

#include "bookmark_file_name.h"

#include "platform/files/program_folder.h"

#include <QDir>
#include <QFile>

namespace quillory {

QString BookmarkFile::mediaFileName(const QString &mediaPath)
{
    const qsizetype slash = mediaPath.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? mediaPath : mediaPath.mid(slash + 1);
}

QString BookmarkFile::pathFor(const QString &mediaPath)
{
    const QString name = mediaFileName(mediaPath);
    if (name.isEmpty())
        return QString();
    return ProgramFolder::file(QStringLiteral("Bookmarks/") + BookmarkFileName::forMediaName(name));
}

bool BookmarkFile::read(const QString &path, BookmarkEntries *entries)
{
    if (!isOrdinaryFile(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // A hand-edited or damaged file may be anything; a real one is far smaller.
    const QByteArray bytes = file.read(MaxReadBytes);
    qsizetype start = 0;
    while (start < bytes.size() && !entries->isFull()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArray line = bytes.mid(start, end - start);
        start = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        // Each line is judged alone: a length in bytes bounds the decoding work.
        if (line.size() > BookmarkLine::MaxLineLength * 4)
            continue;
        QString text = decodeText(line);
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        if (BookmarkLine::isReadable(text))
            entries->append(text);
    }
    return true;
}

FileResult BookmarkFile::write(const QString &path, const BookmarkEntries &entries)
{
    QDir().mkpath(ProgramFolder::file(QStringLiteral("Bookmarks")));
    return writeTextLines(path, entries.used());
}

FileResult BookmarkFile::save(const QString &mediaPath, const BookmarkEntries &entries)
{
    const QString path = pathFor(mediaPath);
    if (path.isEmpty())
        return FileResult::success();
    if (entries.isEmpty()) {
        if (entries.heldBookmarks() && isOrdinaryFile(path) && !QFile::remove(path))
            return FileResult::failure(QStringLiteral("cannot remove ") + path);
        return FileResult::success();
    }
    return write(path, entries);
}

bool BookmarkFile::load(const QString &mediaPath, BookmarkEntries *entries)
{
    entries->startFresh();
    const QString path = pathFor(mediaPath);
    return !path.isEmpty() && read(path, entries);
}

} // namespace quillory
