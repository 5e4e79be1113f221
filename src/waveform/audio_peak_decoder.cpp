#include "audio_peak_decoder.h"

#include <QFile>
#include <algorithm>
#include <cmath>

#include "waveform/ffmpeg_audio.h"
#include "waveform/mp3_frame_walk.h"

namespace quillory {

namespace {

int interrupted(void *opaque)
{
    return static_cast<const std::atomic<bool> *>(opaque)->load(std::memory_order_relaxed) ? 1 : 0;
}

QString avError(const FfmpegAudio &ff, int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    ff.av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

} // namespace

AudioPeakDecoder::AudioPeakDecoder(const std::atomic<bool> &cancel)
    : m_cancel(cancel), m_ff(FfmpegAudio::get(&m_error))
{
}

AudioPeakDecoder::~AudioPeakDecoder()
{
    close();
}

void AudioPeakDecoder::close()
{
    if (!m_ff)
        return;
    m_ff->swr_free(&m_resampler);
    m_ff->av_packet_free(&m_packet);
    m_ff->av_frame_free(&m_frame);
    m_ff->avcodec_free_context(&m_codec);
    m_ff->avformat_close_input(&m_format);
}

AudioPeakDecoder::Opened AudioPeakDecoder::open(const QString &path)
{
    close();
    if (!m_ff)
        return Opened::Failed; // the reason is in error()
    m_format = m_ff->avformat_alloc_context();
    if (!m_format)
        return Opened::Failed;
    m_format->interrupt_callback.callback = interrupted;
    m_format->interrupt_callback.opaque = const_cast<void *>(static_cast<const void *>(&m_cancel));
    m_path = QFile::encodeName(path);
    int rc = m_ff->avformat_open_input(&m_format, m_path.constData(), nullptr, nullptr);
    if (rc < 0) {
        m_error = avError(*m_ff, rc);
        return Opened::Failed; // avformat_open_input freed the context
    }
    if ((rc = m_ff->avformat_find_stream_info(m_format, nullptr)) < 0) {
        m_error = avError(*m_ff, rc);
        return Opened::Failed;
    }
    const AVCodec *decoder = nullptr;
    m_stream = m_ff->av_find_best_stream(m_format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (m_stream == AVERROR_STREAM_NOT_FOUND)
        return Opened::NoAudio;
    if (m_stream < 0 || !decoder) {
        m_error = QStringLiteral("no decoder for the sound track");
        return Opened::Failed;
    }
    // Pictures and subtitles are skipped by the demuxer, never decoded.
    for (unsigned i = 0; i < m_format->nb_streams; ++i)
        if (static_cast<int>(i) != m_stream)
            m_format->streams[i]->discard = AVDISCARD_ALL;
    m_codec = m_ff->avcodec_alloc_context3(decoder);
    m_frame = m_ff->av_frame_alloc();
    m_packet = m_ff->av_packet_alloc();
    if (!m_codec || !m_frame || !m_packet)
        return Opened::Failed;
    m_ff->avcodec_parameters_to_context(m_codec, m_format->streams[m_stream]->codecpar);
    // Lets the decoder keep the timestamps right when it drops the encoder's delay.
    m_codec->pkt_timebase = m_format->streams[m_stream]->time_base;
    if ((rc = m_ff->avcodec_open2(m_codec, decoder, nullptr)) < 0) {
        m_error = avError(*m_ff, rc);
        return Opened::Failed;
    }
    // Times are counted from the container's start, as the player shows them.
    m_startUs = m_format->start_time != AV_NOPTS_VALUE ? m_format->start_time : 0;
    if (m_format->duration != AV_NOPTS_VALUE && m_format->duration > 0)
        m_durationMs = static_cast<double>(m_format->duration) / 1000.0;
    m_accumulator.reset();
    m_countFrom.reset();
    m_placesAfterSeek.clear();
    m_done.clear();
    m_draining = false;
    return Opened::Ok;
}

// What was counted before a seek is kept apart; counting starts anew.
void AudioPeakDecoder::endStretch()
{
    if (m_accumulator) {
        m_accumulator->finish();
        m_done.push_back({m_accumulator->firstTaken(), m_accumulator->take()});
        m_accumulator.reset();
    }
    m_countFrom.reset();
    m_placesAfterSeek.clear();
}

bool AudioPeakDecoder::seek(double ms)
{
    if (!m_format)
        return false;
    endStretch();
    const std::int64_t target = m_startUs + static_cast<std::int64_t>(ms * 1000.0);
    const int rc = m_ff->av_seek_frame(m_format, -1, target, AVSEEK_FLAG_BACKWARD);
    m_ff->avcodec_flush_buffers(m_codec);
    m_draining = false;
    return rc >= 0;
}

// FFmpeg's first seek into an MP3 without an index reads every packet before
// the target (a sixth of a second an hour); a walk over the frame headers
// finds the frame by counting, and places the frames that follow exactly.
bool AudioPeakDecoder::seekQuickly(double ms)
{
    if (!m_format || qstrcmp(m_format->iformat->name, "mp3") != 0 || m_codec->sample_rate <= 0)
        return seek(ms);
    endStretch();
    const int rate = m_codec->sample_rate;
    // The walk counts from the first frame of sound; the timeline begins
    // after the encoder's delay, the container's start.
    const std::int64_t delay = m_ff->av_rescale(m_startUs, rate, 1000000);
    const std::int64_t wanted = std::max<std::int64_t>(0, std::llround(ms * rate / 1000.0)) + delay;
    // A few frames ahead refill the decoder's bit reservoir.
    constexpr int WarmUpFrames = 4;
    const std::optional<std::vector<Mp3FramePlace>> places =
        walkMp3Frames(QFile::decodeName(m_path), wanted, WarmUpFrames, m_cancel);
    if (!places || places->empty() ||
        m_ff->av_seek_frame(m_format, m_stream, places->front().offset, AVSEEK_FLAG_BYTE) < 0)
        return seek(ms);
    m_ff->avcodec_flush_buffers(m_codec);
    m_draining = false;
    for (const Mp3FramePlace &place : *places)
        m_placesAfterSeek.push_back({place.offset, place.sample - delay});
    return true;
}

std::int64_t AudioPeakDecoder::nextBin() const
{
    if (!m_accumulator)
        return 0;
    return m_accumulator->nextSample() * PeakBinsPerSecond / std::max(m_codec->sample_rate, 1);
}

AudioPeakDecoder::Step AudioPeakDecoder::receive()
{
    if (!m_format)
        return Step::Failed;
    while (true) {
        if (m_cancel.load(std::memory_order_relaxed))
            return Step::Cancelled;
        int rc = m_ff->avcodec_receive_frame(m_codec, m_frame);
        if (rc == 0) {
            m_framePos = m_frame->pkt_pos;
            m_frameSamples = m_frame->nb_samples;
            return Step::Frame;
        }
        if (rc == AVERROR_EOF)
            return Step::End;
        if (rc != AVERROR(EAGAIN))
            return Step::Failed;
        if (m_draining)
            return Step::End;
        rc = m_ff->av_read_frame(m_format, m_packet);
        if (rc == AVERROR_EXIT || m_cancel.load(std::memory_order_relaxed)) {
            m_ff->av_packet_unref(m_packet);
            return Step::Cancelled;
        }
        if (rc < 0) {
            // The end, or a read error: what was decoded so far stands.
            m_draining = true;
            m_ff->avcodec_send_packet(m_codec, nullptr);
            continue;
        }
        if (m_packet->stream_index == m_stream) {
            // A damaged packet is skipped; decoding goes on with the next.
            m_ff->avcodec_send_packet(m_codec, m_packet);
        }
        m_ff->av_packet_unref(m_packet);
    }
}

AudioPeakDecoder::Step AudioPeakDecoder::next()
{
    const Step step = receive();
    if (step == Step::Frame) {
        addFrame();
        m_ff->av_frame_unref(m_frame);
    }
    return step;
}

AudioPeakDecoder::Step AudioPeakDecoder::skip()
{
    // The frame stays referenced until countSkippedFrom() or the next receive.
    return receive();
}

void AudioPeakDecoder::countSkippedFrom(std::int64_t sample)
{
    if (!m_format || m_accumulator || m_frame->nb_samples <= 0)
        return;
    m_countFrom = sample;
    addFrame();
    m_ff->av_frame_unref(m_frame);
}

int AudioPeakDecoder::sampleRate() const
{
    return m_codec ? m_codec->sample_rate : 0;
}

std::int64_t AudioPeakDecoder::sampleAt(std::int64_t pts) const
{
    const int rate = std::max(m_codec->sample_rate, 1);
    const AVRational base = m_format->streams[m_stream]->time_base;
    const std::int64_t us = m_ff->av_rescale_q(pts, base, AVRational{1, 1000000}) - m_startUs;
    return std::max<std::int64_t>(0, m_ff->av_rescale(us, rate, 1000000));
}

std::optional<std::int64_t> AudioPeakDecoder::sampleOfPacketAt(std::int64_t pos) const
{
    if (!m_format || pos < 0)
        return std::nullopt;
    AVFormatContext *format = m_ff->avformat_alloc_context();
    if (!format)
        return std::nullopt;
    format->interrupt_callback.callback = interrupted;
    format->interrupt_callback.opaque = const_cast<void *>(static_cast<const void *>(&m_cancel));
    if (m_ff->avformat_open_input(&format, m_path.constData(), nullptr, nullptr) < 0)
        return std::nullopt;
    AVPacket *packet = m_ff->av_packet_alloc();
    std::optional<std::int64_t> pts;
    bool alone = false;
    if (packet && m_ff->avformat_find_stream_info(format, nullptr) >= 0 &&
        format->nb_streams == m_format->nb_streams) {
        for (unsigned i = 0; i < format->nb_streams; ++i)
            if (static_cast<int>(i) != m_stream)
                format->streams[i]->discard = AVDISCARD_ALL;
        while (!m_cancel.load(std::memory_order_relaxed) &&
               m_ff->av_read_frame(format, packet) >= 0) {
            const bool ours = packet->stream_index == m_stream;
            const std::int64_t at = packet->pos, stamp = packet->pts;
            m_ff->av_packet_unref(packet);
            if (!ours)
                continue;
            if (pts) {
                // The packet after it tells whether it began there alone.
                alone = at != pos;
                break;
            }
            if (at < 0 || at > pos)
                break;
            if (at == pos) {
                if (stamp == AV_NOPTS_VALUE)
                    break;
                pts = stamp;
            }
        }
    }
    m_ff->av_packet_free(&packet);
    m_ff->avformat_close_input(&format);
    if (!pts || !alone)
        return std::nullopt;
    return sampleAt(*pts);
}

void AudioPeakDecoder::addFrame()
{
    const int rate = m_frame->sample_rate > 0 ? m_frame->sample_rate : m_codec->sample_rate;
    const int channels = m_frame->ch_layout.nb_channels;
    if (rate <= 0 || channels <= 0 || m_frame->nb_samples <= 0)
        return;
    if (!m_accumulator) {
        // The first frame after opening or a seek: its timestamp places it,
        // unless its place is known better.
        std::int64_t first = 0;
        const std::int64_t pts = m_frame->best_effort_timestamp;
        if (m_countFrom) {
            first = *m_countFrom;
        } else if (!m_placesAfterSeek.empty()) {
            // After a walk to the frame: counting starts at a frame it placed.
            const auto place = std::find_if(
                m_placesAfterSeek.begin(), m_placesAfterSeek.end(),
                [this](const Mp3FramePlace &p) { return p.offset == m_frame->pkt_pos; });
            if (place == m_placesAfterSeek.end())
                return;
            // The demuxer cannot tell where a byte seek lands, and has the
            // decoder drop the encoder's delay from the first frame as if at
            // the start: what is left of the frame is its end.
            const auto next = place + 1;
            const std::int64_t length = next != m_placesAfterSeek.end()
                                            ? next->sample - place->sample
                                            : m_frame->nb_samples;
            first = std::max<std::int64_t>(place->sample + length - m_frame->nb_samples, 0);
        } else if (pts != AV_NOPTS_VALUE) {
            first = sampleAt(pts);
        }
        m_accumulator.emplace(rate, first);
    }
    m_frameFirst = m_accumulator->nextSample();
    const auto format = static_cast<AVSampleFormat>(m_frame->format);
    if (format == AV_SAMPLE_FMT_FLTP) {
        m_accumulator->addPlanar(reinterpret_cast<const float *const *>(m_frame->extended_data),
                                 channels, m_frame->nb_samples);
    } else if (format == AV_SAMPLE_FMT_FLT) {
        m_accumulator->addInterleaved(reinterpret_cast<const float *>(m_frame->data[0]), channels,
                                      m_frame->nb_samples);
    } else {
        // Other sample formats are converted to interleaved float, same rate.
        if (!m_resampler) {
            if (m_ff->swr_alloc_set_opts2(&m_resampler, &m_frame->ch_layout, AV_SAMPLE_FMT_FLT,
                                          rate, &m_frame->ch_layout, format, rate, 0,
                                          nullptr) < 0 ||
                m_ff->swr_init(m_resampler) < 0) {
                m_ff->swr_free(&m_resampler);
                return;
            }
        }
        m_converted.resize(static_cast<std::size_t>(m_frame->nb_samples) *
                           static_cast<std::size_t>(channels));
        auto *out = reinterpret_cast<std::uint8_t *>(m_converted.data());
        const int got = m_ff->swr_convert(m_resampler, &out, m_frame->nb_samples,
                                          const_cast<const std::uint8_t **>(m_frame->extended_data),
                                          m_frame->nb_samples);
        if (got > 0)
            m_accumulator->addInterleaved(m_converted.data(), channels, got);
    }
}

void AudioPeakDecoder::finish()
{
    if (m_accumulator)
        m_accumulator->finish();
}

std::vector<AudioPeakDecoder::Chunk> AudioPeakDecoder::take()
{
    std::vector<Chunk> out;
    out.swap(m_done);
    if (m_accumulator && m_accumulator->pending() > 0) {
        const std::int64_t first = m_accumulator->firstTaken();
        out.push_back({first, m_accumulator->take()});
    }
    return out;
}

} // namespace quillory
