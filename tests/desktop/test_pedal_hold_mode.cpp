// Pedals with a held play pedal: the sound runs only while a foot holds it, so
// a back or forward tap while paused moves the position and stays paused.
#include "app/session_desktop_player.h"
#include "desktop/pedal_controller.h"
#include "fake_desktop_player.h"
#include "platform/media/media_control.h"
#include "platform/media/simulated_media_engine.h"
#include "session/player_session.h"
#include "support/program_home.h"

#include <QtTest>
#include <memory>

using namespace quillory;
using namespace quillory::test;

class TestPedalHoldMode : public QObject {
    Q_OBJECT

private slots:
    void tapsWhilePausedStayPaused()
    {
        FakeDesktopPlayer player;
        PedalController pedals(player, player);
        pedals.pedalsChanged(1, PedalLeft);
        pedals.pedalsChanged(1, 0);
        pedals.pedalsChanged(1, PedalRight);
        pedals.pedalsChanged(1, 0);
        QCOMPARE(player.calls, (QStringList{"jump back", "jump forward"}));
        QVERIFY(!player.isPlaying());
        QCOMPARE(player.position, 30000);
    }

    void tapsWhileHeldPlayJumpAndPlayOn()
    {
        FakeDesktopPlayer player;
        PedalController pedals(player, player);
        pedals.pedalsChanged(1, PedalMiddle);
        QVERIFY(player.isPlaying());
        pedals.pedalsChanged(1, PedalMiddle | PedalLeft);
        QVERIFY(player.isPlaying());
        pedals.pedalsChanged(1, 0);
        QVERIFY(!player.isPlaying());
        QCOMPARE(player.calls, (QStringList{"play/pause", "back", "play/pause"}));
        // A jump pedal pressed with the play pedal in one report jumps first,
        // paused, then plays from there.
        player.calls.clear();
        pedals.pedalsChanged(2, PedalMiddle | PedalRight);
        QCOMPARE(player.calls, (QStringList{"jump forward", "play/pause"}));
    }

    void togglingPlayPedalKeepsThePlayersJumps()
    {
        FakeDesktopPlayer player;
        PedalSettings settings;
        settings.playToggles = true;
        PedalController pedals(player, player, settings);
        pedals.pedalsChanged(1, PedalLeft);
        QCOMPARE(player.calls, QStringList{"back"});
    }

    // The jump itself, on the session: the length of the player's keys, the
    // state kept, the start and the end as limits.
    void sessionJumpKeepsThePause()
    {
        ProgramHome home(false);
        auto *engine = new SimulatedMediaEngine;
        MediaControl media{std::unique_ptr<MediaEngine>(engine)};
        PlayerSession session(media);
        session.setJumpSeconds(5);
        session.setPauseRewindSeconds(0);
        home.write(QStringLiteral("media/talk.wav"), "RIFF");
        const QString path = home.file(QStringLiteral("media/talk.wav"));
        engine->setLength(path, 60000);
        session.open(path);
        engine->advance(20000);
        session.playPause();
        QCOMPARE(session.playState(), PlayState::NotPlaying);
        SessionDesktopPlayer desktop(
            session, [](const QString &) {}, [] {});

        desktop.jumpKeepingState(true);
        QCOMPARE(desktop.positionMs(), 25000);
        QVERIFY(!desktop.isPlaying());
        desktop.jumpKeepingState(false);
        desktop.jumpKeepingState(false);
        QCOMPARE(desktop.positionMs(), 15000);
        QVERIFY(!desktop.isPlaying());
        session.seekKeepingState(2000);
        desktop.jumpKeepingState(false);
        QCOMPARE(desktop.positionMs(), 0);

        session.playPause();
        QVERIFY(desktop.isPlaying());
        desktop.jumpKeepingState(true);
        QVERIFY(desktop.isPlaying());
        QCOMPARE(desktop.positionMs(), 5000);
    }
};

QTEST_GUILESS_MAIN(TestPedalHoldMode)
#include "test_pedal_hold_mode.moc"
