#include "waveform_scale.h"

#include <algorithm>
#include <cmath>

namespace WaveformScale {

double detailMsPerColumn(int width)
{
    return std::max(DetailSpanMs / std::max(width, 1), 1.0);
}

std::int64_t playheadColumn(double positionMs, int width)
{
    return static_cast<std::int64_t>(
        std::floor(std::max(positionMs, 0.0) / detailMsPerColumn(width)));
}

double detailTimeAt(double x, double positionMs, int width)
{
    const double first = static_cast<double>(playheadColumn(positionMs, width) - width / 2);
    return (first + x) * detailMsPerColumn(width);
}

double detailXOf(double ms, double positionMs, int width)
{
    const double first = static_cast<double>(playheadColumn(positionMs, width) - width / 2);
    return ms / detailMsPerColumn(width) - first;
}

double overviewTimeAt(double x, double lengthMs, int width)
{
    if (width <= 0 || !(lengthMs > 0))
        return 0;
    return std::clamp(x / width * lengthMs, 0.0, lengthMs);
}

double overviewXOf(double ms, double lengthMs, int width)
{
    if (!(lengthMs > 0))
        return 0;
    return std::clamp(ms, 0.0, lengthMs) / lengthMs * width;
}

} // namespace WaveformScale
