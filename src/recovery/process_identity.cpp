#include "recovery/process_identity.h"

#include <QFile>
#include <QList>
#include <cerrno>
#include <signal.h>
#include <unistd.h>

namespace quillory {

ProcessIdentity ProcessIdentity::current()
{
    ProcessIdentity me;
    me.pid = static_cast<qint64>(::getpid());
    me.startStamp = startStampOf(me.pid);
    return me;
}

QString ProcessIdentity::startStampOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray line = stat.readAll();
    // The command name (field 2) is in parentheses and may hold blanks and
    // parentheses itself: the fields after it are counted from the last ")".
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return QString();
    const QList<QByteArray> fields = line.mid(close + 1).simplified().split(' ');
    // fields[0] is field 3 (state); the start time is field 22.
    constexpr int StartTimeField = 22 - 3;
    if (fields.size() <= StartTimeField)
        return QString();
    return QString::fromLatin1(fields[StartTimeField]);
}

QByteArray ProcessIdentity::toText() const
{
    return "pid=" + QByteArray::number(pid) + "\nstart=" + startStamp.toLatin1() + "\n";
}

ProcessIdentity ProcessIdentity::fromText(const QByteArray &text)
{
    ProcessIdentity id;
    for (QByteArray line : text.split('\n')) {
        line = line.trimmed();
        if (line.startsWith("pid=")) {
            bool ok = false;
            const qint64 pid = line.mid(4).toLongLong(&ok);
            if (ok && pid > 0)
                id.pid = pid;
        } else if (line.startsWith("start=")) {
            id.startStamp = QString::fromLatin1(line.mid(6));
        }
    }
    return id;
}

bool ProcessIdentity::isAlive() const
{
    if (pid <= 0 || pid > 0x7fffffff)
        return false;
    // EPERM: the process exists but belongs to someone else.
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)
        return false;
    const QString now = startStampOf(pid);
    // Without /proc the id alone has to do.
    if (now.isEmpty() || startStamp.isEmpty())
        return true;
    return now == startStamp;
}

} // namespace quillory
