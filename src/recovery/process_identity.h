#pragma once

#include <QByteArray>
#include <QString>

namespace quillory {

// A process as the lock file names it: its id and the moment it started, so a
// process id the system has handed to a new program since is not mistaken for
// the one that wrote the copy.
struct ProcessIdentity {
    qint64 pid = 0;
    QString startStamp; // the start time from /proc/<pid>/stat; empty when unknown

    static ProcessIdentity current();
    // The start stamp of a running process; empty when it is gone or unknown.
    static QString startStampOf(qint64 pid);

    QByteArray toText() const;
    // pid 0 when the text names no process.
    static ProcessIdentity fromText(const QByteArray &text);

    // True while the process that wrote this identity still runs.
    bool isAlive() const;
};

} // namespace quillory
