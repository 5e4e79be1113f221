#include "simulated_media_engine.h"

#include <QFileInfo>
#include <algorithm>

namespace quillory {

void SimulatedMediaEngine::advance(std::int64_t ms)
{
    if (!m_open || !m_playing)
        return;
    m_position = std::min(m_length, m_position + ms);
    if (m_position >= m_length)
        m_playing = false; // the device stops at the end, position == length
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

void SimulatedMediaEngine::close()
{
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
    m_playing = m_position < m_length;
    return MediaError::None;
}

MediaError SimulatedMediaEngine::playFrom(std::int64_t ms)
{
    if (!m_open)
        return MediaError::InvalidDeviceName;
    if (ms < 0 || ms > m_length)
        return MediaError::OutOfRange;
    m_position = ms;
    m_playing = m_position < m_length;
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
    m_position = ms;
    m_playing = false;
    return MediaError::None;
}

} // namespace quillory
