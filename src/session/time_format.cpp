#include "time_format.h"

#include "platform/text/numeric_text.h"

#include <cmath>

namespace quillory {

long long shownSeconds(double milliseconds)
{
    const double seconds = roundHalfEven(milliseconds / 1000.0);
    if (!std::isfinite(seconds) || seconds < 0)
        return 0;
    return static_cast<long long>(seconds);
}

QString formatMinutesSeconds(double milliseconds)
{
    const long long total = shownSeconds(milliseconds);
    return QStringLiteral("%1:%2").arg(total / 60).arg(total % 60, 2, 10, QLatin1Char('0'));
}

QString formatTimeText(double position, double length)
{
    return formatMinutesSeconds(position) + QStringLiteral(" / ") + formatMinutesSeconds(length);
}

} // namespace quillory
