#include "recovery/recovery_info.h"

#include <QList>

namespace quillory {

namespace {

// A path may hold any character but a line end; those are escaped so one value
// stays on one line.
QString escaped(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (QChar c : value) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

QString unescaped(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value[++i];
        out += next == QLatin1Char('n')   ? QChar(QLatin1Char('\n'))
               : next == QLatin1Char('r') ? QChar(QLatin1Char('\r'))
                                          : next;
    }
    return out;
}

} // namespace

QByteArray RecoveryInfo::toText() const
{
    QString text;
    text += QStringLiteral("document=") + escaped(documentPath) + QLatin1Char('\n');
    text += QStringLiteral("untitled=") + escaped(untitledName) + QLatin1Char('\n');
    text += QStringLiteral("media=") + escaped(mediaPath) + QLatin1Char('\n');
    text += QStringLiteral("position=") + QString::number(positionMs) + QLatin1Char('\n');
    text += QStringLiteral("speed=") + QString::number(speed, 'g', 6) + QLatin1Char('\n');
    text +=
        QStringLiteral("time=") + savedAt.toUTC().toString(Qt::ISODateWithMs) + QLatin1Char('\n');
    return text.toUtf8();
}

RecoveryInfo RecoveryInfo::fromText(const QByteArray &bytes)
{
    RecoveryInfo info;
    const QString text = QString::fromUtf8(bytes);
    const QList<QStringView> lines = QStringView(text).split(QLatin1Char('\n'));
    for (QStringView line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QStringView key = line.left(eq);
        const QString value = line.mid(eq + 1).toString();
        if (key == QLatin1String("document")) {
            info.documentPath = unescaped(value);
        } else if (key == QLatin1String("untitled")) {
            info.untitledName = unescaped(value);
        } else if (key == QLatin1String("media")) {
            info.mediaPath = unescaped(value);
        } else if (key == QLatin1String("position")) {
            bool ok = false;
            const qint64 ms = value.toLongLong(&ok);
            if (ok && ms >= 0)
                info.positionMs = ms;
        } else if (key == QLatin1String("speed")) {
            bool ok = false;
            const double s = value.toDouble(&ok);
            if (ok && s > 0 && s <= 16)
                info.speed = s;
        } else if (key == QLatin1String("time")) {
            const QDateTime t = QDateTime::fromString(value, Qt::ISODateWithMs);
            if (t.isValid())
                info.savedAt = t.toUTC();
        }
    }
    return info;
}

bool RecoveryInfo::operator==(const RecoveryInfo &o) const
{
    return documentPath == o.documentPath && untitledName == o.untitledName &&
           mediaPath == o.mediaPath && positionMs == o.positionMs && speed == o.speed &&
           savedAt == o.savedAt;
}

} // namespace quillory
