#include "volume_slider.h"

#include <algorithm>
#include <cmath>

namespace quillory {

void VolumeSlider::placeTrack(double trackLeft, double trackTop, double trackWidth,
                              double trackHeight, double knobWidth, double knobHeight)
{
    m_trackLeft = trackLeft;
    m_trackTop = trackTop;
    m_trackWidth = trackWidth;
    m_trackHeight = trackHeight;
    m_knobWidth = knobWidth;
    m_knobHeight = knobHeight;
}

void VolumeSlider::centre()
{
    m_knobTop = (m_trackHeight - m_knobHeight) / 2 + m_trackTop;
    m_knobLeft = m_trackWidth / 2 - m_knobWidth / 2 + m_trackLeft;
}

void VolumeSlider::keepOnTrack()
{
    if (m_trackTop > m_knobTop)
        m_knobTop = m_trackTop;
    if (m_knobTop + m_knobHeight > m_trackTop + m_trackHeight)
        m_knobTop = m_trackTop + m_trackHeight - m_knobHeight;
}

std::int32_t VolumeSlider::valueFor(std::int32_t maximum) const
{
    const double r = m_trackHeight - m_knobHeight;
    if (maximum <= 0 || r <= 0 || !std::isfinite(m_knobTop))
        return 0;
    const double t = std::clamp(m_knobTop - m_trackTop, 0.0, r);
    const double v = std::trunc(std::fabs(t * maximum / r - maximum));
    return static_cast<std::int32_t>(std::clamp(v, 0.0, static_cast<double>(maximum)));
}

void VolumeSlider::placeAtValue(std::int64_t value, std::int32_t maximum)
{
    const double r = m_trackHeight - m_knobHeight;
    if (maximum <= 0 || r <= 0) {
        centre();
        return;
    }
    const double v = std::clamp(static_cast<double>(value), 0.0, static_cast<double>(maximum));
    m_knobTop = std::nearbyint(m_trackTop + (maximum - v) * r / maximum);
}

double VolumeSlider::dragTarget(double yInKnob) const
{
    // Compared in single precision, as the knob's position is kept.
    const float wanted = static_cast<float>(m_knobTop + yInKnob - 350);
    const float highest = static_cast<float>(m_trackTop - 1.35 * m_knobHeight);
    return highest < wanted ? wanted : highest;
}

bool VolumeSlider::dragTowards(double target)
{
    double top = std::nearbyint(target - m_knobHeight / 2 + m_trackTop);
    if (top + m_knobHeight - m_trackTop > m_trackHeight)
        top = std::nearbyint(m_trackHeight - m_knobHeight + m_trackTop);
    if (top < 0)
        top = 0;
    // The highest target lands up to a twip above the track; the knob stays on it.
    if (top < m_trackTop)
        top = m_trackTop;
    if (top + m_knobHeight > m_trackTop + m_trackHeight)
        top = m_trackTop + m_trackHeight - m_knobHeight;
    if (top == m_knobTop)
        return false;
    m_knobTop = top;
    return true;
}

void VolumeSlider::clickAt(double yInTrack)
{
    m_knobTop = m_trackTop + yInTrack - m_knobHeight / 2;
    keepOnTrack();
}

int ReadoutFade::tick(bool *finished)
{
    m_level += 15;
    *finished = false;
    if (m_level == 0)
        return 0;
    const int shade = std::clamp(m_level, 0, 255);
    if (m_level >= 255) {
        m_level = Touched;
        *finished = true;
    }
    return shade;
}

} // namespace quillory
