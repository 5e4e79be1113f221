// Transport: play/pause with the rewind on pause, stop, the jumps and the
// focus return after each command.
#include "session/time_format.h"
#include "test_form1_harness.h"

using namespace quillory;
using namespace quillory::test;

namespace {

Form1 &startWith(PlayerRig &rig, const QString &jump, const QString &rewind,
                 bool editorHidden = false)
{
    rig.writeSettings({"English.lng", "", "0", jump, rewind, "0", "", editorHidden ? "1" : "0"});
    return rig.start();
}

} // namespace

class TestForm1Transport : public QObject {
    Q_OBJECT

private slots:
    void pauseRewinds_data()
    {
        QTest::addColumn<QString>("rewind");
        QTest::addColumn<qint64>("pausedAt");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("3 s at 10.000") << "3" << qint64(10000) << qint64(7000);
        QTest::newRow("3 s at 2.500") << "3" << qint64(2500) << qint64(0);
        QTest::newRow("3 s at 3.000") << "3" << qint64(3000) << qint64(0);
        QTest::newRow("0 s at 4.321") << "0" << qint64(4321) << qint64(4321);
        QTest::newRow("20 s at 1:00.5") << "20" << qint64(60500) << qint64(40500);
        // Edited files may hold more than the dialog allows.
        QTest::newRow("99 s at 2:00") << "99" << qint64(120000) << qint64(21000);
        QTest::newRow("99 s at 0:50") << "99" << qint64(50000) << qint64(0);
        QTest::newRow("40 s at 3:00") << "40" << qint64(180000) << qint64(140000);
    }
    void pauseRewinds()
    {
        QFETCH(QString, rewind);
        QFETCH(qint64, pausedAt);
        QFETCH(qint64, expected);
        PlayerRig rig;
        Form1 &form = startWith(rig, "5", rewind);
        rig.openAt(QStringLiteral("a.wav"), 300000, pausedAt);
        form.Timer1_Timer();
        form.cmdPlay_Click();
        QCOMPARE(rig.engine->positionMs(), expected);
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(form.playState(), PlayState::NotPlaying);
        QVERIFY(!form.displayTimerRunning());
        // Paused, the display shows where it rests and the length.
        QCOMPARE(form.timeText(), formatTimeText(double(expected), 300000.0));

        // Play resumes exactly where the pause left the device.
        form.cmdPlay_Click();
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(form.playState(), PlayState::Playing);
        QVERIFY(form.displayTimerRunning());
        rig.engine->advance(100);
        QCOMPARE(rig.engine->positionMs(), expected + 100);
    }

