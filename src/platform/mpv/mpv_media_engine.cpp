#include "platform/mpv/mpv_media_engine.h"

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
#include <utility>

namespace quillory {

namespace {

std::int64_t toMilliseconds(double seconds)
{
    return std::llround(seconds * 1000.0);
}

std::int64_t steadyMicroseconds()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

MediaError openErrorFor(int mpvError)
{
    switch (mpvError) {
    case MPV_ERROR_LOADING_FAILED:
        return MediaError::FileNotFound;
    case MPV_ERROR_AO_INIT_FAILED:
        return MediaError::CannotLoadDriver;
    default:
        return MediaError::InvalidFile;
    }
}

} // namespace

// Runs on the starting thread: loads libmpv and starts a player with the fixed
// options. Nothing (and a warning) when libmpv is missing or refuses to start.
MpvMediaEngine::Started MpvMediaEngine::startPlayer(const MpvEngineOptions &options)
{
    Started started;
    QString error;
    started.library = MpvLibrary::load(options.libraryName, &error);
    if (started.library == nullptr) {
        qWarning("libmpv cannot be loaded: %s", qPrintable(error));
        return started;
    }
    const MpvLibrary &mpv = *started.library;
    MpvHandle handle(mpv.create(), MpvHandleDeleter{started.library});
    if (!handle)
        return started;
    mpv_handle *h = handle.get();
    const QList<QPair<QByteArray, QByteArray>> fixed = {
        // Play exactly what was asked, nothing from user configuration or scripts.
        {"config", "no"},
        {"load-scripts", "no"},
        {"ytdl", "no"},
        {"osc", "no"},
        {"input-default-bindings", "no"},
        {"resume-playback", "no"},
        {"sub-auto", "no"},
        {"audio-file-auto", "no"},
        {"audio-display", "no"},
        // Stay loaded and paused at the end so that the end position can be read.
        {"idle", "yes"},
        {"keep-open", "yes"},
        {"pause", "yes"},
        // Exact seeks; the demuxer offset avoids silence after seeks in VBR MP3.
        {"hr-seek", "yes"},
        {"hr-seek-demuxer-offset", "1"},
        // Each delay reading asks the sound server instead of extrapolating from
        // an older timing report, which drifts by milliseconds.
        {"pulse-latency-hacks", "yes"},
        {"vo",
         options.videoHost && mpv.hasVideoOutput() ? QByteArray("libmpv") : options.videoOutput},
        {"audio-fallback-to-null", options.fallbackToNullOutput ? "yes" : "no"},
    };
    for (const auto &option : fixed)
        mpv.setOptionString(h, option.first.constData(), option.second.constData());
    // PulseAudio's interface first, also where PipeWire serves it: its delay,
    // asked of the server at each reading, places a pause within a millisecond of
    // what was heard, where PipeWire's own output is off by several. The trailing
    // comma keeps the usual order after it.
    mpv.setOptionString(h, "ao",
                        options.audioOutput.isEmpty() ? "pulse," : options.audioOutput.constData());
    // At speeds other than 1.0 mpv puts scaletempo2 into the audio filters itself
    // (and takes it out again at 1.0); a scaletempo2 of our own in "af" would not
    // be given the speed.
    mpv.setOptionString(h, "audio-pitch-correction", options.keepPitch ? "yes" : "no");
    for (const auto &option : options.extraOptions) {
        if (mpv.setOptionString(h, option.first.constData(), option.second.constData()) < 0)
            qWarning("mpv rejected option %s", option.first.constData());
    }
    if (mpv.initialize(h) < 0) {
        qWarning("libmpv did not start");
        return started;
    }
    mpv.observeProperty(h, 0, "eof-reached", MPV_FORMAT_FLAG);
    started.handle = std::move(handle);
    return started;
}

MpvMediaEngine::MpvMediaEngine(const MpvEngineOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_heldAudio(options.heldAudio)
{
    if (!m_heldAudio)
        m_heldAudio = std::make_shared<PulseSinkLatency>();
    m_unpauseTimer.setSingleShot(true);
    m_unpauseTimer.setInterval(0);
    connect(&m_unpauseTimer, &QTimer::timeout, this, &MpvMediaEngine::commitPendingUnpause);
    // libmpv refuses to start unless numbers are formatted the C way; the locale
    // is the process's, so it is set here, before any other thread starts.
    std::setlocale(LC_NUMERIC, "C");
    // mpv's SDL audio output would otherwise catch SIGINT and SIGTERM for SDL's
    // own quit event, which nobody reads: the program could not be ended.
    if (qEnvironmentVariableIsEmpty("SDL_NO_SIGNAL_HANDLERS"))
        qputenv("SDL_NO_SIGNAL_HANDLERS", "1");
    if (options.startLater) {
        m_start = StartState::NotStarted;
        return;
    }
    adopt(startPlayer(m_options));
}

void MpvMediaEngine::startInBackground()
{
    if (m_start != StartState::NotStarted)
        return;
    m_start = StartState::Starting;
    m_starter = std::async(std::launch::async, [this] {
        Started started = startPlayer(m_options);
        QMetaObject::invokeMethod(
            this, [this] { finishStarting(); }, Qt::QueuedConnection);
        return started;
    });
}

MpvMediaEngine::~MpvMediaEngine()
{
    if (m_start == StartState::Starting)
        adopt(m_starter.get()); // a start still running is waited for, then stopped
    if (m_handle)
        m_mpv->setWakeupCallback(m_handle.get(), nullptr, nullptr);
    if (m_handle && m_options.videoHost)
        m_options.videoHost->detachPlayer(); // its render context must go first
}

// Takes over the player started on the worker thread, waiting for it if needed,
// or starts it here when no start has begun. Announced once; later calls do nothing.
void MpvMediaEngine::finishStarting()
{
    if (m_start == StartState::Done)
        return;
    const bool running = m_start == StartState::Starting;
    m_start = StartState::Done;
    adopt(running ? m_starter.get() : startPlayer(m_options));
    emit started(isReady());
}

void MpvMediaEngine::adopt(Started started)
{
    m_mpv = started.library;
    m_handle = std::move(started.handle);
    if (m_handle) {
        m_mpv->setWakeupCallback(m_handle.get(), &MpvMediaEngine::onWakeup, this);
        if (m_speed != 1.0) // chosen before the player had started
            setSpeedProperty(m_speed);
    }
    if (m_handle && m_options.videoHost)
        m_options.videoHost->attachPlayer(*m_mpv, m_handle.get());
}

bool MpvMediaEngine::isReady()
{
    finishStarting();
    return m_handle != nullptr;
}

// Called on an mpv thread: only posts a drain to our own thread, at most one at a time.
void MpvMediaEngine::onWakeup(void *context)
{
    auto *self = static_cast<MpvMediaEngine *>(context);
    self->m_eventsPending = true;
    if (self->m_drainQueued.exchange(true))
        return;
    QMetaObject::invokeMethod(
        self,
        [self] {
            self->m_drainQueued = false;
            self->drainEvents();
        },
        Qt::QueuedConnection);
}

// mpv_wait_event costs ~70 us even with a zero timeout when nothing is queued,
// so the queue is only read after the wakeup callback has announced events.
void MpvMediaEngine::drainEvents()
{
    if (!m_handle || !m_eventsPending.exchange(false))
        return;
    for (;;) {
        const mpv_event *event = m_mpv->waitEvent(m_handle.get(), 0);
        if (event->event_id == MPV_EVENT_NONE)
            return;
        handleEvent(*event);
    }
}

void MpvMediaEngine::handleEvent(const mpv_event &event)
{
    switch (event.event_id) {
    case MPV_EVENT_START_FILE: {
        const auto *start = static_cast<const mpv_event_start_file *>(event.data);
        if (start->playlist_entry_id == m_entryId)
            m_entryStarted = true;
        break;
    }
    case MPV_EVENT_FILE_LOADED:
        // Carries no entry id; loads happen one at a time, so it is ours once our
        // entry has started and not ended.
        if (m_entryStarted && !m_entryEnded)
            m_entryLoaded = true;
        break;
    case MPV_EVENT_SEEK:
        // A seek we did not ask for is the A-B loop going round.
        if (m_looping && !m_seeking)
            m_loopWrapped = true;
        break;
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<const mpv_event_end_file *>(event.data);
        if (end->playlist_entry_id != m_entryId || m_entryId == 0)
            break;
        m_entryEnded = true;
        if (end->reason == MPV_END_FILE_REASON_ERROR)
            m_endError = end->error;
        else if (end->reason == MPV_END_FILE_REASON_REDIRECT)
            m_endError = MPV_ERROR_UNKNOWN_FORMAT; // a playlist, not media
        else
            m_endError = MPV_ERROR_NOTHING_TO_PLAY;
        if (m_open) {
            // Playback failed underneath us (file removed, output lost).
            m_open = false;
            cancelPendingUnpause();
        }
        break;
    }
    default:
        break;
    }
}

// Waits for `id`; a seek also ends at the end of the media (no restart follows
// then). Returns false on timeout or when the file ended.
bool MpvMediaEngine::waitForEvent(mpv_event_id id, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const mpv_event *event =
            m_mpv->waitEvent(m_handle.get(), double(deadline.remainingTime()) / 1000.0);
        if (event->event_id == MPV_EVENT_NONE)
            continue;
        handleEvent(*event);
        if (event->event_id == id)
            return true;
        if (event->event_id == MPV_EVENT_PROPERTY_CHANGE && id == MPV_EVENT_PLAYBACK_RESTART) {
            const auto *change = static_cast<const mpv_event_property *>(event->data);
            if (change->format == MPV_FORMAT_FLAG && *static_cast<int *>(change->data) != 0)
                return true; // eof-reached
        }
        if (m_entryEnded)
            return false;
    }
    return false;
}

