#include "app/session_desktop_player.h"
#include "desktop/mpris_service.h"
#include "player/test_form1_harness.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>
#include <algorithm>
#include <cmath>

using namespace quillory;
using namespace quillory::test;

namespace {
const QString Service = QStringLiteral("org.mpris.MediaPlayer2.quillory");
const QString Path = QStringLiteral("/org/mpris/MediaPlayer2");
const QString Root = QStringLiteral("org.mpris.MediaPlayer2");
const QString Player = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString Props = QStringLiteral("org.freedesktop.DBus.Properties");

// A player on the simulated device, put on the private bus.
struct BusRig {
    explicit BusRig(const QDBusConnection &bus) : desktop(desktopFor(rig.start()))
    {
        rig.form->setPauseRewindSeconds(3);
        service = std::make_unique<MprisService>(rig.form->commands(), desktop);
        registered = service->registerOn(bus);
    }
    PlayerRig rig;
    SessionDesktopPlayer desktop;
    std::unique_ptr<MprisService> service;
    bool registered = false;
};
} // namespace

class TestMpris : public QObject {
    Q_OBJECT
public slots:
    void propertiesChanged(const QString &interface, const QVariantMap &changed,
                           const QStringList &)
    {
        if (interface == Player)
            m_changes << changed;
    }
    void seeked(qlonglong position) { m_seeks << position; }

private:
    QProcess m_daemon;
    QString m_address;
    QList<QVariantMap> m_changes;
    QList<qlonglong> m_seeks;

    QDBusConnection service() { return QDBusConnection(QStringLiteral("quillory-service")); }
    QDBusConnection client() { return QDBusConnection(QStringLiteral("quillory-client")); }

