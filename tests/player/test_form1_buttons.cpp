// Button pictures and hover states, the sinking open button, missing pictures.
#include "platform/geometry/twips.h"
#include "test_form1_harness.h"

#include <QMouseEvent>

using namespace quillory;
using namespace quillory::test;

namespace {

void moveOver(QWidget *target)
{
    const QPoint at(target->width() / 2, target->height() / 2);
    QMouseEvent event(QEvent::MouseMove, QPointF(at), QPointF(target->mapToGlobal(at)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

class TestForm1Buttons : public QObject {
    Q_OBJECT

private:
    static QString picture(const PlayerRig &rig, const char *name)
    {
        return rig.home.file(QStringLiteral("Files/") + QLatin1String(name));
    }

private slots:
    void designPicturesAtStart()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        QCOMPARE(control<PictureButton>(form, "cmdPlay")->picturePath(), picture(rig, "play.jpg"));
        QCOMPARE(control<PictureButton>(form, "cmdIndietro")->picturePath(),
                 picture(rig, "bac.jpg"));
        QCOMPARE(control<PictureButton>(form, "CmdStop")->picturePath(), picture(rig, "stop.jpg"));
        QCOMPARE(control<PictureButton>(form, "CmdAvanz")->picturePath(), picture(rig, "for.jpg"));
        QCOMPARE(control<PictureButton>(form, "Image3")->picturePath(), picture(rig, "Apri.bmp"));
        for (PictureButton *b :
             {control<PictureButton>(form, "cmdPlay"), control<PictureButton>(form, "cmdIndietro"),
              control<PictureButton>(form, "CmdStop"), control<PictureButton>(form, "CmdAvanz"),
              control<PictureButton>(form, "Image3")})
            QVERIFY2(b->hasPicture(), qPrintable(b->objectName()));
    }

    // One hover picture at a time: moving from button to button swaps them
    // without passing over the window.
    void hoverMovesFromButtonToButton()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        rig.openAt(QStringLiteral("a.wav"), 60000, 1000);
        form.cmdPlay_Click();
        moveOver(control<PictureButton>(form, "cmdPlay"));
        QCOMPARE(control<PictureButton>(form, "cmdPlay")->picturePath(), picture(rig, "play2.jpg"));
        QVERIFY(form.isHovered(1));
        moveOver(control<PictureButton>(form, "CmdStop"));
        QCOMPARE(control<PictureButton>(form, "CmdStop")->picturePath(), picture(rig, "stop2.jpg"));
        QCOMPARE(control<PictureButton>(form, "cmdPlay")->picturePath(), picture(rig, "play.jpg"));
        QVERIFY(!form.isHovered(1));
        moveOver(control<PictureButton>(form, "CmdAvanz"));
        QCOMPARE(control<PictureButton>(form, "CmdAvanz")->picturePath(), picture(rig, "for2.jpg"));
        QCOMPARE(control<PictureButton>(form, "CmdStop")->picturePath(), picture(rig, "stop.jpg"));
        moveOver(control<PictureButton>(form, "cmdIndietro"));
        QCOMPARE(control<PictureButton>(form, "cmdIndietro")->picturePath(),
                 picture(rig, "bac2.jpg"));
        QCOMPARE(control<PictureButton>(form, "CmdAvanz")->picturePath(), picture(rig, "for.jpg"));
        // A hovered button keeps its picture until the window is crossed.
        moveOver(control<PictureButton>(form, "cmdIndietro"));
        QCOMPARE(control<PictureButton>(form, "cmdIndietro")->picturePath(),
                 picture(rig, "bac2.jpg"));
        moveOver(form.centralWidget());
        QCOMPARE(control<PictureButton>(form, "cmdIndietro")->picturePath(),
                 picture(rig, "bac.jpg"));
        for (int b = 0; b < 5; ++b)
            QVERIFY(!form.isHovered(b));
    }

    // Disabled buttons take no pointer moves: over them the window counts.
    void disabledButtonCountsAsTheWindow()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        const QPoint home = control<PictureButton>(form, "Image3")->pos();
        moveOver(control<PictureButton>(form, "Image3"));
        QVERIFY(control<PictureButton>(form, "Image3")->pos() != home);
        QVERIFY(!control<PictureButton>(form, "CmdStop")->isEnabled());
        QMouseEvent event(QEvent::MouseMove,
                          QPointF(control<PictureButton>(form, "CmdStop")->geometry().center()),
                          QPointF(form.centralWidget()->mapToGlobal(
                              control<PictureButton>(form, "CmdStop")->geometry().center())),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(form.centralWidget(), &event);
        QVERIFY(!form.isHovered(4));
        QVERIFY(!form.isHovered(0));
        QCOMPARE(control<PictureButton>(form, "Image3")->pos(), home);
        QCOMPARE(control<PictureButton>(form, "CmdStop")->picturePath(), picture(rig, "stop.jpg"));
    }

    void playPictureFollowsPlayState()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        rig.openAt(QStringLiteral("a.wav"), 60000, 1000);
        QCOMPARE(form.playState(), PlayState::Playing);
        QCOMPARE(control<PictureButton>(form, "cmdPlay")->picturePath(), picture(rig, "pause.jpg"));
        moveOver(control<PictureButton>(form, "cmdPlay"));
        QCOMPARE(control<PictureButton>(form, "cmdPlay")->picturePath(),
                 picture(rig, "pause2.jpg"));
        // Pausing while hovered shows the play hover picture.
        control<PictureButton>(form, "cmdPlay")->click();
        QCOMPARE(form.playState(), PlayState::NotPlaying);
        QCOMPARE(control<PictureButton>(form, "cmdPlay")->picturePath(), picture(rig, "play2.jpg"));
        control<PictureButton>(form, "cmdPlay")->click();
        moveOver(form.centralWidget());
        QCOMPARE(control<PictureButton>(form, "cmdPlay")->picturePath(), picture(rig, "pause.jpg"));
        // The end of the media puts the play picture back.
        rig.engine->advance(60000);
        form.Timer1_Timer();
        QCOMPARE(control<PictureButton>(form, "cmdPlay")->picturePath(), picture(rig, "play.jpg"));
    }

    void openButtonSinksOnce()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        const QPoint home = control<PictureButton>(form, "Image3")->pos();
        QCOMPARE(home, twipsRect(330, 1290, 660, 570).topLeft());
        const QPoint pressed = twipsRect(350, 1310, 660, 570).topLeft();
        QVERIFY(pressed != home);
        moveOver(control<PictureButton>(form, "Image3"));
        QCOMPARE(control<PictureButton>(form, "Image3")->pos(), pressed);
        QCOMPARE(control<PictureButton>(form, "Image3")->picturePath(), picture(rig, "Apri2.bmp"));
        moveOver(control<PictureButton>(form, "Image3"));
        QCOMPARE(control<PictureButton>(form, "Image3")->pos(), pressed);
        // Over another (enabled) button it stays down, with its normal picture.
        rig.fakes.fileDialogs.choose(rig.mediaFile(QStringLiteral("a.wav")));
        form.mnuApri_Click();
        moveOver(control<PictureButton>(form, "Image3"));
        moveOver(control<PictureButton>(form, "cmdPlay"));
        QCOMPARE(control<PictureButton>(form, "Image3")->picturePath(), picture(rig, "Apri.bmp"));
        moveOver(form.centralWidget());
        QCOMPARE(control<PictureButton>(form, "Image3")->pos(), home);
    }

