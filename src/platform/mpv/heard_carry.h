#pragma once

#include <cstdint>
#include <optional>

namespace quillory {

// The heard position between readings of the sound server. An exact reading
// asks the server twice (the output's delay and the sink's), which a display
// ticking a hundred times a second would turn into most of what playing costs.
// A reading is carried forward in real time at the playback speed instead: the
// sink plays on a steady clock, so the carried value stays within a fraction of
// a millisecond over a second. Readings are due often just after a start, when
// a stream's first figures can be off, and then ever more rarely.
class HeardCarry {
public:
    // The first reading is carried `firstMs`, each next one twice as long, up to
    // `longestMs`; a `longestMs` of 0 carries nothing.
    HeardCarry(int firstMs, int longestMs);

    // Playback started, stopped, moved or changed speed: what was read no longer
    // runs on, and the next readings come close together again.
    void forget();
    void take(double seconds, std::int64_t atUs, double speed);
    // When the reading being carried was taken.
    std::optional<std::int64_t> readingAtUs() const { return m_atUs; }

    // The carried position at `nowUs`; nothing when a fresh reading is due.
    std::optional<double> at(std::int64_t nowUs) const;
    // The carried position at `nowUs` while the reading is no older than its
    // reuse and `tailUs` beyond it: after the player has decoded its last
    // sample, no reading is taken while the output plays out what it holds, so
    // the reading carried then may be a whole reuse old before that tail
    // begins. Nothing without a reading or beyond that.
    std::optional<double> carriedThroughTail(std::int64_t nowUs, std::int64_t tailUs) const;
    // How long the current reading is carried (us).
    std::int64_t reuseUs() const;

private:
    int m_firstMs;
    int m_longestMs;
    int m_taken = 0; // readings since the last forget()
    double m_seconds = 0;
    double m_speed = 1.0;
    std::optional<std::int64_t> m_atUs;
};

} // namespace quillory
