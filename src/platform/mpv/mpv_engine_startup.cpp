// Starting libmpv (at once or on a worker) and the events it sends.
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
        // Nor its built-in scripts: with no bindings and no configuration they
        // can never be reached, and each starts a Lua thread (10 to 25 ms of
        // processor) while the window is being built.
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"load-auto-profiles", "no"},
        {"ytdl", "no"},
        {"osc", "no"},
        {"input-default-bindings", "no"},
        {"resume-playback", "no"},
        {"sub-auto", "no"},
        {"audio-file-auto", "no"},
        {"audio-display", "no"},
        // A playlist (or a file that only points at others) named like a
        // recording is refused; its entries are never opened behind the refusal.
        {"access-references", "no"},
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
        // The sound server is sent half a second at a time rather than a
        // tenth. mpv's output wakes every quarter of that and asks the server
        // for its delay at each wake-up, and the player's core asks again for
        // each block it decodes to refill it: a fifth as many questions. A
        // pause, a seek and the heard end are as exact (what the sink holds is
        // measured, whatever its size), and a new speed is remade at once. A
        // whole second would be fewer still, but mpv then ends a stream before
        // the last of it has played.
        {"pulse-buffer", "500"},
        // The recording is read ahead into memory (up to mpv's 150 MiB, 2 hours
        // of 128 kbit/s MP3) instead of a second ahead: once it is all in, the
        // reading thread sleeps for good, where it would otherwise wake for each
        // packet played, and the decoder with it (about 0.1 % of a core), and
        // rewinds within what was read need no file access.
        {"cache", "yes"},
        // Software decoding only, and no hardware interop loaded with the video
        // renderer: probing for one prints "Cannot load libcuda.so.1" on every
        // machine without NVIDIA's driver, and speech needs none of it.
        {"hwdec", "no"},
        {"gpu-hwdec-interop", "no"},
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
    : QObject(parent), m_carry(options.firstReadingReuseMs, options.readingReuseMs),
      m_options(options), m_heldAudio(options.heldAudio)
{
    if (!m_heldAudio)
        m_heldAudio = std::make_shared<PulseSinkLatency>();
    m_unpauseTimer.setSingleShot(true);
    m_unpauseTimer.setInterval(0);
    connect(&m_unpauseTimer, &QTimer::timeout, this, &MpvMediaEngine::commitPendingUnpause);
    m_rereadTimer.setSingleShot(true);
    m_rereadTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_rereadTimer, &QTimer::timeout, this, &MpvMediaEngine::rereadHeard);
    m_seekTimer.setSingleShot(true);
    m_openTimer.setSingleShot(true);
    connect(&m_openTimer, &QTimer::timeout, this, [this] {
        drainEvents();
        advanceOpening();
    });
    connect(&m_seekTimer, &QTimer::timeout, this, [this] {
        drainEvents();
        seekTimedOut();
    });
    // libmpv refuses to start unless numbers are formatted the C way. The
    // program sets that at start, before any thread runs (setlocale is not
    // thread safe); a test or tool that has not is set here.
    if (std::strcmp(std::setlocale(LC_NUMERIC, nullptr), "C") != 0)
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
        QMetaObject::invokeMethod(this, "finishStarting", Qt::QueuedConnection);
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
    // Invoked by name, the call's arguments are built inside Qt: a functor built
    // here would be handed over by Qt's event queue, whose locks the thread
    // sanitizer cannot see.
    QMetaObject::invokeMethod(self, "drainAnnouncedEvents", Qt::QueuedConnection);
}

void MpvMediaEngine::drainAnnouncedEvents()
{
    m_drainQueued = false;
    drainEvents();
}

// mpv_wait_event costs ~70 us even with a zero timeout when nothing is queued,
// so the queue is only read after the wakeup callback has announced events.
void MpvMediaEngine::drainEvents()
{
    if (!m_handle || !m_eventsPending.exchange(false))
        return;
    readEvents();
}

// Reads the queue whether or not the wakeup callback has announced events yet.
void MpvMediaEngine::drainEventsNow()
{
    if (!m_handle)
        return;
    m_eventsPending = false;
    readEvents();
}

void MpvMediaEngine::readEvents()
{
    for (;;) {
        const mpv_event *event = m_mpv->waitEvent(m_handle.get(), 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
    }
    advanceOpening();
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
    case MPV_EVENT_PROPERTY_CHANGE: {
        // The one property observed.
        const auto *change = static_cast<const mpv_event_property *>(event.data);
        if (change->format == MPV_FORMAT_FLAG && qstrcmp(change->name, "eof-reached") == 0) {
            m_eofSeen = *static_cast<int *>(change->data) != 0;
            if (m_eofSeen) {
                // No restart follows a seek (or a load) that lands at the end.
                if (m_seekStarted)
                    endSeek();
                if (m_entryLoaded && !m_entryEnded)
                    m_entryRestarted = true;
            }
        }
        break;
    }
    case MPV_EVENT_PLAYBACK_RESTART:
        if (m_entryLoaded && !m_entryEnded)
            m_entryRestarted = true;
        // A restart before our seek began ends something else (a load, a new
        // audio filter chain).
        if (m_seekStarted)
            endSeek();
        break;
    case MPV_EVENT_SEEK:
        // A seek we did not ask for is the A-B loop going round.
        if (m_looping && !m_seeking)
            m_loopWrapped = true;
        if (m_seeking)
            m_seekStarted = true;
        break;
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<const mpv_event_end_file *>(event.data);
        if (end->playlist_entry_id != m_entryId || m_entryId == 0)
            break;
        m_entryEnded = true;
        m_resumeAfterSeek = false;
        endSeek();
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

} // namespace quillory