    void openButtonClick_data()
    {
        QTest::addColumn<bool>("chooseFile");
        QTest::newRow("dialog cancelled") << false;
        QTest::newRow("file chosen") << true;
    }
    void openButtonClick()
    {
        QFETCH(bool, chooseFile);
        PlayerRig rig;
        Form1 &form = rig.start();
        const QPoint home = control<PictureButton>(form, "Image3")->pos();
        if (chooseFile)
            rig.fakes.fileDialogs.choose(rig.mediaFile(QStringLiteral("a.wav")));
        moveOver(control<PictureButton>(form, "Image3"));
        control<PictureButton>(form, "Image3")->click();
        QCOMPARE(rig.fakes.fileDialogs.requests.size(), 1);
        QVERIFY(!form.isHovered(0));
        QCOMPARE(control<PictureButton>(form, "Image3")->picturePath(), picture(rig, "Apri.bmp"));
        QCOMPARE(rig.engine->isOpen(), chooseFile);
        if (chooseFile)
            QCOMPARE(control<PictureButton>(form, "Image3")->pos(), home);
        // Hovering again after the click sinks it again (or keeps it sunk).
        moveOver(control<PictureButton>(form, "Image3"));
        QVERIFY(form.isHovered(0));
        QCOMPARE(control<PictureButton>(form, "Image3")->pos(),
                 twipsRect(350, 1310, 660, 570).topLeft());
    }

    // A lost picture file leaves a button that still draws and works.
    void missingPictureLeavesAUsableButton()
    {
        PlayerRig rig;
        QVERIFY(QFile::remove(rig.home.file("Files/play.jpg")));
        QVERIFY(QFile::remove(rig.home.file("Files/Apri2.bmp")));
        Form1 &form = rig.start();
        QVERIFY(!control<PictureButton>(form, "cmdPlay")->hasPicture());
        QVERIFY(!control<PictureButton>(form, "cmdPlay")->grab().isNull());
        moveOver(control<PictureButton>(form, "Image3"));
        QVERIFY(!control<PictureButton>(form, "Image3")->hasPicture());
        QVERIFY(!control<PictureButton>(form, "Image3")->grab().isNull());
        rig.openAt(QStringLiteral("a.wav"), 60000, 5000);
        control<PictureButton>(form, "cmdPlay")->click();
        QCOMPARE(form.playState(), PlayState::NotPlaying);
        QVERIFY(!control<PictureButton>(form, "cmdPlay")->hasPicture());
        control<PictureButton>(form, "cmdPlay")->click();
        QCOMPARE(form.playState(), PlayState::Playing);
        QVERIFY(rig.engine->isPlaying());
        QVERIFY(!form.grab().isNull());
    }

    void transportButtonsRunTheirCommands()
    {
        PlayerRig rig;
        rig.writeSettings({"English.lng", "", "0", "5", "0", "1", "", "0"});
        Form1 &form = rig.start();
        rig.openAt(QStringLiteral("a.wav"), 60000, 20000);
        control<PictureButton>(form, "CmdAvanz")->click();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(25000));
        control<PictureButton>(form, "cmdIndietro")->click();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(20000));
        control<PictureButton>(form, "CmdStop")->click();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
        QCOMPARE(form.timeText(), QStringLiteral("0:00 / 1:00"));
    }
};

QTEST_MAIN(TestForm1Buttons)
#include "test_form1_buttons.moc"
