// The player's speed and loop keys while typing in the transcript.
#include "editor_rig.h"
#include "platform/files/preferences.h"

#include <QtTest>

using namespace quillory;
using namespace quillory::test;

class TestForm2PlaybackKeys : public QObject {
    Q_OBJECT

private slots:
    void defaultKeysReachThePlayerAndTypeNothing()
    {
        EditorRig rig;
        rig.type(QStringLiteral("Good morning"));
        QTest::keyClick(&rig.rtb(), Qt::Key_F10);
        QTest::keyClick(&rig.rtb(), Qt::Key_F12);
        QTest::keyClick(&rig.rtb(), Qt::Key_F12, Qt::ShiftModifier);
        QTest::keyClick(&rig.rtb(), Qt::Key_F4);
        QCOMPARE(rig.player.calls, (QStringList{"slower", "faster", "normal speed", "loop"}));
        // Other modifiers leave these keys alone; the editor's own table is as it was.
        QTest::keyClick(&rig.rtb(), Qt::Key_F12, Qt::ControlModifier);
        QTest::keyClick(&rig.rtb(), Qt::Key_F5, Qt::ShiftModifier);
        QTest::keyClick(&rig.rtb(), Qt::Key_F7);
        QCOMPARE(rig.player.calls,
                 (QStringList{"slower", "faster", "normal speed", "loop", "play", "forward"}));
        QCOMPARE(rig.rtb().Text(), QStringLiteral("Good morning"));
        // Typing goes on where it was.
        QTest::keyClicks(&rig.rtb(), QStringLiteral(", all"));
        QCOMPARE(rig.rtb().Text(), QStringLiteral("Good morning, all"));
    }

    void keysWorkOnAnActiveWindow()
    {
        EditorRig rig;
        rig.editor->show();
        rig.editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(rig.editor.get()));
        rig.rtb().setFocus();
        QTest::keyClick(&rig.rtb(), Qt::Key_F4);
        QTest::keyClick(&rig.rtb(), Qt::Key_F12, Qt::ShiftModifier);
        QCOMPARE(rig.player.calls, (QStringList{"loop", "normal speed"}));
    }

    void configuredKeysReplaceTheDefaults()
    {
        EditorRig rig;
        rig.home.write(QStringLiteral("Preferences.ini"),
                       "keys.loop=Ctrl+Shift+L\r\nkeys.speedUp=F5\r\nkeys.speedDown=Alt+Down\r\n");
        Preferences::shared().load();
        rig.editor->loadPlaybackKeys();
        QTest::keyClick(&rig.rtb(), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(&rig.rtb(), Qt::Key_F4);  // no longer the loop
        QTest::keyClick(&rig.rtb(), Qt::Key_F5);  // still Play: F5 cannot be taken
        QTest::keyClick(&rig.rtb(), Qt::Key_F12); // speed up kept its default
        QTest::keyClick(&rig.rtb(), Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(rig.player.calls, (QStringList{"loop", "play", "faster", "slower"}));
        QCOMPARE(rig.rtb().Text(), QString());
    }
};

QTEST_MAIN(TestForm2PlaybackKeys)
#include "test_form2_playback_keys.moc"
