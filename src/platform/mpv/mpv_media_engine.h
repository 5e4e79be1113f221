#pragma once

#include "platform/media/media_engine.h"
#include "platform/mpv/heard_carry.h"
#include "platform/mpv/held_audio.h"
#include "platform/mpv/mpv_handle.h"
#include "platform/mpv/mpv_video_host.h"
#include "platform/mpv/pause_end.h"
#include "platform/mpv/pulse_latency.h"
#include "platform/mpv/resume_floor.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QPair>
#include <QTimer>
#include <atomic>
#include <future>
#include <memory>
#include <optional>

namespace quillory {

struct MpvEngineOptions {
    // The libmpv shared library, loaded at run time.
    QByteArray libraryName = MpvLibrary::DefaultName;
    // Leave the start of libmpv to startInBackground() (or to the first call that
    // needs the player, which then starts it itself). Otherwise the constructor
    // loads and starts it.
    bool startLater = false;
    // mpv audio output ("sdl", "pulse", "pcm", ...); empty lets mpv choose.
    QByteArray audioOutput;
    // Play silently on a null output when no audio output can be opened, instead
    // of failing the open with CannotLoadDriver.
    bool fallbackToNullOutput = true;
    QByteArray videoOutput = "null";
    // Further mpv options set before start-up, e.g. {"ao-pcm-file", "/tmp/out.wav"}.
    QList<QPair<QByteArray, QByteArray>> extraOptions;
    // Bounds of the wait for the player to load a file, and for its answer to a
    // seek (positions report the seek's target until then).
    int openTimeoutMs = 10000;
    int seekTimeoutMs = 5000;
    // How long a reading of the heard position while playing is carried forward
    // before the sound server is asked again: the first after a start or a move
    // for firstReadingReuseMs, each next twice as long up to readingReuseMs. A
    // pause always reads afresh. 0 asks at every reading.
    int firstReadingReuseMs = 40;
    int readingReuseMs = 2500;
    // A reading whose questions took longer than this (the thread was preempted,
    // the server was slow) is taken again.
    long long quickReadingUs = 1500;
    // What the sound output holds beyond the sample it plays now; by default the
    // PulseAudio sink of the player's stream, when there is one.
    std::shared_ptr<HeldAudioProbe> heldAudio;
    // Keep the pitch at speeds other than 1.0 (mpv's scaletempo2 audio filter);
    // without it a speed is a resampling, which moves the pitch with it.
    bool keepPitch = true;
    // Shows the picture of video files (libmpv's render output replaces
    // videoOutput); kept alive by the device until its player is gone.
    std::shared_ptr<MpvVideoHost> videoHost;
};

// The media device on libmpv. Everything runs on the calling (UI) thread: mpv's
// events are drained at the next call after mpv's wakeup callback announced them,
// and between calls from a queued invocation that callback posts.
//
// Seeks do not wait for mpv: a seek returns once mpv has taken it, and until
// mpv restarts playback at the target, the position is the target. A resume
// asked for meanwhile is held until then.
//
// Exact positions: "play from t" seeks exactly while paused and only schedules
// the unpause (committed at the next event-loop turn, the next position query or
// play). A stop arriving first cancels it, so the pause idiom "play from t" +
// "stop" leaves the device exactly at t, and nothing of the media has been heard.
// A stop during playback seeks to the position it read, so that the reported
// position is also where a resume plays from.
//
// Heard positions: while playing, the position is the last sample the listener
// hears, not the one the output's clock plays now: a sound server's sink has
// already taken a block beyond it, which still sounds after a pause. So a pause
// (and the rewind counted from it) starts from what was heard.
//
// Speed: the sink's held audio is wall-clock time; it holds held x speed of media.
// Loops are mpv's A-B loop: each pass starts with an exact seek to A, so passes
// do not drift, and the output is not flushed, so the passes join seamlessly.
//
// Ends and lengths: mpv reports the end of the media once it has decoded the
// last sample, while its output and the sound server still hold the last few
// hundred ms. Until they are heard the position runs on; then it is the length
// (mpv's own end position is a few ms off). Positions are clamped to [0, length]. MP3 files
// without a Xing/Info/VBRI header get their length by counting frames at open,
// since mpv's estimate for VBR files is far short until the end is reached.
class MpvMediaEngine : public QObject, public MediaEngine {
    Q_OBJECT
public:
    explicit MpvMediaEngine(const MpvEngineOptions &options = MpvEngineOptions(),
                            QObject *parent = nullptr);
    ~MpvMediaEngine() override;

    // False when libmpv could not be loaded or started; every open then fails
    // (DeviceNotInstalled without the library). Waits for a start in progress.
    bool isReady();
    // Loads and starts libmpv on a worker thread; started() announces the end.
    // Any call that needs the player meanwhile waits for it. Does nothing once
    // a start has begun.
    void startInBackground();
    // True until a start has ended (or while none has begun).
    bool isStarting() const { return m_start != StartState::Done; }

