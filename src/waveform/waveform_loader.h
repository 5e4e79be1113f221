#pragma once

#include "waveform/peak_cache.h"
#include "waveform/waveform_peaks.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>

namespace quillory {

// Loads a media file's peaks on a worker thread this object owns and joins:
// from the cache when it holds them for this version of the file, otherwise
// by decoding, the stretch around the playhead first (and again wherever the
// playhead moves to), then everything: a long recording's first half from
// the start and its second half on a thread of its own (TailPass). The view reads the
// peaks as they grow; peaksChanged() tells it (coalesced, never more than one
// queued at a time). A new open or close cancels the old work at once.
class WaveformLoader : public QObject {
    Q_OBJECT
public:
    // Seconds before and after the playhead decoded ahead of the rest.
    static constexpr double FocusBeforeMs = 10000;
    static constexpr double FocusAfterMs = 20000;
    // At an open, the seconds the strip shows around the playhead go out
    // first, before the rest of that stretch.
    static constexpr double ShownBeforeMs = 5000;
    static constexpr double ShownAfterMs = 5000;

    // Recordings at least this long are decoded in two halves at once.
    static constexpr double SplitFromMs = 120000;

    explicit WaveformLoader(QString cacheFolder, QObject *parent = nullptr);
    ~WaveformLoader() override;

    void open(const QString &path, double playheadMs = 0);
    void close();
    // The playhead moved; a stretch not yet decoded around it goes first.
    void setPlayhead(double ms);
    // The peaks of the file open now; null when none is.
    std::shared_ptr<const WaveformPeaks> peaks() const { return m_peaks; }
    QString path() const { return m_path; }
    bool isRunning() const { return m_worker.joinable() && !m_done.load(); }
    const PeakCache &cache() const { return m_cache; }
    // The shortest recording decoded in two halves, from the next open on.
    void setSplitFromMs(double ms) { m_splitFromMs = ms; }

signals:
    void peaksChanged();
    // The work for the file open now ended: complete, no sound track, or failed.
    void finished();

private:
    struct Job;
    void stop();
    void notify(std::uint64_t generation, bool ended);
    static void run(const std::shared_ptr<Job> &job);

    PeakCache m_cache;
    QString m_path;
    std::shared_ptr<WaveformPeaks> m_peaks;
    std::shared_ptr<Job> m_job;
    std::thread m_worker;
    std::atomic<bool> m_done{true};
    std::atomic<bool> m_notifyQueued{false};
    std::uint64_t m_generation = 0;
    double m_splitFromMs = SplitFromMs;
};

} // namespace quillory
