// ALSA's simple mixer as the master volume: on a private PulseAudio server (the
// way a desktop's sound server is reached) and without any mixer at all.
#include "platform/mixer/alsa_mixer.h"
#include "player/volume.h"
#include "support/private_pulse.h"

#include <QtTest>

using namespace quillory;
using namespace quillory::test;

class TestAlsaMixer : public QObject {
    Q_OBJECT

    PrivatePulse m_pulse;
    QString m_noPulse; // why the server tests skip

private slots:
    void initTestCase()
    {
        AlsaMixer::silenceLibraryErrors();
        // Before anything in this process touches ALSA.
        m_noPulse = m_pulse.start();
    }

    void missingMixerIsReportedAndInert()
    {
        AlsaMixer mixer("quillory_no_such_mixer");
        QVERIFY(!mixer.open());
        QVERIFY(!mixer.open()); // asked once, answered the same
        QVERIFY(mixer.playbackVolumes().empty());
        const MixerElement master{QStringLiteral("Master"), 0, 0, 65536};
        QVERIFY(!mixer.setPlaybackVolume(master, 100));
        QVERIFY(!mixer.playbackVolume(master));
        VolumeControl control;
        QVERIFY(!GetVolumeControl(mixer, &control));
        QCOMPARE(control.rawMaximum(), 0);
    }

    // Opened on a worker thread, the mixer gives the same answers, whichever
    // call comes first.
    void openingInTheBackgroundGivesTheSameAnswer()
    {
        AlsaMixer missing("quillory_no_such_mixer");
        missing.openInBackground();
        missing.openInBackground();
        QVERIFY(missing.playbackVolumes().empty());
        QVERIFY(!missing.open());
        {
            AlsaMixer abandoned("quillory_no_such_mixer");
            abandoned.openInBackground(); // destroyed while opening
        }
        if (!m_noPulse.isEmpty())
            QSKIP(qPrintable(m_noPulse));
        if (!AlsaMixer("pulse").open())
            QSKIP("ALSA's pulse plugin (libasound2-plugins) is not installed");
        AlsaMixer mixer;
        mixer.openInBackground();
        QVERIFY(mixer.open());
        VolumeControl control;
        QVERIFY(GetVolumeControl(mixer, &control));
        QCOMPARE(control.element.name, QStringLiteral("Master"));
        AlsaMixer firstRead;
        firstRead.openInBackground();
        QVERIFY(!firstRead.playbackVolumes().empty()); // waits for the open
        QVERIFY(firstRead.open());
    }

    void defaultMixerIsTheSoundServersSink()
    {
        if (!m_noPulse.isEmpty())
            QSKIP(qPrintable(m_noPulse));
        if (!AlsaMixer("pulse").open())
            QSKIP("ALSA's pulse plugin (libasound2-plugins) is not installed");
        AlsaMixer mixer;
        QVERIFY(mixer.open());
        VolumeControl control;
        QVERIFY(GetVolumeControl(mixer, &control));
        QCOMPARE(control.element.name, QStringLiteral("Master"));
        QCOMPARE(control.rawMaximum(), 65536); // the server's 100%

        QVERIFY(SetVolumeControl(mixer, control, 32768));
        QCOMPARE(m_pulse.sinkVolumes(), QList<long>({32768, 32768})); // every channel
        QCOMPARE(GetVolumeValue(mixer, control), std::optional<std::int32_t>(32768));
        QVERIFY(SetVolumeControl(mixer, control, 0));
        QCOMPARE(m_pulse.sinkVolumes(), QList<long>({0, 0}));
        QVERIFY(SetVolumeControl(mixer, control, 65536));
        QCOMPARE(m_pulse.sinkVolumes(), QList<long>({65536, 65536}));

        // A change made by someone else reaches the mixer (the server tells it a
        // moment later).
        QVERIFY(m_pulse.setSinkVolume(20000));
        QTRY_COMPARE(GetVolumeValue(mixer, control), std::optional<std::int32_t>(20000));

        // Values outside the range never reach the server.
        const MixerElement master = control.element;
        QVERIFY(!mixer.setPlaybackVolume(master, 70000));
        QVERIFY(!mixer.setPlaybackVolume(master, -1));
        QCOMPARE(m_pulse.sinkVolumes(), QList<long>({20000, 20000}));
    }
};

QTEST_GUILESS_MAIN(TestAlsaMixer)
#include "test_alsa_mixer.moc"
