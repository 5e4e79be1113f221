#include "running_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>

namespace quillory {

namespace {

const QByteArray Greeting = "quillory-open 1\n";
const QByteArray Taken = "taken\n";

} // namespace

RunningInstance::RunningInstance(const QString &programFolder, QObject *parent)
    : QObject(parent), m_path(channelPath(programFolder))
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.setMaxPendingConnections(8);
    connect(&m_server, &QLocalServer::newConnection, this, &RunningInstance::takeConnection);
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
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    // Percent-encoded, so that any path (a line break in a name included) is one line.
    socket.write(Greeting + request.toUtf8().toPercentEncoding("/") + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    return socket.readLine(64) == Taken;
}

bool RunningInstance::listen()
{
    // A name already there was left behind by a program that crashed, unless
    // someone answers on it. (With access options set, Qt's listen would
    // replace even a live channel.)
    const QFileInfo existing(m_path);
    if (existing.exists() || existing.isSymLink()) {
        QLocalSocket probe;
        probe.connectToServer(m_path);
        if (probe.waitForConnected(500))
            return false;
        QLocalServer::removeServer(m_path);
    }
    return m_server.listen(m_path);
}

void RunningInstance::takeConnection()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (socket->bytesAvailable() > MaxRequestBytes + Greeting.size()) {
                socket->abort();
                return;
            }
            // The greeting's line and the request's line, both whole.
            if (socket->peek(socket->bytesAvailable()).count('\n') < 2)
                return;
            if (socket->readLine(Greeting.size() + 1) != Greeting) {
                socket->abort();
                return;
            }
            QByteArray line = socket->readLine(MaxRequestBytes + 1);
            if (!line.endsWith('\n')) {
                socket->abort();
                return;
            }
            line.chop(1);
            socket->write(Taken);
            socket->flush();
            // The request runs from the event loop, never inside this handler:
            // opening a file may show a message box.
            const QString request = QString::fromUtf8(QByteArray::fromPercentEncoding(line));
            QMetaObject::invokeMethod(
                this, [this, request] { emit requested(request); }, Qt::QueuedConnection);
        });
    }
}

} // namespace quillory