    // Blocks until mpv has loaded the file (bounded by openTimeoutMs).
    MediaError open(const QString &path) override;
    // Returns once mpv has been asked to load the file; `done` follows from the
    // event loop as mpv's events tell the outcome.
    void openAsync(const QString &path, OpenDone done) override;
    bool isOpening() const override { return m_opening.has_value(); }
    void close() override;
    bool isOpen() const override { return m_open; }
    MediaError play() override;
    MediaError playFrom(std::int64_t ms) override;
    MediaError stop() override;
    MediaError seekTo(std::int64_t ms) override;
    bool isPlaying() const override;
    std::int64_t positionMs() override;
    std::int64_t lengthMs() override;
    MediaError setSpeed(double factor) override;
    double speed() const override { return m_speed; }
    MediaError setLoop(std::int64_t fromMs, std::int64_t toMs) override;
    void clearLoop() override;
    bool isLooping() const override { return m_looping; }
    // A seek has been issued and mpv has not yet restarted playback (as far as
    // the events read so far tell).
    bool isSeeking() const { return m_seeking; }

signals:
    // A start asked for by startInBackground() has ended (possibly on a call that
    // waited for it); `ready` as isReady() then says.
    void started(bool ready);

private:
    struct Started {
        const MpvLibrary *library = nullptr;
        MpvHandle handle;
    };
    static Started startPlayer(const MpvEngineOptions &options);
    // Queued by name from other threads.
    Q_INVOKABLE void finishStarting();
    Q_INVOKABLE void drainAnnouncedEvents();
    void adopt(Started started);
    static void onWakeup(void *context);
    void drainEvents();
    void drainEventsNow();
    void readEvents();
    void handleEvent(const mpv_event &event);
    // An open under way: mpv loads the file while the event loop runs on.
    struct Opening {
        QByteArray absolute;
        QString path;
        OpenDone done;
        QDeadlineTimer deadline;
        bool withoutVideo = false;
        bool blocking = false; // open() waits for it: `done` is called at once
        // The output was lost: mpv's END_FILE is waited for until then.
        std::optional<QDeadlineTimer> outputLostDeadline;
    };
    MediaError beginOpening(const QString &path, OpenDone done, bool blocking);
    bool startEntry(const char *options);
    void advanceOpening();
    void finishOpening(MediaError error);
    void abandonOpening();
    QDeadlineTimer nextOpeningDeadline() const;
    MediaError completeOpen(const QString &absolutePath);
    quint64 m_openGeneration = 0; // counts closes: an open told later is stale
    bool seekExact(std::int64_t ms);
    void endSeek();
    void seekTimedOut();
    void setPaused(bool paused);
    bool flag(const char *property) const;
    bool isSilentMedia() const;
    bool audioOutputOpened() const;
    void commitPendingUnpause();
    void cancelPendingUnpause();
    void updateLengthAtEnd();
    void useSteadyAudioTimestamps();
    std::optional<HeardReading> readHeard();
    void rereadAfterDueBlock(const HeardReading &reading);
    void rereadHeard();
    QTimer m_rereadTimer;
    HeardCarry m_carry;
    std::optional<long long> m_fullQueueUs; // the most the server queued of the stream
    std::optional<double> heardSeconds();
    std::optional<std::int64_t> endStillHeardMs() const;
    bool endReached();
    bool outputKeepsTime() const;
    double heardAtPause();
    void unload();

    MpvEngineOptions m_options;
    const MpvLibrary *m_mpv = nullptr;
    MpvHandle m_handle;
    enum class StartState { NotStarted, Starting, Done };
    StartState m_start = StartState::Done;
    std::future<Started> m_starter;
    std::shared_ptr<HeldAudioProbe> m_heldAudio;
    PulseSinkLatency m_sinkLatency;
    QTimer m_unpauseTimer;
    QTimer m_seekTimer; // bounds the wait for mpv's answer to a seek
    std::atomic<bool> m_drainQueued{false};
    std::atomic<bool> m_eventsPending{true};

    bool m_open = false;
    bool m_unpausePending = false;
    // The pause we last set: mpv pauses by itself only at the end of the media.
    bool m_pausedByUs = true;
    // mpv's eof-reached as its change events tell it, so that a display tick
    // need not ask mpv's core (which wakes it) while playing runs on.
    bool m_eofSeen = false;
    // Everything sent has been heard since the end was reached.
    bool m_endHeard = false;
    // The output plays in real time (a sound card or server, not a file).
    bool m_outputKeepsTime = true;
    std::int64_t m_entryId = 0; // playlist entry of the open file
    std::int64_t m_lengthMs = 0;
    int m_endError = 0;            // mpv error of a failed load or playback, 0 if none
    bool m_entryEnded = false;     // END_FILE seen for m_entryId
    bool m_entryLoaded = false;    // FILE_LOADED seen for m_entryId
    bool m_entryStarted = false;   // START_FILE seen for m_entryId
    bool m_entryRestarted = false; // playback of the loaded entry has begun (or ended)
    std::optional<Opening> m_opening;
    QTimer m_openTimer; // wakes advanceOpening() at the next deadline of an open
    double m_speed = 1.0;
    bool m_looping = false;
    bool m_loopWrapped = false; // mpv has gone round the loop since our last seek
    bool m_seeking = false;     // a seek of ours is under way
    bool m_seekStarted = false; // mpv has begun that seek (its SEEK event)
    std::int64_t m_seekTargetMs = 0;
    bool m_resumeAfterSeek = false; // a play asked for while the seek runs
    double m_loopFrom = 0;          // seconds
    double m_loopTo = 0;
    double inLoop(double heardSeconds) const;
    bool setSpeedProperty(double factor);
    bool applySpeed();

    // Where the last exact seek left the paused player; -1 when it is not still.
    std::int64_t m_stillAtMs = -1;
    // Where the last resume started from, until the heard clock passes it.
    ResumeFloor m_resumeFloor;
};

} // namespace quillory
