// The transport and the position.
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

// FFmpeg stamps each Vorbis packet that passes from a long block to a short one
// 448 samples (10 ms at 44.1 kHz) later than it sounds, and mpv takes such a
// stamp for a jump. An exact seek that lands in one of those packets starts up
// to 10 ms early. The filter below counts samples instead, and takes a new
// starting point only when two packets in a row agree on it (an isolated wrong
// stamp never does). Other codecs stamp their packets exactly.
void MpvMediaEngine::useSteadyAudioTimestamps()
{
    static const char SteadyTimestamps[] =
        "lavfi=[asetpts='st(3,T-N/SR);if(eq(ld(2),0),st(0,ld(3)));"
        "if(lt(abs(ld(3)-ld(1)),0.0005),st(0,ld(3)));st(1,ld(3));st(2,ld(2)+1);"
        "(N/SR+ld(0))/TB']";
    char *codec = m_mpv->getPropertyString(m_handle.get(), "audio-codec-name");
    const bool vorbis = codec != nullptr && qstrcmp(codec, "vorbis") == 0;
    m_mpv->free(codec);
    // mpv's scaletempo2 (speeds other than 1.0) keeps the last tens of ms of
    // its input at the end of the stream: a little silence after the media
    // carries the last of the recording out. Positions beyond the length are
    // the length, so the silence is never shown, and the display's end of the
    // media comes as the recording's last sample is heard.
    static const char EndPadding[] = "lavfi=[apad=pad_dur=0.15]";
    QByteArray filters = vorbis ? QByteArray(SteadyTimestamps) : QByteArray();
    if (m_outputKeepsTime)
        filters += (filters.isEmpty() ? "" : ",") + QByteArray(EndPadding);
    const char *chain = filters.constData();
    if (m_mpv->setProperty(m_handle.get(), "af", MPV_FORMAT_STRING, &chain) < 0)
        qWarning("mpv refused the audio filters for steady timestamps and the end");
}

void MpvMediaEngine::unload()
{
    abandonOpening();
    m_carry.forget();
    m_resumeFloor.clear();
    m_endHeard = false;
    m_eofSeen = false;
    m_fullQueueUs.reset();
    clearLoop();
    m_stillAtMs = -1;
    m_resumeAfterSeek = false;
    endSeek();
    cancelPendingUnpause();
    m_open = false;
    m_lengthMs = 0;
    if (!m_handle)
        return;
    // "stop" also clears the playlist, dropping entries a playlist file may have added.
    const char *command[] = {"stop", nullptr};
    m_mpv->command(m_handle.get(), command);
    m_entryId = 0;
    drainEvents();
}

void MpvMediaEngine::close()
{
    ++m_openGeneration;
    abandonOpening();
    if (m_open || m_entryId != 0)
        unload();
}

void MpvMediaEngine::setPaused(bool paused)
{
    m_carry.forget(); // what follows a pause or a resume is read afresh
    m_pausedByUs = paused;
    if (paused) {
        m_resumeFloor.clear();
    } else {
        m_resumeFloor.resumeFrom(m_stillAtMs, steadyMicroseconds());
        m_stillAtMs = -1;
        m_endHeard = false;
    }
    int value = paused ? 1 : 0;
    m_mpv->setProperty(m_handle.get(), "pause", MPV_FORMAT_FLAG, &value);
}

bool MpvMediaEngine::flag(const char *property) const
{
    int value = 0;
    m_mpv->getProperty(m_handle.get(), property, MPV_FORMAT_FLAG, &value);
    return value != 0;
}

void MpvMediaEngine::commitPendingUnpause()
{
    if (!m_unpausePending)
        return;
    m_unpausePending = false;
    m_unpauseTimer.stop();
    if (m_seeking)
        m_resumeAfterSeek = true;
    else if (m_open)
        setPaused(false);
}

void MpvMediaEngine::cancelPendingUnpause()
{
    m_unpausePending = false;
    m_unpauseTimer.stop();
}

// Issues an exact seek and returns at once; until mpv restarts playback at the
// target (or reaches the end), positions report the target. False when mpv
// refused the seek.
bool MpvMediaEngine::seekExact(std::int64_t ms)
{
    cancelPendingUnpause();
    m_resumeAfterSeek = false;
    setPaused(true);
    // A restart still queued from an earlier seek must not end this one.
    drainEventsNow();
    m_loopWrapped = false; // the output is flushed: it holds nothing of a previous pass
    const QByteArray target = QByteArray::number(double(ms) / 1000.0, 'f', 3);
    const char *command[] = {"seek", target.constData(), "absolute+exact", nullptr};
    if (m_mpv->command(m_handle.get(), command) < 0) {
        endSeek();
        m_stillAtMs = -1;
        return false;
    }
    m_seeking = true;
    m_seekStarted = false;
    m_seekTargetMs = ms;
    m_seekTimer.start(m_options.seekTimeoutMs);
    m_endHeard = false;
    m_eofSeen = false; // the change event tells if the seek lands at the end
    // With a picture, time-pos is the frame shown, up to a frame past the target.
    m_stillAtMs = ms;
    return true;
}

