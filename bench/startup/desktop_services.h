#pragma once

// What every desktop has running when a program starts: a sound server (a
// PulseAudio of the benchmark's own, with a null sink) and a session bus (a
// dbus-daemon of its own). Programs started with environment() find both, and
// a runtime folder in memory, as a desktop session's is (/run/user/UID is a
// tmpfs): on a disk, making a socket there can wait for the file system's
// journal, which no desktop start does.

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

class DesktopServices {
public:
    DesktopServices() = default;
    DesktopServices(const DesktopServices &) = delete;
    DesktopServices &operator=(const DesktopServices &) = delete;
    ~DesktopServices()
    {
        for (QProcess *p : {&m_bus, &m_pulse}) {
            if (p->state() == QProcess::NotRunning)
                continue;
            p->terminate();
            if (!p->waitForFinished(3000)) {
                p->kill();
                p->waitForFinished(3000);
            }
        }
    }

    // Empty on success, else why the services could not start.
    QString start(QProcessEnvironment base)
    {
        const QString pulse = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        const QString pactl = QStandardPaths::findExecutable(QStringLiteral("pactl"));
        const QString bus = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (pulse.isEmpty() || pactl.isEmpty() || bus.isEmpty())
            return QStringLiteral("pulseaudio, pactl or dbus-daemon is not installed");
        if (!m_dir.isValid() || !m_runtime.isValid())
            return QStringLiteral("no temporary folder");
        const QString run = m_runtime.path();
        QDir().mkpath(run + QStringLiteral("/pulse"));
        QFile::setPermissions(run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        base.insert(QStringLiteral("XDG_RUNTIME_DIR"), run);
        base.insert(QStringLiteral("PULSE_SERVER"),
                    QStringLiteral("unix:") + run + QStringLiteral("/pulse/native"));
        base.insert(QStringLiteral("PULSE_COOKIE"), m_dir.path() + QStringLiteral("/cookie"));

        QProcessEnvironment server = base;
        server.insert(QStringLiteral("HOME"), m_dir.path());
        m_pulse.setProcessEnvironment(server);
        m_pulse.setStandardOutputFile(QProcess::nullDevice());
        m_pulse.setStandardErrorFile(QProcess::nullDevice());
        m_pulse.start(pulse,
                      {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                       QStringLiteral("--exit-idle-time=-1"), QStringLiteral("-L"),
                       QStringLiteral("module-native-protocol-unix auth-anonymous=1"),
                       QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=bench")});
        if (!m_pulse.waitForStarted(5000))
            return QStringLiteral("pulseaudio did not start");
        bool answers = false;
        for (int i = 0; i < 100 && !answers; ++i) {
            QProcess info;
            info.setProcessEnvironment(server);
            info.start(pactl, {QStringLiteral("info")});
            answers = info.waitForFinished(3000) && info.exitCode() == 0;
            if (!answers)
                QThread::msleep(100);
        }
        if (!answers)
            return QStringLiteral("pulseaudio does not answer");

        m_bus.start(bus, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                          QStringLiteral("--print-address=1")});
        if (!m_bus.waitForStarted(5000))
            return QStringLiteral("dbus-daemon did not start");
        for (int i = 0; i < 50 && !m_bus.canReadLine(); ++i)
            m_bus.waitForReadyRead(200);
        const QString address = QString::fromUtf8(m_bus.readLine()).trimmed();
        if (address.isEmpty())
            return QStringLiteral("dbus-daemon gives no address");
        base.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        m_environment = base;
        return QString();
    }

    QProcessEnvironment environment() const { return m_environment; }

private:
    // Shared memory's folder where there is one (a tmpfs on Linux).
    static QString inMemory()
    {
        const QFileInfo shm(QStringLiteral("/dev/shm"));
        const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
        return base + QStringLiteral("/bench-runtime-XXXXXX");
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_runtime{inMemory()};
    QProcess m_pulse;
    QProcess m_bus;
    QProcessEnvironment m_environment;
};
