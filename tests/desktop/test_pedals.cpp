#include "app/session_desktop_player.h"
#include "desktop/foot_pedals.h"
#include "desktop/hidraw_pedal_source.h"
#include "desktop/pedal_controller.h"
#include "desktop/pedal_models.h"
#include "platform/files/preferences.h"
#include "player/test_form1_harness.h"
#include "support/fake_pedal_source.h"

#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillory;
using namespace quillory::test;

namespace {

// What each model sends for: nothing, left, middle, right, left+middle.
struct Recording {
    std::uint16_t vendor, product;
    QByteArray none, left, middle, right, leftMiddle;
};

QList<Recording> recordings()
{
    return {
        {0x05f3, 0x00ff, QByteArray("\x00\x00", 2), QByteArray("\x01\x00", 2),
         QByteArray("\x02\x00", 2), QByteArray("\x04\x00", 2), QByteArray("\x03\x00", 2)},
        {0x07b4, 0x0218, QByteArray("\x00\x00\x00\x00", 4), QByteArray("\x01\x00\x00\x00", 4),
         QByteArray("\x04\x00\x00\x00", 4), QByteArray("\x02\x00\x00\x00", 4),
         QByteArray("\x05\x00\x00\x00", 4)},
        {0x0911, 0x1844, QByteArray("\x00\x00", 2), QByteArray("\x00\x01", 2),
         QByteArray("\x00\x02", 2), QByteArray("\x00\x04", 2), QByteArray("\x00\x03", 2)},
    };
}

// A player on the simulated device, a controller on it and a fake pedal source.
struct PedalRig {
    PedalRig() : desktop(desktopFor(rig.start()))
    {
        rig.form->setPauseRewindSeconds(2);
        rig.form->setJumpSeconds(5);
        path = rig.openAt(QStringLiteral("talk.mp3"), 120000, 0);
        // Opening starts playback; begin paused at 30 s.
        rig.form->cmdPlay_Click();
        rig.media.sendString(QStringLiteral("seek wav1 to 30000"));
        controller = std::make_unique<PedalController>(rig.form->commands(), desktop);
        pedals = std::make_unique<FootPedals>(
            source, *controller, [this](const QString &p, const PedalModel &) { denied << p; });
    }
    qint64 position() { return desktop.positionMs(); }
    bool playing() { return desktop.isPlaying(); }

    PlayerRig rig;
    SessionDesktopPlayer desktop;
    QString path;
    FakePedalSource source;
    std::unique_ptr<PedalController> controller;
    std::unique_ptr<FootPedals> pedals;
    QStringList denied;
};

} // namespace

class TestPedals : public QObject {
    Q_OBJECT
private slots:
    void everyKnownModelDecodesItsReports()
    {
        const PedalModels models;
        for (const Recording &r : recordings()) {
            const PedalModel *m = models.find(r.vendor, r.product);
            QVERIFY2(m, qPrintable(QString::number(r.product, 16)));
            QCOMPARE(m->decode(r.none).value(), PedalState(0));
            QCOMPARE(m->decode(r.left).value(), PedalState(PedalLeft));
            QCOMPARE(m->decode(r.middle).value(), PedalState(PedalMiddle));
            QCOMPARE(m->decode(r.right).value(), PedalState(PedalRight));
            QCOMPARE(m->decode(r.leftMiddle).value(), PedalState(PedalLeft | PedalMiddle));
            QVERIFY(!m->decode(QByteArray()).has_value());
        }
        // Bits the model does not use (a fourth pedal) are no pedal of ours.
        QCOMPARE(models.find(0x0911, 0x1844)->decode(QByteArray("\x00\x08", 2)).value(),
                 PedalState(0));
        // A numbered report of another number is not a pedal report.
        PedalModel numbered = *PedalModels::parse(QStringLiteral("1234:5678:0:1:2:4:3"));
        QCOMPARE(numbered.decode(QByteArray("\x03\x02", 2)).value(), PedalState(PedalMiddle));
        QVERIFY(!numbered.decode(QByteArray("\x01\x02", 2)).has_value());
        QVERIFY(!numbered.decode(QByteArray("\x03", 1)).has_value());
    }