MediaError MpvMediaEngine::waitUntilLoaded(std::int64_t entryId)
{
    m_entryId = entryId;
    m_entryStarted = m_entryLoaded = m_entryEnded = false;
    m_endError = 0;
    QDeadlineTimer deadline(m_options.openTimeoutMs);
    // The output is opened after FILE_LOADED; its failure shows only after the
    // first playback restart, so wait for both.
    while (!m_entryLoaded && !m_entryEnded && !deadline.hasExpired())
        waitForEvent(MPV_EVENT_FILE_LOADED, int(deadline.remainingTime()));
    if (m_entryLoaded && !m_entryEnded)
        waitForEvent(MPV_EVENT_PLAYBACK_RESTART,
                     int(std::max<qint64>(deadline.remainingTime(), 0)));
    drainEvents();
    if (m_entryEnded)
        return openErrorFor(m_endError);
    if (!m_entryLoaded || deadline.hasExpired())
        return MediaError::DeviceNotReady;
    return checkAudioOutput();
}

// True for a loaded file whose tracks include no sound (a silent video). An empty
// track list means the file is being unloaded again.
bool MpvMediaEngine::isSilentMedia() const
{
    mpv_handle *h = m_handle.get();
    std::int64_t count = 0;
    m_mpv->getProperty(h, "track-list/count", MPV_FORMAT_INT64, &count);
    for (std::int64_t i = 0; i < count; ++i) {
        const QByteArray name = "track-list/" + QByteArray::number(i) + "/type";
        char *type = m_mpv->getPropertyString(h, name.constData());
        const bool audio = type != nullptr && qstrcmp(type, "audio") == 0;
        m_mpv->free(type);
        if (audio)
            return false;
    }
    return count > 0;
}

