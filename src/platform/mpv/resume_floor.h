#pragma once

#include <cstdint>

namespace quillory {

// Just after playback resumes, the output's clock first reads the place
// playback started from, then, once the device has taken the first samples,
// counts its latency back from them: it reads up to tens of ms before that
// place, where nothing has been heard yet. Positions read then show that place
// instead, until the clock passes it, so that the clock never steps back after
// a resume.
class ResumeFloor {
public:
    // Longer than any device's latency: a reading further back is a real move
    // (a loop going back to its start), and after this long the clock alone
    // counts whatever it reads.
    static constexpr std::int64_t LongestLatencyMs = 500;
    static constexpr std::int64_t HeldUs = 1000000;

    // Playback resumes from `ms` (-1: from no known place) at `atUs`.
    void resumeFrom(std::int64_t ms, std::int64_t atUs)
    {
        m_fromMs = ms;
        m_atUs = atUs;
    }
    void clear() { m_fromMs = -1; }
    std::int64_t from() const { return m_fromMs; }

    // The position to show for a reading of `ms` taken at `nowUs`.
    std::int64_t apply(std::int64_t ms, std::int64_t nowUs)
    {
        if (m_fromMs < 0)
            return ms;
        if (ms > m_fromMs || m_fromMs - ms > LongestLatencyMs || nowUs - m_atUs > HeldUs) {
            m_fromMs = -1;
            return ms;
        }
        return m_fromMs;
    }

private:
    std::int64_t m_fromMs = -1;
    std::int64_t m_atUs = 0;
};

} // namespace quillory
