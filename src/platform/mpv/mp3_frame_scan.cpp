#include "mp3_frame_scan.h"

#include <QFile>
#include <cstdint>
#include <cstring>

namespace quillory {

namespace {

struct FrameHeader {
    int version = 0; // 1 = MPEG-1, 2 = MPEG-2, 25 = MPEG-2.5
    int sampleRate = 0;
    int samplesPerFrame = 0;
    int frameBytes = 0;
    bool mono = false;
};

// Parses a Layer III frame header at `p`; false for anything else.
bool parseLayer3Header(const uchar *p, FrameHeader *out)
{
    static const int kBitrateV1[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                       112, 128, 160, 192, 224, 256, 320, 0};
    static const int kBitrateV2[16] = {0,  8,  16, 24,  32,  40,  48,  56,
                                       64, 80, 96, 112, 128, 144, 160, 0};
    static const int kRates[3] = {44100, 48000, 32000};
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return false;
    const int versionBits = (p[1] >> 3) & 3;
    const int layerBits = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits != 1 || bitrateIndex == 0 || bitrateIndex == 15 ||
        rateIndex == 3)
        return false;
    out->version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
    const int divisor = out->version == 1 ? 1 : out->version == 2 ? 2 : 4;
    out->sampleRate = kRates[rateIndex] / divisor;
    const int kbps = (out->version == 1 ? kBitrateV1 : kBitrateV2)[bitrateIndex];
    out->samplesPerFrame = out->version == 1 ? 1152 : 576;
    const int padding = (p[2] >> 1) & 1;
    out->frameBytes = (out->samplesPerFrame / 8) * kbps * 1000 / out->sampleRate + padding;
    out->mono = (p[3] >> 6) == 3;
    return out->frameBytes > 4;
}

bool sameStream(const FrameHeader &a, const FrameHeader &b)
{
    return a.version == b.version && a.sampleRate == b.sampleRate;
}

// A Xing/Info tag sits after the side information of the first frame; a VBRI tag
// always 32 bytes after the header.
bool hasSeekHeader(const uchar *frame, qint64 available, const FrameHeader &h)
{
    const int sideInfo = h.version == 1 ? (h.mono ? 17 : 32) : (h.mono ? 9 : 17);
    auto tagAt = [&](int offset, const char *tag) {
        return offset + 4 <= available && std::memcmp(frame + offset, tag, 4) == 0;
    };
    return tagAt(4 + sideInfo, "Xing") || tagAt(4 + sideInfo, "Info") || tagAt(36, "VBRI");
}

qint64 skipId3v2(const uchar *data, qint64 size)
{
    if (size < 10 || std::memcmp(data, "ID3", 3) != 0)
        return 0;
    const qint64 tagSize = (qint64(data[6] & 0x7F) << 21) | (qint64(data[7] & 0x7F) << 14) |
                           (qint64(data[8] & 0x7F) << 7) | qint64(data[9] & 0x7F);
    const bool footer = (data[5] & 0x10) != 0;
    return 10 + tagSize + (footer ? 10 : 0);
}

} // namespace

std::optional<double> unindexedMp3Seconds(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = file.size();
    const uchar *data = size > 0 ? file.map(0, size) : nullptr;
    if (data == nullptr)
        return std::nullopt;

    // The first frame must be followed directly by a second one, so that stray
    // sync bytes in leading junk are not taken for the stream.
    qint64 pos = skipId3v2(data, size);
    const qint64 searchEnd = std::min(size - 4, pos + 65536);
    FrameHeader first;
    for (; pos < searchEnd; ++pos) {
        FrameHeader next;
        if (parseLayer3Header(data + pos, &first) && pos + first.frameBytes + 4 <= size &&
            parseLayer3Header(data + pos + first.frameBytes, &next) && sameStream(first, next))
            break;
    }
    if (pos >= searchEnd || hasSeekHeader(data + pos, size - pos, first))
        return std::nullopt;

    std::int64_t frames = 0;
    while (pos + 4 <= size) {
        FrameHeader h;
        if (parseLayer3Header(data + pos, &h) && sameStream(first, h) &&
            pos + h.frameBytes <= size) {
            ++frames;
            pos += h.frameBytes;
        } else {
            ++pos; // tags or damage between frames: resynchronise
        }
    }
    return double(frames) * first.samplesPerFrame / first.sampleRate;
}

} // namespace quillory
