#pragma once

#include "platform/files/text_file.h"
#include "waveform/peak_bins.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillory {

// Which version of a media file a set of peaks belongs to: a file changed
// since (another size or modification time) has its peaks decoded again.
struct PeakCacheKey {
    QString path;
    std::int64_t size = 0;
    std::int64_t modifiedMs = 0;
    // The key of the file as it is now; nothing when it cannot be looked at.
    static std::optional<PeakCacheKey> of(const QString &path);
    bool operator==(const PeakCacheKey &other) const
    {
        return path == other.path && size == other.size && modifiedMs == other.modifiedMs;
    }
};

struct CachedPeaks {
    double durationMs = 0;
    std::vector<Peak> bins;
};

// Peaks kept between runs, one file per media file in `folder` (named after a
// hash of its path, so a changed file replaces its old entry). A file starts
// with a versioned header holding the key and ends with a checksum over all
// that precedes it; anything damaged, truncated, of another version or of
// another key reads as nothing, and the peaks are decoded again.
class PeakCache {
public:
    explicit PeakCache(QString folder) : m_folder(std::move(folder)) {}

    static constexpr std::uint32_t Version = 1;
    // The user's cache folder for waveforms (XDG_CACHE_HOME).
    static QString defaultFolder();

    QString fileFor(const QString &mediaPath) const;
    std::optional<CachedPeaks> read(const PeakCacheKey &key) const;
    FileResult write(const PeakCacheKey &key, const CachedPeaks &peaks) const;
    // Writes the entry straight from `bins`, without a copy of them (ten
    // hours of peaks are 7.2 MB).
    FileResult write(const PeakCacheKey &key, double durationMs,
                     const std::vector<Peak> &bins) const;

    // The bytes of a cache entry, and back (exposed for tests).
    static QByteArray encode(const PeakCacheKey &key, double durationMs,
                             const std::vector<Peak> &bins);
    static std::optional<CachedPeaks> decode(const QByteArray &bytes, const PeakCacheKey &key);

private:
    QString m_folder;
};

} // namespace quillory
