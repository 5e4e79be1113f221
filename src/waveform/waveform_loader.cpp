#include "waveform_loader.h"

#include "waveform/audio_peak_decoder.h"
#include "waveform/tail_pass.h"

#include <QMetaObject>
#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <utility>

namespace quillory {

namespace {

// Bins gathered before they are handed to the view: 20 s of sound, a few
// milliseconds of decoding.
constexpr std::size_t PublishBins = 20 * PeakBinsPerSecond;

// The share of the length the second pass decodes: a little under half, as it
// first reads the packets before its start.
constexpr double TailShare = 0.48;

std::int64_t binAt(double ms)
{
    return static_cast<std::int64_t>(std::max(ms, 0.0) / PeakBinMs);
}

} // namespace

struct WaveformLoader::Job {
    QString path;
    PeakCache cache{QString()};
    std::shared_ptr<WaveformPeaks> peaks;
    std::atomic<bool> cancel{false};
    std::atomic<std::int64_t> playheadMs{0};
    double splitFromMs = 0;
    std::atomic<bool> *done = nullptr;
    std::function<void(bool finished)> notify;
};

WaveformLoader::WaveformLoader(QString cacheFolder, QObject *parent)
    : QObject(parent), m_cache(std::move(cacheFolder))
{
}

WaveformLoader::~WaveformLoader()
{
    stop();
}

void WaveformLoader::stop()
{
    if (m_job)
        m_job->cancel = true;
    if (m_worker.joinable())
        m_worker.join();
    m_job.reset();
}

void WaveformLoader::close()
{
    stop();
    ++m_generation;
    m_peaks.reset();
    m_path.clear();
    emit peaksChanged();
}

void WaveformLoader::open(const QString &path, double playheadMs)
{
    stop();
    const std::uint64_t generation = ++m_generation;
    m_path = path;
    m_peaks = std::make_shared<WaveformPeaks>();
    m_job = std::make_shared<Job>();
    m_job->path = path;
    m_job->cache = m_cache;
    m_job->peaks = m_peaks;
    m_job->playheadMs = static_cast<std::int64_t>(std::max(playheadMs, 0.0));
    m_job->splitFromMs = m_splitFromMs;
    m_job->done = &m_done;
    m_job->notify = [this, generation](bool finished) { notify(generation, finished); };
    m_done = false;
    m_worker = std::thread(&WaveformLoader::run, m_job);
    emit peaksChanged();
}

void WaveformLoader::setPlayhead(double ms)
{
    if (m_job)
        m_job->playheadMs = static_cast<std::int64_t>(std::max(ms, 0.0));
}

// Called on the worker: one notification waits in the queue at most, so a
// busy view is never flooded.
void WaveformLoader::notify(std::uint64_t generation, bool ended)
{
    if (!ended && m_notifyQueued.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this, generation, ended] {
            if (!ended)
                m_notifyQueued = false;
            if (generation != m_generation)
                return; // the work of a file that has been replaced
            emit peaksChanged();
            if (ended)
                emit finished();
        },
        Qt::QueuedConnection);
}

namespace {

// Decodes a stretch after a seek; its timing is the container's estimate, so
// the bins are written as inexact and the pass from the start replaces them.
void decodeStretch(AudioPeakDecoder &decoder, WaveformPeaks &peaks, std::int64_t fromBin,
                   std::int64_t toBin)
{
    decoder.seekQuickly(static_cast<double>(fromBin) * PeakBinMs);
    while (decoder.nextBin() < toBin) {
        const AudioPeakDecoder::Step step = decoder.next();
        if (step != AudioPeakDecoder::Step::Frame) {
            decoder.finish();
            break;
        }
    }
    for (const AudioPeakDecoder::Chunk &chunk : decoder.take())
        peaks.write(chunk.firstBin, chunk.bins, false);
}

} // namespace

