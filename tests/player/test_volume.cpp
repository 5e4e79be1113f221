// The master volume module and the slider's rules, without a window.
#include "player/volume.h"
#include "player/volume_slider.h"
#include "support/fakes.h"

#include <QtTest>

using namespace quillory;
using namespace quillory::test;

namespace {

// The slider as designed: track top 360, height 1200; knob 375 x 195.
VolumeSlider designSlider()
{
    VolumeSlider s;
    s.placeTrack(4545, 360, 90, 1200, 375, 195);
    return s;
}

} // namespace

class TestVolume : public QObject {
    Q_OBJECT

private slots:
    void knobPositionGivesValue_data()
    {
        QTest::addColumn<double>("knobTop");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::newRow("top") << 360.0 << 65535 << 65535;
        QTest::newRow("bottom") << 1365.0 << 65535 << 0;
        QTest::newRow("middle, odd range") << 862.5 << 65535 << 32767;
        QTest::newRow("middle, even range") << 862.5 << 65536 << 32768;
        QTest::newRow("a quarter down") << 611.25 << 100 << 75;
        // Off the track the rule's absolute value would climb again below the
        // bottom and pass the maximum above the top.
        QTest::newRow("above the track") << 300.0 << 65535 << 65535;
        QTest::newRow("far below the track") << 2500.0 << 65535 << 0;
        QTest::newRow("no control") << 360.0 << 0 << 0;
    }
    void knobPositionGivesValue()
    {
        QFETCH(double, knobTop);
        QFETCH(int, maximum);
        QFETCH(int, value);
        VolumeSlider s = designSlider();
        s.setKnobTop(knobTop);
        QCOMPARE(s.valueFor(maximum), value);
    }

    void centringAndPlacingByValue()
    {
        VolumeSlider s = designSlider();
        s.centre();
        QCOMPARE(s.knobTop(), 862.5);
        QCOMPARE(s.knobLeft(), 4402.5);
        QCOMPARE(s.valueFor(65535), 32767);

        s.placeAtValue(65535, 65535);
        QCOMPARE(s.knobTop(), 360.0);
        s.placeAtValue(0, 65535);
        QCOMPARE(s.knobTop(), 1365.0);
        s.placeAtValue(99999, 65535); // beyond the range: at the top, not above it
        QCOMPARE(s.knobTop(), 360.0);
        // Whole twips; the rule read back is within one twip's worth of the value.
        s.placeAtValue(20000, 65536);
        QCOMPARE(s.knobTop(), std::nearbyint(s.knobTop()));
        QVERIFY(std::abs(s.valueFor(65536) - 20000) <= 65536 / 1005 + 1);
        s.placeAtValue(5, 0);
        QCOMPARE(s.knobTop(), 862.5);
    }

    void dragFollowsThePointerOnTheTrack()
    {
        VolumeSlider s = designSlider();
        s.setKnobTop(1230);
        // The pointer 100 twips into the knob: the centre settles about 10 below it.
        const double target = s.dragTarget(100);
        QCOMPARE(target, 980.0);
        QVERIFY(s.dragTowards(target));
        QCOMPARE(s.knobTop(), 1242.0); // 1242.5, half to even
        QVERIFY(std::abs(s.knobTop() + 97.5 - (1230 + 100) - 10) <= 1);
        QVERIFY(!s.dragTowards(target)); // already there
        QVERIFY(s.dragTowards(981));
        QCOMPARE(s.knobTop(), 1244.0); // 1243.5, half to even

        // Pulled far past the bottom: the knob's bottom on the track's.
        QVERIFY(s.dragTowards(s.dragTarget(5000)));
        QCOMPARE(s.knobTop(), 1365.0);
        QCOMPARE(s.valueFor(65535), 0);
    }

    // The highest target lands a twip above the track; the knob stays on it and
    // the value stays at the control's maximum.
    void dragToTheTopNeverOvershoots()
    {
        VolumeSlider s = designSlider();
        s.setKnobTop(700);
        const double target = s.dragTarget(-5000);
        QCOMPARE(target, static_cast<double>(360.0f - static_cast<float>(1.35 * 195)));
        s.dragTowards(target);
        QCOMPARE(s.knobTop(), 360.0);
        QCOMPARE(s.valueFor(65535), 65535);
    }

    void trackClickCentresTheKnobOnThePointer()
    {
        VolumeSlider s = designSlider();
        s.clickAt(0);
        QCOMPARE(s.knobTop(), 360.0);
        s.clickAt(1200);
        QCOMPARE(s.knobTop(), 1365.0);
        s.clickAt(600);
        QCOMPARE(s.knobTop(), 862.5);
        QCOMPARE(s.valueFor(65535), 32767);
    }