// Called after the first playback restart. When the audio output failed, mpv
// drops the sound, then unloads the file; its END_FILE may still be on its way.
MediaError MpvMediaEngine::checkAudioOutput()
{
    char *output = m_mpv->getPropertyString(m_handle.get(), "current-ao");
    const bool haveOutput = output != nullptr;
    m_mpv->free(output);
    if (haveOutput || (!flag("idle-active") && isSilentMedia()))
        return MediaError::None;
    waitForEvent(MPV_EVENT_END_FILE, 1000);
    return m_entryEnded ? openErrorFor(m_endError) : MediaError::CannotLoadDriver;
}

MediaError MpvMediaEngine::open(const QString &path)
{
    close();
    if (!isReady())
        return m_mpv == nullptr ? MediaError::DeviceNotInstalled : MediaError::DeviceNotReady;
    const QByteArray encoded = QFile::encodeName(path);
    if (path.contains(QChar(0)) || QFile::decodeName(encoded) != path)
        return MediaError::PathNotValid;
    const QFileInfo info(path);
    if (!info.exists())
        return MediaError::FileNotFound;
    if (info.isDir())
        return MediaError::InvalidFile; // mpv would play a folder as a playlist

    clearLoop();
    // An absolute path is always taken as a local file, never as a URL or option.
    const QByteArray absolute = QFile::encodeName(info.absoluteFilePath());
    drainEvents();
    setPaused(true); // pause carries over to the loaded file
    const char *command[] = {"loadfile", absolute.constData(), "replace", nullptr};
    mpv_node result;
    if (m_mpv->commandRet(m_handle.get(), command, &result) < 0)
        return MediaError::InternalError;
    std::int64_t entryId = 0;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
                result.u.list->values[i].format == MPV_FORMAT_INT64)
                entryId = result.u.list->values[i].u.int64;
        }
    }
    m_mpv->freeNodeContents(&result);

    MediaError error = waitUntilLoaded(entryId);
    // mpv starts the picture before the sound and gives a loaded file up when a
    // picture it cannot decode leaves nothing started: the sound is tried alone.
    if (error == MediaError::InvalidFile && m_entryLoaded) {
        if (!loadFile(absolute, "vid=no", &entryId))
            return MediaError::InternalError;
        error = waitUntilLoaded(entryId);
    }
    if (error != MediaError::None) {
        unload();
        return error;
    }
    double seconds = 0;
    m_mpv->getProperty(m_handle.get(), "duration", MPV_FORMAT_DOUBLE, &seconds);
    char *format = m_mpv->getPropertyString(m_handle.get(), "file-format");
    if (format != nullptr && qstrcmp(format, "mp3") == 0) {
        if (const auto exact = unindexedMp3Seconds(info.absoluteFilePath()))
            seconds = *exact;
    }
    m_mpv->free(format);
    m_lengthMs = std::max<std::int64_t>(0, toMilliseconds(seconds));
    useSteadyAudioTimestamps();
    m_open = true;
    return MediaError::None;
}

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
    const char *filters = vorbis ? SteadyTimestamps : "";
    if (m_mpv->setProperty(m_handle.get(), "af", MPV_FORMAT_STRING, &filters) < 0)
        qWarning("mpv refused the audio filter for steady timestamps");
}