    void userEntriesAddOrReplaceModels()
    {
        QVERIFY(!PedalModels::parse(QStringLiteral("05f3:00ff:0:1:2")));    // too short
        QVERIFY(!PedalModels::parse(QStringLiteral("05f3:00ff:0:1:2:zz"))); // not hex
        QVERIFY(!PedalModels::parse(QStringLiteral("05f3:100ff:0:1:2:4"))); // too large
        QVERIFY(!PedalModels::parse(QStringLiteral("05f3:00ff:0:0:0:0")));  // no pedal
        QVERIFY(!PedalModels::parse(QStringLiteral("0000:00ff:0:1:2:4")));  // no vendor
        PedalModels models;
        const int before = models.all().size();
        models.add(*PedalModels::parse(QStringLiteral("05f3:00ff:1:10:20:40")));
        QCOMPARE(models.all().size(), before);
        QCOMPARE(models.find(0x05f3, 0x00ff)->decode(QByteArray("\x00\x20", 2)).value(),
                 PedalState(PedalMiddle));
        models.add(*PedalModels::parse(QStringLiteral(" abcd : 0001 : 0 : 8 : 10 : 20 ")));
        QCOMPARE(models.all().size(), before + 1);
        QVERIFY(models.find(0xabcd, 0x0001));
    }

    void heldMiddlePedalPlaysAndPausesWithTheRewind()
    {
        PedalRig t;
        t.source.plug(7, *PedalModels().find(0x05f3, 0x00ff));
        QVERIFY(!t.playing());
        t.source.send(7, QByteArray("\x02\x00", 2));
        QVERIFY(t.playing());
        t.rig.engine->advance(4000);
        t.source.send(7, QByteArray("\x02\x00", 2)); // a repeated report changes nothing
        QVERIFY(t.playing());
        t.source.send(7, QByteArray("\x00\x00", 2));
        QVERIFY(!t.playing());
        QCOMPARE(t.position(), 32000); // 34 s less the 2 s rewind
    }

    void jumpPedalsAndTwoPedalsAtOnce()
    {
        PedalRig t;
        t.source.plug(1, *PedalModels().find(0x0911, 0x1844));
        t.source.send(1, QByteArray("\x00\x04", 2)); // right: forward 5 s
        QCOMPARE(t.position(), 35000);
        t.source.send(1, QByteArray("\x00\x00", 2));
        t.source.send(1, QByteArray("\x00\x01", 2)); // left: back 5 s
        QCOMPARE(t.position(), 30000);
        // Left still held, middle joins: play, and no second jump.
        t.source.send(1, QByteArray("\x00\x03", 2));
        QVERIFY(t.playing());
        t.rig.engine->advance(10000);
        t.source.send(1, QByteArray("\x00\x02", 2)); // left up, middle still down
        QVERIFY(t.playing());
        t.source.send(1, QByteArray("\x00\x06", 2)); // right down with middle
        QVERIFY(t.playing());
        QCOMPARE(t.position(), 45000); // 30 + 10 played + 5
        // Both up in one report: the pause (with its rewind) and nothing else.
        t.source.send(1, QByteArray("\x00\x00", 2));
        QVERIFY(!t.playing());
        QCOMPARE(t.position(), 43000);
        // Two pedals down in one report: the jump, then play from there.
        t.source.send(1, QByteArray("\x00\x03", 2));
        QVERIFY(t.playing());
        QCOMPARE(t.position(), 38000);
    }

    void unplugWhileHeldPausesAndOtherDevicesKeepTheirState()
    {
        PedalRig t;
        const PedalModel vec = *PedalModels().find(0x05f3, 0x00ff);
        t.source.plug(1, vec);
        t.source.plug(2, vec);
        QCOMPARE(t.pedals->connectedDevices(), 2);
        t.source.send(1, QByteArray("\x02\x00", 2));
        t.source.send(2, QByteArray("\x02\x00", 2));
        QVERIFY(t.playing());
        t.source.unplug(1); // the other control still holds play
        QVERIFY(t.playing());
        t.rig.engine->advance(3000);
        t.source.unplug(2);
        QVERIFY(!t.playing());
        QCOMPARE(t.position(), 31000);
        QCOMPARE(t.pedals->connectedDevices(), 0);
        t.source.send(2, QByteArray("\x02\x00", 2)); // a report after the unplug is dropped
        QVERIFY(!t.playing());
    }

