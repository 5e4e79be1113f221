// Time display, end of the media, the file label and the clickable bar.
#include "test_form1_harness.h"

#include <QMouseEvent>

using namespace quillory;
using namespace quillory::test;

namespace {

Form1 &startWith(PlayerRig &rig, bool fullPath, const QString &rewind = QStringLiteral("3"))
{
    rig.writeSettings({"English.lng", "", "0", "5", rewind, fullPath ? "1" : "0", "", "0"});
    return rig.start();
}

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &at, Qt::MouseButton button)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

class TestForm1Display : public QObject {
    Q_OBJECT

private slots:
    void timeText_data()
    {
        QTest::addColumn<qint64>("position");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<QString>("text");
        QTest::newRow("1:23 of 10:05") << qint64(83400) << qint64(605000) << "1:23 / 10:05";
        QTest::newRow("59.7 s is 1:00") << qint64(59700) << qint64(605000) << "1:00 / 10:05";
        QTest::newRow("2.5 s to even") << qint64(2500) << qint64(605000) << "0:02 / 10:05";
        QTest::newRow("3.5 s to even") << qint64(3500) << qint64(605000) << "0:04 / 10:05";
        QTest::newRow("9 s long") << qint64(0) << qint64(9000) << "0:00 / 0:09";
        QTest::newRow("an hour") << qint64(3599500) << qint64(4000000) << "60:00 / 66:40";
    }
    void timeText()
    {
        QFETCH(qint64, position);
        QFETCH(qint64, length);
        QFETCH(QString, text);
        PlayerRig rig;
        Form1 &form = startWith(rig, false);
        rig.openAt(QStringLiteral("a.wav"), length, position);
        form.Timer1_Timer();
        QCOMPARE(form.timeText(), text);
        // The fill covers the played share of the 4635-twip bar.
        const double expectedFill = 4635.0 * double(position) / double(length);
        QVERIFY2(qAbs(form.fillWidthTwips() - expectedFill) <= 15,
                 qPrintable(QString::number(form.fillWidthTwips())));
        QVERIFY(control<QFrame>(form, "Shape1")->isVisibleTo(&form));
    }