// Replaces the playlist with the file (with mpv's per-file `options`, if any);
// `entryId` receives its playlist entry.
bool MpvMediaEngine::loadFile(const QByteArray &absolute, const char *options,
                              std::int64_t *entryId)
{
    const char *command[] = {"loadfile", absolute.constData(), "replace", options, nullptr};
    mpv_node result;
    if (m_mpv->commandRet(m_handle.get(), command, &result) < 0)
        return false;
    *entryId = 0;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
                result.u.list->values[i].format == MPV_FORMAT_INT64)
                *entryId = result.u.list->values[i].u.int64;
        }
    }
    m_mpv->freeNodeContents(&result);
    return true;
}

void MpvMediaEngine::unload()
{
    m_lastReading.reset();
    m_fullQueueUs.reset();
    clearLoop();
    m_stillAtMs = -1;
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
    if (m_open || m_entryId != 0)
        unload();
}

void MpvMediaEngine::setPaused(bool paused)
{
    m_lastReading.reset(); // what follows a pause or a resume is read afresh
    if (!paused)
        m_stillAtMs = -1;
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
    if (m_open)
        setPaused(false);
}

void MpvMediaEngine::cancelPendingUnpause()
{
    m_unpausePending = false;
    m_unpauseTimer.stop();
}

bool MpvMediaEngine::seekExact(std::int64_t ms)
{
    cancelPendingUnpause();
    setPaused(true);
    drainEvents();
    m_loopWrapped = false; // the output is flushed: it holds nothing of a previous pass
    const QByteArray target = QByteArray::number(double(ms) / 1000.0, 'f', 3);
    const char *command[] = {"seek", target.constData(), "absolute+exact", nullptr};
    if (m_mpv->command(m_handle.get(), command) < 0)
        return false;
    // time-pos is only the new position once playback has restarted.
    m_seeking = true;
    const bool done = waitForEvent(MPV_EVENT_PLAYBACK_RESTART, m_options.seekTimeoutMs);
    m_seeking = false;
    // With a picture, time-pos is the frame shown, up to a frame past the target.
    m_stillAtMs = done ? ms : -1;
    return done;
}

