#include "text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace quillory {

QString decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid())
        return cp1252.decode(bytes);
    return QString::fromLatin1(bytes);
}

bool readTextLines(const QString &path, QStringList *lines)
{
    lines->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString text = decodeText(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
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

FileResult writeFileSafely(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return FileResult::failure(file.errorString());
    // The data must reach the disk before the rename: a failed flush (a full
    // disk, a size limit) would otherwise replace the old file with a short one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        QString why = file.errorString();
        file.cancelWriting();
        return FileResult::failure(why);
    }
    if (!file.commit())
        return FileResult::failure(file.errorString());
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
    QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

} // namespace quillory
