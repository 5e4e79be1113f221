#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <optional>

namespace quillory::localchannel {

// A file descriptor closed with its owner.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    Fd(Fd &&other) noexcept : m_fd(other.release()) {}
    Fd &operator=(Fd &&other) noexcept;
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd();

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release();

private:
    int m_fd = -1;
};

// The stream socket at `path`, connected within the deadline; none when
// nobody listens there (or the path cannot name a socket).
Fd connectTo(const QByteArray &path, QDeadlineTimer deadline);

// Sends all of `data` before the deadline.
bool sendAll(int fd, const QByteArray &data, QDeadlineTimer deadline);

// The next line (with its '\n') before the deadline; none when the peer ends
// first or the line would be longer than `maxBytes`.
std::optional<QByteArray> receiveLine(int fd, int maxBytes, QDeadlineTimer deadline);

// A listening, non-blocking socket at `path` that only this user may open.
// It is made private before it gets its name: bound in a folder of its own,
// restricted, then moved into place. None when any step fails.
// With `emptyFolder`, that folder is not removed but named there, for the
// caller to remove when it suits it: on a journalled file system removing a
// folder can wait for the journal, which a program's start need not.
Fd listenAt(const QByteArray &path, int backlog, QByteArray *emptyFolder = nullptr);

} // namespace quillory::localchannel