void WaveformLoader::run(const std::shared_ptr<Job> &job)
{
    WaveformPeaks &peaks = *job->peaks;
    const auto finish = [&job](WaveformPeaks::State state) {
        if (state != WaveformPeaks::State::Complete || job->peaks->state() != state)
            job->peaks->setState(state);
        *job->done = true;
        job->notify(true);
    };

    const std::optional<PeakCacheKey> key = PeakCacheKey::of(job->path);
    if (key) {
        if (std::optional<CachedPeaks> cached = job->cache.read(*key)) {
            peaks.assignComplete(std::move(cached->bins), cached->durationMs);
            finish(WaveformPeaks::State::Complete);
            return;
        }
    }

    // A second reader for the stretches around the playhead, so the pass from
    // the start keeps its exact count of samples.
    std::unique_ptr<AudioPeakDecoder> seeker;
    std::int64_t seekerFrom = -1, seekerTo = -1; // the stretch decoded last
    const auto decodeAround = [&](double beforeMs, double afterMs) {
        const double playhead = static_cast<double>(job->playheadMs.load());
        const std::int64_t from = binAt(playhead - beforeMs);
        const std::int64_t to = binAt(playhead + afterMs);
        // Ahead of the pass from the start by more than a publish step, and
        // not what was just decoded.
        const std::int64_t exact = peaks.exactUntil();
        if (to <= exact + static_cast<std::int64_t>(PublishBins) || peaks.isExact(from, to) ||
            (from >= seekerFrom && to <= seekerTo))
            return false;
        if (!seeker) {
            seeker = std::make_unique<AudioPeakDecoder>(job->cancel);
            if (seeker->open(job->path) != AudioPeakDecoder::Opened::Ok)
                return false;
        }
        const std::int64_t start = std::max(from, exact);
        decodeStretch(*seeker, peaks, start, to);
        seekerFrom = from;
        seekerTo = to;
        return true;
    };

    const auto decodeAroundPlayhead = [&] { return decodeAround(FocusBeforeMs, FocusAfterMs); };

    // What the strip shows around a playhead past the start comes first, even
    // before the pass from the start opens the file.
    if (decodeAround(ShownBeforeMs, ShownAfterMs))
        job->notify(false);

    AudioPeakDecoder decoder(job->cancel);
    switch (decoder.open(job->path)) {
    case AudioPeakDecoder::Opened::NoAudio:
        finish(WaveformPeaks::State::NoAudio);
        return;
    case AudioPeakDecoder::Opened::Failed:
        finish(job->cancel ? WaveformPeaks::State::Loading : WaveformPeaks::State::Failed);
        return;
    case AudioPeakDecoder::Opened::Ok:
        break;
    }
    peaks.setDurationMs(decoder.durationMs());
    peaks.reserveFor(decoder.durationMs());

    if (decodeAroundPlayhead())
        job->notify(false);

    // The tail starts once the stretch around the playhead is out, so that the
    // first view never waits for it.
    std::optional<TailPass> tail;
    bool tailStarted = false;
    const auto startTail = [&] {
        tailStarted = true;
        if (decoder.durationMs() >= job->splitFromMs)
            tail.emplace(job->path, decoder.durationMs() * (1.0 - TailShare),
                         static_cast<std::int64_t>(PublishBins), peaks,
                         [&job] { job->notify(false); });
    };
    // Where this pass stops: once it has met the tail's first frame where
    // the tail placed it, the tail's bins are exact.
    std::optional<TailPass::HandOver> handOver;
    const auto meetTail = [&] {
        if (!tail || handOver)
            return;
        switch (tail->meet(decoder.framePacketPos(), decoder.frameFirstSample())) {
        case TailPass::Meeting::Met:
            handOver = tail->handOver();
            break;
        case TailPass::Meeting::Never:
            // This pass decodes everything and overwrites the tail's bins.
            tail.reset();
            break;
        case TailPass::Meeting::NotYet:
            break;
        }
    };

    std::int64_t published = -1;
    while (true) {
        const AudioPeakDecoder::Step step = decoder.next();
        if (step == AudioPeakDecoder::Step::Cancelled) {
            tail.reset();
            return finish(WaveformPeaks::State::Loading);
        }
        if (step == AudioPeakDecoder::Step::Frame)
            meetTail();
        const bool atEnd = step != AudioPeakDecoder::Step::Frame ||
                           (handOver && decoder.nextBin() >= handOver->bin);
        if (atEnd)
            decoder.finish();
        // The first bins go out at once: the start is where a file opens.
        const std::int64_t reached = decoder.nextBin();
        if (atEnd || published < 0 || reached - published >= std::int64_t(PublishBins)) {
            for (AudioPeakDecoder::Chunk &chunk : decoder.take()) {
                if (handOver) // the tail's bins from the hand-over on
                    chunk.bins.resize(static_cast<std::size_t>(
                        std::clamp<std::int64_t>(handOver->bin - chunk.firstBin, 0,
                                                 static_cast<std::int64_t>(chunk.bins.size()))));
                peaks.write(chunk.firstBin, chunk.bins, true);
            }
            if (published >= 0 && !tailStarted)
                startTail();
            published = reached;
            decodeAroundPlayhead();
            job->notify(false);
        }
        if (atEnd)
            break;
    }
    if (tail && handOver) {
        // The playhead may still move to a stretch the tail has not reached.
        while (!tail->waitForEnd(std::chrono::milliseconds(100)) && !job->cancel)
            if (decodeAroundPlayhead())
                job->notify(false);
        if (!tail->reachedEnd()) { // cancelled
            tail.reset();
            return finish(WaveformPeaks::State::Loading);
        }
    }
    tail.reset();
    if (job->cancel)
        return finish(WaveformPeaks::State::Loading);
    // The decoded sound is the length from now on.
    const double decodedMs = static_cast<double>(peaks.binCount()) * PeakBinMs;
    if (decodedMs > 0)
        peaks.setDurationMs(decodedMs);
    peaks.setState(WaveformPeaks::State::Complete);
    if (key) {
        // A cache that cannot be written costs a decode next time, nothing more.
        job->cache.write(*key, decodedMs, peaks.completeBins());
    }
    finish(WaveformPeaks::State::Complete);
}

} // namespace quillory
