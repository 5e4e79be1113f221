// What MPRIS clients read and set, on the service itself (no bus): the speed
// as the rate, Stop, the slider's volume and OpenUri while another file plays.
#include "desktop/mpris_service.h"
#include "fake_desktop_player.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillory;
using namespace quillory::test;

namespace {

// The speed and volume behind the hooks, as the player keeps them.
struct Hooked {
    double speed = 1.0;
    std::optional<double> volume = 0.5;
    QList<double> rates;
    QList<double> volumes;

    MprisHooks hooks()
    {
        MprisHooks h;
        h.rate = [this] { return speed; };
        h.setRate = [this](double r) {
            rates << r;
            speed = r;
        };
        h.volume = [this] { return volume; };
        h.setVolume = [this](double v) {
            volumes << v;
            volume = v;
        };
        return h;
    }
};

} // namespace

class TestMprisRules : public QObject {
    Q_OBJECT

private slots:
    void rateIsThePlayersSpeed()
    {
        FakeDesktopPlayer player;
        MprisService service(player, player);
        Hooked hooked;
        service.setHooks(hooked.hooks());
        QCOMPARE(MprisService::MinimumRate, 0.25);
        QCOMPARE(MprisService::MaximumRate, 3.0);
        hooked.speed = 0.5;
        QCOMPARE(service.rate(), 0.5);

        service.setRate(1.5);
        service.setRate(10.0); // beyond the range: the fastest
        service.setRate(0.1);  // below it: the slowest
        service.setRate(std::nan(""));
        QCOMPARE(hooked.rates, (QList<double>{1.5, 3.0, 0.25}));
        QCOMPARE(service.rate(), 0.25);

        // A rate of 0 pauses instead, as MPRIS asks.
        player.playing = true;
        service.setRate(0.0);
        QCOMPARE(player.calls, QStringList{"play/pause"});
        QCOMPARE(hooked.rates.size(), 3);
        service.setRate(0.0); // already paused: nothing
        QCOMPARE(player.calls.size(), 1);
    }

    void withoutSpeedControlTheRateStays()
    {
        FakeDesktopPlayer player;
        MprisService service(player, player);
        service.setRate(2.0);
        QCOMPARE(service.rate(), 1.0);
        QVERIFY(player.calls.isEmpty());
    }

    void stopReportsStoppedUntilPlaybackStarts()
    {
        FakeDesktopPlayer player;
        MprisService service(player, player);
        player.playing = true;
        QCOMPARE(service.playbackStatus(), QStringLiteral("Playing"));
        service.stop();
        QCOMPARE(player.calls, QStringList{"stop"});
        QCOMPARE(service.playbackStatus(), QStringLiteral("Stopped"));
        QCOMPARE(service.positionUs(), qlonglong(0));
        service.play();
        QCOMPARE(service.playbackStatus(), QStringLiteral("Playing"));
        service.pause();
        QCOMPARE(service.playbackStatus(), QStringLiteral("Paused"));

        // Stopped, then another file opened elsewhere: that one is paused.
        service.stop();
        player.path = QStringLiteral("/srv/other.mp3");
        QCOMPARE(service.playbackStatus(), QStringLiteral("Paused"));
        player.media = false;
        QCOMPARE(service.playbackStatus(), QStringLiteral("Stopped"));
    }

    void volumeIsTheSlidersShare()
    {
        FakeDesktopPlayer player;
        MprisService service(player, player);
        Hooked hooked;
        service.setHooks(hooked.hooks());
        QCOMPARE(service.volume(), 0.5);
        service.setVolume(0.8);
        service.setVolume(1.7);
        service.setVolume(-0.2);
        service.setVolume(std::nan(""));
        QCOMPARE(hooked.volumes, (QList<double>{0.8, 1.0, 0.0}));
        QCOMPARE(service.volume(), 0.0);

        // With no volume control on the system there is nothing to move.
        hooked.volume = std::nullopt;
        QCOMPARE(service.volume(), 1.0);
        service.setVolume(0.3);
        QCOMPARE(hooked.volumes.size(), 3);
    }

    void openUriPlaysTheNewFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("next one.mp3"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        FakeDesktopPlayer player;
        player.playing = true;
        MprisService service(player, player);
        service.openUri(QUrl::fromLocalFile(path).toString());
        QTRY_VERIFY(player.calls.size() >= 2);
        QCOMPARE(player.calls, (QStringList{QStringLiteral("open ") + path, "play/pause"}));
        QVERIFY(player.isPlaying());
        QCOMPARE(service.playbackStatus(), QStringLiteral("Playing"));
    }

    void openUriThatFailsPlaysNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("broken.mp3"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        // The player keeps the file it had: that one is not started.
        struct Refusing : FakeDesktopPlayer {
            void openMedia(const QString &p) override { calls << QStringLiteral("open ") + p; }
        } player;
        MprisService service(player, player);
        service.openUri(QUrl::fromLocalFile(path).toString());
        // The open and any play after it run in one step.
        QTRY_COMPARE(player.calls.size(), 1);
        QVERIFY(!player.isPlaying());
    }
};

QTEST_GUILESS_MAIN(TestMprisRules)
#include "test_mpris_rules.moc"
