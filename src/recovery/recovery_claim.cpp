#include "recovery/recovery_claim.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillory {

RecoveryClaim RecoveryClaim::take(const RecoveryCopy &copy, const ProcessIdentity &me)
{
    RecoveryClaim claim;
    claim.m_path = QFile::encodeName(copy.claimPath());
    // The holder removes the file before it lets go, so the file we opened may
    // be gone by the time our lock is granted, and another program may have
    // made a new one: only a lock on the file the name leads to counts.
    constexpr int Attempts = 8;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        const int fd =
            ::open(claim.m_path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            break;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK) {
                claim.m_path.clear();
                return claim; // another program is offering it
            }
            break;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(claim.m_path.constData(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            // The name in the file is for people; the lock is what counts.
            const QByteArray text = me.toText();
            if (::ftruncate(fd, 0) == 0) {
                [[maybe_unused]] const ssize_t written =
                    ::write(fd, text.constData(), size_t(text.size()));
            }
            claim.m_fd = fd;
            claim.m_ours = true;
            return claim;
        }
        ::close(fd);
        if (attempt + 1 == Attempts) {
            // Claims taken and given up all the while: others are at it.
            claim.m_path.clear();
            return claim;
        }
    }
    // No lock to be had: offered as before claims existed.
    claim.m_path.clear();
    claim.m_ours = true;
    return claim;
}

RecoveryClaim::RecoveryClaim(RecoveryClaim &&other) noexcept
    : m_fd(other.m_fd), m_ours(other.m_ours), m_path(std::move(other.m_path))
{
    other.m_fd = -1;
    other.m_ours = false;
}

RecoveryClaim &RecoveryClaim::operator=(RecoveryClaim &&other) noexcept
{
    if (this != &other) {
        release();
        m_fd = other.m_fd;
        m_ours = other.m_ours;
        m_path = std::move(other.m_path);
        other.m_fd = -1;
        other.m_ours = false;
    }
    return *this;
}

RecoveryClaim::~RecoveryClaim()
{
    release();
}

void RecoveryClaim::release()
{
    if (m_fd >= 0) {
        // While we hold the lock nobody else removes or replaces the file, so
        // the name still leads to ours.
        ::unlink(m_path.constData());
        ::close(m_fd);
        m_fd = -1;
    }
    m_ours = false;
}

} // namespace quillory
