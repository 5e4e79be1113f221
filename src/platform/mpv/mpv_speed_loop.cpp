// Playback speed with the pitch kept, and the A-B loop.
#include "platform/mpv/mpv_media_engine.h"

#include "platform/mpv/engine_support.h"
#include "platform/mpv/mp3_frame_scan.h"
#include "platform/mpv/pulse_latency.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QtDebug>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstring>
#include <utility>

namespace quillory {

using namespace mpvengine;

MediaError MpvMediaEngine::setSpeed(double factor)
{
    // mpv's own bounds are 0.01 to 100.
    if (!std::isfinite(factor) || factor < 0.01 || factor > 100)
        return MediaError::OutOfRange;
    if (!m_handle) {
        m_speed = factor;
        return MediaError::None; // applied once the player has started
    }
    drainEvents();
    // Playing, the output holds up to its buffer's length made at the old
    // speed: a pause where the listener is (read at the old speed), remade at
    // the new one and resumed, makes the change heard at once.
    const bool playing =
        m_open && !m_seeking && !m_unpausePending && !flag("pause") && !flag("eof-reached");
    if (playing && stop() != MediaError::None)
        return MediaError::InternalError;
    m_speed = factor;
    if (!applySpeed())
        return MediaError::InternalError;
    return playing ? play() : MediaError::None;
}

bool MpvMediaEngine::setSpeedProperty(double factor)
{
    return m_handle && m_mpv->setProperty(m_handle.get(), "speed", MPV_FORMAT_DOUBLE, &factor) >= 0;
}

// mpv's speed holds for the files loaded after it. While paused, the output
// already holds a block made at the old speed, which a resume would play first;
// a seek to where playback stands makes it again. (Playing, setSpeed pauses
// first.)
bool MpvMediaEngine::applySpeed()
{
    m_carry.forget();
    if (!setSpeedProperty(m_speed))
        return false;
    if (!m_open)
        return true;
    const bool resumeDue = m_unpausePending || m_resumeAfterSeek;
    if (!resumeDue && !flag("pause"))
        return true; // playing out the end: the tail keeps the speed it was made at
    if (flag("eof-reached"))
        return true;
    double seconds = 0;
    if (m_seeking)
        seconds = double(m_seekTargetMs) / 1000.0;
    else if (m_stillAtMs >= 0)
        seconds = double(m_stillAtMs) / 1000.0;
    else if (m_mpv->getProperty(m_handle.get(), "time-pos", MPV_FORMAT_DOUBLE, &seconds) < 0)
        return true;
    if (!seekExact(std::clamp<std::int64_t>(toMilliseconds(seconds), 0, m_lengthMs)))
        return false;
    if (resumeDue) {
        m_unpausePending = true;
        m_unpauseTimer.start();
    }
    return true;
}

MediaError MpvMediaEngine::setLoop(std::int64_t fromMs, std::int64_t toMs)
{
    if (!m_open)
        return MediaError::InvalidDeviceName;
    drainEvents();
    if (fromMs < 0 || toMs <= fromMs || toMs > lengthMs())
        return MediaError::OutOfRange;
    double a = double(fromMs) / 1000.0;
    double b = double(toMs) / 1000.0;
    if (m_mpv->setProperty(m_handle.get(), "ab-loop-a", MPV_FORMAT_DOUBLE, &a) < 0 ||
        m_mpv->setProperty(m_handle.get(), "ab-loop-b", MPV_FORMAT_DOUBLE, &b) < 0) {
        clearLoop();
        return MediaError::InternalError;
    }
    m_looping = true;
    m_loopWrapped = false;
    m_loopFrom = a;
    m_loopTo = b;
    return MediaError::None;
}

void MpvMediaEngine::clearLoop()
{
    m_looping = false;
    m_loopWrapped = false;
    if (!m_handle)
        return;
    // The A-B points are options: they would carry over to the next file.
    const char *none = "no";
    m_mpv->setProperty(m_handle.get(), "ab-loop-a", MPV_FORMAT_STRING, &none);
    m_mpv->setProperty(m_handle.get(), "ab-loop-b", MPV_FORMAT_STRING, &none);
}

} // namespace quillory
