// Opening a file: mpv loads it while the event loop runs on; the blocking open
// reads mpv's events itself until the same steps have decided.
#include "platform/mpv/mpv_media_engine.h"

#include "platform/mpv/engine_support.h"
#include "platform/mpv/mp3_frame_scan.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace quillory {

using namespace mpvengine;

namespace {
// How long mpv may take to unload a file whose audio output failed.
constexpr int OutputLostEndMs = 1000;
} // namespace

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

// Asked after the first playback restart. When the audio output failed, mpv
// drops the sound, then unloads the file; its END_FILE may still be on its way.
bool MpvMediaEngine::audioOutputOpened() const
{
    char *output = m_mpv->getPropertyString(m_handle.get(), "current-ao");
    const bool haveOutput = output != nullptr;
    m_mpv->free(output);
    return haveOutput || (!flag("idle-active") && isSilentMedia());
}

MediaError MpvMediaEngine::open(const QString &path)
{
    MediaError result = MediaError::DeviceNotReady;
    bool finished = false;
    const MediaError refused = beginOpening(
        path,
        [&](MediaError error) {
            result = error;
            finished = true;
        },
        true);
    if (refused != MediaError::None)
        return refused;
    while (!finished && m_opening) {
        const qint64 waitMs = std::max<qint64>(nextOpeningDeadline().remainingTime(), 0);
        const mpv_event *event = m_mpv->waitEvent(m_handle.get(), double(waitMs) / 1000.0);
        if (event->event_id != MPV_EVENT_NONE)
            handleEvent(*event);
        advanceOpening();
    }
    return result;
}

void MpvMediaEngine::openAsync(const QString &path, OpenDone done)
{
    const MediaError refused = beginOpening(path, done, false);
    if (refused != MediaError::None) {
        done(refused);
        return;
    }
    // Events mpv queued before its wakeup was set up for them are read now.
    drainEventsNow();
}

// Refuses what can be told at once; otherwise asks mpv to load the file and
// keeps `done` for the outcome.
MediaError MpvMediaEngine::beginOpening(const QString &path, OpenDone done, bool blocking)
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
    drainEvents();
    setPaused(true); // pause carries over to the loaded file
    Opening opening;
    // An absolute path is always taken as a local file, never as a URL or option.
    opening.absolute = QFile::encodeName(info.absoluteFilePath());
    opening.path = info.absoluteFilePath();
    opening.done = std::move(done);
    opening.blocking = blocking;
    m_opening = std::move(opening);
    if (!startEntry(nullptr)) {
        m_opening.reset();
        return MediaError::InternalError;
    }
    return MediaError::None;
}

// Replaces the playlist with the file (with mpv's per-file `options`, if any)
// and follows its playlist entry from here.
bool MpvMediaEngine::startEntry(const char *options)
{
    Opening &opening = *m_opening;
    const char *command[] = {"loadfile", opening.absolute.constData(), "replace", options, nullptr};
    mpv_node result;
    if (m_mpv->commandRet(m_handle.get(), command, &result) < 0)
        return false;
    std::int64_t entryId = 0;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
                result.u.list->values[i].format == MPV_FORMAT_INT64)
                entryId = result.u.list->values[i].u.int64;
        }
    }
    m_mpv->freeNodeContents(&result);
    m_entryId = entryId;
    m_entryStarted = m_entryLoaded = m_entryEnded = m_entryRestarted = false;
    m_endError = 0;
    opening.deadline = QDeadlineTimer(m_options.openTimeoutMs);
    opening.outputLostDeadline.reset();
    return true;
}

QDeadlineTimer MpvMediaEngine::nextOpeningDeadline() const
{
    if (!m_opening)
        return QDeadlineTimer(0);
    if (m_opening->outputLostDeadline)
        return std::min(*m_opening->outputLostDeadline, m_opening->deadline);
    return m_opening->deadline;
}

// Takes the open as far as the events read so far allow. The output is opened
// after FILE_LOADED; its failure shows only after the first playback restart,
// so both are waited for.
void MpvMediaEngine::advanceOpening()
{
    if (!m_opening)
        return;
    Opening &opening = *m_opening;
    if (m_entryEnded) {
        const MediaError error = openErrorFor(m_endError);
        // mpv starts the picture before the sound and gives a loaded file up when
        // a picture it cannot decode leaves nothing started: the sound is tried alone.
        if (error == MediaError::InvalidFile && m_entryLoaded && !opening.withoutVideo &&
            !opening.outputLostDeadline) {
            opening.withoutVideo = true;
            if (!startEntry("vid=no"))
                finishOpening(MediaError::InternalError);
            return;
        }
        finishOpening(error);
        return;
    }
    if (opening.outputLostDeadline) {
        if (opening.outputLostDeadline->hasExpired())
            finishOpening(MediaError::CannotLoadDriver);
    } else if (m_entryLoaded && m_entryRestarted) {
        if (audioOutputOpened()) {
            finishOpening(MediaError::None);
            return;
        }
        opening.outputLostDeadline = QDeadlineTimer(OutputLostEndMs);
    } else if (opening.deadline.hasExpired()) {
        finishOpening(MediaError::DeviceNotReady);
    }
    if (m_opening)
        m_openTimer.start(int(std::max<qint64>(nextOpeningDeadline().remainingTime(), 0)) + 1);
}

// An asynchronous open is told from the event loop, never from inside the call
// (a position query, say) whose event reading decided it.
void MpvMediaEngine::finishOpening(MediaError error)
{
    Opening opening = std::move(*m_opening);
    m_opening.reset();
    m_openTimer.stop();
    if (error == MediaError::None)
        error = completeOpen(opening.path);
    if (error != MediaError::None)
        unload();
    if (opening.blocking) {
        opening.done(error);
        return;
    }
    const quint64 generation = m_openGeneration;
    QMetaObject::invokeMethod(
        this,
        [this, generation, error, done = std::move(opening.done)] {
            if (generation == m_openGeneration) // not closed or opened again meanwhile
                done(error);
        },
        Qt::QueuedConnection);
}

void MpvMediaEngine::abandonOpening()
{
    m_opening.reset();
    m_openTimer.stop();
}

// The loaded file's length and the filters that depend on its output.
MediaError MpvMediaEngine::completeOpen(const QString &absolutePath)
{
    double seconds = 0;
    m_mpv->getProperty(m_handle.get(), "duration", MPV_FORMAT_DOUBLE, &seconds);
    char *format = m_mpv->getPropertyString(m_handle.get(), "file-format");
    if (format != nullptr && qstrcmp(format, "mp3") == 0) {
        if (const auto exact = unindexedMp3Seconds(absolutePath))
            seconds = *exact;
    }
    m_mpv->free(format);
    m_lengthMs = std::max<std::int64_t>(0, toMilliseconds(seconds));
    m_outputKeepsTime = outputKeepsTime();
    useSteadyAudioTimestamps();
    // Loaded paused at the start. mpv's time-pos is not trusted meanwhile: the
    // new audio filters rebuild its output, and on an output that writes as
    // fast as it can, time-pos has been seen to read 0.74 s then.
    m_stillAtMs = 0;
    m_open = true;
    return MediaError::None;
}

} // namespace quillory
