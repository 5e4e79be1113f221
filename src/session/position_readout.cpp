#include "session/position_readout.h"

#include "platform/geometry/twips.h"
#include "session/time_format.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillory {

PositionReadout::Change PositionReadout::show(double positionMs, double lengthMs,
                                              int barWidthPixels)
{
    Change change;
    const double barWidth = pixelsToTwips(barWidthPixels);
    m_fillTwips = lengthMs > 0 ? std::clamp(barWidth * positionMs / lengthMs, 0.0, barWidth) : 0.0;
    const int fillPixels = twipsToPixels(m_fillTwips);
    change.fill = !m_known || fillPixels != m_fillPixels;
    m_fillPixels = fillPixels;

    const long long positionSeconds = shownSeconds(positionMs);
    const long long lengthSeconds = shownSeconds(lengthMs);
    change.text =
        !m_known || positionSeconds != m_positionSeconds || lengthSeconds != m_lengthSeconds;
    if (change.text) {
        m_text = formatTimeText(positionMs, lengthMs);
        m_positionSeconds = positionSeconds;
        m_lengthSeconds = lengthSeconds;
    }
    m_known = true;
    return change;
}

double PositionReadout::msUntilChange(double positionMs, double lengthMs, int barWidthPixels)
{
    if (!std::isfinite(positionMs) || !std::isfinite(lengthMs))
        return 0;
    // Seconds are rounded half to even: a boundary at an even second's half
    // is passed only just after it.
    const long long second = shownSeconds(positionMs);
    double untilText = (static_cast<double>(second) + 0.5) * 1000.0 - positionMs;
    if (shownSeconds(positionMs + untilText) == second)
        untilText += 1.0;
    double untilFill = std::numeric_limits<double>::infinity();
    if (lengthMs > 0 && barWidthPixels > 0 && positionMs < lengthMs) {
        // The fill's pixels are rounded to nearest: the next starts at its half.
        const double pixels = static_cast<double>(barWidthPixels) * positionMs / lengthMs;
        const double next = std::floor(pixels + 0.5) + 0.5;
        if (next < static_cast<double>(barWidthPixels) + 0.5)
            untilFill = next * lengthMs / static_cast<double>(barWidthPixels) - positionMs;
    }
    return std::max(0.0, std::min(untilText, untilFill));
}

void PositionReadout::forget()
{
    m_known = false;
}

} // namespace quillory
