// The player's volume slider on a fake mixer: knob, track, readout, start-up and
// settings lines 2 and 3.
#include "platform/geometry/twips.h"
#include "test_form1_harness.h"

#include <QMouseEvent>

using namespace quillory;
using namespace quillory::test;

namespace {

Form1 &startWith(PlayerRig &rig, const QString &level, const QString &knobTop,
                 bool editorHidden = false)
{
    rig.writeSettings({"English.lng", level, knobTop, "5", "3", "1", "", editorHidden ? "1" : "0"});
    return rig.start();
}

const QColor Red(255, 0, 0);
const QColor White(255, 255, 255);

void sendMouse(QWidget *w, QEvent::Type type, QPointF at, Qt::MouseButton button,
               Qt::MouseButtons held)
{
    QMouseEvent event(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

class TestForm1Volume : public QObject {
    Q_OBJECT

private slots:
    void trackClickSetsTheMasterVolume_data()
    {
        QTest::addColumn<int>("yPixels");
        QTest::addColumn<double>("knobTop");
        QTest::addColumn<long>("value");
        QTest::addColumn<QString>("readout");
        QTest::newRow("top") << 0 << 360.0 << 65535L << " 100%";
        QTest::newRow("middle") << 40 << 862.5 << 32767L << " 50%";
        QTest::newRow("bottom") << 79 << 1365.0 << 0L << " 0%";
    }
    void trackClickSetsTheMasterVolume()
    {
        QFETCH(int, yPixels);
        QFETCH(double, knobTop);
        QFETCH(long, value);
        QFETCH(QString, readout);
        PlayerRig rig;
        Form1 &form = startWith(rig, "20000", "900");
        rig.fakes.mixer.sets.clear();
        QTest::mouseClick(form.volumePanel().Image2, Qt::LeftButton, Qt::NoModifier,
                          QPoint(3, yPixels));
        QCOMPARE(form.volumePanel().volumeKnobTop(), knobTop);
        QCOMPARE(form.volumePanel().Image1->y(), twipsToPixels(knobTop));
        QCOMPARE(form.volumePanel().volumeTag(), QString::number(value));
        QCOMPARE(form.volumePanel().Label5->text(), readout);
        QCOMPARE(rig.fakes.mixer.value(), value);
        QCOMPARE(rig.fakes.mixer.sets.size(), 1);
        // The knob's state is what the settings file gets.
        form.SaveSettings();
        QCOMPARE(rig.settingsLines().value(1), QString::number(value));
        QCOMPARE(rig.settingsLines().value(2), QString::number(knobTop));
    }

    // The "+" and "-" marks lie over the ends of the track; a click there reaches
    // the track (or the knob sitting on it).
    void marksDoNotHideTheTrackEnds()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, "32767", "862.5");
        QWidget *client = form.centralWidget();
        const int x = form.volumePanel().Image2->geometry().center().x();
        for (int y : {form.volumePanel().Image2->geometry().top(),
                      form.volumePanel().Image2->geometry().bottom()}) {
            QWidget *under = client->childAt(x, y);
            QVERIFY2(under == form.volumePanel().Image2 || under == form.volumePanel().Image1,
                     qPrintable(under ? under->objectName() : QStringLiteral("nothing")));
        }
    }

    void dragMovesTheKnobWithTheVolume()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, "32767", "862.5");
        rig.fakes.mixer.sets.clear();
        form.volumePanel().Image1_MouseDown(1, 100, 100);
        QVERIFY(form.volumePanel().Timer2.isActive());
        QCOMPARE(form.volumePanel().Timer2.interval(), 10);
        // Far above the track: the knob climbs to the top and no further.
        form.volumePanel().Image1_MouseMove(1, 100, -3000);
        QCOMPARE(rig.fakes.mixer.sets.last().second, 32767L); // applies the tag as it is
        form.volumePanel().Timer2_Timer();
        QCOMPARE(form.volumePanel().volumeKnobTop(), 360.0);
        QCOMPARE(form.volumePanel().volumeTag(), QStringLiteral("65535"));
        form.volumePanel().Timer2_Timer();
        QCOMPARE(form.volumePanel().volumeTag(), QStringLiteral("65535"));
        form.volumePanel().Image1_MouseUp(1, 100, -3000);
        QVERIFY(!form.volumePanel().Timer2.isActive());
        QCOMPARE(rig.fakes.mixer.value(), 65535L);
        QCOMPARE(form.volumePanel().Label5->text(), QStringLiteral(" 100%"));

