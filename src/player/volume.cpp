#include "volume.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillory {

std::int32_t VolumeControl::rawMaximum() const
{
    if (!found || element.maximum <= element.minimum)
        return 0;
    const long long span =
        static_cast<long long>(element.maximum) - static_cast<long long>(element.minimum);
    return static_cast<std::int32_t>(
        std::min<long long>(span, std::numeric_limits<std::int32_t>::max()));
}

bool GetVolumeControl(Mixer &mixer, VolumeControl *control)
{
    const std::vector<MixerElement> elements = mixer.playbackVolumes();
    const MixerElement *chosen = nullptr;
    for (const MixerElement &e : elements) {
        if (e.maximum <= e.minimum)
            continue;
        if (e.name == QLatin1String("Master")) {
            chosen = &e;
            break;
        }
        if (!chosen)
            chosen = &e;
    }
    if (!chosen)
        return false;
    control->found = true;
    control->element = *chosen;
    return true;
}

bool SetVolumeControl(Mixer &mixer, const VolumeControl &control, std::int64_t value)
{
    const std::int32_t top = control.rawMaximum();
    if (top <= 0)
        return false;
    value = std::clamp<std::int64_t>(value, 0, top);
    return mixer.setPlaybackVolume(control.element,
                                   control.element.minimum + static_cast<long>(value));
}

std::optional<std::int32_t> GetVolumeValue(Mixer &mixer, const VolumeControl &control)
{
    const std::int32_t top = control.rawMaximum();
    if (top <= 0)
        return std::nullopt;
    const std::optional<long> raw = mixer.playbackVolume(control.element);
    if (!raw)
        return std::nullopt;
    const long long v = static_cast<long long>(*raw) - control.element.minimum;
    return static_cast<std::int32_t>(std::clamp<long long>(v, 0, top));
}

std::optional<std::int64_t> volumeFromTag(const QString &tag)
{
    const QString digits = tag.trimmed();
    if (digits.isEmpty() || digits.size() > 18)
        return std::nullopt;
    std::int64_t value = 0;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

std::optional<QString> volumePercentText(std::int64_t value, std::int32_t maximum)
{
    if (maximum <= 0)
        return std::nullopt;
    // Rounded, not cut: the middle of an odd range (32767 of 65535) reads 50%, as
    // does the middle of an even one.
    const double exact = static_cast<double>(value) / static_cast<double>(maximum) * 100.0;
    const auto percent = static_cast<long long>(std::floor(std::clamp(exact, -1e15, 1e15) + 0.5));
    return (percent >= 0 ? QStringLiteral(" ") : QString()) + QString::number(percent) +
           QStringLiteral("%");
}

std::optional<double> volumeFraction(std::int64_t value, std::int32_t maximum)
{
    if (maximum <= 0)
        return std::nullopt;
    return std::clamp(static_cast<double>(value) / static_cast<double>(maximum), 0.0, 1.0);
}

std::int64_t volumeValueForFraction(double fraction, std::int32_t maximum)
{
    if (maximum <= 0 || !(fraction > 0))
        return 0;
    return std::llround(std::min(fraction, 1.0) * static_cast<double>(maximum));
}

} // namespace quillory
