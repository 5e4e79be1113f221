#pragma once

#include "waveform/peak_bins.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace quillory {

// One recording's peaks, written by the decoding worker and read by the view:
// every access takes the lock briefly and readers get copies, so a paint never
// sees a half-written bin range.
class WaveformPeaks {
public:
    enum class State { Loading, Complete, NoAudio, Failed };

    State state() const;
    void setState(State state);
    // The recording's length as the container tells it (an estimate for some
    // files until decoding reaches the end).
    double durationMs() const;
    void setDurationMs(double ms);
    // Room for the bins of `ms` of sound, so that growing never doubles the
    // memory of a long recording.
    void reserveFor(double ms);

    // Bins from `firstBin` on. Exact bins come from decoding whose count of
    // samples is known from the start of the recording; inexact ones (decoded
    // after a seek, whose timing is the container's estimate) never overwrite
    // exact ones.
    void write(std::int64_t firstBin, const std::vector<Peak> &bins, bool exact);
    // Everything at once (a cache read); the state becomes Complete.
    void assignComplete(std::vector<Peak> bins, double durationMs);

    std::int64_t binCount() const;
    // Bins [first, first + count); bins outside the recording or not yet
    // decoded are unknown.
    std::vector<Peak> copy(std::int64_t first, std::int64_t count) const;
    // Every bin, for the cache.
    std::vector<Peak> all() const;
    // The bins once the state is Complete: they never change again, so the
    // worker that completed them may read them without the lock (the cache
    // writes them to disk, which must not hold up a paint).
    const std::vector<Peak> &completeBins() const { return m_bins; }
    // Runs `use` on the bins under the lock, without a copy (the cache writes
    // ten hours of peaks from them).
    void read(const std::function<void(const std::vector<Peak> &)> &use) const;
    // Bins [0, totalBins) folded into `columns` columns, each the extremes of
    // its known bins (unknown when it has none).
    std::vector<Peak> overview(int columns, std::int64_t totalBins) const;
    // The first bin not yet decoded exactly.
    std::int64_t exactUntil() const;
    // Whether every bin of [first, end) has been decoded exactly.
    bool isExact(std::int64_t first, std::int64_t end) const;
    // Where the first bins written began (-1 before any): the stretch decoded
    // first.
    std::int64_t firstWrittenBin() const;
    // Grows with every write: readers can tell whether anything changed.
    std::uint64_t revision() const;

private:
    mutable std::mutex m_lock;
    // The stretches decoded exactly, [first, end) each: sorted, apart.
    using Stretch = std::pair<std::int64_t, std::int64_t>;
    void addExact(Stretch stretch);
    std::int64_t exactEndAfter(std::int64_t bin) const;

    std::vector<Peak> m_bins;
    std::vector<Stretch> m_exact;
    std::int64_t m_firstWritten = -1;
    double m_durationMs = 0;
    State m_state = State::Loading;
    std::uint64_t m_revision = 0;
};

} // namespace quillory
