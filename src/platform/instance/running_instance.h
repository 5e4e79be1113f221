#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace quillory {

// One program per program folder: a later start (a file opened from the file
// manager while the program runs) hands its media file to the program that
// already runs, which opens it, and ends. Without this a second program on the
// same folder would overwrite the first one's settings and bookmarks unseen.
//
// The channel is a local socket only this user may open, named after the
// program folder, in the user's runtime folder.
class RunningInstance : public QObject {
    Q_OBJECT

public:
    explicit RunningInstance(const QString &programFolder, QObject *parent = nullptr);

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
    bool isListening() const { return m_server.isListening(); }

    // Longest request read; anything longer is not a path.
    static constexpr int MaxRequestBytes = 64 * 1024;

signals:
    // A later start's request, delivered from the event loop.
    void requested(const QString &request);

private:
    void takeConnection();

    QString m_path;
    QLocalServer m_server;
};

} // namespace quillory