    void toggleModeAndRemappingFromPreferences()
    {
        PedalRig t;
        Preferences prefs(t.rig.home.file(QStringLiteral("Preferences.ini")));
        prefs.setText(QStringLiteral("PedalLeft"), QStringLiteral("forward"));
        prefs.setText(QStringLiteral("PedalMiddle"), QStringLiteral("none"));
        prefs.setText(QStringLiteral("PedalRight"), QStringLiteral("Play"));
        prefs.setText(QStringLiteral("PedalPlayMode"), QStringLiteral("toggle"));
        QVERIFY(prefs.save());
        QVERIFY(prefs.load());
        const PedalSettings settings = PedalSettings::load(prefs);
        QCOMPARE(settings.left, PedalAction::Forward);
        QCOMPARE(settings.middle, PedalAction::None);
        QCOMPARE(settings.right, PedalAction::Play);
        QVERIFY(settings.playToggles);
        t.controller->setSettings(settings);

        t.source.plug(1, *PedalModels().find(0x05f3, 0x00ff));
        t.source.send(1, QByteArray("\x02\x00", 2)); // middle: nothing
        t.source.send(1, QByteArray("\x00\x00", 2));
        QVERIFY(!t.playing());
        QCOMPARE(t.position(), 30000);
        t.source.send(1, QByteArray("\x04\x00", 2)); // right plays...
        t.source.send(1, QByteArray("\x00\x00", 2)); // ...and keeps playing on release
        QVERIFY(t.playing());
        t.rig.engine->advance(6000);
        t.source.send(1, QByteArray("\x04\x00", 2)); // the next press pauses
        QVERIFY(!t.playing());
        QCOMPARE(t.position(), 34000);
        t.source.send(1, QByteArray("\x01\x00", 2)); // left now jumps forward
        QCOMPARE(t.position(), 39000);

        // Stored and read back; unknown words give the defaults.
        PedalSettings().store(prefs);
        QCOMPARE(PedalSettings::load(prefs).middle, PedalAction::Play);
        prefs.setText(QStringLiteral("PedalLeft"), QStringLiteral("sideways"));
        QCOMPARE(PedalSettings::load(prefs).left, PedalAction::Back);
        QVERIFY(!PedalSettings::load(prefs).playToggles);
    }

    void pedalsWithoutMediaDoNothingAndAccessIsToldOnce()
    {
        PlayerRig rig;
        rig.start();
        SessionDesktopPlayer desktop = desktopFor(*rig.form);
        PedalController controller(rig.form->commands(), desktop);
        FakePedalSource source;
        QStringList told;
        FootPedals pedals(source, controller,
                          [&told](const QString &p, const PedalModel &m) { told << p + m.name; });
        const PedalModel vec = *PedalModels().find(0x05f3, 0x00ff);
        source.plug(1, vec);
        source.send(1, QByteArray("\x07\x00", 2));
        source.send(1, QByteArray("\x00\x00", 2));
        QVERIFY(!desktop.isPlaying());
        QCOMPARE(rig.engine->openCount(), 0);
        source.deny(QStringLiteral("/dev/hidraw3"), vec);
        source.deny(QStringLiteral("/dev/hidraw4"), vec);
        QCOMPARE(told, QStringList{QStringLiteral("/dev/hidraw3") + vec.name});
        const QString message = FootPedals::accessMessage(QStringLiteral("/dev/hidraw3"), vec);
        QVERIFY(message.contains(QStringLiteral("ATTRS{idVendor}==\"05f3\"")));
        QVERIFY(message.contains(QStringLiteral("ATTRS{idProduct}==\"00ff\"")));
        QVERIFY(message.contains(QStringLiteral("/dev/hidraw3")));
    }

