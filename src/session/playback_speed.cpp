#include "session/playback_speed.h"

#include "platform/files/preferences.h"

#include <algorithm>
#include <cmath>

namespace quillory {

PlaybackSpeed PlaybackSpeed::nearest(double factor)
{
    if (!std::isfinite(factor))
        return PlaybackSpeed();
    const double steps = std::round(factor * 100.0 / StepHundredths);
    const double bounded =
        std::clamp(steps * StepHundredths, double(MinHundredths), double(MaxHundredths));
    return PlaybackSpeed(static_cast<int>(bounded));
}

PlaybackSpeed PlaybackSpeed::fromPreferences(const Preferences &preferences)
{
    return nearest(preferences.number(QLatin1String(PreferenceKey), 1.0, MinHundredths / 100.0,
                                      MaxHundredths / 100.0));
}

void PlaybackSpeed::store(Preferences &preferences) const
{
    preferences.setText(QLatin1String(PreferenceKey), QString::number(factor(), 'f', 2));
}

PlaybackSpeed PlaybackSpeed::slower() const
{
    return PlaybackSpeed(std::max(MinHundredths, m_hundredths - StepHundredths));
}

PlaybackSpeed PlaybackSpeed::faster() const
{
    return PlaybackSpeed(std::min(MaxHundredths, m_hundredths + StepHundredths));
}

QString PlaybackSpeed::label() const
{
    return QString::number(factor(), 'f', 2) + QLatin1Char('x');
}

LoopRange LoopRange::before(double positionMs, int seconds)
{
    LoopRange range;
    if (!std::isfinite(positionMs) || positionMs <= 0)
        return range;
    range.toMs = std::llround(positionMs);
    range.fromMs = std::max<std::int64_t>(0, range.toMs - std::int64_t(seconds) * 1000);
    return range;
}

int LoopRange::secondsFromPreferences(const Preferences &preferences)
{
    return preferences.integer(QLatin1String(PreferenceKey), DefaultSeconds, MinSeconds,
                               MaxSeconds);
}

} // namespace quillory