// mpv restarted playback after our seek, reached the end instead, or never
// answered: time-pos (or the heard clock) speaks for the position again.
// A resume asked for during the seek is carried out now: unpaused while mpv
// still seeks, a Vorbis file starts up to 20 ms before the target.
void MpvMediaEngine::endSeek()
{
    m_seeking = false;
    m_seekStarted = false;
    m_seekTimer.stop();
    const bool resume = m_resumeAfterSeek;
    m_resumeAfterSeek = false;
    if (resume && m_open && !flag("eof-reached"))
        setPaused(false);
}

void MpvMediaEngine::seekTimedOut()
{
    if (!m_seeking)
        return;
    qWarning("mpv did not restart playback within %d ms of a seek", m_options.seekTimeoutMs);
    endSeek();
    if (m_pausedByUs)
        m_stillAtMs = -1; // where mpv stands now is all there is to tell
}

// mpv's loop goes back to A when decoding reaches B, without flushing the output:
// the end of the pass still sounds while audio-pts, counted back from what was
// written, already reads before A. That is the same distance before B, or, when
// the output holds more than a pass (a short loop at a high speed), before B
// that many passes back.
double MpvMediaEngine::inLoop(double heardSeconds) const
{
    if (!m_looping || !m_loopWrapped || heardSeconds >= m_loopFrom)
        return heardSeconds;
    const double pass = m_loopTo - m_loopFrom;
    if (pass <= 0)
        return heardSeconds;
    const double passesBack = std::ceil((m_loopFrom - heardSeconds) / pass);
    return heardSeconds + passesBack * pass;
}

MediaError MpvMediaEngine::play()
{
    if (!m_open)
        return MediaError::InvalidDeviceName;
    drainEvents();
    cancelPendingUnpause();
    if (m_seeking) {
        // mpv's own flag may still tell of the end the seek leaves.
        m_resumeAfterSeek = m_seekTargetMs < m_lengthMs;
        return MediaError::None;
    }
    if (m_open && !flag("eof-reached"))
        setPaused(false);
    return MediaError::None;
}

MediaError MpvMediaEngine::playFrom(std::int64_t ms)
{
    // An exact seek while paused; the unpause follows lazily so that a "stop"
    // sent right after leaves the device exactly at `ms`.
    const MediaError seeked = seekTo(ms);
    if (seeked != MediaError::None)
        return seeked;
    if (ms < m_lengthMs) {
        m_unpausePending = true;
        m_unpauseTimer.start();
    }
    return MediaError::None;
}

MediaError MpvMediaEngine::stop()
{
    if (!m_open)
        return MediaError::InvalidDeviceName;
    drainEvents();
    if (m_unpausePending) {
        cancelPendingUnpause(); // still exactly at the "play from" target
        return MediaError::None;
    }
    if (m_seeking) {
        // Nothing after the seek's target has been heard yet: it rests there.
        m_resumeAfterSeek = false;
        return MediaError::None;
    }
    if (flag("eof-reached")) {
        // Stopped while the last of the media still sounds: it rests where the
        // listener's sound ends, as any pause does.
        if (const std::optional<std::int64_t> heard = endStillHeardMs())
            seekExact(*heard);
        return MediaError::None;
    }
    if (flag("pause"))
        return MediaError::None;
    // What was heard is read while still playing (a paused output's clock no
    // longer counts what its sink still plays); seeking there makes what is
    // reported and what a resume plays the same, and keeps it still.
    ResumeFloor floor = m_resumeFloor; // the pause itself clears it
    double seconds = heardAtPause();
    if (seconds >= 0)
        seconds = inLoop(seconds);
    if (seconds >= 0 &&
        !seekExact(std::clamp<std::int64_t>(
            floor.apply(toMilliseconds(seconds), steadyMicroseconds()), 0, m_lengthMs)))
        return m_open ? MediaError::DeviceNotReady : MediaError::InvalidDeviceName;
    return MediaError::None;
}