    // The access rule lets the user read every control the program knows.
    void accessRuleCoversEveryModel()
    {
        QFile rules(sourceDir() + QStringLiteral("/packaging/udev/70-quillory-pedals.rules"));
        QVERIFY(rules.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(rules.readAll());
        for (const PedalModel &m : PedalModels::builtIn()) {
            const QString line = QStringLiteral("SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%1\", "
                                                "ATTRS{idProduct}==\"%2\", TAG+=\"uaccess\"")
                                     .arg(m.vendor, 4, 16, QLatin1Char('0'))
                                     .arg(m.product, 4, 16, QLatin1Char('0'));
            QVERIFY2(text.contains(line), qPrintable(m.name));
            // The message names the same line.
            QVERIFY(FootPedals::accessMessage(QStringLiteral("/dev/hidraw0"), m).contains(line));
        }
    }

    void hidIdLines()
    {
        std::uint16_t v = 0, p = 0;
        QVERIFY(HidrawPedalSource::parseHidId(
            QStringLiteral("DRIVER=hid-generic\nHID_ID=0003:000005F3:000000FF\nHID_NAME=VEC"), &v,
            &p));
        QCOMPARE(v, std::uint16_t(0x05f3));
        QCOMPARE(p, std::uint16_t(0x00ff));
        // Bluetooth (0005) and broken lines are not ours.
        QVERIFY(!HidrawPedalSource::parseHidId(QStringLiteral("HID_ID=0005:000005F3:000000FF"), &v,
                                               &p));
        QVERIFY(!HidrawPedalSource::parseHidId(QStringLiteral("HID_ID=0003:000005F3"), &v, &p));
        QVERIFY(
            !HidrawPedalSource::parseHidId(QStringLiteral("HID_ID=0003:0001005F3:00FF"), &v, &p));
        QVERIFY(!HidrawPedalSource::parseHidId(QString(), &v, &p));
    }

    // The real reader on a made-up device tree: a known control's node is a
    // pipe the test writes reports into; closing it is the unplug.
    void hidrawReaderFindsReadsAndLosesADevice()
    {
        QTemporaryDir dir;
        const QString sys = dir.filePath(QStringLiteral("sys"));
        const QString dev = dir.filePath(QStringLiteral("dev"));
        auto addDevice = [&](const QString &name, const QByteArray &hidId) {
            const QString folder = sys + QStringLiteral("/class/hidraw/") + name + "/device";
            QVERIFY(QDir().mkpath(folder));
            QFile uevent(folder + "/uevent");
            QVERIFY(uevent.open(QIODevice::WriteOnly));
            uevent.write("DRIVER=hid-generic\nHID_ID=" + hidId + "\n");
        };
        QVERIFY(QDir().mkpath(dev));
        addDevice(QStringLiteral("hidraw0"), "0003:0000046D:0000C52B"); // a mouse receiver
        addDevice(QStringLiteral("hidraw1"), "0003:000005F3:000000FF");
        addDevice(QStringLiteral("hidraw2"), "0003:000005F3:000000FF"); // node missing
        const QByteArray node = QFile::encodeName(dev + QStringLiteral("/hidraw1"));
        QCOMPARE(::mkfifo(node.constData(), 0600), 0);
        QCOMPARE(::mkfifo(QFile::encodeName(dev + QStringLiteral("/hidraw0")).constData(), 0600),
                 0);
        const int writer = ::open(node.constData(), O_RDWR | O_NONBLOCK);
        QVERIFY(writer >= 0);

        HidrawPedalSource source(PedalModels(), sys, dev);
        QSignalSpy added(&source, &PedalSource::deviceAdded);
        QSignalSpy reports(&source, &PedalSource::report);
        QSignalSpy removed(&source, &PedalSource::deviceRemoved);
        source.start();
        QCOMPARE(added.count(), 1);
        QCOMPARE(source.openDevices(), 1);
        QCOMPARE(added.at(0).at(1).value<PedalModel>().vendor, std::uint16_t(0x05f3));
        source.rescan(); // an open device is not opened twice
        QCOMPARE(source.openDevices(), 1);

        QCOMPARE(::write(writer, "\x02\x00", 2), 2);
        QTRY_COMPARE(reports.count(), 1);
        QCOMPARE(reports.at(0).at(1).toByteArray(), QByteArray("\x02\x00", 2));
        ::close(writer);
        QTRY_COMPARE(removed.count(), 1);
        QCOMPARE(removed.at(0).at(0).toInt(), added.at(0).at(0).toInt());
        QCOMPARE(source.openDevices(), 0);
    }
};

QTEST_MAIN(TestPedals)
#include "test_pedals.moc"
