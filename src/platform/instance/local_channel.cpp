#include "local_channel.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace quillory::localchannel {

Fd &Fd::operator=(Fd &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.release();
    }
    return *this;
}

Fd::~Fd()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int Fd::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

namespace {

bool addressOf(const QByteArray &path, sockaddr_un *address)
{
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof address->sun_path)
        return false;
    std::memcpy(address->sun_path, path.constData(), size_t(path.size()));
    return true;
}

// Waits for `events` on `fd` until the deadline; false once it has passed.
bool waitFor(int fd, short events, QDeadlineTimer deadline)
{
    for (;;) {
        const qint64 left = deadline.remainingTime();
        if (left == 0)
            return false;
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, left < 0 ? -1 : int(qMin<qint64>(left, 1 << 30)));
        if (ready > 0)
            return true;
        if (ready == 0)
            return false;
        if (errno != EINTR)
            return false;
    }
}

Fd streamSocket()
{
    return Fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
}

} // namespace

Fd connectTo(const QByteArray &path, QDeadlineTimer deadline)
{
    sockaddr_un address;
    if (!addressOf(path, &address))
        return {};
    for (;;) {
        Fd socket = streamSocket();
        if (!socket.valid())
            return {};
        if (::connect(socket.get(), reinterpret_cast<sockaddr *>(&address), sizeof address) == 0)
            return socket;
        if (errno == EINPROGRESS) {
            int error = 0;
            socklen_t length = sizeof error;
            if (waitFor(socket.get(), POLLOUT, deadline) &&
                ::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 &&
                error == 0)
                return socket;
            return {};
        }
        // A full backlog: the program is there but busy; asked again shortly.
        if (errno != EAGAIN && errno != EINTR)
            return {};
        if (deadline.hasExpired())
            return {};
        ::usleep(5000);
    }
}

bool sendAll(int fd, const QByteArray &data, QDeadlineTimer deadline)
{
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t n =
            ::send(fd, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN && waitFor(fd, POLLOUT, deadline))
            continue;
        return false;
    }
    return true;
}

std::optional<QByteArray> receiveLine(int fd, int maxBytes, QDeadlineTimer deadline)
{
    QByteArray line;
    char byte = 0;
    // A byte at a time: the answer is a few bytes, and nothing after the line
    // may be taken from the socket.
    while (line.size() < maxBytes) {
        const ssize_t n = ::recv(fd, &byte, 1, 0);
        if (n == 1) {
            line.append(byte);
            if (byte == '\n')
                return line;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN && waitFor(fd, POLLIN, deadline))
            continue;
        return std::nullopt;
    }
    return std::nullopt;
}

Fd listenAt(const QByteArray &path, int backlog, QByteArray *emptyFolder)
{
    // Bound under a shorter name first: a name no client could connect to
    // must fail here.
    sockaddr_un address;
    const int slash = path.lastIndexOf('/');
    if (slash < 0 || !addressOf(path, &address))
        return {};
    QByteArray folder = path.left(slash + 1) + ".quillory-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr)
        return {};
    const QByteArray hidden = folder + "/s";
    Fd socket = streamSocket();
    const bool made =
        socket.valid() && addressOf(hidden, &address) &&
        ::bind(socket.get(), reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::chmod(hidden.constData(), S_IRUSR | S_IWUSR) == 0 &&
        ::listen(socket.get(), backlog) == 0 && ::rename(hidden.constData(), path.constData()) == 0;
    if (!made) {
        ::unlink(hidden.constData());
        ::rmdir(folder.constData());
        return {};
    }
    if (emptyFolder != nullptr)
        *emptyFolder = folder;
    else
        ::rmdir(folder.constData());
    return socket;
}

} // namespace quillory::localchannel
