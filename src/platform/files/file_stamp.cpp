#include "file_stamp.h"

#include <QFile>
#include <sys/stat.h>

namespace quillory {

std::optional<FileStamp> FileStamp::of(const QString &path)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    FileStamp stamp;
    stamp.m_size = info.st_size;
    stamp.m_seconds = info.st_mtim.tv_sec;
    stamp.m_nanoseconds = info.st_mtim.tv_nsec;
    stamp.m_device = info.st_dev;
    stamp.m_inode = info.st_ino;
    return stamp;
}

bool FileStamp::changedOn(const QString &path) const
{
    const std::optional<FileStamp> now = of(path);
    return !now || *now != *this;
}

bool FileStamp::operator==(const FileStamp &other) const
{
    return m_size == other.m_size && m_seconds == other.m_seconds &&
           m_nanoseconds == other.m_nanoseconds && m_device == other.m_device &&
           m_inode == other.m_inode;
}

} // namespace quillory
