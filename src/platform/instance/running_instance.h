#pragma once

#include "platform/instance/local_channel.h"

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <memory>
#include <sys/types.h>

namespace quillory {

// One program per program folder: a later start (a file opened from the file
// manager while the program runs) hands its media file to the program that
// already runs, which opens it, and ends. Without this a second program on the
// same folder would overwrite the first one's settings and bookmarks unseen.
//
// The channel is a local socket only this user may open, named after the
// program folder, in the user's runtime folder. It is a plain Unix socket of
// our own rather than Qt's local socket classes: those come with Qt's network
// library, whose loading (with Kerberos and a proxy library) every start would
// pay before its first window for a few lines exchanged.
class RunningInstance : public QObject {
    Q_OBJECT

public:
    explicit RunningInstance(const QString &programFolder, QObject *parent = nullptr);
    ~RunningInstance() override;

    // The socket's path for a program folder.
    static QString channelPath(const QString &programFolder);

    // Sends the request (a media file's absolute path; empty to only bring the
    // windows up) to a program already running here. True when it took it;
    // false when none runs or it did not answer in time.
    bool handOver(const QString &request, int timeoutMs = 3000) const;

    // Takes requests from later starts. A socket left behind by a program that
    // ended without removing it is replaced; one a live program answers on is
    // not. False when the channel cannot be opened: the program then runs on
    // its own, as before.
    bool listen();
    bool isListening() const { return m_listening.valid(); }
    // Removes the empty folder listen() made the socket in. Left to the
    // caller so that the first window need not wait for it; it also goes
    // with this object.
    void removeEmptyFolder();

    // Longest request read; anything longer is not a path.
    static constexpr int MaxRequestBytes = 64 * 1024;
    // Later starts served at once; more wait in the socket's backlog.
    static constexpr int MaxConnections = 8;

signals:
    // A later start's request, delivered from the event loop.
    void requested(const QString &request);

private:
    void takeConnections();

    QString m_path;
    localchannel::Fd m_listening;
    // Declared after the socket: it stops watching before the socket closes.
    std::unique_ptr<QSocketNotifier> m_accepting;
    int m_serving = 0; // connections being read
    // The socket file this program made, removed when it ends if still there.
    dev_t m_device = 0;
    ino_t m_inode = 0;
    QByteArray m_emptyFolder;
};

} // namespace quillory
