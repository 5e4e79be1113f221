#include "peak_bins.h"

#include <algorithm>
#include <cmath>

namespace quillory {

std::int8_t peakLevel(float value)
{
    if (!(value == value)) // NaN from a damaged stream
        return 0;
    const float scaled = std::round(std::clamp(value, -1.0f, 1.0f) * 127.0f);
    return static_cast<std::int8_t>(scaled);
}

PeakAccumulator::PeakAccumulator(int sampleRate, std::int64_t firstSample)
    : m_rate(sampleRate > 0 ? sampleRate : 1), m_sample(std::max<std::int64_t>(firstSample, 0))
{
    m_bin = binOf(m_sample);
    m_binEnd = ((m_bin + 1) * m_rate + PeakBinsPerSecond - 1) / PeakBinsPerSecond;
    m_firstOut = m_bin;
}

std::int64_t PeakAccumulator::binOf(std::int64_t sample) const
{
    return sample * PeakBinsPerSecond / m_rate;
}

void PeakAccumulator::closeBin()
{
    Peak peak;
    if (m_hasSample) {
        peak.low = peakLevel(m_low);
        peak.high = peakLevel(m_high);
        // Silence still counts as decoded: a flat line, not a gap.
        if (peak.low > peak.high)
            std::swap(peak.low, peak.high);
    } else {
        peak.low = peak.high = 0;
    }
    if (m_out.empty())
        m_firstOut = m_bin;
    m_out.push_back(peak);
    m_hasSample = false;
    ++m_bin;
    m_binEnd = ((m_bin + 1) * m_rate + PeakBinsPerSecond - 1) / PeakBinsPerSecond;
}

void PeakAccumulator::addRun(float low, float high, std::int64_t count)
{
    if (!m_hasSample) {
        m_low = low;
        m_high = high;
        m_hasSample = true;
    } else {
        m_low = std::min(m_low, low);
        m_high = std::max(m_high, high);
    }
    m_sample += count;
}

// Samples go in runs that end at bin boundaries; within a run the extremes
// are plain loops the compiler can vectorise (two hours of stereo sound are
// 635 million samples).
void PeakAccumulator::addPlanar(const float *const *planes, int channels, int count)
{
    int i = 0;
    while (i < count) {
        if (m_sample >= m_binEnd)
            closeBin();
        const int n = static_cast<int>(std::min<std::int64_t>(count - i, m_binEnd - m_sample));
        float low = planes[0][i], high = low;
        for (int c = 0; c < channels; ++c) {
            const float *p = planes[c] + i;
            for (int k = 0; k < n; ++k) {
                low = p[k] < low ? p[k] : low;
                high = p[k] > high ? p[k] : high;
            }
        }
        addRun(low, high, n);
        i += n;
    }
}

void PeakAccumulator::addInterleaved(const float *samples, int channels, int count)
{
    int i = 0;
    while (i < count) {
        if (m_sample >= m_binEnd)
            closeBin();
        const int n = static_cast<int>(std::min<std::int64_t>(count - i, m_binEnd - m_sample));
        const float *p = samples + static_cast<std::ptrdiff_t>(i) * channels;
        float low = p[0], high = low;
        for (int k = 0; k < n * channels; ++k) {
            low = p[k] < low ? p[k] : low;
            high = p[k] > high ? p[k] : high;
        }
        addRun(low, high, n);
        i += n;
    }
}

void PeakAccumulator::finish()
{
    if (m_hasSample)
        closeBin();
}

std::vector<Peak> PeakAccumulator::take()
{
    std::vector<Peak> out;
    out.swap(m_out);
    m_firstOut = m_bin;
    return out;
}

} // namespace quillory
