#include "bookmark_entries.h"

#include "platform/text/numeric_text.h"

#include <cmath>

namespace quillory {

QStringList BookmarkEntries::used() const
{
    QStringList list;
    list.reserve(m_count);
    for (int i = 0; i < m_count; ++i)
        list << m_entries[static_cast<size_t>(i)];
    return list;
}

void BookmarkEntries::clear()
{
    for (int i = 0; i < m_count; ++i)
        m_entries[static_cast<size_t>(i)].clear();
    m_count = 0;
}

void BookmarkEntries::startFresh()
{
    clear();
    m_held = false;
}

void BookmarkEntries::assign(const QStringList &items)
{
    clear();
    for (const QString &item : items)
        if (!append(item) && isFull())
            break;
}

bool BookmarkEntries::append(const QString &entry)
{
    if (entry.isEmpty() || isFull())
        return false;
    m_entries[static_cast<size_t>(m_count++)] = entry;
    m_held = true;
    return true;
}

namespace BookmarkLine {

namespace {
QString twoDigits(std::int64_t value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control;
}

QString withoutTrailingSpaces(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}
} // namespace

QString timeLabel(double positionMs)
{
    if (!(positionMs > 0) || !std::isfinite(positionMs))
        positionMs = 0;
    auto minutes = static_cast<std::int64_t>(std::floor(positionMs / 60000.0));
    // The remainder in whole milliseconds divided by 1000 is exact, so a half
    // second is a true half and goes to the even neighbour.
    const double seconds =
        roundHalfEven((positionMs - static_cast<double>(minutes) * 60000.0) / 1000.0);
    auto wholeSeconds = static_cast<std::int64_t>(seconds);
    if (wholeSeconds >= 60) {
        wholeSeconds = 0;
        ++minutes;
    }
    return twoDigits(minutes) + QLatin1Char(':') + twoDigits(wholeSeconds);
}

QString cleanName(const QString &typed)
{
    QString name = typed.left(MaxNameLength);
    for (QChar &c : name)
        if (isControl(c))
            c = QLatin1Char(' ');
    return name;
}

QString label(double positionMs, const QString &name)
{
    return timeLabel(positionMs) + QStringLiteral("  ") + cleanName(name);
}

QString make(const QString &label, double positionMs)
{
    if (!(positionMs > 0) || !std::isfinite(positionMs))
        positionMs = 0;
    return label + QString(PositionWidth, QLatin1Char(' ')) +
           QString::number(static_cast<qint64>(std::floor(positionMs)));
}

QString labelOf(const QString &entry)
{
    return withoutTrailingSpaces(entry.left(std::max<qsizetype>(0, entry.size() - PositionWidth)));
}

QString positionTextOf(const QString &entry)
{
    return entry.right(PositionWidth).trimmed();
}

std::optional<std::int64_t> positionOf(const QString &entry)
{
    const QString digits = positionTextOf(entry);
    if (digits.isEmpty())
        return std::nullopt;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

bool isReadable(const QString &line)
{
    if (line.size() <= PositionWidth || line.size() > MaxLineLength)
        return false;
    for (QChar c : line)
        if (isControl(c))
            return false;
    return !labelOf(line).isEmpty() && positionOf(line).has_value();
}

bool lessThan(const QString &a, const QString &b)
{
    const int byLabel = QString::localeAwareCompare(labelOf(a), labelOf(b));
    if (byLabel != 0)
        return byLabel < 0;
    const std::int64_t pa = positionOf(a).value_or(-1);
    const std::int64_t pb = positionOf(b).value_or(-1);
    if (pa != pb)
        return pa < pb;
    return QString::compare(a, b) < 0;
}

} // namespace BookmarkLine

} // namespace quillory
