#pragma once

#include "waveform/waveform_peaks.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace quillory {

// Decodes the rest of a recording from near `fromMs` on a thread of its own,
// while the pass from the start decodes what comes before: two cores halve
// the wait for the whole waveform. Its bins are exact: after a seek and half
// a second of warm-up it takes the packet its next frame came from, finds
// that packet's sample by reading the packets from the start (far quicker
// than decoding them), and counts from there. The pass from the start stops
// at the hand-over once it has seen the same packet begin at the same sample.
class TailPass {
public:
    struct HandOver {
        std::int64_t packetPos = -1; // the byte the packet begins at
        std::int64_t sample = 0;     // the sample its frame begins at
        std::int64_t bin = 0;        // the first bin this pass writes
    };

    // `notify` is called on this pass's thread whenever bins were written.
    TailPass(const QString &path, double fromMs, std::int64_t publishBins, WaveformPeaks &peaks,
             std::function<void()> notify);
    // Stops the work and joins the thread.
    ~TailPass();
    TailPass(const TailPass &) = delete;
    TailPass &operator=(const TailPass &) = delete;

    // Where the pass from the start may stop: nothing until it is known.
    std::optional<HandOver> handOver() const;
    // What the pass from the start makes of its frame from the packet at
    // `packetPos` that began at `firstSample`: the hand-over once they agree;
    // Never once it has gone past the hand-over's packet or this pass gave up,
    // and then it decodes everything itself.
    enum class Meeting { NotYet, Met, Never };
    Meeting meet(std::int64_t packetPos, std::int64_t firstSample) const;
    // The pass found no hand-over, or stopped: the pass from the start goes on.
    bool gaveUp() const { return m_gaveUp.load(); }
    // Waits up to `wait` for the pass to end; true once it has.
    bool waitForEnd(std::chrono::milliseconds wait);
    // Whether it decoded to the end of the recording (once it has ended).
    bool reachedEnd() const { return m_reachedEnd.load(); }

private:
    void run();
    void decode();

    const QString m_path;
    const double m_fromMs;
    const std::int64_t m_publishBins;
    WaveformPeaks &m_peaks;
    const std::function<void()> m_notify;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_gaveUp{false};
    std::atomic<bool> m_reachedEnd{false};
    mutable std::mutex m_lock;
    std::condition_variable m_ended;
    bool m_hasEnded = false;
    std::optional<HandOver> m_handOver;
    std::thread m_thread;
};

} // namespace quillory
