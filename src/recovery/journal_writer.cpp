#include "recovery/journal_writer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace quillory {

namespace {
constexpr int DefaultQuietMs = 300;
// Below a second: the wait is counted from the first unwritten change, and the
// timer and the write itself may be late by some tens of milliseconds on a busy
// machine, while what a crash may take must stay under a second old.
constexpr int DefaultMaxWaitMs = 900;
constexpr int DefaultInfoIntervalMs = 1000;

bool sameApartFromTime(RecoveryInfo a, RecoveryInfo b)
{
    a.savedAt = b.savedAt = QDateTime();
    return a == b;
}

// Rebuilding and serialising a long transcript takes tens of milliseconds of
// CPU; on a machine with few cores that would be taken from the typing. On
// Linux the nice value belongs to the thread (QThread's priorities do not
// change it for normal threads), so the pool's thread lowers its own, once.
// A lower priority can always be taken without privileges; a failure leaves
// the thread as it was.
void lowerThisThreadsPriority(int nice)
{
#ifdef Q_OS_LINUX
    thread_local int applied = 0;
    if (nice <= applied)
        return;
    const auto tid = static_cast<id_t>(::syscall(SYS_gettid));
    if (::setpriority(PRIO_PROCESS, tid, nice) == 0)
        applied = nice;
#else
    Q_UNUSED(nice);
#endif
}
} // namespace

JournalWriter::JournalWriter(RecoveryJournal &journal, Sources sources, QObject *parent)
    : QObject(parent), m_journal(journal), m_sources(std::move(sources))
{
    m_pool.setMaxThreadCount(1);
    m_quiet.setSingleShot(true);
    m_maxWait.setSingleShot(true);
    m_quiet.setInterval(DefaultQuietMs);
    m_maxWaitMs = DefaultMaxWaitMs;
    m_maxWait.setInterval(DefaultMaxWaitMs);
    m_infoTimer.setInterval(DefaultInfoIntervalMs);
    connect(&m_quiet, &QTimer::timeout, this, &JournalWriter::flush);
    connect(&m_maxWait, &QTimer::timeout, this, &JournalWriter::flush);
    connect(&m_infoTimer, &QTimer::timeout, this, &JournalWriter::refreshInfo);
}

void JournalWriter::followPlayback(bool playing)
{
    if (m_stopped)
        return;
    if (!playing) {
        m_infoTimer.stop();
        refreshInfo();
    } else if (!m_infoTimer.isActive()) {
        m_infoTimer.start();
    }
}

JournalWriter::~JournalWriter()
{
    m_pool.waitForDone();
}

void JournalWriter::setDelays(int quietMs, int maxWaitMs)
{
    m_quiet.setInterval(quietMs);
    m_maxWaitMs = maxWaitMs;
    m_maxWaitFloorMs = qMin(maxWaitMs, m_maxWaitFloorMs);
    m_maxWait.setInterval(maxWaitMs);
}

void JournalWriter::setInfoInterval(int ms)
{
    m_infoTimer.setInterval(ms);
}

void JournalWriter::documentChanged()
{
    if (m_stopped)
        return;
    m_quiet.start();
    if (!m_maxWait.isActive())
        m_maxWait.start();
}

RecoveryInfo JournalWriter::currentInfo() const
{
    RecoveryInfo info = m_sources.info ? m_sources.info() : RecoveryInfo();
    info.savedAt = QDateTime::currentDateTimeUtc();
    return info;
}

void JournalWriter::flush()
{
    m_quiet.stop();
    m_maxWait.stop();
    if (m_stopped)
        return;
    if (m_inFlight) {
        m_writeAgain = true;
        return;
    }
    // Changes the program made itself (New, Open) leave nothing unsaved.
    if (!m_sources.hasUnsavedChanges()) {
        if (m_journal.hasCopy())
            m_journal.remove();
        return;
    }
    start(m_sources.capture(), currentInfo());
}

void JournalWriter::refreshInfo()
{
    // The media moves while the user listens: the position in the copy follows
    // even when nothing is typed.
    if (m_stopped || m_inFlight || writePending() || !m_journal.hasCopy() ||
        !m_sources.hasUnsavedChanges())
        return;
    const RecoveryInfo info = currentInfo();
    if (sameApartFromTime(info, m_lastInfo))
        return;
    start(RtfJob(), info);
}

void JournalWriter::start(RtfJob job, const RecoveryInfo &info)
{
    m_inFlight = true;
    m_writeAgain = false;
    const unsigned generation = m_generation;
    RecoveryJournal *journal = &m_journal;
    const int nice = m_workerNice;
    m_pool.start([this, journal, job = std::move(job), info, generation, nice] {
        lowerThisThreadsPriority(nice);
        QElapsedTimer took;
        took.start();
        FileResult result;
        if (job) {
            const QByteArray rtf = job();
            result = journal->write(&rtf, info);
        } else {
            result = journal->write(nullptr, info);
        }
        // Delivered on the writer's thread; dropped if the writer is gone.
        const qint64 ms = job ? took.elapsed() : -1;
        QMetaObject::invokeMethod(
            this,
            [this, generation, result, info, ms] {
                // A large transcript takes a while to write: the wait before the
                // next write shrinks by that much, so what is on disk stays
                // about a second behind the typing, not a second plus the write.
                if (ms >= 0)
                    m_maxWait.setInterval(int(
                        qBound(qint64(m_maxWaitFloorMs), m_maxWaitMs - ms, qint64(m_maxWaitMs))));
                finished(generation, result, info);
            },
            Qt::QueuedConnection);
    });
}

// A failure is reported once, until a write succeeds again.
void JournalWriter::noteOutcome(const FileResult &result, const RecoveryInfo &info)
{
    if (result) {
        ++m_writesDone;
        m_lastInfo = info;
        m_failureShown = false;
    } else if (!m_failureShown) {
        m_failureShown = true;
        emit writeFailed(result.reason);
    }
}

void JournalWriter::finished(unsigned generation, const FileResult &result,
                             const RecoveryInfo &info)
{
    if (generation != m_generation)
        return; // removed or stopped meanwhile: this outcome no longer counts
    m_inFlight = false;
    noteOutcome(result, info);
    if (m_writeAgain)
        flush();
}

void JournalWriter::waitForIdle()
{
    // A finished write may start the next one at once (changes made during it):
    // wait until none is in flight. Each round delivers one queued outcome.
    for (int round = 0; m_inFlight && round < 100; ++round) {
        m_pool.waitForDone();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
}

bool JournalWriter::writeNow()
{
    waitForIdle();
    m_quiet.stop();
    m_maxWait.stop();
    if (m_stopped || !m_sources.hasUnsavedChanges())
        return false;
    const RecoveryInfo info = currentInfo();
    const QByteArray rtf = m_sources.capture()();
    const FileResult result = m_journal.write(&rtf, info);
    noteOutcome(result, info);
    return result.ok;
}

void JournalWriter::removeCopy()
{
    m_quiet.stop();
    m_maxWait.stop();
    m_pool.waitForDone();
    ++m_generation;
    m_inFlight = false;
    m_writeAgain = false;
    m_journal.remove();
}

void JournalWriter::keepAndStop()
{
    writeNow();
    m_stopped = true;
    m_infoTimer.stop();
}

void JournalWriter::stop()
{
    removeCopy();
    m_stopped = true;
    m_infoTimer.stop();
}

} // namespace quillory
