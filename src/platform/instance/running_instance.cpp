#include "running_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <functional>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillory {

namespace {

const QByteArray Greeting = "quillory-open 1\n";
const QByteArray Taken = "taken\n";

// One later start's connection: its two lines are read as they arrive, the
// answer is sent and the connection ends; anything else only ends it.
class RequestReader : public QObject {
public:
    // A later start that sends nothing more within this long is let go.
    static constexpr int LongestWaitMs = 10000;

    RequestReader(localchannel::Fd socket, std::function<void(const QString &)> take,
                  QObject *parent)
        : QObject(parent), m_socket(std::move(socket)), m_take(std::move(take)),
          m_readable(std::make_unique<QSocketNotifier>(m_socket.get(), QSocketNotifier::Read))
    {
        connect(m_readable.get(), &QSocketNotifier::activated, this, &RequestReader::readMore);
        QTimer::singleShot(LongestWaitMs, this, &RequestReader::end);
    }

private:
    void readMore()
    {
        char chunk[4096];
        bool ended = false; // the other start sent all it will, or the socket failed
        for (;;) {
            const ssize_t n = ::recv(m_socket.get(), chunk, sizeof chunk, 0);
            if (n > 0) {
                m_received.append(chunk, n);
                if (m_received.size() > RunningInstance::MaxRequestBytes + Greeting.size())
                    return end();
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            ended = !(n < 0 && errno == EAGAIN);
            break;
        }
        // The greeting's line and the request's line, both whole.
        const qsizetype firstEnd = m_received.indexOf('\n');
        const qsizetype secondEnd = firstEnd < 0 ? -1 : m_received.indexOf('\n', firstEnd + 1);
        if (secondEnd < 0) {
            if (ended)
                end();
            return;
        }
        if (m_received.left(firstEnd + 1) != Greeting)
            return end();
        const QByteArray line = m_received.mid(firstEnd + 1, secondEnd - firstEnd - 1);
        ::send(m_socket.get(), Taken.constData(), size_t(Taken.size()),
               MSG_NOSIGNAL | MSG_DONTWAIT);
        m_take(QString::fromUtf8(QByteArray::fromPercentEncoding(line)));
        end();
    }

    void end()
    {
        m_readable->setEnabled(false);
        deleteLater();
    }

    localchannel::Fd m_socket;
    std::function<void(const QString &)> m_take;
    // Declared after the socket: it stops watching before the socket closes.
    std::unique_ptr<QSocketNotifier> m_readable;
    QByteArray m_received;
};

} // namespace

RunningInstance::RunningInstance(const QString &programFolder, QObject *parent)
    : QObject(parent), m_path(channelPath(programFolder))
{
}

RunningInstance::~RunningInstance()
{
    removeEmptyFolder();
    if (!m_listening.valid())
        return;
    // Removed only while it is still the socket this program made: a program
    // that replaced it keeps its own.
    const QByteArray path = QFile::encodeName(m_path);
    struct stat info {};
    if (::lstat(path.constData(), &info) == 0 && info.st_dev == m_device && info.st_ino == m_inode)
        ::unlink(path.constData());
}

QString RunningInstance::channelPath(const QString &programFolder)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QByteArray key = QCryptographicHash::hash(QDir(programFolder).absolutePath().toUtf8(),
                                                    QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
    return folder + QStringLiteral("/quillory-") + QString::fromLatin1(key) +
           QStringLiteral(".socket");
}

bool RunningInstance::handOver(const QString &request, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    const localchannel::Fd socket = localchannel::connectTo(QFile::encodeName(m_path), deadline);
    if (!socket.valid())
        return false;
    // Percent-encoded, so that any path (a line break in a name included) is one line.
    if (!localchannel::sendAll(socket.get(),
                               Greeting + request.toUtf8().toPercentEncoding("/") + '\n',
                               QDeadlineTimer(timeoutMs)))
        return false;
    const std::optional<QByteArray> answer =
        localchannel::receiveLine(socket.get(), 64, QDeadlineTimer(timeoutMs));
    return answer && *answer == Taken;
}

bool RunningInstance::listen()
{
    if (m_listening.valid())
        return true;
    const QByteArray path = QFile::encodeName(m_path);
    // A name already there was left behind by a program that crashed, unless
    // someone answers on it.
    struct stat info {};
    if (::lstat(path.constData(), &info) == 0) {
        if (localchannel::connectTo(path, QDeadlineTimer(500)).valid())
            return false;
        ::unlink(path.constData());
    }
    localchannel::Fd listening = localchannel::listenAt(path, MaxConnections, &m_emptyFolder);
    if (!listening.valid() || ::lstat(path.constData(), &info) != 0)
        return false;
    m_device = info.st_dev;
    m_inode = info.st_ino;
    m_listening = std::move(listening);
    m_accepting = std::make_unique<QSocketNotifier>(m_listening.get(), QSocketNotifier::Read);
    connect(m_accepting.get(), &QSocketNotifier::activated, this,
            &RunningInstance::takeConnections);
    return true;
}

void RunningInstance::removeEmptyFolder()
{
    if (m_emptyFolder.isEmpty())
        return;
    ::rmdir(m_emptyFolder.constData());
    m_emptyFolder.clear();
}

void RunningInstance::takeConnections()
{
    for (;;) {
        localchannel::Fd socket(
            ::accept4(m_listening.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!socket.valid()) {
            if (errno == EINTR)
                continue;
            return; // none left (EAGAIN), or the other start already gave up
        }
        if (m_serving >= MaxConnections)
            continue; // closed at once: a flood is not served
        // The request runs from the event loop, never inside the reader: opening
        // a file may show a message box.
        auto *reader = new RequestReader(
            std::move(socket),
            [this](const QString &request) {
                QMetaObject::invokeMethod(
                    this, [this, request] { emit requested(request); }, Qt::QueuedConnection);
            },
            this);
        ++m_serving;
        connect(reader, &QObject::destroyed, this, [this] { --m_serving; });
    }
}

} // namespace quillory
