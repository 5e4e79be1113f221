// The media session: opening (also from the command line), failed opens,
// replacing and closing the one file under the alias wav1.
#include "test_form1_harness.h"

using namespace quillory;
using namespace quillory::test;

class TestForm1MediaSession : public QObject {
    Q_OBJECT

private:
    static void verifyOpenAndPlaying(PlayerRig &rig, const QString &path)
    {
        Form1 &form = *rig.form;
        QCOMPARE(rig.engine->openPath(), path);
        QCOMPARE(rig.media.alias(), QStringLiteral("wav1"));
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(form.playState(), PlayState::Playing);
        QVERIFY(form.displayTimerRunning());
        QCOMPARE(form.session().tickInterval(), 10);
        QCOMPARE(form.mediaPath(), path);
        QVERIFY(control<QLabel>(form, "Label4")->isVisibleTo(&form));
        QVERIFY(control<QFrame>(form, "Shape3")->isVisibleTo(&form));
        for (QAction *a : controls<QAction>(
                 form, {"mnuChiudi", "mnuPlay", "mnuStop", "mnuAvanti", "mnuIndietro"}))
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
        for (PictureButton *w :
             controls<PictureButton>(form, {"cmdPlay", "CmdStop", "CmdAvanz", "cmdIndietro"}))
            QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    }

private slots:
    void openPathsThatNeedQuoting_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("blanks") << "my lectures/Lecture one.mp3";
        QTest::newRow("double quote") << "say \"hello\".wav";
        QTest::newRow("alias word") << "x ALIAS y.wav";
    }
    void openPathsThatNeedQuoting()
    {
        QFETCH(QString, name);
        PlayerRig rig;
        Form1 &form = rig.start();
        const QString path = rig.mediaFile(name, 605000);
        form.OpenMediaFile(path);
        QVERIFY(rig.fakes.messages.shown.isEmpty());
        verifyOpenAndPlaying(rig, path);
        QVERIFY(form.fileLabelText().endsWith(QStringLiteral(" - 10:05")));
    }

    void commandLineFileIsOpenedAtStart()
    {
        PlayerRig rig;
        const QString path = rig.mediaFile(QStringLiteral("two words.wav"));
        rig.start(path);
        verifyOpenAndPlaying(rig, path);
        QCOMPARE(rig.form->recentList().caption(0), path);
    }

    void blankCommandLineOpensNothing()
    {
        PlayerRig rig;
        rig.start(QStringLiteral("   "));
        QCOMPARE(rig.engine->openCount(), 0);
        QVERIFY(rig.fakes.messages.shown.isEmpty());
        QVERIFY(rig.fakes.fileDialogs.requests.isEmpty());
    }

    // The media interface's own text, no icon, OK only, then the Exit command.
    void failedOpenShowsTheErrorAndEnds()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        const QString path = rig.mediaFile(QStringLiteral("notes.txt"));
        rig.engine->setOpenError(path, MediaError::InvalidFile);
        form.OpenMediaFile(path);
        QCOMPARE(rig.fakes.messages.shown.size(), 1);
        const ShownMessage &m = rig.fakes.messages.shown[0];
        QCOMPARE(m.text, mediaErrorText(toCode(MediaError::InvalidFile)));
        QVERIFY(!m.text.isEmpty());
        QCOMPARE(m.buttons, MsgButtons::Ok);
        QCOMPARE(m.icon, MsgIcon::None);
        QCOMPARE(m.title, QStringLiteral("Quillory"));
        QCOMPARE(rig.endCount(), 1);
        QVERIFY(!rig.settingsExist());
    }

    // With modified text the Exit command asks first; Cancel keeps the program
    // running with the transport disabled.
    void failedOpenWithModifiedTextAsksFirst()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        editorOf(form)->setDocumentModified(true);
        const QString path = rig.mediaFile(QStringLiteral("broken.wav"));
        rig.engine->setOpenError(path, MediaError::CannotLoadDriver);
        rig.fakes.messages.answers = {MsgResult::Ok, MsgResult::Cancel};
        form.OpenMediaFile(path);
        QCOMPARE(rig.fakes.messages.shown.size(), 2);
        QCOMPARE(rig.fakes.messages.shown[0].text,
                 mediaErrorText(toCode(MediaError::CannotLoadDriver)));
        QCOMPARE(rig.fakes.messages.shown[1].buttons, MsgButtons::YesNoCancel);
        QCOMPARE(rig.endCount(), 0);
        QVERIFY(!rig.engine->isOpen());
        // Commands to the device that is not there fail silently.
        form.cmdPlay_Click();
        form.cmdAvanz_click();
        form.mnuStop_Click();
        form.Timer1_Timer();
        QCOMPARE(rig.fakes.messages.shown.size(), 2);
        QCOMPARE(form.CurPos(), 0.0);
    }

    void secondOpenWhilePlayingIsPausedAtStart()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        rig.openAt(QStringLiteral("first.wav"), 60000, 20000);
        form.setPauseRewindSeconds(3);
        const QString second = rig.mediaFile(QStringLiteral("second.wav"), 90000);
        form.OpenMediaFile(second);
        QCOMPARE(rig.engine->openPath(), second);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(form.playState(), PlayState::NotPlaying);
        QVERIFY(!form.displayTimerRunning());
        QVERIFY(form.fileLabelText().endsWith(QStringLiteral("second.wav - 1:30")));
        // The next Play/Pause plays it from the start.
        form.cmdPlay_Click();
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
    }

    void secondOpenWhilePausedPlays()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        rig.openAt(QStringLiteral("first.wav"), 60000, 20000);
        form.cmdPlay_Click();
        const QString second = rig.mediaFile(QStringLiteral("second.wav"), 90000);
        form.OpenMediaFile(second);
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
        QCOMPARE(form.playState(), PlayState::Playing);
    }

    void closeWhilePlayingResetsTheDisplay()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        rig.openAt(QStringLiteral("a.wav"), 60000, 30000);
        form.Timer1_Timer();
        QCOMPARE(form.timeText(), QStringLiteral("0:30 / 1:00"));
        form.mnuChiudi_Click();
        QVERIFY(!rig.engine->isOpen());
        QVERIFY(!form.displayTimerRunning());
        QCOMPARE(form.playState(), PlayState::NotPlaying);
        QCOMPARE(form.timeText(), QStringLiteral("0:00 / 0:00"));
        QVERIFY(control<QLabel>(form, "Label4")->isHidden());
        QVERIFY(control<QFrame>(form, "Shape3")->isHidden());
        QVERIFY(control<QFrame>(form, "Shape1")->isHidden());
        for (QAction *a : controls<QAction>(
                 form, {"mnuChiudi", "mnuPlay", "mnuStop", "mnuAvanti", "mnuIndietro"}))
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
        for (PictureButton *w :
             controls<PictureButton>(form, {"cmdPlay", "CmdStop", "CmdAvanz", "cmdIndietro"}))
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        QCOMPARE(form.CurPos(), 0.0);
        // The path stays current: the recent list and title still know it.
        QVERIFY(!form.mediaPath().isEmpty());
    }
};

QTEST_MAIN(TestForm1MediaSession)
#include "test_form1_media_session.moc"
