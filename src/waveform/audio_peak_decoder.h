#pragma once

#include "waveform/mp3_frame_walk.h"
#include "waveform/peak_bins.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;

namespace quillory {

struct FfmpegAudio;

// Decodes a media file's first sound track with FFmpeg's libraries into peak
// bins. Every blocking call (open, read) gives up as soon as `cancel` is set.
// One object serves one thread.
class AudioPeakDecoder {
public:
    enum class Opened { Ok, NoAudio, Failed };
    enum class Step { Frame, End, Cancelled, Failed };
    struct Chunk {
        std::int64_t firstBin = 0;
        std::vector<Peak> bins;
    };

    explicit AudioPeakDecoder(const std::atomic<bool> &cancel);
    ~AudioPeakDecoder();
    AudioPeakDecoder(const AudioPeakDecoder &) = delete;
    AudioPeakDecoder &operator=(const AudioPeakDecoder &) = delete;

    Opened open(const QString &path);
    // The container's idea of the length; 0 when it has none.
    double durationMs() const { return m_durationMs; }
    // Moves near `ms` (where the container's index or estimate puts it); the
    // bins that follow are timed from the first frame's timestamp.
    bool seek(double ms);
    // The same for a stretch drawn ahead of the rest. In an MP3 a walk over the
    // frame headers finds the frame (the demuxer's first seek reads every
    // packet before it, a sixth of a second an hour) and places the bins
    // exactly. After such a seek the demuxer trims the encoder's padding as
    // at the start of the file, so a pass that decodes to the end uses seek().
    bool seekQuickly(double ms);
    // Decodes one more frame of sound into bins.
    Step next();
    // Decodes one more frame without counting it (the warm-up after a seek,
    // before the decoder's state matches a pass from the start).
    Step skip();
    // Counts the frame just skipped, and every frame after it, from `sample`.
    void countSkippedFrom(std::int64_t sample);
    // The frame decoded last: where its packet began in the file (-1 when the
    // container does not say), its first sample and its length in samples.
    std::int64_t framePacketPos() const { return m_framePos; }
    std::int64_t frameFirstSample() const { return m_frameFirst; }
    int frameSamples() const { return m_frameSamples; }
    int sampleRate() const;
    // Reads the file's packets from the start, without decoding, to the one
    // that begins at byte `pos`: the sample it begins at, counted as a pass
    // from the start counts. Nothing when no packet begins there alone.
    std::optional<std::int64_t> sampleOfPacketAt(std::int64_t pos) const;
    // The bin the next sample falls in.
    std::int64_t nextBin() const;
    // The bins completed so far; at the end, finish() first adds the last one.
    std::vector<Chunk> take();
    void finish();
    QString error() const { return m_error; }

private:
    Step receive();
    void endStretch();
    void addFrame();
    void close();
    std::int64_t sampleAt(std::int64_t pts) const;

    const std::atomic<bool> &m_cancel;
    AVFormatContext *m_format = nullptr;
    AVCodecContext *m_codec = nullptr;
    AVFrame *m_frame = nullptr;
    AVPacket *m_packet = nullptr;
    SwrContext *m_resampler = nullptr;
    std::vector<float> m_converted;
    int m_stream = -1;
    double m_durationMs = 0;
    std::int64_t m_startUs = 0;
    bool m_draining = false;
    std::optional<PeakAccumulator> m_accumulator;
    std::optional<std::int64_t> m_countFrom;
    std::vector<Mp3FramePlace> m_placesAfterSeek; // offset, and sample on the timeline
    std::int64_t m_framePos = -1;
    std::int64_t m_frameFirst = 0;
    int m_frameSamples = 0;
    QByteArray m_path;
    std::vector<Chunk> m_done;
    QString m_error;
    const FfmpegAudio *m_ff; // after m_error, which tells why it is missing
};

} // namespace quillory