// mpv's loop goes back to A when decoding reaches B, without flushing the output:
// the end of the pass still sounds while audio-pts, counted back from what was
// written, already reads before A. That is the same distance before B.
double MpvMediaEngine::inLoop(double heardSeconds) const
{
    if (!m_looping || !m_loopWrapped || heardSeconds >= m_loopFrom)
        return heardSeconds;
    return heardSeconds + (m_loopTo - m_loopFrom);
}

MediaError MpvMediaEngine::play()
{
    if (!m_open)
        return MediaError::InvalidDeviceName;
    drainEvents();
    cancelPendingUnpause();
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
    if (flag("pause") || flag("eof-reached"))
        return MediaError::None;
    // What was heard is read while still playing (a paused output's clock no
    // longer counts what its sink still plays); seeking there makes what is
    // reported and what a resume plays the same, and keeps it still.
    double seconds = heardAtPause();
    if (seconds >= 0)
        seconds = inLoop(seconds);
    if (seconds >= 0 &&
        !seekExact(std::clamp<std::int64_t>(toMilliseconds(seconds), 0, m_lengthMs)))
        return m_open ? MediaError::DeviceNotReady : MediaError::InvalidDeviceName;
    return MediaError::None;
}

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
    return !flag("pause") && !flag("eof-reached");
}

void MpvMediaEngine::updateLengthAtEnd()
{
    // The demuxer may correct an estimated duration once it has read everything.
    double seconds = 0;
    if (m_mpv->getProperty(m_handle.get(), "duration", MPV_FORMAT_DOUBLE, &seconds) >= 0)
        m_lengthMs = std::max(m_lengthMs, toMilliseconds(seconds));
}

// audio-pts is the sample the output's clock plays at this moment (time-pos is
// only refreshed when the output asks for data, up to a buffer period late). The
// sink of a sound server renders ahead in blocks; what it holds is added, carried
// back to the moment audio-pts was read. Two readings far apart (the thread was
// preempted between them, or the server was slow to answer) are taken again.
// When the sink's next block is due within the guard, it would be taken between
// this read and a pause that follows it, so the read waits for it instead.
std::optional<HeardReading> MpvMediaEngine::readHeard()
{
    constexpr qint64 BlockDueGuardUs = 4000;
    constexpr qint64 ReadingsApartUs = 1500;
    constexpr int Attempts = 5;
    // Of readings that all took long, the quickest: each moment is known only to
    // within the call that read it.
    std::optional<HeardReading> quickest;
    std::int64_t quickestUs = 0;
    for (int attempt = 1; attempt <= Attempts; ++attempt) {
        HeardReading reading;
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
            return reading;
        reading.queuedUs = m_heldAudio->queuedMicroseconds();
        if (reading.queuedUs)
            m_fullQueueUs = std::max(*reading.queuedUs, m_fullQueueUs.value_or(0));
        reading.fullQueueUs = m_fullQueueUs;
        const std::int64_t afterUs = steadyMicroseconds();
        // A sink that tells no latency at all (PipeWire's) has nothing to wait for.
        const long long heldNowUs = *reading.heldUs;
        if (attempt < Attempts && heldNowUs > 0 && heldNowUs < BlockDueGuardUs) {
            QThread::usleep(static_cast<unsigned long>(heldNowUs + 500));
            quickest.reset(); // from before the block the sink takes now
            continue;
        }
        // The sink answered about halfway through its own call.
        reading.heldAtUs = (gotUs + afterUs) / 2;
        reading.speed = m_speed;
        const std::int64_t tookUs = afterUs - askedUs;
        if (tookUs <= ReadingsApartUs)
            return reading;
        if (!quickest || tookUs < quickestUs) {
            quickest = reading;
            quickestUs = tookUs;
        }
    }
    return quickest;
}