    // One call from the client connection; the event loop runs meanwhile so the
    // service in this same thread can answer.
    QDBusMessage call(const QString &interface, const QString &method,
                      const QVariantList &arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(Service, Path, interface, method);
        message.setArguments(arguments);
        QDBusPendingCall pending = client().asyncCall(message, 5000);
        QDeadlineTimer deadline(6000);
        while (!pending.isFinished() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return pending.reply();
    }
    QVariant property(const QString &interface, const QString &name)
    {
        const QDBusMessage reply = call(Props, QStringLiteral("Get"), {interface, name});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return QVariant();
        return reply.arguments().first().value<QDBusVariant>().variant();
    }
    QVariantMap metadata()
    {
        const QVariant v = property(Player, QStringLiteral("Metadata"));
        return qdbus_cast<QVariantMap>(v.value<QDBusArgument>());
    }
    // Whether some announcement since the last init() set `key` to `value`.
    bool announced(const char *key, const QVariant &value) const
    {
        for (const QVariantMap &change : m_changes)
            if (change.value(QString::fromLatin1(key)) == value)
                return true;
        return false;
    }
    qlonglong position() { return property(Player, QStringLiteral("Position")).toLongLong(); }
    QString status() { return property(Player, QStringLiteral("PlaybackStatus")).toString(); }
    void playerCall(const char *method, const QVariantList &arguments = {})
    {
        const QDBusMessage reply = call(Player, QString::fromLatin1(method), arguments);
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    }

private slots:
    void initTestCase()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed");
        m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                QStringLiteral("--print-address=1")});
        if (!m_daemon.waitForStarted(5000))
            QSKIP("dbus-daemon does not start");
        QDeadlineTimer deadline(10000);
        while (!m_daemon.canReadLine() && !deadline.hasExpired())
            m_daemon.waitForReadyRead(200);
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        if (m_address.isEmpty())
            QSKIP("dbus-daemon gives no address");
        QVERIFY(QDBusConnection::connectToBus(m_address, QStringLiteral("quillory-service"))
                    .isConnected());
        QVERIFY(QDBusConnection::connectToBus(m_address, QStringLiteral("quillory-client"))
                    .isConnected());
        QVERIFY(client().connect(Service, Path, Props, QStringLiteral("PropertiesChanged"), this,
                                 SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
        QVERIFY(client().connect(Service, Path, Player, QStringLiteral("Seeked"), this,
                                 SLOT(seeked(qlonglong))));
    }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("quillory-client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("quillory-service"));
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();
            if (!m_daemon.waitForFinished(3000))
                m_daemon.kill();
        }
    }

    void init()
    {
        m_changes.clear();
        m_seeks.clear();
    }

    void identityMetadataAndPositionInMicroseconds()
    {
        BusRig t(service());
        QVERIFY(t.registered);
        QCOMPARE(t.service->registeredName(), Service);
        QCOMPARE(property(Root, QStringLiteral("Identity")).toString(), QString("Quillory"));
        QCOMPARE(property(Root, QStringLiteral("DesktopEntry")).toString(),
                 QString("org.quillory.Quillory"));
        QVERIFY(property(Root, QStringLiteral("CanRaise")).toBool());
        QVERIFY(property(Root, QStringLiteral("SupportedMimeTypes"))
                    .toStringList()
                    .contains(QStringLiteral("audio/mpeg")));
        // Nothing open yet.
        QCOMPARE(status(), QString("Stopped"));
        QVERIFY(!property(Player, QStringLiteral("CanPlay")).toBool());
        QCOMPARE(metadata().value("mpris:trackid").value<QDBusObjectPath>().path(),
                 QString("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
        playerCall("PlayPause"); // nothing to play: no effect
        QCOMPARE(status(), QString("Stopped"));

        const QString path = t.rig.openAt(QStringLiteral("Interview one.mp3"), 90500, 12345);
        QCOMPARE(status(), QString("Playing"));
        QCOMPARE(position(), qlonglong(12345000));
        const QVariantMap meta = metadata();
        QCOMPARE(meta.value("mpris:length").toLongLong(), qlonglong(90500000));
        QCOMPARE(meta.value("xesam:title").toString(), QString("Interview one.mp3"));
        QCOMPARE(QUrl(meta.value("xesam:url").toString()).toLocalFile(), path);
        QVERIFY(meta.value("xesam:url").toString().contains(QStringLiteral("Interview%20one")));
        QVERIFY(meta.value("mpris:trackid")
                    .value<QDBusObjectPath>()
                    .path()
                    .startsWith(QStringLiteral("/org/quillory/Quillory/track/")));
        QCOMPARE(property(Player, QStringLiteral("Rate")).toDouble(), 1.0);
        QCOMPARE(property(Player, QStringLiteral("MinimumRate")).toDouble(), 0.25);
        QCOMPARE(property(Player, QStringLiteral("MaximumRate")).toDouble(), 3.0);
        QVERIFY(!property(Player, QStringLiteral("CanGoNext")).toBool());
        QVERIFY(property(Player, QStringLiteral("CanSeek")).toBool());

        // The poll tells clients what changed: a new file, then a pause.
        t.service->refresh();
        QTRY_VERIFY(announced("PlaybackStatus", QStringLiteral("Playing")));
        QVERIFY(announced("CanPlay", true));
        QVERIFY(std::any_of(m_changes.begin(), m_changes.end(), [](const QVariantMap &c) {
            return c.contains(QStringLiteral("Metadata"));
        }));
        const int before = m_changes.size();
        QVERIFY(t.service->isPolling());
        t.rig.form->cmdPlay_Click(); // F5
        t.service->refresh();
        QTRY_VERIFY(announced("PlaybackStatus", QStringLiteral("Paused")));
        QVERIFY(!t.service->isPolling()); // paused: nothing to follow
        QCOMPARE(m_changes.size(), before + 1);
        QVERIFY(!m_changes.last().contains(QStringLiteral("Metadata")));
        // The pause's rewind is a jump for clients that draw the position.
        QTRY_VERIFY(m_seeks.contains(qlonglong(9345000)));
    }

    void playPauseRewindsAsThePlayKeyDoes()
    {
        BusRig t(service());
        QVERIFY(t.registered);
        t.rig.openAt(QStringLiteral("a.wav"), 60000, 20000);
        playerCall("PlayPause");
        QCOMPARE(status(), QString("Paused"));
        QCOMPARE(position(), qlonglong(17000000)); // 20 s less the 3 s rewind
        QCOMPARE(t.rig.form->playState(), PlayState::NotPlaying);
        playerCall("Pause"); // already paused: no second rewind
        QCOMPARE(position(), qlonglong(17000000));
        playerCall("PlayPause");
        QCOMPARE(status(), QString("Playing"));
        t.rig.engine->advance(2000);
        playerCall("Play"); // already playing: nothing
        QCOMPARE(status(), QString("Playing"));
        playerCall("Pause");
        QCOMPARE(position(), qlonglong(16000000));
        playerCall("Play");
        QCOMPARE(status(), QString("Playing"));
        t.rig.engine->advance(5000);
        playerCall("Stop");
        QCOMPARE(position(), qlonglong(0));
        QCOMPARE(t.rig.form->playState(), PlayState::NotPlaying);
    }

    void seekAndSetPosition()
    {
        BusRig t(service());
        QVERIFY(t.registered);
        t.rig.openAt(QStringLiteral("b.mp3"), 60000, 10000);
        playerCall("Pause"); // at 7 s
        playerCall("Seek", {qlonglong(4500000)});
        QCOMPARE(position(), qlonglong(11500000));
        QCOMPARE(status(), QString("Paused"));
        QTRY_VERIFY(m_seeks.contains(qlonglong(11500000)));
        playerCall("Seek", {qlonglong(-100000000)});
        QCOMPARE(position(), qlonglong(0));
        playerCall("Seek", {qlonglong(500000000)}); // past the end: at the end
        QCOMPARE(position(), qlonglong(60000000));

        const QDBusObjectPath track = metadata().value("mpris:trackid").value<QDBusObjectPath>();
        playerCall("SetPosition", {QVariant::fromValue(track), qlonglong(25000000)});
        QCOMPARE(position(), qlonglong(25000000));
        playerCall("SetPosition",
                   {QVariant::fromValue(QDBusObjectPath("/org/quillory/Quillory/track/999")),
                    qlonglong(5000000)});
        QCOMPARE(position(), qlonglong(25000000)); // another track: ignored
        playerCall("SetPosition", {QVariant::fromValue(track), qlonglong(-1)});
        playerCall("SetPosition", {QVariant::fromValue(track), qlonglong(60000001000)});
        QCOMPARE(position(), qlonglong(25000000)); // outside the track: ignored

        // While playing, a seek keeps playing from the new place.
        playerCall("Play");
        playerCall("Seek", {qlonglong(-5000000)});
        QCOMPARE(status(), QString("Playing"));
        QCOMPARE(position(), qlonglong(20000000));
        t.rig.engine->advance(1000);
        QCOMPARE(position(), qlonglong(21000000));
    }

    void bookmarksRateAndRaise()
    {
        BusRig t(service());
        QVERIFY(t.registered);
        t.rig.openAt(QStringLiteral("c.mp3"), 60000, 1000);
        int nexts = 0, previouses = 0;
        bool hasNext = false;
        MprisHooks hooks;
        hooks.canGoNext = [&hasNext] { return hasNext; };
        hooks.canGoPrevious = [] { return true; };
        hooks.next = [&nexts] { ++nexts; };
        hooks.previous = [&previouses] { ++previouses; };
        hooks.rate = [] { return std::nan(""); };
        t.service->setHooks(hooks);
        QVERIFY(!property(Player, QStringLiteral("CanGoNext")).toBool());
        QVERIFY(property(Player, QStringLiteral("CanGoPrevious")).toBool());
        playerCall("Next");
        playerCall("Previous");
        QCOMPARE(nexts, 0);
        QCOMPARE(previouses, 1);
        hasNext = true;
        t.service->refresh();
        QTRY_VERIFY(announced("CanGoNext", true));
        playerCall("Next");
        QCOMPARE(nexts, 1);
        QCOMPARE(property(Player, QStringLiteral("Rate")).toDouble(), 1.0); // a broken hook
        // A rate other than 1 cannot be set yet.
        call(Props, QStringLiteral("Set"),
             {Player, QStringLiteral("Rate"), QVariant::fromValue(QDBusVariant(2.0))});
        QCOMPARE(property(Player, QStringLiteral("Rate")).toDouble(), 1.0);

        t.rig.form->hide();
        QCOMPARE(call(Root, QStringLiteral("Raise")).type(), QDBusMessage::ReplyMessage);
        QVERIFY(t.rig.form->isVisible());
    }

    void rateAndVolumeOverTheBus()
    {
        BusRig t(service());
        QVERIFY(t.registered);
        t.rig.openAt(QStringLiteral("r.mp3"), 60000, 10000);
        PlayerSession *session = &t.rig.session;
        double volume = 0.5;
        MprisHooks hooks;
        hooks.rate = [session] { return session->speed().factor(); };
        hooks.setRate = [session](double r) { session->changeSpeed(PlaybackSpeed::nearest(r)); };
        hooks.volume = [&volume] { return std::optional<double>(volume); };
        hooks.setVolume = [&volume](double v) { volume = v; };
        t.service->setHooks(hooks);
        // Paused at 7 s, then a seek of its own: once it has arrived, every
        // earlier Seeked has too (the bus keeps their order).
        playerCall("Pause");
        playerCall("Seek", {qlonglong(1234000)});
        QTRY_VERIFY(m_seeks.contains(qlonglong(8234000)));
        m_seeks.clear();

        call(Props, QStringLiteral("Set"),
             {Player, QStringLiteral("Rate"), QVariant::fromValue(QDBusVariant(0.5))});
        QCOMPARE(t.rig.session.speed().hundredths(), 50);
        QCOMPARE(property(Player, QStringLiteral("Rate")).toDouble(), 0.5);
        QTRY_VERIFY(announced("Rate", 0.5));
        // Clients that run the position on at the rate are set right.
        QTRY_COMPARE(m_seeks, QList<qlonglong>{8234000});

        call(Props, QStringLiteral("Set"),
             {Player, QStringLiteral("Volume"), QVariant::fromValue(QDBusVariant(0.25))});
        QCOMPARE(volume, 0.25);
        QCOMPARE(property(Player, QStringLiteral("Volume")).toDouble(), 0.25);
        QTRY_VERIFY(announced("Volume", 0.25));

        playerCall("Stop");
        QCOMPARE(status(), QString("Stopped"));
        QTRY_VERIFY(announced("PlaybackStatus", QStringLiteral("Stopped")));
        playerCall("Play");
        QCOMPARE(status(), QString("Playing"));
    }

    void openUriAndQuit()
    {
        BusRig t(service());
        QVERIFY(t.registered);
        const QString path = t.rig.mediaFile(QStringLiteral("d e.ogg"), 30000);
        playerCall("OpenUri", {QStringLiteral("https://example.invalid/x.mp3")});
        playerCall("OpenUri", {QUrl::fromLocalFile(path + "-missing").toString()});
        QCOMPARE(t.rig.engine->openCount(), 0);
        // The open runs after the call is answered.
        playerCall("OpenUri", {QUrl::fromLocalFile(path).toString()});
        QTRY_COMPARE(t.rig.engine->openPath(), path);
        QTRY_COMPARE(status(), QString("Playing"));
        QCOMPARE(call(Root, QStringLiteral("Quit")).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(t.rig.endCount(), 1);
    }

    // Media keys and "Open with" offer the same recording types.
    void mimeTypesMatchTheLauncherEntry()
    {
        QFile entry(sourceDir() + QStringLiteral("/packaging/org.quillory.Quillory.desktop.in"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QStringList listed;
        for (const QByteArray &line : entry.readAll().split('\n'))
            if (line.startsWith("MimeType="))
                listed = QString::fromUtf8(line.mid(9)).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        QCOMPARE(listed, MprisService::supportedMimeTypes());
    }

    void withoutABusOrWithTheNameTaken()
    {
        PlayerRig rig;
        rig.start();
        SessionDesktopPlayer desktop = desktopFor(*rig.form);
        MprisService lonely(rig.form->commands(), desktop);
        QVERIFY(!lonely.registerOn(QDBusConnection(QStringLiteral("no-such-connection"))));
        lonely.refresh(); // harmless without a bus
        QVERIFY(lonely.registeredName().isEmpty());

        BusRig first(service());
        QVERIFY(first.registered);
        // A second program on the same bus (its own connection) gets a name of its own.
        QDBusConnection other =
            QDBusConnection::connectToBus(m_address, QStringLiteral("quillory-second"));
        MprisService second(rig.form->commands(), desktop);
        QVERIFY(second.registerOn(other));
        QVERIFY(second.registeredName().startsWith(Service + QStringLiteral(".instance")));
        QDBusConnection::disconnectFromBus(QStringLiteral("quillory-second"));
    }
};

QTEST_MAIN(TestMpris)
#include "test_mpris.moc"
