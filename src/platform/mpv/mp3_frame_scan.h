#pragma once

#include <QString>
#include <optional>

namespace quillory {

// MP3 files without a Xing/Info/VBRI header give no reliable length: the demuxer
// estimates it from the first frame's bitrate, which for VBR files is far off.
// Counting the frames gives the exact decoded length. Returns the length in
// seconds only for such unindexed MP3 files, nothing for every other file.
std::optional<double> unindexedMp3Seconds(const QString &path);

} // namespace quillory
