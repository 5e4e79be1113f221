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
    if (exact) {
        std::copy(bins.begin(), bins.end(), m_bins.begin() + firstBin);
        addExact({firstBin, end});
    } else {
        // Only the gaps between exact stretches take inexact bins.
        std::int64_t b = firstBin;
        for (const Stretch &stretch : m_exact) {
            if (b >= end)
                break;
            for (; b < std::min(stretch.first, end); ++b)
                m_bins[static_cast<std::size_t>(b)] = bins[static_cast<std::size_t>(b - firstBin)];
            b = std::max(b, stretch.second);
        }
        for (; b < end; ++b)
            m_bins[static_cast<std::size_t>(b)] = bins[static_cast<std::size_t>(b - firstBin)];
    }
    ++m_revision;
}

void WaveformPeaks::assignComplete(std::vector<Peak> bins, double durationMs)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_bins = std::move(bins);
    m_exact.assign(1, {0, static_cast<std::int64_t>(m_bins.size())});
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

void WaveformPeaks::addExact(Stretch stretch)
{
    // Stretches that touch or overlap the new one merge with it.
    auto first =
        std::lower_bound(m_exact.begin(), m_exact.end(), stretch.first,
                         [](const Stretch &s, std::int64_t bin) { return s.second < bin; });
    auto last = first;
    while (last != m_exact.end() && last->first <= stretch.second) {
        stretch.first = std::min(stretch.first, last->first);
        stretch.second = std::max(stretch.second, last->second);
        ++last;
    }
    first = m_exact.erase(first, last);
    m_exact.insert(first, stretch);
}

std::int64_t WaveformPeaks::exactEndAfter(std::int64_t bin) const
{
    for (const Stretch &stretch : m_exact)
        if (stretch.first <= bin && bin < stretch.second)
            return stretch.second;
    return bin;
}

std::int64_t WaveformPeaks::exactUntil() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return exactEndAfter(0);
}

bool WaveformPeaks::isExact(std::int64_t first, std::int64_t end) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return end <= first || exactEndAfter(first) >= end;
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
