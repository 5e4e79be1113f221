#include "tail_pass.h"

#include "waveform/audio_peak_decoder.h"

#include <utility>

namespace quillory {

namespace {

// Frames decoded after the seek before the decoder's state (the bit
// reservoir, the filters' memory) matches a pass from the start.
constexpr int WarmUpFrames = 4;
constexpr int WarmUpPerSecond = 2; // and half a second of sound

} // namespace

TailPass::TailPass(const QString &path, double fromMs, std::int64_t publishBins,
                   WaveformPeaks &peaks, std::function<void()> notify)
    : m_path(path), m_fromMs(fromMs), m_publishBins(publishBins), m_peaks(peaks),
      m_notify(std::move(notify)), m_thread(&TailPass::run, this)
{
}

TailPass::~TailPass()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

std::optional<TailPass::HandOver> TailPass::handOver() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_handOver;
}

TailPass::Meeting TailPass::meet(std::int64_t packetPos, std::int64_t firstSample) const
{
    const std::optional<HandOver> offered = handOver();
    if (offered && packetPos == offered->packetPos)
        return firstSample == offered->sample ? Meeting::Met : Meeting::Never;
    if (m_gaveUp || (offered && (packetPos < 0 || packetPos > offered->packetPos)))
        return Meeting::Never;
    return Meeting::NotYet;
}

bool TailPass::waitForEnd(std::chrono::milliseconds wait)
{
    std::unique_lock<std::mutex> hold(m_lock);
    return m_ended.wait_for(hold, wait, [this] { return m_hasEnded; });
}

void TailPass::run()
{
    decode();
    if (!m_reachedEnd)
        m_gaveUp = true;
    std::lock_guard<std::mutex> hold(m_lock);
    m_hasEnded = true;
    m_ended.notify_all();
}

void TailPass::decode()
{
    AudioPeakDecoder decoder(m_stop);
    if (decoder.open(m_path) != AudioPeakDecoder::Opened::Ok || !decoder.seek(m_fromMs))
        return;
    const int rate = decoder.sampleRate();
    if (rate <= 0)
        return;
    std::int64_t warmed = 0;
    for (int frames = 0;; ++frames) {
        if (decoder.skip() != AudioPeakDecoder::Step::Frame)
            return;
        if (frames >= WarmUpFrames && warmed * WarmUpPerSecond >= rate)
            break;
        warmed += decoder.frameSamples();
    }
    const std::int64_t pos = decoder.framePacketPos();
    const std::optional<std::int64_t> sample = decoder.sampleOfPacketAt(pos);
    if (!sample || m_stop)
        return;
    HandOver handOver;
    handOver.packetPos = pos;
    handOver.sample = *sample;
    // The bin this frame begins in is shared with the pass from the start,
    // which completes it; this pass writes from the next one.
    handOver.bin = *sample * PeakBinsPerSecond / rate + 1;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_handOver = handOver;
    }
    decoder.countSkippedFrom(*sample);

    std::int64_t published = handOver.bin;
    while (true) {
        const AudioPeakDecoder::Step step = decoder.next();
        if (step == AudioPeakDecoder::Step::Cancelled)
            return;
        const bool atEnd = step != AudioPeakDecoder::Step::Frame;
        if (atEnd)
            decoder.finish();
        if (atEnd || decoder.nextBin() - published >= m_publishBins) {
            for (AudioPeakDecoder::Chunk &chunk : decoder.take()) {
                const std::int64_t drop =
                    std::min<std::int64_t>(std::max<std::int64_t>(handOver.bin - chunk.firstBin, 0),
                                           static_cast<std::int64_t>(chunk.bins.size()));
                chunk.bins.erase(chunk.bins.begin(), chunk.bins.begin() + drop);
                m_peaks.write(chunk.firstBin + drop, chunk.bins, true);
            }
            published = decoder.nextBin();
            m_notify();
        }
        if (atEnd)
            break;
    }
    m_reachedEnd = true;
}

} // namespace quillory
