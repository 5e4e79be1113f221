#pragma once

#include <QString>
#include <optional>

namespace quillory {

// What a file on disk was when the program last read or wrote it: enough to
// tell that another program has written it since (its size, modification time
// to the nanosecond, and the file it is, since safe writes replace the file).
class FileStamp {
public:
    // The file's stamp now; nothing when there is no such file.
    static std::optional<FileStamp> of(const QString &path);

    // True when the file at `path` is no longer the one this stamp describes:
    // written, replaced or removed since.
    bool changedOn(const QString &path) const;

    long long size() const { return m_size; }
    // The modification time in whole milliseconds since the epoch.
    long long changedMs() const { return m_seconds * 1000 + m_nanoseconds / 1000000; }

    bool operator==(const FileStamp &other) const;
    bool operator!=(const FileStamp &other) const { return !(*this == other); }

private:
    long long m_size = 0;
    long long m_seconds = 0;
    long m_nanoseconds = 0;
    unsigned long long m_device = 0;
    unsigned long long m_inode = 0;
};

} // namespace quillory