    void fileLabel_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("points");
        QTest::newRow("lecture") << "Lecture one.mp3" << qint64(605000) << "Lecture one.mp3 - 10:05"
                                 << 11;
        QTest::newRow("9 s") << "a.wav" << qint64(9000) << "a.wav - 0:09" << 14;
        QTest::newRow("20 characters")
            << "abcdefghi.wav" << qint64(9000) << "abcdefghi.wav - 0:09" << 14;
        QTest::newRow("21 characters")
            << "abcdefghij.wav" << qint64(9000) << "abcdefghij.wav - 0:09" << 11;
        QTest::newRow("44 characters") << QString(33, QLatin1Char('x')) + ".wav" << qint64(9000)
                                       << QString(33, QLatin1Char('x')) + ".wav - 0:09" << 11;
        QTest::newRow("45 characters") << QString(34, QLatin1Char('x')) + ".wav" << qint64(9000)
                                       << QString(34, QLatin1Char('x')) + ".wav - 0:09" << 9;
    }
    void fileLabel()
    {
        QFETCH(QString, name);
        QFETCH(qint64, length);
        QFETCH(QString, caption);
        QFETCH(int, points);
        PlayerRig rig;
        Form1 &form = startWith(rig, false);
        form.OpenMediaFile(rig.mediaFile(name, length));
        QCOMPARE(form.fileLabelText(), caption);
        QCOMPARE(control<QLabel>(form, "Label4")->font().pointSize(), points);
    }

    // The toggle rebuilds the label and writes settings line 6, from the menu
    // and from a direct call (the editor's key) alike.
    void fullPathToggle()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, false);
        const QString path = rig.mediaFile(QStringLiteral("Lecture one.mp3"), 605000);
        form.OpenMediaFile(path);
        QCOMPARE(form.fileLabelText(), QStringLiteral("Lecture one.mp3 - 10:05"));

        control<QAction>(form, "mnuTitoloCompleto")->trigger();
        QVERIFY(form.showFullPath());
        const QString full = path + QStringLiteral(" - 10:05");
        QCOMPARE(form.fileLabelText(), full);
        QCOMPARE(control<QLabel>(form, "Label4")->font().pointSize(), full.size() <= 44 ? 11 : 9);
        QCOMPARE(rig.settingsLines().value(5), QStringLiteral("1"));

        form.commands().toggleFullTitle();
        QVERIFY(!form.showFullPath());
        QCOMPARE(form.fileLabelText(), QStringLiteral("Lecture one.mp3 - 10:05"));
        QCOMPARE(rig.settingsLines().value(5), QStringLiteral("0"));
        QCOMPARE(rig.settingsLines().size(), 8);
    }

    void fullPathToggleWithoutFileOnlyWritesTheSetting()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, true);
        form.mnuTitoloCompleto_Click();
        QCOMPARE(rig.settingsLines().value(5), QStringLiteral("0"));
        QVERIFY(form.fileLabelText().isEmpty());
    }

    void endOfMediaPausesAtStart()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, false);
        rig.openAt(QStringLiteral("a.wav"), 60000, 59990);
        form.Timer1_Timer();
        QCOMPARE(form.playState(), PlayState::Playing);
        rig.engine->advance(50); // the device stops at its end
        form.Timer1_Timer();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(form.playState(), PlayState::NotPlaying);
        QVERIFY(!form.displayTimerRunning());
        QCOMPARE(form.timeText(), QStringLiteral("0:00 / 1:00"));
        QCOMPARE(form.fillWidthTwips(), 0);
        // Further refreshes keep it there.
        form.Timer1_Timer();
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(form.playState(), PlayState::NotPlaying);
    }

    // A device that reports no length: no division by zero, no end detected at
    // every tick (which would toggle play and pause for ever).
    void zeroLengthIsHarmless()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, false);
        form.OpenMediaFile(rig.mediaFile(QStringLiteral("empty.wav"), 0));
        QCOMPARE(form.fileLabelText(), QStringLiteral("empty.wav - 0:00"));
        const PlayState state = form.playState();
        const int switches = rig.fakes.switcher.switches;
        for (int i = 0; i < 3; ++i)
            form.Timer1_Timer();
        QCOMPARE(form.playState(), state);
        QCOMPARE(rig.fakes.switcher.switches, switches);
        QCOMPARE(form.timeText(), QStringLiteral("0:00 / 0:00"));
        QCOMPARE(form.fillWidthTwips(), 0);
        form.Label2_MouseMove(0, 0, 2000, 0);
        QCOMPARE(form.mouseOverTime(), QStringLiteral(" 0"));
        form.Label2_Click();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
    }

    void mouseOverTime()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, false);
        rig.openAt(QStringLiteral("ten.wav"), 600000, 1000);
        QVERIFY(form.mouseOverTime().isEmpty());
        form.Label2_MouseMove(0, 0, 4635.0 / 2, 0);
        QCOMPARE(form.mouseOverTime(), QStringLiteral(" 300000"));
        form.Label2_MouseMove(0, 0, 0, 0);
        QCOMPARE(form.mouseOverTime(), QStringLiteral(" 0"));
        form.Label2_MouseMove(0, 0, 1, 0);
        QCOMPARE(form.mouseOverTime(), QStringLiteral(" 129")); // 600000 / 4635 = 129.4
    }

    // "play wav1 from " + " 300000": the double blank must still reach the device.
    void clickWhilePlayingContinuesThere()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, false);
        rig.openAt(QStringLiteral("ten.wav"), 600000, 1000);
        form.Label2_MouseMove(0, 0, 4635.0 / 2, 0);
        form.Label2_Click();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(300000));
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(form.playState(), PlayState::Playing);
        QCOMPARE(form.timeText(), QStringLiteral("5:00 / 10:00"));
    }

    void clickWhilePausedLandsRewound()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, false, QStringLiteral("3"));
        rig.openAt(QStringLiteral("ten.wav"), 600000, 1000);
        form.cmdPlay_Click();
        form.Label2_MouseMove(0, 0, 4635.0 / 2, 0);
        form.Label2_Click();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(297000));
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(form.playState(), PlayState::NotPlaying);
        QVERIFY(!form.displayTimerRunning());
        // Paused, the display shows where it rests.
        QCOMPARE(form.timeText(), QStringLiteral("4:57 / 10:00"));
    }

    // The real pointer: a move and a click in the middle of the bar.
    void pointerOnTheBar()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, false);
        rig.openAt(QStringLiteral("ten.wav"), 600000, 1000);
        const QPoint middle(control<PositionBar>(form, "Label2")->width() / 2,
                            control<PositionBar>(form, "Label2")->height() / 2);
        sendMouse(control<PositionBar>(form, "Label2"), QEvent::MouseMove, middle, Qt::NoButton);
        const qint64 hovered = form.mouseOverTime().trimmed().toLongLong();
        QVERIFY2(qAbs(hovered - 300000) <= 2000, qPrintable(form.mouseOverTime()));
        sendMouse(control<PositionBar>(form, "Label2"), QEvent::MouseButtonPress, middle,
                  Qt::LeftButton);
        sendMouse(control<PositionBar>(form, "Label2"), QEvent::MouseButtonRelease, middle,
                  Qt::LeftButton);
        QCOMPARE(rig.engine->positionMs(), hovered);
        QVERIFY(rig.engine->isPlaying());
    }
};

QTEST_MAIN(TestForm1Display)
#include "test_form1_display.moc"
