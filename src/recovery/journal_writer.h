#pragma once

#include "recovery/recovery_info.h"
#include "recovery/recovery_journal.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <functional>

namespace quillory {

// Keeps the recovery copy at most about a second behind the transcript, off the
// typing path: a change only starts timers; when they run out the document is
// captured cheaply on this thread and turned into RTF and written on a worker.
// One write is in flight at a time; changes during it are written right after.
class JournalWriter : public QObject {
    Q_OBJECT
public:
    // Makes the RTF of the document as it was when the function was made.
    using RtfJob = std::function<QByteArray()>;
    struct Sources {
        // Called on this thread; must be cheap. The job runs on the worker.
        std::function<RtfJob()> capture;
        std::function<bool()> hasUnsavedChanges;
        std::function<RecoveryInfo()> info; // savedAt is filled in here
    };

    JournalWriter(RecoveryJournal &journal, Sources sources, QObject *parent = nullptr);
    ~JournalWriter() override;

    // After the last change the copy is written once the text has been quiet
    // for `quietMs`, and never later than `maxWaitMs` after the first change
    // not yet written, so continuous typing is still written every second.
    void setDelays(int quietMs, int maxWaitMs);
    // How often the media position is brought up to date while a copy exists
    // and the media plays.
    void setInfoInterval(int ms);
    // Playing, the position moves on by itself and is brought up to date every
    // interval; paused or stopped, it moves only when told, and each call takes
    // it where it is now.
    void followPlayback(bool playing);
    bool isFollowingPlayback() const { return m_infoTimer.isActive(); }
    // The worker's nice value (0..19), set before the first write. The default
    // leaves the typing about nine tenths of a core the two share, yet a write
    // still lands within half a second beside one busy program; at 19 it took
    // seconds there, and the copy fell far more than a second behind.
    void setWorkerNice(int nice) { m_workerNice = qBound(0, nice, 19); }
    int workerNice() const { return m_workerNice; }

    // Connect to the document's contentsChanged.
    void documentChanged();
    // Nothing is left unsaved: waits for a write in flight, then removes the copy.
    void removeCopy();
    // The program ends normally: removes the copy and writes no more.
    void stop();
    // The program ends with unsaved text nobody was asked about (the player was
    // closed while the editor was hidden): the copy is brought up to date and
    // kept for the next start, and no more is written.
    void keepAndStop();
    // Writes now and waits for it (start-up, tests). True when the copy is on disk.
    bool writeNow();
    // Waits for the write in flight, if any, and delivers its outcome.
    void waitForIdle();

    bool writePending() const { return m_quiet.isActive() || m_maxWait.isActive(); }
    int writesDone() const { return m_writesDone; }

signals:
    // The first failure after a success (or after the start): the caller says
    // once that the copy cannot be written. Typing is not disturbed.
    void writeFailed(const QString &reason);

private:
    void flush();
    void refreshInfo();
    void start(RtfJob job, const RecoveryInfo &info);
    void finished(unsigned generation, const FileResult &result, const RecoveryInfo &info);
    void noteOutcome(const FileResult &result, const RecoveryInfo &info);
    RecoveryInfo currentInfo() const;

    RecoveryJournal &m_journal;
    Sources m_sources;
    QTimer m_quiet;
    QTimer m_maxWait;
    QTimer m_infoTimer;
    QThreadPool m_pool;
    bool m_inFlight = false;
    bool m_writeAgain = false;
    bool m_stopped = false;
    bool m_failureShown = false;
    unsigned m_generation = 0;
    int m_writesDone = 0;
    int m_maxWaitMs = 900;
    int m_maxWaitFloorMs = 250; // writes are never closer together than this
    int m_workerNice = 10;
    RecoveryInfo m_lastInfo; // as last written, savedAt aside
};

} // namespace quillory
