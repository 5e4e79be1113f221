#pragma once

#include <QString>

namespace quillory {

// The name of a media file's .bm file: "<media file name>.bm" while that fits
// in one file name of the file system (NAME_MAX bytes once encoded). A longer
// one keeps as much of the media name as fits, then "~", a hash of the whole
// media name and ".bm", so the same media name always finds the same file and
// two long names that begin alike do not share one.
class BookmarkFileName {
public:
    static QString forMediaName(const QString &mediaName);

    static constexpr int MaxNameBytes = 255;
    static constexpr int HashDigits = 16;
};

} // namespace quillory
