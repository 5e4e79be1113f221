#include "formats/timestamps.h"

#include "platform/files/preferences.h"

#include <QRegularExpression>
#include <algorithm>

namespace quillory {

namespace Timestamps {

namespace {

constexpr qint64 SecondMs = 1000;
constexpr qint64 MinuteMs = 60 * SecondMs;
constexpr qint64 HourMs = 60 * MinuteMs;

// The leading field may grow (minutes past 59, hours past 99) up to seven
// digits; the fields after it are two digits each, the tenths one digit.
// Only the four written forms match: "[m:ss]", "[h:mm:ss]", "[h:mm:ss.t]" and
// "#h:mm:ss-t#". The ranges of the two-digit fields are checked after matching.
const QRegularExpression &pattern()
{
    static const QRegularExpression re(QStringLiteral(
        R"(\[([0-9]{1,7}):([0-9]{2})(?::([0-9]{2})(?:\.([0-9]))?)?\]|#([0-9]{1,7}):([0-9]{2}):([0-9]{2})-([0-9])#)"));
    return re;
}
// The longest text the pattern can match: "#1234567:00:00-0#".
constexpr int LongestMatch = 17;

QString twoDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

std::optional<qint64> shownTime(const QRegularExpressionMatch &m)
{
    auto number = [&m](int group) { return m.captured(group).toLongLong(); };
    if (m.capturedLength(5) > 0) { // #h:mm:ss-t#
        if (number(6) >= 60 || number(7) >= 60)
            return std::nullopt;
        return number(5) * HourMs + number(6) * MinuteMs + number(7) * SecondMs + number(8) * 100;
    }
    if (m.capturedLength(3) > 0) { // [h:mm:ss] or [h:mm:ss.t]
        if (number(2) >= 60 || number(3) >= 60)
            return std::nullopt;
        const qint64 tenths = m.capturedLength(4) > 0 ? number(4) : 0;
        return number(1) * HourMs + number(2) * MinuteMs + number(3) * SecondMs + tenths * 100;
    }
    if (number(2) >= 60) // [m:ss]
        return std::nullopt;
    return number(1) * MinuteMs + number(2) * SecondMs;
}

} // namespace

QString format(qint64 mediaMs, qint64 offsetMs, Format format)
{
    const qint64 total = std::max<qint64>(0, mediaMs) + std::max<qint64>(0, offsetMs);
    const qint64 seconds = total / SecondMs;
    const qint64 tenths = total / 100 % 10;
    const QString ss = twoDigits(seconds % 60);
    const QString mm = twoDigits(seconds / 60 % 60);
    const qint64 hours = seconds / 3600;
    switch (format) {
    case Format::MinutesSeconds:
        return QLatin1Char('[') + twoDigits(seconds / 60) + QLatin1Char(':') + ss +
               QLatin1Char(']');
    case Format::HoursMinutesSeconds:
        return QLatin1Char('[') + QString::number(hours) + QLatin1Char(':') + mm +
               QLatin1Char(':') + ss + QLatin1Char(']');
    case Format::WithTenths:
        return QLatin1Char('[') + twoDigits(hours) + QLatin1Char(':') + mm + QLatin1Char(':') + ss +
               QLatin1Char('.') + QString::number(tenths) + QLatin1Char(']');
    case Format::HashWithTenths:
        return QLatin1Char('#') + twoDigits(hours) + QLatin1Char(':') + mm + QLatin1Char(':') + ss +
               QLatin1Char('-') + QString::number(tenths) + QLatin1Char('#');
    }
    return QString();
}

std::optional<Found> findAt(const QString &paragraph, int index)
{
    if (index < 0 || index >= paragraph.size())
        return std::nullopt;
    // Every timestamp that could cover the character starts at most
    // LongestMatch - 1 characters before it; trying each start in turn also
    // finds one that directly follows another ("#...#" then "#...#").
    for (int start = std::max(0, index - LongestMatch + 1); start <= index; ++start) {
        const QChar c = paragraph.at(start);
        if (c != QLatin1Char('[') && c != QLatin1Char('#'))
            continue;
        const QRegularExpressionMatch m =
            pattern().match(paragraph, start, QRegularExpression::NormalMatch,
                            QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch() || m.capturedEnd() <= index)
            continue;
        if (const std::optional<qint64> shown = shownTime(m))
            return Found{start, int(m.capturedLength()), *shown};
    }
    return std::nullopt;
}

qint64 unitMs(Format format)
{
    return format == Format::WithTenths || format == Format::HashWithTenths ? 100 : SecondMs;
}

QList<Found> findAll(const QString &paragraph)
{
    QList<Found> found;
    for (int start = 0; start < paragraph.size(); ++start) {
        const QChar c = paragraph.at(start);
        if (c != QLatin1Char('[') && c != QLatin1Char('#'))
            continue;
        const QRegularExpressionMatch m =
            pattern().match(paragraph, start, QRegularExpression::NormalMatch,
                            QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch())
            continue;
        if (const std::optional<qint64> shown = shownTime(m)) {
            found.append(Found{start, int(m.capturedLength()), *shown});
            start += int(m.capturedLength()) - 1;
        }
    }
    return found;
}

std::optional<qint64> mediaPositionAt(const QString &paragraph, int index, qint64 offsetMs)
{
    const std::optional<Found> found = findAt(paragraph, index);
    if (!found || found->shownMs < offsetMs)
        return std::nullopt;
    return found->shownMs - offsetMs;
}

std::optional<qint64> parseOffset(const QString &text)
{
    static const QRegularExpression re(
        QStringLiteral(R"(^([0-9]{1,3}):([0-5][0-9]):([0-5][0-9])$)"));
    const QRegularExpressionMatch m = re.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toLongLong() * HourMs + m.captured(2).toLongLong() * MinuteMs +
           m.captured(3).toLongLong() * SecondMs;
}

QString offsetText(qint64 offsetMs)
{
    const qint64 seconds = std::max<qint64>(0, offsetMs) / SecondMs;
    return twoDigits(seconds / 3600) + QLatin1Char(':') + twoDigits(seconds / 60 % 60) +
           QLatin1Char(':') + twoDigits(seconds % 60);
}

} // namespace Timestamps

TimestampSettings TimestampSettings::load(const Preferences &preferences)
{
    TimestampSettings s;
    s.format = static_cast<Timestamps::Format>(
        preferences.integer(QStringLiteral("timestamp.format"), 0, 0, Timestamps::FormatCount - 1));
    s.offsetMs =
        Timestamps::parseOffset(preferences.text(QStringLiteral("timestamp.offset"))).value_or(0);
    return s;
}

void TimestampSettings::store(Preferences &preferences) const
{
    preferences.setInteger(QStringLiteral("timestamp.format"), static_cast<int>(format));
    preferences.setText(QStringLiteral("timestamp.offset"), Timestamps::offsetText(offsetMs));
}

} // namespace quillory
