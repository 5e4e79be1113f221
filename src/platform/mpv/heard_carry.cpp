#include "platform/mpv/heard_carry.h"

#include <algorithm>

namespace quillory {

HeardCarry::HeardCarry(int firstMs, int longestMs)
    : m_firstMs(std::max(firstMs, 0)), m_longestMs(std::max(longestMs, 0))
{
}

void HeardCarry::forget()
{
    m_atUs.reset();
    m_taken = 0;
}

void HeardCarry::take(double seconds, std::int64_t atUs, double speed)
{
    m_seconds = seconds;
    m_atUs = atUs;
    m_speed = speed;
    ++m_taken;
}

std::int64_t HeardCarry::reuseUs() const
{
    if (m_taken == 0 || m_longestMs == 0)
        return 0;
    // Doubling from the first, bounded well before an int64 overflows.
    const int doublings = std::min(m_taken - 1, 20);
    const std::int64_t ms =
        std::min<std::int64_t>(std::int64_t(m_firstMs) << doublings, std::int64_t(m_longestMs));
    return ms * 1000;
}

std::optional<double> HeardCarry::carriedThroughTail(std::int64_t nowUs, std::int64_t tailUs) const
{
    if (!m_atUs || nowUs < *m_atUs ||
        nowUs - *m_atUs > reuseUs() + std::max<std::int64_t>(tailUs, 0))
        return std::nullopt;
    return m_seconds + double(nowUs - *m_atUs) / 1e6 * m_speed;
}

std::optional<double> HeardCarry::at(std::int64_t nowUs) const
{
    // A clock that went back (it cannot, but a reading taken "later") is due too.
    if (!m_atUs || nowUs < *m_atUs || nowUs - *m_atUs >= reuseUs())
        return std::nullopt;
    return carriedThroughTail(nowUs, 0);
}

} // namespace quillory
