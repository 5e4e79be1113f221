// The player's volume knob on a desktop whose sound runs through a sound server:
// ALSA's default mixer is the server's, so the knob sets the default sink's volume.
#include "platform/mixer/alsa_mixer.h"
#include "support/private_pulse.h"
#include "test_form1_harness.h"

using namespace quillory;
using namespace quillory::test;

class TestForm1VolumeOnPulse : public QObject {
    Q_OBJECT

    PrivatePulse m_pulse;
    QString m_noPulse;

    std::vector<std::unique_ptr<AlsaMixer>> m_mixers; // one a player, outliving it

    // A player on the real default mixer, with fakes for everything else.
    Form1 &startPlayer(PlayerRig &rig)
    {
        m_mixers.push_back(std::make_unique<AlsaMixer>());
        Services services = rig.fakes.services();
        services.mixer = m_mixers.back().get();
        rig.create(services);
        rig.form->Form_Load(QString());
        return *rig.form;
    }

private slots:
    void initTestCase()
    {
        AlsaMixer::silenceLibraryErrors();
        m_noPulse = m_pulse.start();
        if (m_noPulse.isEmpty() && !AlsaMixer("pulse").open())
            m_noPulse = QStringLiteral("ALSA's pulse plugin (libasound2-plugins) is not installed");
    }

    void knobFollowsAndSetsTheDefaultSink()
    {
        if (!m_noPulse.isEmpty())
            QSKIP(qPrintable(m_noPulse));
        QVERIFY(m_pulse.setSinkVolume(26214)); // 40%

        // A first start leaves the system's volume as it is and shows it.
        PlayerRig rig;
        Form1 &form = startPlayer(rig);
        QVERIFY(rig.fakes.messages.shown.isEmpty());
        QCOMPARE(form.volumePanel().volumeMax(), 65536);
        QCOMPARE(m_pulse.sinkVolumes(), QList<long>({26214, 26214}));
        QCOMPARE(form.volumePanel().Label5->text(), QStringLiteral(" 40%"));
        QCOMPARE(form.volumePanel().volumeTag(), QStringLiteral("26214"));

        // Track clicks at the top, the middle and the bottom.
        QTest::mouseClick(form.volumePanel().Image2, Qt::LeftButton, Qt::NoModifier, QPoint(3, 0));
        QCOMPARE(m_pulse.sinkVolumes(), QList<long>({65536, 65536}));
        QCOMPARE(form.volumePanel().Label5->text(), QStringLiteral(" 100%"));
        QTest::mouseClick(form.volumePanel().Image2, Qt::LeftButton, Qt::NoModifier, QPoint(3, 40));
        QCOMPARE(m_pulse.sinkVolumes(), QList<long>({32768, 32768}));
        QCOMPARE(form.volumePanel().Label5->text(), QStringLiteral(" 50%"));
        QTest::mouseClick(form.volumePanel().Image2, Qt::LeftButton, Qt::NoModifier, QPoint(3, 79));
        QCOMPARE(m_pulse.sinkVolumes(), QList<long>({0, 0}));
        QCOMPARE(form.volumePanel().Label5->text(), QStringLiteral(" 0%"));

        // A drag with the knob to the top of the track.
        form.volumePanel().Image1_MouseDown(1, 100, 100);
        form.volumePanel().Image1_MouseMove(1, 100, -3000);
        form.volumePanel().Timer2_Timer();
        form.volumePanel().Image1_MouseUp(1, 100, -3000);
        QCOMPARE(m_pulse.sinkVolumes(), QList<long>({65536, 65536}));

        // The knob is kept across a restart and applied again.
        QTest::mouseClick(form.volumePanel().Image2, Qt::LeftButton, Qt::NoModifier, QPoint(3, 40));
        QVERIFY(!form.Form_Unload());
        QCOMPARE(rig.settingsLines().mid(1, 2), QStringList({"32768", "862.5"}));
        const QByteArray written = rig.settingsBytes();
        QVERIFY(m_pulse.setSinkVolume(5000));
        PlayerRig next;
        next.home.write(QStringLiteral("Quillory.ini"), written);
        Form1 &again = startPlayer(next);
        QCOMPARE(again.volumePanel().volumeKnobTop(), 862.5);
        QCOMPARE(m_pulse.sinkVolumes(), QList<long>({32768, 32768}));
        QCOMPARE(again.volumePanel().Label5->text(), QStringLiteral(" 50%"));
    }
};

QTEST_MAIN(TestForm1VolumeOnPulse)
#include "test_form1_volume_on_pulse.moc"