    void stopRewindsToStartAndShowsTheLength()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, "5", "3");
        rig.openAt(QStringLiteral("a.wav"), 605000, 83400);
        form.Timer1_Timer();
        QVERIFY(form.fillWidthTwips() > 0);
        form.mnuStop_Click();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(form.timeText(), QStringLiteral("0:00 / 10:05"));
        QCOMPARE(form.fillWidthTwips(), 0);
        QCOMPARE(form.playState(), PlayState::NotPlaying);
        // Resting at the start, nothing moves: the display timer rests too.
        QVERIFY(!form.displayTimerRunning());
        // Play starts from the beginning.
        form.cmdPlay_Click();
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
        QCOMPARE(form.playState(), PlayState::Playing);
    }

    void stopWhilePausedLeavesTheTimerStopped()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, "5", "3");
        rig.openAt(QStringLiteral("a.wav"), 60000, 9000);
        form.cmdPlay_Click();
        control<PictureButton>(form, "CmdStop")->click();
        QVERIFY(!form.displayTimerRunning());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
        QCOMPARE(form.timeText(), QStringLiteral("0:00 / 1:00"));
    }

    void jumps_data()
    {
        QTest::addColumn<QString>("jump");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<int>("jumpAfter");
        QTest::addColumn<QString>("text");
        QTest::newRow("forward 5")
            << "5" << true << qint64(10000) << qint64(15000) << 5 << "0:15 / 1:00";
        QTest::newRow("back 5") << "5" << false << qint64(10000) << qint64(5000) << 5
                                << "0:05 / 1:00";
        QTest::newRow("0 means 2, forward")
            << "0" << true << qint64(10000) << qint64(12000) << 2 << "0:12 / 1:00";
        QTest::newRow("0 means 2, back")
            << "0" << false << qint64(10000) << qint64(8000) << 2 << "0:08 / 1:00";
        QTest::newRow("back at 0:01")
            << "5" << false << qint64(1000) << qint64(0) << 5 << "0:00 / 1:00";
        QTest::newRow("back exactly to 0")
            << "5" << false << qint64(5000) << qint64(0) << 5 << "0:00 / 1:00";
        QTest::newRow("forward near the end")
            << "5" << true << qint64(57000) << qint64(57000) << 5 << "0:57 / 1:00";
    }
    void jumps()
    {
        QFETCH(QString, jump);
        QFETCH(bool, forward);
        QFETCH(qint64, from);
        QFETCH(qint64, expected);
        QFETCH(int, jumpAfter);
        QFETCH(QString, text);
        PlayerRig rig;
        Form1 &form = startWith(rig, jump, "3");
        rig.openAt(QStringLiteral("a.wav"), 60000, from);
        if (forward)
            form.cmdAvanz_click();
        else
            form.cmdIndietro_Click();
        QCOMPARE(rig.engine->positionMs(), expected);
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(form.jumpSeconds(), jumpAfter);
        QCOMPARE(form.playState(), PlayState::Playing);
        // The display was refreshed at once.
        QCOMPARE(form.timeText(), text);
    }

    // A jump while paused moves and stays paused, and shows where it went;
    // Play/Pause then plays from there.
    void jumpWhilePausedMovesAndStaysPaused()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, "5", "0");
        rig.openAt(QStringLiteral("a.wav"), 60000, 20000);
        form.cmdPlay_Click();
        control<QAction>(form, "mnuAvanti")->trigger();
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(25000));
        QCOMPARE(form.playState(), PlayState::NotPlaying);
        QVERIFY(!form.displayTimerRunning());
        QCOMPARE(form.timeText(), QStringLiteral("0:25 / 1:00"));
        control<QAction>(form, "mnuPlay")->trigger();
        QVERIFY(rig.engine->isPlaying());
        QVERIFY(form.displayTimerRunning());
        rig.engine->advance(1000);
        control<QAction>(form, "mnuPlay")->trigger();
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(26000));
    }

    void focusReturn_data()
    {
        QTest::addColumn<bool>("editorHidden");
        QTest::newRow("editor hidden: one switch per command") << true;
        QTest::newRow("editor visible: no switch") << false;
    }
    void focusReturn()
    {
        QFETCH(bool, editorHidden);
        PlayerRig rig;
        Form1 &form = startWith(rig, "5", "3", editorHidden);
        rig.openAt(QStringLiteral("a.wav"), 60000, 20000);
        const int perCommand = editorHidden ? 1 : 0;
        int before = rig.fakes.switcher.switches;
        form.cmdPlay_Click();
        QCOMPARE(rig.fakes.switcher.switches - before, perCommand);
        before = rig.fakes.switcher.switches;
        form.cmdPlay_Click();
        QCOMPARE(rig.fakes.switcher.switches - before, perCommand);
        before = rig.fakes.switcher.switches;
        form.cmdAvanz_click();
        QCOMPARE(rig.fakes.switcher.switches - before, perCommand);
        before = rig.fakes.switcher.switches;
        form.cmdIndietro_Click();
        QCOMPARE(rig.fakes.switcher.switches - before, perCommand);
        if (!editorHidden) {
            // The editor window is brought back even when the player was active.
            form.activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(&form));
            form.cmdAvanz_click();
            QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(editorOf(form)));
        }
        // Stop makes no focus return.
        before = rig.fakes.switcher.switches;
        form.mnuStop_Click();
        QCOMPARE(rig.fakes.switcher.switches - before, 0);
    }
};

QTEST_MAIN(TestForm1Transport)
#include "test_form1_transport.moc"