MediaError MpvMediaEngine::seekTo(std::int64_t ms)
{
    if (!m_open)
        return MediaError::InvalidDeviceName;
    drainEvents();
    if (ms < 0 || ms > lengthMs())
        return MediaError::OutOfRange;
    if (!seekExact(ms))
        return m_open ? MediaError::DeviceNotReady : MediaError::InvalidDeviceName;
    return MediaError::None;
}

bool MpvMediaEngine::isPlaying() const
{
    if (!m_open)
        return false;
    if (m_unpausePending)
        return true;
    if (m_seeking)
        return m_resumeAfterSeek;
    if (flag("eof-reached"))
        return endStillHeardMs().has_value();
    return !flag("pause");
}

bool MpvMediaEngine::endReached()
{
    // The observed flag says when to look; mpv's own answer decides, since a
    // change event may still be on its way.
    if (!m_eofSeen)
        return false;
    m_eofSeen = flag("eof-reached");
    return m_eofSeen;
}

// At the end of the media while the output and the sound server still play
// what mpv decoded last: where the listener is, carried on from the last
// reading; nothing once all of it has been heard (or no reading tells).
std::optional<std::int64_t> MpvMediaEngine::endStillHeardMs() const
{
    // What the output and the sound server may still play once mpv has
    // decoded its last sample: the stream's buffer and the sink's latency, up to
    // two seconds on a timer-scheduled sink. A reading carried longer than its
    // reuse and this is no longer trusted for the end.
    constexpr std::int64_t LongestTailUs = 3000000;
    // Paused by us, it rests where the pause left it. An output that does not
    // keep time (a file) has nothing left to be heard.
    if (m_endHeard || m_looping || m_pausedByUs || !m_outputKeepsTime)
        return std::nullopt;
    const std::int64_t nowUs = steadyMicroseconds();
    const std::optional<double> carried = m_carry.carriedThroughTail(nowUs, LongestTailUs);
    if (!carried)
        return std::nullopt;
    const std::int64_t ms = toMilliseconds(*carried);
    if (ms >= m_lengthMs)
        return std::nullopt;
    return std::max<std::int64_t>(ms, 0);
}

// A file output (or an untimed one) writes as fast as mpv decodes: the wall
// clock then says nothing about what is heard.
bool MpvMediaEngine::outputKeepsTime() const
{
    char *output = m_mpv->getPropertyString(m_handle.get(), "current-ao");
    const bool file = output != nullptr && qstrcmp(output, "pcm") == 0;
    const bool null = output != nullptr && qstrcmp(output, "null") == 0;
    m_mpv->free(output);
    return !file && !flag("untimed") && !(null && flag("options/ao-null-untimed"));
}

void MpvMediaEngine::updateLengthAtEnd()
{
    // The demuxer may correct an estimated duration once it has read everything.
    double seconds = 0;
    if (m_mpv->getProperty(m_handle.get(), "duration", MPV_FORMAT_DOUBLE, &seconds) >= 0)
        m_lengthMs = std::max(m_lengthMs, toMilliseconds(seconds));
}

std::int64_t MpvMediaEngine::positionMs()
{
    if (!m_open)
        return 0;
    drainEvents();
    commitPendingUnpause();
    if (!m_open)
        return 0;
    if (m_seeking)
        return std::clamp<std::int64_t>(m_seekTargetMs, 0, m_lengthMs);
    if (endReached()) {
        updateLengthAtEnd();
        if (const std::optional<std::int64_t> heard = endStillHeardMs())
            return *heard;
        m_endHeard = true; // and stays so until playback moves again
        return m_lengthMs; // mpv stops a little short of (or beyond) the length
    }
    double seconds = 0;
    if (!m_pausedByUs) {
        if (const std::optional<double> heard = heardSeconds())
            return std::clamp<std::int64_t>(
                m_resumeFloor.apply(toMilliseconds(inLoop(*heard)), steadyMicroseconds()), 0,
                m_lengthMs);
    } else if (m_stillAtMs >= 0) {
        return std::clamp<std::int64_t>(m_stillAtMs, 0, m_lengthMs);
    }
    if (m_mpv->getProperty(m_handle.get(), "time-pos", MPV_FORMAT_DOUBLE, &seconds) < 0)
        return 0;
    // mpv's own position counts what the output holds too: a loop's previous
    // pass still playing reads as before the loop.
    if (!m_pausedByUs)
        seconds = inLoop(seconds);
    return std::clamp<std::int64_t>(toMilliseconds(seconds), 0, m_lengthMs);
}

std::int64_t MpvMediaEngine::lengthMs()
{
    if (!m_open)
        return 0;
    drainEvents();
    if (endReached())
        updateLengthAtEnd();
    return m_lengthMs;
}

} // namespace quillory
