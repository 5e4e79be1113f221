#include "waveform_scale.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

double msUntilPlayheadMoves(double positionMs, double lengthMs, int width)
{
    if (width <= 0)
        return std::numeric_limits<double>::infinity();
    const double perColumn = detailMsPerColumn(width);
    double until = static_cast<double>(playheadColumn(positionMs, width) + 1) * perColumn -
                   std::max(positionMs, 0.0);
    if (lengthMs > 0) {
        // The marks' edges are the floor and the ceiling of the span's ends.
        const double x = overviewXOf(positionMs, lengthMs, width);
        const double half = DetailSpanMs / 2 / lengthMs * width;
        const double left = x - half;
        const double right = x + half;
        double pixels = std::floor(left) + 1 - left;
        const double toCeil = std::ceil(right) - right;
        pixels = std::min(pixels, toCeil > 0 ? toCeil : 1e-9);
        until = std::min(until, pixels * lengthMs / width);
    }
    return std::max(until, 0.0);
}

double msUntilNextStep(double positionMs, double lengthMs, int width, double speed)
{
    return std::max(msUntilPlayheadMoves(positionMs, lengthMs, width), SmallestStepMs * speed);
}

} // namespace WaveformScale
