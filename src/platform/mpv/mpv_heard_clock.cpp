// The heard position: what the listener hears now, and where a pause ends.
#include "platform/mpv/mpv_media_engine.h"

#include "platform/mpv/engine_support.h"
#include "platform/mpv/mp3_frame_scan.h"
#include "platform/mpv/pulse_latency.h"
#include "platform/mpv/quickest_reading.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QtDebug>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstring>
#include <utility>

namespace quillory {

using namespace mpvengine;

// Pauses, and returns the position of the last sample the listener hears (-1
// when no position can be read). The reading is taken before the pause; what
// the server tells once the stream has stopped shows what its sink took or gave
// back meanwhile.
double MpvMediaEngine::heardAtPause()
{
    std::optional<HeardReading> heard = readHeard();
    if (heard && heard->heldUs && *heard->heldUs > 0) {
        const std::optional<HeardReading> second = readHeard();
        const std::optional<HeardReading> third = readHeard();
        if (second && third)
            heard = medianReading(*heard, *second, *third);
    }
    AfterPause after;
    after.pauseBeganUs = steadyMicroseconds();
    setPaused(true);
    after.pauseEndedUs = steadyMicroseconds();
    if (!heard) {
        double seconds = 0;
        if (m_mpv->getProperty(m_handle.get(), "time-pos", MPV_FORMAT_DOUBLE, &seconds) < 0)
            return -1;
        return seconds;
    }
    double stopped = 0;
    if (m_mpv->getProperty(m_handle.get(), "audio-pts", MPV_FORMAT_DOUBLE, &stopped) >= 0)
        after.outputStoppedSeconds = stopped;
    if (needsAfterPause(*heard, after.pauseEndedUs)) {
        // The paused stream stays as it is, so a question that went unanswered
        // (a busy server) is asked again.
        for (int attempt = 0; attempt < 3 && !after.heldUs; ++attempt) {
            after.heldAskedUs = steadyMicroseconds();
            after.heldUs = m_heldAudio->heldAfterPauseMicroseconds();
            after.heldAnsweredUs = steadyMicroseconds();
        }
        after.queuedUs = m_heldAudio->queuedMicroseconds();
    }
    return heardEndSeconds(*heard, after);
}

// audio-pts is the sample the output's clock plays at this moment (time-pos is
// only refreshed when the output asks for data, up to a buffer period late). The
// sink of a sound server renders ahead in blocks; what it holds is added, carried
// back to the moment audio-pts was read. Two readings far apart (the thread was
// preempted between them, or the server was slow to answer) are taken again.
std::optional<HeardReading> MpvMediaEngine::readHeard()
{
    constexpr int Attempts = 5;
    const auto take = [this]() -> std::optional<TimedReading> {
        TimedReading timed;
        HeardReading &reading = timed.reading;
        const std::int64_t askedUs = steadyMicroseconds();
        if (m_mpv->getProperty(m_handle.get(), "audio-pts", MPV_FORMAT_DOUBLE,
                               &reading.playingSeconds) < 0)
            return std::nullopt;
        // With each delay asked of the sound server, audio-pts holds for the moment
        // the answer arrived, at the end of the call.
        const std::int64_t gotUs = steadyMicroseconds();
        reading.playingAtUs = gotUs;
        reading.heldUs = m_heldAudio->heldMicroseconds();
        if (!reading.heldUs)
            return timed; // nothing beyond the output's own clock: always exact
        reading.queuedUs = m_heldAudio->queuedMicroseconds();
        if (reading.queuedUs)
            m_fullQueueUs = std::max(*reading.queuedUs, m_fullQueueUs.value_or(0));
        reading.fullQueueUs = m_fullQueueUs;
        const std::int64_t afterUs = steadyMicroseconds();
        // The sink answered about halfway through its own call.
        reading.heldAtUs = (gotUs + afterUs) / 2;
        reading.speed = m_speed;
        timed.tookUs = afterUs - askedUs;
        return timed;
    };
    return quickestReading(take, Attempts, m_options.quickReadingUs);
}

// When the sink's next block is due within the guard, the reading is taken
// again just after it, from the event loop, and carried on from there. (A
// pause reads afresh; what the sink took meanwhile is asked after the pause.)
void MpvMediaEngine::rereadAfterDueBlock(const HeardReading &reading)
{
    constexpr long long BlockDueGuardUs = 4000;
    if (!reading.heldUs || *reading.heldUs <= 0 || *reading.heldUs >= BlockDueGuardUs)
        return;
    if (m_rereadTimer.isActive())
        return;
    m_rereadTimer.start(int((*reading.heldUs + 500 + 999) / 1000));
}

// The timer's re-read: only while playing, with nothing moving it meanwhile.
void MpvMediaEngine::rereadHeard()
{
    if (!m_open || m_pausedByUs || m_seeking || m_unpausePending)
        return;
    if (const std::optional<HeardReading> reading = readHeard())
        m_carry.take(reading->seconds(), reading->playingAtUs, m_speed);
}

// The display and MPRIS ask many times a second; a recent reading is carried
// forward (HeardCarry), and a pause always takes an exact one of its own. A
// loop jumps back without telling, so it is read each time.
std::optional<double> MpvMediaEngine::heardSeconds()
{
    const std::int64_t nowUs = steadyMicroseconds();
    if (!m_looping && m_outputKeepsTime) {
        if (const std::optional<double> carried = m_carry.at(nowUs))
            return carried;
    }
    const std::optional<HeardReading> reading = readHeard();
    if (!reading)
        return std::nullopt;
    m_carry.take(reading->seconds(), reading->playingAtUs, m_speed);
    rereadAfterDueBlock(*reading);
    return reading->seconds();
}

} // namespace quillory
