#include "bookmark_file_name.h"

#include <QCryptographicHash>
#include <QFile>

namespace quillory {

namespace {

const QString Extension = QStringLiteral(".bm");

qsizetype encodedSize(QStringView text)
{
    return QFile::encodeName(text.toString()).size();
}

} // namespace

QString BookmarkFileName::forMediaName(const QString &mediaName)
{
    const QString whole = mediaName + Extension;
    if (encodedSize(whole) <= MaxNameBytes)
        return whole;

    const QByteArray digest =
        QCryptographicHash::hash(mediaName.toUtf8(), QCryptographicHash::Sha256).toHex();
    const QString tail =
        QLatin1Char('~') + QString::fromLatin1(digest.left(HashDigits)) + Extension;
    const qsizetype room = MaxNameBytes - encodedSize(tail);

    // Whole characters only: a surrogate pair is never split.
    qsizetype kept = 0;
    qsizetype bytes = 0;
    while (kept < mediaName.size()) {
        const qsizetype step =
            (mediaName[kept].isHighSurrogate() && kept + 1 < mediaName.size()) ? 2 : 1;
        const qsizetype more = encodedSize(QStringView(mediaName).mid(kept, step));
        if (bytes + more > room)
            break;
        bytes += more;
        kept += step;
    }
    return mediaName.left(kept) + tail;
}

} // namespace quillory
