#include "session/position_readout.h"

#include "platform/geometry/twips.h"
#include "session/time_format.h"

#include <algorithm>

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

void PositionReadout::forget()
{
    m_known = false;
}

} // namespace quillory
