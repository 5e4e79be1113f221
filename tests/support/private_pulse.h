#pragma once

// A PulseAudio server of the test's own, with one null sink as the default sink,
// reached through a private runtime folder. Starting it points this process's
// PULSE_SERVER at it, so it must start before the process first uses ALSA: ALSA's
// pulse plugin makes the server's mixer the "default" one only when it finds a
// server running as its configuration is loaded.

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace quillory::test {

class PrivatePulse {
public:
    PrivatePulse() = default;
    PrivatePulse(const PrivatePulse &) = delete;
    PrivatePulse &operator=(const PrivatePulse &) = delete;
    ~PrivatePulse() { stop(); }

    // Empty on success, else why the server could not start (the test skips).
    QString start()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        m_pactl = QStandardPaths::findExecutable(QStringLiteral("pactl"));
        if (daemon.isEmpty() || m_pactl.isEmpty())
            return QStringLiteral("pulseaudio or pactl is not installed");
        if (!m_dir.isValid())
            return QStringLiteral("no temporary folder");
        const QString run = m_dir.path() + QStringLiteral("/run");
        QDir().mkpath(run + QStringLiteral("/pulse"));
        QFile::setPermissions(run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("HOME"), m_dir.path());
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), run);
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.path() + QStringLiteral("/config"));
        m_env.insert(QStringLiteral("PULSE_SERVER"),
                     QStringLiteral("unix:") + run + QStringLiteral("/pulse/native"));
        m_env.insert(QStringLiteral("PULSE_COOKIE"), m_dir.path() + QStringLiteral("/cookie"));
        m_env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        for (const char *name : {"XDG_RUNTIME_DIR", "PULSE_SERVER", "PULSE_COOKIE"})
            qputenv(name, m_env.value(QLatin1String(name)).toUtf8());

        m_daemon.setProcessEnvironment(m_env);
        m_daemon.setProgram(daemon);
        m_daemon.setArguments(
            {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
             QStringLiteral("--exit-idle-time=-1"),
             QStringLiteral("--log-target=file:") + m_dir.path() + QStringLiteral("/pulse.log"),
             QStringLiteral("-L"), QStringLiteral("module-native-protocol-unix auth-anonymous=1"),
             QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=quillory_test")});
        m_daemon.setStandardOutputFile(QProcess::nullDevice());
        m_daemon.setStandardErrorFile(QProcess::nullDevice());
        m_daemon.start();
        if (!m_daemon.waitForStarted(5000))
            return QStringLiteral("pulseaudio did not start");
        // Wait until it answers (or gives up, e.g. where it may not run at all).
        for (int i = 0; i < 100; ++i) {
            if (m_daemon.state() != QProcess::Running)
                return QStringLiteral("pulseaudio ended at once (see its log)");
            if (pactl({QStringLiteral("info")}).first == 0)
                break;
            QThread::msleep(100);
        }
        if (pactl({QStringLiteral("set-default-sink"), QStringLiteral("quillory_test")}).first != 0)
            return QStringLiteral("pulseaudio does not answer");
        return QString();
    }

    void stop()
    {
        if (m_daemon.state() == QProcess::NotRunning)
            return;
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(5000);
        }
    }

    // The default sink's raw volume on each channel, as pactl reports it.
    QList<long> sinkVolumes()
    {
        const auto [code, out] =
            pactl({QStringLiteral("get-sink-volume"), QStringLiteral("@DEFAULT_SINK@")});
        QList<long> volumes;
        if (code != 0)
            return volumes;
        static const QRegularExpression channel(QStringLiteral("[\\w-]+: (\\d+) /"));
        for (auto it = channel.globalMatch(out); it.hasNext();)
            volumes << it.next().captured(1).toLong();
        return volumes;
    }
    bool setSinkVolume(long raw)
    {
        return pactl({QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"),
                      QString::number(raw)})
                   .first == 0;
    }

private:
    std::pair<int, QString> pactl(const QStringList &arguments)
    {
        QProcess p;
        p.setProcessEnvironment(m_env);
        p.start(m_pactl, arguments);
        if (!p.waitForFinished(10000)) {
            p.kill();
            p.waitForFinished();
            return {-1, QString()};
        }
        const int code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        return {code, QString::fromLocal8Bit(p.readAllStandardOutput())};
    }

    QTemporaryDir m_dir;
    QString m_pactl;
    QProcessEnvironment m_env;
    QProcess m_daemon;
};

} // namespace quillory::test