    void readoutFadesToWhiteInEighteenTicks()
    {
        ReadoutFade fade;
        bool finished = true;
        QCOMPARE(fade.tick(&finished), 0); // pure red on the first tick
        QVERIFY(!finished);
        for (int i = 2; i <= 17; ++i) {
            QCOMPARE(fade.tick(&finished), (i - 1) * 15);
            QVERIFY(!finished);
        }
        QCOMPARE(fade.tick(&finished), 255);
        QVERIFY(finished);
        QCOMPARE(fade.level(), ReadoutFade::Touched);

        // A touch in the middle starts the sequence again.
        for (int i = 0; i < 5; ++i)
            fade.tick(&finished);
        fade.touch();
        QCOMPARE(fade.tick(&finished), 0);
    }

    void percentText()
    {
        QCOMPARE(volumePercentText(65535, 65535), std::optional<QString>(" 100%"));
        QCOMPARE(volumePercentText(0, 65535), std::optional<QString>(" 0%"));
        QCOMPARE(volumePercentText(32767, 65535), std::optional<QString>(" 50%"));
        QCOMPARE(volumePercentText(32768, 65536), std::optional<QString>(" 50%"));
        QCOMPARE(volumePercentText(20, 87), std::optional<QString>(" 23%"));
        QCOMPARE(volumePercentText(-65535, 65535), std::optional<QString>("-100%"));
        QVERIFY(!volumePercentText(10, 0));
        // A huge tag gives a huge number, not an overflow.
        QVERIFY(volumePercentText(999999999999999999, 1)->endsWith(QLatin1Char('%')));
    }

    void tagText()
    {
        QCOMPARE(volumeFromTag("32767"), std::optional<std::int64_t>(32767));
        QCOMPARE(volumeFromTag(" 42 "), std::optional<std::int64_t>(42));
        for (const char *bad : {"", " ", "12a", "-5", "1.5", "+3", "1 2", "9999999999999999999"})
            QVERIFY2(!volumeFromTag(QString::fromLatin1(bad)), bad);
    }

    void masterIsPreferredElseTheFirstPlaybackVolume()
    {
        FakeMixer mixer;
        mixer.elements = {{"PCM", 0, 0, 255}, {"Master", 0, 0, 65535}, {"Speaker", 0, 0, 31}};
        VolumeControl control;
        QVERIFY(GetVolumeControl(mixer, &control));
        QCOMPARE(control.element.name, QStringLiteral("Master"));
        QCOMPARE(control.rawMaximum(), 65535);

        mixer.elements = {{"Master", 0, 0, 0}, {"PCM", 0, 0, 255}, {"Speaker", 0, 0, 31}};
        control = VolumeControl();
        QVERIFY(GetVolumeControl(mixer, &control));
        QCOMPARE(control.element.name, QStringLiteral("PCM")); // an empty range is no control
        QCOMPARE(control.rawMaximum(), 255);

        mixer.elements.clear();
        control = VolumeControl();
        QVERIFY(!GetVolumeControl(mixer, &control));
        QVERIFY(!control.found);
        QCOMPARE(control.rawMaximum(), 0);
    }

    // A range that does not start at 0 is shifted so that VolumeMax is its width.
    void valuesAreSetWithinTheRangeOnly()
    {
        FakeMixer mixer;
        mixer.elements = {{"Master", 0, 10, 110}};
        mixer.values = {{{"Master", 0}, 60}};
        VolumeControl control;
        QVERIFY(GetVolumeControl(mixer, &control));
        QCOMPARE(control.rawMaximum(), 100);
        QCOMPARE(GetVolumeValue(mixer, control), std::optional<std::int32_t>(50));

        QVERIFY(SetVolumeControl(mixer, control, 30));
        QVERIFY(SetVolumeControl(mixer, control, 500));
        QVERIFY(SetVolumeControl(mixer, control, -3));
        const QList<std::pair<QString, long>> expected = {
            {"Master", 40}, {"Master", 110}, {"Master", 10}};
        QCOMPARE(mixer.sets, expected);

        mixer.refusesValues = true;
        QVERIFY(!SetVolumeControl(mixer, control, 30));
    }

    void withoutAControlNothingReachesTheMixer()
    {
        FakeMixer mixer;
        const VolumeControl none;
        QVERIFY(!SetVolumeControl(mixer, none, 0));
        QVERIFY(!SetVolumeControl(mixer, none, 32767));
        QVERIFY(mixer.sets.isEmpty());
        QVERIFY(!GetVolumeValue(mixer, none));
    }
};

QTEST_APPLESS_MAIN(TestVolume)
#include "test_volume.moc"
