// Moves while paused stay paused and silent, and every pause shows where the
// device rests: the window, MPRIS and the pedals follow the session's state,
// so what the listener hears and what they show cannot part.
#include "platform/media/media_control.h"
#include "platform/media/simulated_media_engine.h"
#include "session/player_session.h"
#include "support/program_home.h"

#include <QSignalSpy>
#include <QtTest>
#include <memory>

using namespace quillory;
using namespace quillory::test;

namespace {

// Counts what the device is asked to play, so that a move that played for a
// moment (a burst while the window says paused) is caught even if it stopped.
class CountingEngine : public SimulatedMediaEngine {
public:
    MediaError play() override
    {
        ++plays;
        return SimulatedMediaEngine::play();
    }
    MediaError playFrom(std::int64_t ms) override
    {
        ++plays;
        return SimulatedMediaEngine::playFrom(ms);
    }
    int plays = 0;
};

struct PausedRig {
    PausedRig()
        : home(false), engine(new CountingEngine), media(std::unique_ptr<MediaEngine>(engine)),
          session(media)
    {
        session.setJumpSeconds(5);
        session.setPauseRewindSeconds(3);
        home.write(QStringLiteral("media/a.wav"), "RIFF");
        path = home.file(QStringLiteral("media/a.wav"));
        engine->setLength(path, 60000);
    }
    // Opened, played to `ms` and paused there (which rewinds by 3 s).
    void pausedAfter(std::int64_t ms)
    {
        session.open(path);
        engine->advance(ms);
        session.playPause();
        engine->plays = 0;
    }
    void expectStillPausedAt(std::int64_t ms) const
    {
        QCOMPARE(engine->positionMs(), ms);
        QVERIFY(!engine->isPlaying());
        QCOMPARE(engine->plays, 0);
        QCOMPARE(session.playState(), PlayState::NotPlaying);
        QVERIFY(!session.isTicking());
    }
    ProgramHome home;
    CountingEngine *engine; // owned by media
    MediaControl media;
    PlayerSession session;
    QString path;
};

double lastShownPosition(const QSignalSpy &shown)
{
    return shown.last().at(0).toDouble();
}

} // namespace

class TestPausedMoves : public QObject {
    Q_OBJECT

private slots:
    void aPauseShowsWhereItRestsAndTheLength()
    {
        PausedRig rig;
        rig.session.open(rig.path);
        rig.engine->advance(10000);
        QSignalSpy shown(&rig.session, &PlayerSession::positionShown);
        QSignalSpy cleared(&rig.session, &PlayerSession::positionCleared);
        rig.session.playPause();
        QCOMPARE(shown.count(), 1);
        QCOMPARE(lastShownPosition(shown), 7000.0);
        QCOMPARE(shown.last().at(1).toDouble(), 60000.0);
        QCOMPARE(cleared.count(), 0);
    }

    void jumpsWhilePausedMoveAndStayPaused()
    {
        PausedRig rig;
        rig.pausedAfter(10000); // rests at 7.000
        QSignalSpy shown(&rig.session, &PlayerSession::positionShown);
        QSignalSpy states(&rig.session, &PlayerSession::playStateChanged);
        rig.session.jumpForward();
        rig.expectStillPausedAt(12000);
        QCOMPARE(lastShownPosition(shown), 12000.0);
        rig.session.jumpBack();
        rig.session.jumpBack();
        rig.session.jumpBack();
        rig.expectStillPausedAt(0); // never before the start
        QCOMPARE(lastShownPosition(shown), 0.0);
        QCOMPARE(shown.count(), 4);
        QCOMPARE(states.count(), 0);

        // Play/Pause then plays from where the jumps left it.
        rig.session.jumpForward();
        rig.session.playPause();
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(5000));
    }

    void jumpsWhilePlayingPlayOn()
    {
        PausedRig rig;
        rig.session.open(rig.path);
        rig.engine->advance(10000);
        rig.session.jumpForward();
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(rig.session.playState(), PlayState::Playing);
        QVERIFY(rig.session.isTicking());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(15000));
    }

    void marksAndTimestampsWhilePausedMoveSilently()
    {
        PausedRig rig;
        rig.pausedAfter(10000);
        QSignalSpy shown(&rig.session, &PlayerSession::positionShown);
        QSignalSpy done(&rig.session, &PlayerSession::playPauseDone);
        // Where a pause at the mark leaves it, as while playing.
        rig.session.playFromMark(30000);
        rig.expectStillPausedAt(27000);
        QCOMPARE(lastShownPosition(shown), 27000.0);
        // The keyboard goes back to the editor as after any Play/Pause.
        QCOMPARE(done.count(), 1);

        QVERIFY(rig.session.playFromTimestamp(2000));
        rig.expectStillPausedAt(0);
        QVERIFY(!rig.session.playFromTimestamp(70000));
        rig.expectStillPausedAt(0);
    }

    void bookmarksWhilePausedMoveSilently()
    {
        PausedRig rig;
        rig.pausedAfter(10000); // rests at 7.000
        rig.session.bookmarks().assign({BookmarkLine::make(QStringLiteral("0:20  a"), 20000),
                                        BookmarkLine::make(QStringLiteral("0:40  b"), 40000)});
        QCOMPARE(rig.session.goToBookmark(true), PlayerSession::BookmarkJump::Moved);
        rig.expectStillPausedAt(17000);
    }

    void aBarClickWhilePausedMovesSilently_data()
    {
        QTest::addColumn<qint64>("clicked");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("inside") << qint64(40000) << qint64(37000);
        QTest::newRow("near the start") << qint64(1000) << qint64(0);
        QTest::newRow("past the end") << qint64(90000) << qint64(0);
        QTest::newRow("no position") << qint64(-1) << qint64(0);
    }
    void aBarClickWhilePausedMovesSilently()
    {
        QFETCH(qint64, clicked);
        QFETCH(qint64, expected);
        PausedRig rig;
        rig.pausedAfter(20000);
        rig.session.playFromBar(clicked < 0 ? std::nullopt : std::optional<std::int64_t>(clicked));
        rig.expectStillPausedAt(expected);
    }

    void aNegativeRewindPastTheEndStaysAtTheMark()
    {
        PausedRig rig;
        rig.session.setPauseRewindSeconds(-5);
        rig.pausedAfter(10000); // rests at 15.000
        rig.session.playFromMark(58000);
        rig.expectStillPausedAt(58000);
    }

    void mediaKeySeeksWhilePausedShowTheNewPosition()
    {
        PausedRig rig;
        rig.pausedAfter(10000);
        QSignalSpy shown(&rig.session, &PlayerSession::positionShown);
        rig.session.seekKeepingState(42000);
        rig.expectStillPausedAt(42000);
        QCOMPARE(lastShownPosition(shown), 42000.0);
    }
};

QTEST_GUILESS_MAIN(TestPausedMoves)
#include "test_paused_moves.moc"
