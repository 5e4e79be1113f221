#include "time_format.h"

#include "platform/text/numeric_text.h"

#include <cmath>

namespace quillory {

QString formatMinutesSeconds(double milliseconds)
{
    double seconds = roundHalfEven(milliseconds / 1000.0);
    if (!std::isfinite(seconds) || seconds < 0)
        seconds = 0;
    const long long total = static_cast<long long>(seconds);
    return QStringLiteral("%1:%2").arg(total / 60).arg(total % 60, 2, 10, QLatin1Char('0'));
}

QString formatTimeText(double position, double length)
{
    return formatMinutesSeconds(position) + QStringLiteral(" / ") + formatMinutesSeconds(length);
}

} // namespace quillory
