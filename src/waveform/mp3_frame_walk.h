#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillory {

// Where an MP3 frame begins in the file, and the sample of the stream (counted
// from the first frame of sound) it begins at.
struct Mp3FramePlace {
    std::int64_t offset = 0;
    std::int64_t sample = 0;
};

// Walks the frame headers of an MP3 file (Layer III, after any ID3v2 tag,
// leaving out a Xing/Info/VBRI header frame) to the frame holding `sample`:
// that frame and the `before` frames ahead of it. A VBR file has no other way
// to a time than counting, and headers are a few bytes of each frame, so this
// is far quicker than the demuxer's reading of every packet. Nothing when the
// file is not such an MP3, a header is damaged, `sample` lies past the end, or
// `cancel` is set.
std::optional<std::vector<Mp3FramePlace>> walkMp3Frames(const QString &path, std::int64_t sample,
                                                        int before,
                                                        const std::atomic<bool> &cancel);

} // namespace quillory
