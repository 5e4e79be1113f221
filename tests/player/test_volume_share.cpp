// The volume as a share of the slider's range, as desktop media controls read
// and set it, and the slider moved to a share.
#include "player/test_form1_harness.h"
#include "player/volume.h"

using namespace quillory;
using namespace quillory::test;

class TestVolumeShare : public QObject {
    Q_OBJECT

private slots:
    void sharesAndRawValues()
    {
        QCOMPARE(volumeFraction(0, 65535), std::optional<double>(0.0));
        QCOMPARE(volumeFraction(65535, 65535), std::optional<double>(1.0));
        QCOMPARE(volumeFraction(100, 400), std::optional<double>(0.25));
        QCOMPARE(volumeFraction(500, 400), std::optional<double>(1.0)); // kept within
        QVERIFY(!volumeFraction(10, 0).has_value());

        QCOMPARE(volumeValueForFraction(0.5, 65535), std::int64_t(32768)); // nearest
        QCOMPARE(volumeValueForFraction(0.25, 400), std::int64_t(100));
        QCOMPARE(volumeValueForFraction(1.5, 400), std::int64_t(400));
        QCOMPARE(volumeValueForFraction(-1, 400), std::int64_t(0));
        QCOMPARE(volumeValueForFraction(std::nan(""), 400), std::int64_t(0));
        QCOMPARE(volumeValueForFraction(0.5, 0), std::int64_t(0));
        for (std::int64_t value : {0, 1, 99, 32767, 65535})
            QCOMPARE(volumeValueForFraction(*volumeFraction(value, 65535), 65535), value);
    }

    void theSliderMovesToAShare()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        MasterVolumePanel &panel = form.volumePanel();
        QVERIFY(panel.volumeFraction().has_value());
        const int knobBefore = panel.Image1->y();
        panel.setVolumeFraction(0.25);
        QCOMPARE(rig.fakes.mixer.value(), 16384);
        QCOMPARE(*panel.volumeFraction(), 16384.0 / 65535.0);
        QCOMPARE(panel.volumeTag(), QStringLiteral("16384"));
        const int knobQuarter = panel.Image1->y();
        QVERIFY(knobQuarter != knobBefore);
        panel.setVolumeFraction(1.0);
        QCOMPARE(rig.fakes.mixer.value(), 65535);
        QVERIFY(panel.Image1->y() < knobQuarter); // louder is higher on the track
    }

    void withoutAMixerNothingMoves()
    {
        PlayerRig rig;
        rig.fakes.mixer.opens = false;
        Form1 &form = rig.start();
        MasterVolumePanel &panel = form.volumePanel();
        QVERIFY(!panel.volumeFraction().has_value());
        const int knob = panel.Image1->y();
        panel.setVolumeFraction(0.25);
        QCOMPARE(panel.Image1->y(), knob);
        QVERIFY(rig.fakes.mixer.sets.isEmpty());
    }
};

QTEST_MAIN(TestVolumeShare)
#include "test_volume_share.moc"
