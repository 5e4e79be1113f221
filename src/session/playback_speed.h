#pragma once

#include <QString>
#include <cstdint>

namespace quillory {

class Preferences;

// The speed choices of the player: 0.25x to 3.0x in steps of 0.05x. Speeds are
// kept as whole hundredths so that stepping up and down never drifts.
class PlaybackSpeed {
public:
    static constexpr int MinHundredths = 25;
    static constexpr int MaxHundredths = 300;
    static constexpr int StepHundredths = 5;
    static constexpr int NormalHundredths = 100;
    static constexpr const char *PreferenceKey = "speed.value";

    PlaybackSpeed() = default;
    // The nearest step to `factor` within the range; normal speed for a value
    // that is no number.
    static PlaybackSpeed nearest(double factor);
    // The stored speed; normal speed when it is missing, unreadable or out of range.
    static PlaybackSpeed fromPreferences(const Preferences &preferences);
    void store(Preferences &preferences) const;

    PlaybackSpeed slower() const;
    PlaybackSpeed faster() const;
    bool isNormal() const { return m_hundredths == NormalHundredths; }
    bool isSlowest() const { return m_hundredths == MinHundredths; }
    bool isFastest() const { return m_hundredths == MaxHundredths; }
    double factor() const { return m_hundredths / 100.0; }
    int hundredths() const { return m_hundredths; }
    // "0.50x", "1.25x", "3.00x".
    QString label() const;

    bool operator==(const PlaybackSpeed &other) const { return m_hundredths == other.m_hundredths; }
    bool operator!=(const PlaybackSpeed &other) const { return !(*this == other); }

private:
    explicit PlaybackSpeed(int hundredths) : m_hundredths(hundredths) {}
    int m_hundredths = NormalHundredths;
};

// The stretch a loop plays: the `seconds` before `positionMs`, not before 0.
struct LoopRange {
    static constexpr int DefaultSeconds = 5;
    static constexpr int MinSeconds = 1;
    static constexpr int MaxSeconds = 60;
    static constexpr const char *PreferenceKey = "loop.seconds";
    // Shorter stretches are not worth a loop (a position at the very start).
    static constexpr std::int64_t MinLengthMs = 250;

    std::int64_t fromMs = 0;
    std::int64_t toMs = 0;

    static LoopRange before(double positionMs, int seconds);
    static int secondsFromPreferences(const Preferences &preferences);
    bool isPlayable() const { return toMs - fromMs >= MinLengthMs; }
};

} // namespace quillory
