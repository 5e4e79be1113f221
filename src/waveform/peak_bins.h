#pragma once

#include <cstdint>
#include <vector>

namespace quillory {

// The loudest excursion below and above zero within one bin, scaled to
// -127..127. A bin not yet decoded has low > high.
struct Peak {
    std::int8_t low = 1;
    std::int8_t high = 0;
    bool known() const { return low <= high; }
    bool operator==(const Peak &other) const { return low == other.low && high == other.high; }
};

// Peaks are kept at a fixed resolution, independent of the sample rate, so a
// recording costs two bytes per bin: 7.2 MB for ten hours.
constexpr int PeakBinsPerSecond = 100;
constexpr double PeakBinMs = 1000.0 / PeakBinsPerSecond;

// Folds decoded samples into bins. Bin n holds the samples whose index s
// (counted from the start of the recording) satisfies
// floor(s * PeakBinsPerSecond / sampleRate) == n; a bin is emitted once a
// sample of a later bin arrives, or at finish().
class PeakAccumulator {
public:
    PeakAccumulator(int sampleRate, std::int64_t firstSample);

    // Planar samples: `channels` arrays of `count` samples each. Channels are
    // combined by taking the extremes over all of them.
    void addPlanar(const float *const *planes, int channels, int count);
    // Interleaved samples: `count` frames of `channels` samples.
    void addInterleaved(const float *samples, int channels, int count);
    // Emits the bin in progress, if it holds any sample.
    void finish();

    std::int64_t nextSample() const { return m_sample; }
    // Bins completed since the last take(), starting at bin firstTaken().
    std::int64_t firstTaken() const { return m_firstOut; }
    std::vector<Peak> take();
    std::size_t pending() const { return m_out.size(); }

private:
    // `count` samples whose extremes are `low` and `high`, all in the current bin.
    void addRun(float low, float high, std::int64_t count);
    void closeBin();
    std::int64_t binOf(std::int64_t sample) const;

    int m_rate;
    std::int64_t m_sample;
    std::int64_t m_bin;
    std::int64_t m_binEnd; // first sample of the next bin
    float m_low = 0, m_high = 0;
    bool m_hasSample = false;
    std::int64_t m_firstOut;
    std::vector<Peak> m_out;
};

// A sample value (1.0 full scale) as a peak level; values beyond full scale clip.
std::int8_t peakLevel(float value);

} // namespace quillory
