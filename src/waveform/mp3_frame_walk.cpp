#include "mp3_frame_walk.h"

#include <QByteArray>
#include <QFile>
#include <deque>

namespace quillory {

namespace {

struct Header {
    int length = 0;  // bytes, header included
    int samples = 0; // per channel
};

// A Layer III header at `p` (four bytes), or nothing.
std::optional<Header> headerAt(const unsigned char *p)
{
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return std::nullopt;
    const int version = (p[1] >> 3) & 3; // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    const int layer = (p[1] >> 1) & 3;   // 1: Layer III
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return std::nullopt;
    static const int Mpeg1Kbps[] = {0,   32,  40,  48,  56,  64,  80, 96,
                                    112, 128, 160, 192, 224, 256, 320};
    static const int Mpeg2Kbps[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static const int Rates[] = {44100, 48000, 32000};
    const bool mpeg1 = version == 3;
    const int rate = Rates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    const int kbps = (mpeg1 ? Mpeg1Kbps : Mpeg2Kbps)[bitrateIndex];
    Header header;
    header.samples = mpeg1 ? 1152 : 576;
    header.length = (mpeg1 ? 144 : 72) * kbps * 1000 / rate + ((p[2] >> 1) & 1);
    return header;
}

// The tag some encoders put in the first frame instead of sound.
bool isInfoFrame(const QByteArray &frame)
{
    const QByteArray head = frame.left(64);
    return head.contains("Xing") || head.contains("Info") || head.contains("VBRI");
}

} // namespace

std::optional<std::vector<Mp3FramePlace>> walkMp3Frames(const QString &path, std::int64_t sample,
                                                        int before, const std::atomic<bool> &cancel)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || sample < 0)
        return std::nullopt;
    const std::int64_t size = file.size();
    std::int64_t offset = 0;
    const QByteArray id3 = file.read(10);
    if (id3.size() == 10 && id3.startsWith("ID3")) {
        const auto b = reinterpret_cast<const unsigned char *>(id3.constData());
        offset =
            10 + ((b[6] & 0x7F) << 21 | (b[7] & 0x7F) << 14 | (b[8] & 0x7F) << 7 | (b[9] & 0x7F));
        if (b[5] & 0x10)
            offset += 10; // a footer
    }
    std::deque<Mp3FramePlace> recent;
    std::int64_t at = 0;
    bool first = true;
    // Read in blocks; a frame is at most 1441 bytes.
    constexpr std::int64_t Block = 1 << 20;
    QByteArray block;
    std::int64_t blockStart = -1;
    while (!cancel.load(std::memory_order_relaxed)) {
        if (offset + 4 > size)
            return std::nullopt; // past the end
        if (blockStart < 0 || offset + 4 > blockStart + block.size()) {
            if (!file.seek(offset))
                return std::nullopt;
            block = file.read(Block);
            blockStart = offset;
            if (block.size() < 4)
                return std::nullopt;
        }
        const auto *p =
            reinterpret_cast<const unsigned char *>(block.constData()) + (offset - blockStart);
        const std::optional<Header> header = headerAt(p);
        if (!header || header->length < 4)
            return std::nullopt;
        if (first) {
            first = false;
            const QByteArray frame = block.mid(int(offset - blockStart), header->length);
            if (isInfoFrame(frame)) {
                offset += header->length;
                continue;
            }
        }
        recent.push_back({offset, at});
        if (static_cast<int>(recent.size()) > before + 1)
            recent.pop_front();
        if (sample < at + header->samples)
            return std::vector<Mp3FramePlace>(recent.begin(), recent.end());
        at += header->samples;
        offset += header->length;
    }
    return std::nullopt;
}

} // namespace quillory
