// Playback speed and the loop on the player window: the commands, their menu
// items, keys and display, and how they meet the transport, all in media time.
#include "i18n/captions.h"
#include "platform/files/preferences.h"
#include "test_form1_harness.h"

using namespace quillory;
using namespace quillory::test;

namespace {

// Jump 5 s, rewind 3 s on pause; `preferences` are the lines of Preferences.ini.
Form1 &startWith(PlayerRig &rig, const QStringList &preferences = {},
                 const QString &language = QStringLiteral("English.lng"), bool editorHidden = false)
{
    rig.writeSettings({language, "", "0", "5", "3", "0", "", editorHidden ? "1" : "0"});
    QByteArray bytes;
    for (const QString &line : preferences)
        bytes += line.toUtf8() + "\r\n";
    rig.home.write(QStringLiteral("Preferences.ini"), bytes);
    return rig.start();
}

QStringList preferenceLines(const PlayerRig &rig)
{
    return QString::fromUtf8(rig.home.read(QStringLiteral("Preferences.ini")))
        .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

QList<QAction *> playbackMenuTail(Form1 &form, int n)
{
    const QList<QAction *> all = control<QMenu>(form, "mnuRiproduzione")->actions();
    return all.mid(all.size() - n);
}

} // namespace

class TestForm1Speed : public QObject {
    Q_OBJECT

private slots:
    void menuItemsEndThePlaybackMenuWithTheirKeys()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig);
        const QList<QAction *> tail = playbackMenuTail(form, 5);
        QVERIFY(tail[0]->isSeparator());
        QCOMPARE(tail[1], control<QAction>(form, "mnuPiuLento"));
        QCOMPARE(tail[2], control<QAction>(form, "mnuPiuVeloce"));
        QCOMPARE(tail[3], control<QAction>(form, "mnuVelocitaNormale"));
        QCOMPARE(tail[4], control<QAction>(form, "mnuCiclo"));
        QCOMPARE(control<QAction>(form, "mnuPiuLento")->shortcut(), QKeySequence(Qt::Key_F10));
        QCOMPARE(control<QAction>(form, "mnuPiuVeloce")->shortcut(), QKeySequence(Qt::Key_F12));
        QCOMPARE(control<QAction>(form, "mnuVelocitaNormale")->shortcut(),
                 QKeySequence(Qt::SHIFT | Qt::Key_F12));
        QCOMPARE(control<QAction>(form, "mnuCiclo")->shortcut(), QKeySequence(Qt::Key_F4));
        QVERIFY(control<QAction>(form, "mnuCiclo")->isCheckable());
        QCOMPARE(control<QAction>(form, "mnuPiuVeloce")->text(), QStringLiteral("Fas&ter"));
        // The loop needs a file; the speed can be chosen before one is open.
        QVERIFY(!control<QAction>(form, "mnuCiclo")->isEnabled());
        QVERIFY(control<QAction>(form, "mnuPiuVeloce")->isEnabled());
        rig.openAt(QStringLiteral("a.wav"), 60000, 1000);
        QVERIFY(control<QAction>(form, "mnuCiclo")->isEnabled());
        form.mnuChiudi_Click();
        QVERIFY(!control<QAction>(form, "mnuCiclo")->isEnabled());
    }

    void keysComeFromThePreferences()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, {"keys.speedUp=Alt+Up", "keys.loop=F5"});
        QCOMPARE(control<QAction>(form, "mnuPiuVeloce")->shortcut(),
                 QKeySequence(Qt::ALT | Qt::Key_Up));
        QCOMPARE(control<QAction>(form, "mnuCiclo")->shortcut(),
                 QKeySequence(Qt::Key_F4)); // F5 is Play's
        // Only the Play item carries F5.
        int onF5 = 0;
        for (QAction *a : form.findChildren<QAction *>())
            onF5 += a->shortcut() == QKeySequence(Qt::Key_F5) ? 1 : 0;
        QCOMPARE(onF5, 1);
    }

    void captionsFollowTheLanguage()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, {}, QStringLiteral("Italiano.lng"));
        QCOMPARE(control<QAction>(form, "mnuPiuLento")->text(), QStringLiteral("Più &lento"));
        QCOMPARE(control<QAction>(form, "mnuCiclo")->text(),
                 QStringLiteral("Ripeti in &ciclo gli ultimi secondi"));
        // Every language has its own texts for all of them.
        const QStringList keys = {"speed.slower", "speed.faster",   "speed.normal", "speed.name",
                                  "loop.menu",    "loop.indicator", "loop.tooltip"};
        const QStringList languages = {"English", "Italiano", "Deutsch",
                                       QString::fromUtf8("Español"), "French"};
        for (const QString &language : languages) {
            Captions captions;
            captions.loadFromText(QString::fromUtf8(
                rig.home.read(QStringLiteral("Lang/") + language + QStringLiteral(".captions"))));
            for (const QString &key : keys)
                QVERIFY2(captions.text(key, QString()) != QString(),
                         qPrintable(language + QStringLiteral(": ") + key));
        }
    }

    void speedStepsAreShownAndKeptForTheNextStart()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, {"# mine", "timestamp.format=2"});
        QVERIFY(form.playbackSpeed().isNormal());
        QVERIFY(!control<QLabel>(form, "lblVelocita")->isVisibleTo(&form));
        control<QAction>(form, "mnuPiuLento")->trigger();
        control<QAction>(form, "mnuPiuLento")->trigger();
        QCOMPARE(rig.engine->speed(), 0.9);
        QVERIFY(control<QLabel>(form, "lblVelocita")->isVisibleTo(&form));
        QCOMPARE(control<QLabel>(form, "lblVelocita")->text(), QStringLiteral("0.90x"));
        QCOMPARE(control<QLabel>(form, "lblVelocita")->accessibleName(),
                 QStringLiteral("Speed 0.90x"));
        // Written at once, beside the other features' lines.
        QCOMPARE(preferenceLines(rig),
                 QStringList({"# mine", "timestamp.format=2", "speed.value=0.90"}));
        form.speedLoopMenu().normalSpeed();
        QCOMPARE(rig.engine->speed(), 1.0);
        QVERIFY(!control<QLabel>(form, "lblVelocita")->isVisibleTo(&form));
        for (int i = 0; i < 50; ++i)
            form.speedLoopMenu().faster();
        QCOMPARE(rig.engine->speed(), 3.0);
        QCOMPARE(control<QLabel>(form, "lblVelocita")->text(), QStringLiteral("3.00x"));
        QVERIFY(preferenceLines(rig).contains(QStringLiteral("speed.value=3.00")));
        // Quillory.ini keeps its eight lines.
        form.SaveSettings();
        QCOMPARE(rig.settingsLines().size(), 8);

        PlayerRig again;
        Form1 &second = startWith(again, {"speed.value=0.50"});
        QCOMPARE(again.engine->speed(), 0.5);
        QCOMPARE(control<QLabel>(second, "lblVelocita")->text(), QStringLiteral("0.50x"));
        QVERIFY(control<QLabel>(second, "lblVelocita")->isVisibleTo(&second));
    }

    void badStoredValuesGiveDefaults_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not a number") << QByteArray("speed.value=slow\r\nloop.seconds=x\r\n");
        QTest::newRow("out of range") << QByteArray("speed.value=9\r\nloop.seconds=600\r\n");
        QTest::newRow("binary") << QByteArray("\x00\xff\x13speed.value=\x01\x02\r\n\xfe\xfe", 22);
    }
    void badStoredValuesGiveDefaults()
    {
        QFETCH(QByteArray, bytes);
        PlayerRig rig;
        rig.home.write(QStringLiteral("Preferences.ini"), bytes);
        rig.writeSettings({"English.lng", "", "0", "5", "3", "0", "", "0"});
        Form1 &form = rig.start();
        QVERIFY(form.playbackSpeed().isNormal());
        QCOMPARE(rig.engine->speed(), 1.0);
        rig.openAt(QStringLiteral("a.wav"), 60000, 30000);
        form.speedLoopMenu().toggleLoop();
        QVERIFY(rig.engine->isLooping());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(25000)); // the default 5 s
    }

    void rewindJumpsAndBarStayInMediaTime()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, {"speed.value=0.5"});
        const QString path = rig.mediaFile(QStringLiteral("a.wav"), 120000);
        form.OpenMediaFile(path);
        rig.engine->advance(20000); // 20 s of listening at half speed
        QCOMPARE(rig.engine->positionMs(), std::int64_t(10000));
        form.cmdPlay_Click(); // pause: 3 s of the recording back
        QCOMPARE(rig.engine->positionMs(), std::int64_t(7000));
        form.cmdPlay_Click();
        rig.engine->advance(1234);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(7617));
        form.cmdIndietro_Click();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(2617));
        form.cmdAvanz_click();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(7617));
        // At 2x the same pause goes back the same 3 s of the recording.
        form.speedLoopMenu().normalSpeed();
        for (int i = 0; i < 20; ++i)
            form.speedLoopMenu().faster();
        rig.engine->advance(5000);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(17617));
        form.cmdPlay_Click();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(14617));
    }

    void speedCarriesOverToTheNextFile()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig);
        rig.openAt(QStringLiteral("a.wav"), 60000, 1000);
        form.speedLoopMenu().slower();
        const QString second = rig.mediaFile(QStringLiteral("b.wav"), 60000);
        form.OpenMediaFile(second);
        form.cmdPlay_Click(); // the open left it paused (it was playing)
        QCOMPARE(rig.engine->openPath(), second);
        QCOMPARE(rig.engine->speed(), 0.95);
        rig.engine->advance(2000);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(1900));
        QCOMPARE(control<QLabel>(form, "lblVelocita")->text(), QStringLiteral("0.95x"));
    }

    void loopPlaysTheLastSecondsWithoutDrift()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig);
        rig.openAt(QStringLiteral("a.wav"), 120000, 20000);
        QVERIFY(!control<QLabel>(form, "lblCiclo")->isVisibleTo(&form));
        form.speedLoopMenu().toggleLoop();
        QVERIFY(rig.engine->isLooping());
        QVERIFY(form.loopOn());
        QVERIFY(control<QAction>(form, "mnuCiclo")->isChecked());
        QVERIFY(control<QLabel>(form, "lblCiclo")->isVisibleTo(&form));
        QCOMPARE(control<QLabel>(form, "lblCiclo")->text(), QStringLiteral("Loop"));
        QCOMPARE(rig.engine->positionMs(), std::int64_t(15000));
        QVERIFY(rig.engine->isPlaying());
        // A minute: twelve passes of 5 s, each from exactly the same start.
        for (int pass = 1; pass <= 12; ++pass) {
            rig.engine->advance(2500);
            QCOMPARE(rig.engine->positionMs(), std::int64_t(17500));
            rig.engine->advance(2500);
            QCOMPARE(rig.engine->positionMs(), std::int64_t(15000));
            QCOMPARE(rig.engine->loopPasses(), pass);
            form.Timer1_Timer();
            QCOMPARE(form.timeText(), QStringLiteral("0:15 / 2:00"));
        }
        QCOMPARE(form.playState(), PlayState::Playing);
        QVERIFY(form.displayTimerRunning());
        // The same key ends it; playback goes on past the loop's end.
        control<QAction>(form, "mnuCiclo")->trigger();
        QVERIFY(!rig.engine->isLooping());
        QVERIFY(!control<QAction>(form, "mnuCiclo")->isChecked());
        QVERIFY(!control<QLabel>(form, "lblCiclo")->isVisibleTo(&form));
        rig.engine->advance(6000);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(21000));
        QCOMPARE(form.playState(), PlayState::Playing);
    }

    void loopAtHalfSpeedKeepsMediaTime()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, {"speed.value=0.5", "loop.seconds=4"});
        rig.openAt(QStringLiteral("a.wav"), 120000, 20000); // 10 s of media
        form.speedLoopMenu().toggleLoop();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(6000));
        // Each 4 s pass takes 8 s to hear; fifteen of them make two minutes.
        rig.engine->advance(120000);
        QCOMPARE(rig.engine->loopPasses(), 15);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(6000));
        rig.engine->advance(3000);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(7500));
    }

    void playPauseEndsTheLoopWithTheUsualRewind()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig);
        rig.openAt(QStringLiteral("a.wav"), 120000, 20000);
        form.speedLoopMenu().toggleLoop();
        rig.engine->advance(7000); // one pass and 2 s
        QCOMPARE(rig.engine->positionMs(), std::int64_t(17000));
        form.cmdPlay_Click();
        QVERIFY(!rig.engine->isLooping());
        QVERIFY(!control<QLabel>(form, "lblCiclo")->isVisibleTo(&form));
        QCOMPARE(rig.engine->positionMs(), std::int64_t(14000));
        QCOMPARE(form.playState(), PlayState::NotPlaying);
        // Playing again runs on past the old loop's end.
        form.cmdPlay_Click();
        rig.engine->advance(10000);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(24000));
    }

    void loopFromAPauseStartsPlaying()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig);
        rig.openAt(QStringLiteral("a.wav"), 120000, 10000);
        form.cmdPlay_Click(); // paused at 7 s
        QCOMPARE(form.playState(), PlayState::NotPlaying);
        form.speedLoopMenu().toggleLoop();
        QVERIFY(rig.engine->isLooping());
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(2000));
        QCOMPARE(form.playState(), PlayState::Playing);
        QVERIFY(form.displayTimerRunning());
        QVERIFY(control<QFrame>(form, "Shape1")->isVisibleTo(&form));
        rig.engine->advance(5000);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(2000));
    }

    void loopNearTheStart()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig);
        rig.openAt(QStringLiteral("a.wav"), 120000, 3000);
        form.speedLoopMenu().toggleLoop();
        QVERIFY(rig.engine->isLooping());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
        rig.engine->advance(3000);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
        form.speedLoopMenu().toggleLoop();
        QVERIFY(!rig.engine->isLooping());

        // At the very start there is nothing to go over: nothing happens.
        form.mnuStop_Click();
        form.speedLoopMenu().toggleLoop();
        QVERIFY(!rig.engine->isLooping());
        QVERIFY(!control<QAction>(form, "mnuCiclo")->isChecked());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
    }

    void loopWithoutAFileDoesNothing()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig);
        form.speedLoopMenu().toggleLoop();
        QVERIFY(!form.loopOn());
        QVERIFY(!control<QLabel>(form, "lblCiclo")->isVisibleTo(&form));
        QCOMPARE(rig.engine->openCount(), 0);
    }

    void otherCommandsEndTheLoop_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<qint64>("position"); // after the command and 1 s more
        QTest::addColumn<bool>("playing");
        // The loop is [15 s, 20 s]; the command comes at 17 s.
        QTest::newRow("jump back") << "back" << qint64(13000) << true;
        QTest::newRow("jump forward") << "forward" << qint64(23000) << true;
        QTest::newRow("stop") << "stop" << qint64(1000) << true;
        QTest::newRow("bar click") << "bar" << qint64(61000) << true;
        // Like a bookmark's double click: from the bookmark less the rewind.
        QTest::newRow("next bookmark") << "bookmark" << qint64(38000) << true;
        QTest::newRow("another file") << "open" << qint64(0) << false;
        QTest::newRow("close") << "close" << qint64(0) << false;
        QTest::newRow("speed change keeps it") << "faster" << qint64(18050) << true;
    }
    void otherCommandsEndTheLoop()
    {
        QFETCH(QString, command);
        QFETCH(qint64, position);
        QFETCH(bool, playing);
        PlayerRig rig;
        Form1 &form = startWith(rig);
        rig.openAt(QStringLiteral("a.wav"), 120000, 20000);
        form.bookmarkEntries().append(
            BookmarkLine::make(BookmarkLine::label(40000, QStringLiteral("Chorus")), 40000));
        form.speedLoopMenu().toggleLoop();
        rig.engine->advance(2000);
        if (command == "back") {
            form.cmdIndietro_Click();
        } else if (command == "forward") {
            form.cmdAvanz_click();
        } else if (command == "stop") {
            form.mnuStop_Click();
            form.cmdPlay_Click();
        } else if (command == "bar") {
            form.Label2_MouseMove(1, 0, control<PositionBar>(form, "Label2")->width() * 15 / 2.0,
                                  0);
            form.Label2_Click();
        } else if (command == "bookmark") {
            form.mnuBMsuccessivo_Click();
        } else if (command == "open") {
            form.OpenMediaFile(rig.mediaFile(QStringLiteral("b.wav"), 90000));
        } else if (command == "close") {
            form.mnuChiudi_Click();
        } else if (command == "faster") {
            form.speedLoopMenu().faster();
        }
        const bool stillLooping = command == "faster";
        QCOMPARE(rig.engine->isLooping(), stillLooping);
        QCOMPARE(control<QLabel>(form, "lblCiclo")->isVisibleTo(&form), stillLooping);
        QCOMPARE(control<QAction>(form, "mnuCiclo")->isChecked(), stillLooping);
        rig.engine->advance(1000);
        QCOMPARE(qint64(rig.engine->positionMs()), position);
        QCOMPARE(rig.engine->isPlaying(), playing);
    }

    void focusGoesBackAfterEachCommand()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, {}, QStringLiteral("English.lng"), true);
        rig.openAt(QStringLiteral("a.wav"), 60000, 20000);
        int before = rig.fakes.switcher.switches;
        form.speedLoopMenu().slower();
        form.speedLoopMenu().faster();
        form.speedLoopMenu().normalSpeed();
        QCOMPARE(rig.fakes.switcher.switches - before, 3);
        // Starting a loop from a pause returns the focus once, not twice.
        form.cmdPlay_Click();
        before = rig.fakes.switcher.switches;
        form.speedLoopMenu().toggleLoop();
        QCOMPARE(rig.fakes.switcher.switches - before, 1);
        form.speedLoopMenu().toggleLoop();
        QCOMPARE(rig.fakes.switcher.switches - before, 2);
    }
};

QTEST_MAIN(TestForm1Speed)
#include "test_form1_speed.moc"
