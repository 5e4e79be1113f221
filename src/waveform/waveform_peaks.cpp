#include "waveform_peaks.h"

#include <algorithm>

namespace quillory {

WaveformPeaks::State WaveformPeaks::state() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_state;
}

void WaveformPeaks::setState(State state)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_state = state;
    ++m_revision;
}

double WaveformPeaks::durationMs() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_durationMs;
}

void WaveformPeaks::setDurationMs(double ms)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_durationMs = ms > 0 ? ms : 0;
    ++m_revision;
}

void WaveformPeaks::write(std::int64_t firstBin, const std::vector<Peak> &bins, bool exact)
{
    if (firstBin < 0 || bins.empty())
        return;
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_firstWritten < 0)
        m_firstWritten = firstBin;
    const std::int64_t end = firstBin + static_cast<std::int64_t>(bins.size());
    if (end > static_cast<std::int64_t>(m_bins.size())) {
        if (static_cast<std::size_t>(end) > m_bins.capacity())
            m_bins.reserve(std::max(static_cast<std::size_t>(end), m_bins.size() * 5 / 4));
        m_bins.resize(static_cast<std::size_t>(end));
    }
    std::int64_t from = firstBin;
    if (!exact)
        from = std::max(from, m_exactUntil);
    for (std::int64_t b = from; b < end; ++b)
        m_bins[static_cast<std::size_t>(b)] = bins[static_cast<std::size_t>(b - firstBin)];
    if (exact && firstBin <= m_exactUntil)
        m_exactUntil = std::max(m_exactUntil, end);
    ++m_revision;
}

void WaveformPeaks::assignComplete(std::vector<Peak> bins, double durationMs)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_bins = std::move(bins);
    m_exactUntil = static_cast<std::int64_t>(m_bins.size());
    m_durationMs = durationMs;
    m_state = State::Complete;
    ++m_revision;
}

std::int64_t WaveformPeaks::binCount() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return static_cast<std::int64_t>(m_bins.size());
}

std::vector<Peak> WaveformPeaks::copy(std::int64_t first, std::int64_t count) const
{
    std::vector<Peak> out(static_cast<std::size_t>(std::max<std::int64_t>(count, 0)));
    std::lock_guard<std::mutex> hold(m_lock);
    const std::int64_t size = static_cast<std::int64_t>(m_bins.size());
    const std::int64_t from = std::max<std::int64_t>(first, 0);
    const std::int64_t to = std::min<std::int64_t>(first + count, size);
    for (std::int64_t b = from; b < to; ++b)
        out[static_cast<std::size_t>(b - first)] = m_bins[static_cast<std::size_t>(b)];
    return out;
}

std::vector<Peak> WaveformPeaks::all() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_bins;
}

void WaveformPeaks::read(const std::function<void(const std::vector<Peak> &)> &use) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    use(m_bins);
}

void WaveformPeaks::reserveFor(double ms)
{
    std::lock_guard<std::mutex> hold(m_lock);
    const double bins = ms / PeakBinMs;
    // Beyond ten days the container's length is not believed.
    if (bins > 0 && bins < 10.0 * 24 * 3600 * PeakBinsPerSecond)
        m_bins.reserve(static_cast<std::size_t>(bins * 1.01) + 16);
}

std::vector<Peak> WaveformPeaks::overview(int columns, std::int64_t bins) const
{
    std::vector<Peak> out(static_cast<std::size_t>(std::max(columns, 0)));
    std::lock_guard<std::mutex> hold(m_lock);
    if (columns <= 0 || bins <= 0)
        return out;
    const std::int64_t size = static_cast<std::int64_t>(m_bins.size());
    for (int c = 0; c < columns; ++c) {
        const std::int64_t from = bins * c / columns;
        const std::int64_t to = std::min(std::max(bins * (c + 1) / columns, from + 1), size);
        Peak column;
        for (std::int64_t b = from; b < to; ++b) {
            const Peak p = m_bins[static_cast<std::size_t>(b)];
            if (!p.known())
                continue;
            if (!column.known()) {
                column = p;
            } else {
                column.low = std::min(column.low, p.low);
                column.high = std::max(column.high, p.high);
            }
        }
        out[static_cast<std::size_t>(c)] = column;
    }
    return out;
}

std::int64_t WaveformPeaks::exactUntil() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_exactUntil;
}

std::int64_t WaveformPeaks::firstWrittenBin() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_firstWritten;
}

std::uint64_t WaveformPeaks::revision() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_revision;
}

} // namespace quillory
