#include "simulated_media_engine.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace quillory {

void SimulatedMediaEngine::advance(std::int64_t ms)
{
    if (m_pendingOpen && ms > 0) {
        m_pendingOpen->remainingMs -= ms;
        if (m_pendingOpen->remainingMs <= 0) {
            PendingOpen pending = std::move(*m_pendingOpen);
            m_pendingOpen.reset();
            pending.done(open(pending.path));
        }
        return;
    }
    if (!m_open || !m_playing || ms <= 0)
        return;
    double target = m_position + double(ms) * m_speed;
    const double from = double(m_loopFrom);
    const double to = double(m_loopTo);
    if (m_looping && m_position < to && target >= to) {
        // Each pass starts exactly at the loop's start, so nothing accumulates.
        const double over = target - to;
        const double span = to - from;
        const double passes = std::floor(over / span);
        m_loopPasses += 1 + static_cast<int>(passes);
        target = from + (over - passes * span);
    }
    m_position = std::min(double(m_length), target);
    if (m_position >= double(m_length))
        m_playing = false; // the device stops at the end, position == length
}

std::int64_t SimulatedMediaEngine::positionMs()
{
    return std::llround(m_position);
}

MediaError SimulatedMediaEngine::setSpeed(double factor)
{
    if (!std::isfinite(factor) || factor <= 0 || factor > 100)
        return MediaError::OutOfRange;
    m_speed = factor;
    return MediaError::None;
}

MediaError SimulatedMediaEngine::setLoop(std::int64_t fromMs, std::int64_t toMs)
{
    if (!m_open)
        return MediaError::InvalidDeviceName;
    if (fromMs < 0 || toMs <= fromMs || toMs > m_length)
        return MediaError::OutOfRange;
    m_looping = true;
    m_loopFrom = fromMs;
    m_loopTo = toMs;
    m_loopPasses = 0;
    return MediaError::None;
}

void SimulatedMediaEngine::clearLoop()
{
    m_looping = false;
}

MediaError SimulatedMediaEngine::open(const QString &path)
{
    close();
    if (m_openErrors.contains(path))
        return m_openErrors.value(path);
    if (!m_lengths.contains(path) && !QFileInfo(path).isFile())
        return MediaError::FileNotFound;
    m_open = true;
    m_path = path;
    m_length = m_lengths.value(path, m_defaultLength);
    m_position = 0;
    m_playing = false;
    ++m_openCount;
    return MediaError::None;
}

void SimulatedMediaEngine::openAsync(const QString &path, OpenDone done)
{
    close();
    if (m_openDelay <= 0) {
        done(open(path));
        return;
    }
    m_pendingOpen = PendingOpen{path, std::move(done), m_openDelay};
}

void SimulatedMediaEngine::close()
{
    m_pendingOpen.reset(); // abandoned: never told
    clearLoop();
    m_open = false;
    m_playing = false;
    m_position = 0;
    m_length = 0;
    m_path.clear();
}

MediaError SimulatedMediaEngine::play()
{
    if (!m_open)
        return MediaError::InvalidDeviceName;
    m_playing = m_position < double(m_length);
    return MediaError::None;
}

MediaError SimulatedMediaEngine::playFrom(std::int64_t ms)
{
    if (!m_open)
        return MediaError::InvalidDeviceName;
    if (ms < 0 || ms > m_length)
        return MediaError::OutOfRange;
    m_position = double(ms);
    m_playing = ms < m_length;
    return MediaError::None;
}

MediaError SimulatedMediaEngine::stop()
{
    if (!m_open)
        return MediaError::InvalidDeviceName;
    m_playing = false;
    return MediaError::None;
}

MediaError SimulatedMediaEngine::seekTo(std::int64_t ms)
{
    if (!m_open)
        return MediaError::InvalidDeviceName;
    if (ms < 0 || ms > m_length)
        return MediaError::OutOfRange;
    m_position = double(ms);
    m_playing = false;
    return MediaError::None;
}

} // namespace quillory