// The display asks many times a second, and each exact reading asks the sound
// server twice (mpv's delay and the sink's), which would cost the server and
// both programs several times what playing does. A recent reading is carried
// forward in real time instead; a pause always takes an exact one of its own.
std::optional<double> MpvMediaEngine::heardSeconds()
{
    const std::int64_t nowUs = steadyMicroseconds();
    if (m_lastReading && !m_looping &&
        nowUs - m_lastReadingAtUs < std::int64_t(m_options.readingReuseMs) * 1000)
        return m_lastReading->seconds() + double(nowUs - m_lastReadingAtUs) / 1e6 * m_speed;
    const std::optional<HeardReading> reading = readHeard();
    if (!reading)
        return std::nullopt;
    m_lastReading = reading;
    m_lastReadingAtUs = nowUs;
    return reading->seconds();
}

std::int64_t MpvMediaEngine::positionMs()
{
    if (!m_open)
        return 0;
    drainEvents();
    commitPendingUnpause();
    if (!m_open)
        return 0;
    if (flag("eof-reached")) {
        updateLengthAtEnd();
        return m_lengthMs; // mpv stops a little short of (or beyond) the length
    }
    double seconds = 0;
    if (!flag("pause")) {
        if (const std::optional<double> heard = heardSeconds())
            return std::clamp<std::int64_t>(toMilliseconds(inLoop(*heard)), 0, m_lengthMs);
    } else if (m_stillAtMs >= 0) {
        return std::clamp<std::int64_t>(m_stillAtMs, 0, m_lengthMs);
    }
    if (m_mpv->getProperty(m_handle.get(), "time-pos", MPV_FORMAT_DOUBLE, &seconds) < 0)
        return 0;
    return std::clamp<std::int64_t>(toMilliseconds(seconds), 0, m_lengthMs);
}

std::int64_t MpvMediaEngine::lengthMs()
{
    if (!m_open)
        return 0;
    drainEvents();
    if (flag("eof-reached"))
        updateLengthAtEnd();
    return m_lengthMs;
}

} // namespace quillory

namespace quillory {

MediaError MpvMediaEngine::setSpeed(double factor)
{
    // mpv's own bounds are 0.01 to 100.
    if (!std::isfinite(factor) || factor < 0.01 || factor > 100)
        return MediaError::OutOfRange;
    m_speed = factor;
    if (!m_handle)
        return MediaError::None; // applied once the player has started
    drainEvents();
    return applySpeed() ? MediaError::None : MediaError::InternalError;
}

bool MpvMediaEngine::setSpeedProperty(double factor)
{
    return m_handle && m_mpv->setProperty(m_handle.get(), "speed", MPV_FORMAT_DOUBLE, &factor) >= 0;
}

// mpv's speed holds for the files loaded after it. While paused, the output
// already holds a block made at the old speed, which a resume would play first;
// a seek to where playback stands makes it again.
bool MpvMediaEngine::applySpeed()
{
    m_lastReading.reset();
    if (!setSpeedProperty(m_speed))
        return false;
    if (!m_open)
        return true;
    const bool resumeDue = m_unpausePending;
    if (!resumeDue && !flag("pause"))
        return true; // playing: the change is heard once the output's block has played
    if (flag("eof-reached"))
        return true;
    double seconds = 0;
    if (m_stillAtMs >= 0)
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