        // A drag with the right button leaves the knob where it is.
        form.volumePanel().Image1_MouseDown(2, 100, 100);
        form.volumePanel().Image1_MouseMove(2, 100, 3000);
        form.volumePanel().Timer2_Timer();
        QCOMPARE(form.volumePanel().volumeKnobTop(), 360.0);
        form.volumePanel().Image1_MouseUp(2, 100, 3000);
        QCOMPARE(rig.fakes.mixer.value(), 65535L);
    }

    // Real pointer events: press on the knob, move below the track with the button
    // held, and the drag timer brings the knob down to the bottom.
    void dragWithThePointer()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, "32767", "862.5");
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QPointF centre(form.volumePanel().Image1->width() / 2.0,
                             form.volumePanel().Image1->height() / 2.0);
        sendMouse(form.volumePanel().Image1, QEvent::MouseButtonPress, centre, Qt::LeftButton,
                  Qt::LeftButton);
        sendMouse(form.volumePanel().Image1, QEvent::MouseMove, centre + QPointF(0, 200),
                  Qt::NoButton, Qt::LeftButton);
        QTRY_COMPARE(form.volumePanel().volumeKnobTop(), 1365.0);
        QCOMPARE(form.volumePanel().volumeTag(), QStringLiteral("0"));
        sendMouse(form.volumePanel().Image1, QEvent::MouseButtonRelease, centre, Qt::LeftButton,
                  Qt::NoButton);
        QVERIFY(!form.volumePanel().Timer2.isActive());
        QCOMPARE(rig.fakes.mixer.value(), 0L);
        QCOMPARE(form.volumePanel().Label5->text(), QStringLiteral(" 0%"));
    }

    void readoutFlashesAndFades()
    {
        PlayerRig rig;
        Form1 &form = startWith(rig, "32767", "862.5");
        QCOMPARE(form.volumePanel().readoutColor(), White);
        form.volumePanel().Image2_MouseDown(1, 45, 600);
        QCOMPARE(form.volumePanel().readoutColor(), Red);
        form.volumePanel().Image2_MouseMove(1, 45, 600);
        QVERIFY(form.volumePanel().Timer3.isActive());
        QCOMPARE(form.volumePanel().Timer3.interval(), 100);
        form.volumePanel().Image2_MouseUp(1, 45, 600);
        for (int tick = 1; tick <= 17; ++tick) {
            form.volumePanel().Timer3_Timer();
            QCOMPARE(form.volumePanel().readoutColor(),
                     QColor(255, (tick - 1) * 15, (tick - 1) * 15));
        }
        QVERIFY(form.volumePanel().Timer3.isActive());
        form.volumePanel().Timer3_Timer();
        QCOMPARE(form.volumePanel().readoutColor(), White);
        QVERIFY(!form.volumePanel().Timer3.isActive());

        // Touching the knob restarts the sequence from red.
        form.volumePanel().Image1_MouseMove(0, 100, 100);
        QVERIFY(form.volumePanel().Timer3.isActive());
        form.volumePanel().Timer3_Timer();
        QCOMPARE(form.volumePanel().readoutColor(), Red);
    }

    // Hovering the knob re-applies the volume and gives the focus back: to the
    // editor when it is shown, else to the previous application.
    void touchingTheSliderReturnsTheFocus_data()
    {
        QTest::addColumn<bool>("editorHidden");
        QTest::newRow("editor hidden") << true;
        QTest::newRow("editor shown") << false;
    }
    void touchingTheSliderReturnsTheFocus()
    {
        QFETCH(bool, editorHidden);
        PlayerRig rig;
        Form1 &form = startWith(rig, "40000", "700", editorHidden);
        const int perTouch = editorHidden ? 1 : 0;
        rig.fakes.mixer.sets.clear();
        int before = rig.fakes.switcher.switches;
        form.volumePanel().Image1_MouseMove(0, 100, 100);
        QCOMPARE(rig.fakes.switcher.switches - before, perTouch);
        QCOMPARE(rig.fakes.mixer.sets.size(), 1);
        QCOMPARE(rig.fakes.mixer.value(), 40000L);
        before = rig.fakes.switcher.switches;
        form.volumePanel().Image1_MouseUp(1, 100, 100);
        QCOMPARE(rig.fakes.switcher.switches - before, perTouch);
        before = rig.fakes.switcher.switches;
        form.volumePanel().Image2_MouseUp(1, 45, 300);
        QCOMPARE(rig.fakes.switcher.switches - before, perTouch);
        if (!editorHidden) {
            form.activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(&form));
            form.volumePanel().Image2_MouseUp(1, 45, 300);
            QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(editorOf(form)));
        }
    }

    // A first start changes nobody's volume: the knob shows the system's.
    void firstStartShowsTheSystemVolume()
    {
        PlayerRig rig;
        rig.fakes.mixer.values[{QStringLiteral("Master"), 0}] = 16384;
        Form1 &form = rig.start();
        QVERIFY(rig.fakes.mixer.sets.isEmpty());
        QCOMPARE(form.volumePanel().volumeTag(), QStringLiteral("16384"));
        QCOMPARE(form.volumePanel().Label5->text(), QStringLiteral(" 25%"));
        // Three quarters of the way down the track.
        QCOMPARE(form.volumePanel().volumeKnobTop(), 1114.0);
        QVERIFY(form.volumePanel().volumeKnobTop() >= 360 &&
                form.volumePanel().volumeKnobTop() <= 1365);
        QVERIFY(rig.fakes.messages.shown.isEmpty());

        // Closing writes the knob; the next start applies what was written.
        QVERIFY(!form.Form_Unload());
        QCOMPARE(rig.settingsLines().mid(1, 2), QStringList({"16384", "1114"}));
        const QByteArray written = rig.settingsBytes();
        PlayerRig next;
        next.fakes.mixer.values[{QStringLiteral("Master"), 0}] = 60000;
        next.home.write(QStringLiteral("Quillory.ini"), written);
        Form1 &again = next.start();
        QCOMPARE(again.volumePanel().volumeKnobTop(), 1114.0);
        QCOMPARE(again.volumePanel().volumeTag(), QStringLiteral("16384"));
        QCOMPARE(next.fakes.mixer.sets.size(), 1);
        QCOMPARE(next.fakes.mixer.value(), 16384L);
    }

    void storedLinesTwoAndThree_data()
    {
        QTest::addColumn<QString>("line2");
        QTest::addColumn<QString>("line3");
        QTest::addColumn<double>("knobTop");
        QTest::addColumn<long>("applied"); // -1: nothing set
        QTest::addColumn<QString>("tag");
        QTest::newRow("both") << "30000"
                              << "700" << 700.0 << 30000L << "30000";
        QTest::newRow("fraction of a twip") << "0"
                                            << "1365.5" << 1365.5 << 0L << "0";
        QTest::newRow("knob off the track") << "65535"
                                            << "0" << 360.0 << 65535L << "65535";
        QTest::newRow("knob not a number") << "0"
                                           << "low" << 1365.0 << 0L << "0";
        QTest::newRow("empty level") << ""
                                     << "700" << 611.0 << -1L << "49151";
        QTest::newRow("level not a number") << "loud"
                                            << "700" << 611.0 << -1L << "49151";
        QTest::newRow("level beyond the control") << "99999"
                                                  << "700" << 611.0 << -1L << "49151";
    }
    void storedLinesTwoAndThree()
    {
        QFETCH(QString, line2);
        QFETCH(QString, line3);
        QFETCH(double, knobTop);
        QFETCH(long, applied);
        QFETCH(QString, tag);
        PlayerRig rig;
        Form1 &form = startWith(rig, line2, line3);
        QCOMPARE(form.volumePanel().volumeKnobTop(), knobTop);
        QCOMPARE(form.volumePanel().volumeTag(), tag);
        if (applied < 0) {
            QVERIFY(rig.fakes.mixer.sets.isEmpty());
        } else {
            QCOMPARE(rig.fakes.mixer.sets.size(), 1);
            QCOMPARE(rig.fakes.mixer.value(), applied);
        }
    }

    // The command line's file is opened before the stored volume is applied.
    void volumeIsAppliedAfterTheCommandLineFile()
    {
        PlayerRig rig;
        rig.writeSettings({"English.lng", "1000", "1300", "5", "3", "1", "", "0"});
        const QString path = rig.mediaFile(QStringLiteral("talk.wav"));
        Form1 &form = rig.create();
        QStringList openAtSet;
        rig.fakes.mixer.whileSetting = [&] { openAtSet << form.mediaPath(); };
        rig.start(path);
        QCOMPARE(openAtSet, QStringList({path}));
        QCOMPARE(rig.fakes.mixer.value(), 1000L);
    }

    void withoutAMixerOneMessageThenSilence()
    {
        PlayerRig rig;
        rig.fakes.mixer.opens = false;
        Form1 &form = startWith(rig, "30000", "700");
        QCOMPARE(rig.fakes.messages.shown.size(), 1);
        const ShownMessage &m = rig.fakes.messages.shown.first();
        QCOMPARE(m.text, rig.T(29));
        QVERIFY(!m.text.isEmpty());
        QCOMPARE(m.buttons, MsgButtons::Ok);
        QCOMPARE(m.icon, MsgIcon::None);
        QCOMPARE(form.volumePanel().volumeMax(), 0);

        form.volumePanel().Image2_MouseDown(1, 45, 0);
        form.volumePanel().Image2_MouseUp(1, 45, 0);
        form.volumePanel().Image1_MouseDown(1, 100, 100);
        form.volumePanel().Image1_MouseMove(1, 100, 900);
        form.volumePanel().Timer2_Timer();
        form.volumePanel().Image1_MouseUp(1, 100, 900);
        QVERIFY(rig.fakes.mixer.sets.isEmpty());
        QCOMPARE(rig.fakes.messages.shown.size(), 1);
        QCOMPARE(form.volumePanel().Label5->text(), QStringLiteral("100%")); // as designed
        // The stored level is not turned into a muted system for the next start.
        form.SaveSettings();
        QCOMPARE(rig.settingsLines().mid(1, 2), QStringList({"30000", "700"}));
    }

    void aMixerWithoutVolumeControlIsLeftAlone()
    {
        PlayerRig rig;
        rig.fakes.mixer.elements = {{QStringLiteral("Capture"), 0, 0, 0}};
        Form1 &form = startWith(rig, "30000", "700");
        QVERIFY(rig.fakes.messages.shown.isEmpty());
        form.volumePanel().Image2_MouseUp(1, 45, 600);
        form.volumePanel().Image1_MouseMove(0, 100, 100);
        QVERIFY(rig.fakes.mixer.sets.isEmpty());
        QCOMPARE(form.volumePanel().volumeMax(), 0);
    }
};

QTEST_MAIN(TestForm1Volume)
#include "test_form1_volume.moc"
