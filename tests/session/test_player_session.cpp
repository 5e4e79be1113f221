// The transport rules where they live: the player session on the simulated
// device, whose clock moves only through advance(). No window takes part.
#include "platform/files/program_folder.h"
#include "session/bookmark_file.h"
#include "session/session_rig.h"

#include <QSignalSpy>
#include <QtTest>
#include <memory>

using namespace quillory;
using namespace quillory::test;

class TestPlayerSession : public QObject {
    Q_OBJECT

private slots:
    void aPauseRewindsBySettingNeverBeforeTheStart_data()
    {
        QTest::addColumn<int>("rewind");
        QTest::addColumn<qint64>("pausedAt");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("3 s at 10.000") << 3 << qint64(10000) << qint64(7000);
        QTest::newRow("3 s at 3.000") << 3 << qint64(3000) << qint64(0);
        QTest::newRow("3 s at 2.500") << 3 << qint64(2500) << qint64(0);
        QTest::newRow("0 s at 4.321") << 0 << qint64(4321) << qint64(4321);
        // An edited settings file may hold any 16-bit value.
        QTest::newRow("99 s at 2:00") << 99 << qint64(120000) << qint64(21000);
        QTest::newRow("-5 s at 0:10") << -5 << qint64(10000) << qint64(15000);
    }
    void aPauseRewindsBySettingNeverBeforeTheStart()
    {
        QFETCH(int, rewind);
        QFETCH(qint64, pausedAt);
        QFETCH(qint64, expected);
        SessionRig rig;
        rig.session.setPauseRewindSeconds(static_cast<std::int16_t>(rewind));
        rig.openAt(QStringLiteral("a.wav"), 300000, pausedAt);
        QSignalSpy states(&rig.session, &PlayerSession::playStateChanged);
        rig.session.playPause();
        QCOMPARE(rig.engine->positionMs(), expected);
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(rig.session.playState(), PlayState::NotPlaying);
        QVERIFY(!rig.session.isTicking());
        QCOMPARE(states.count(), 1);

        // Play resumes exactly where the pause left the device.
        rig.session.playPause();
        QVERIFY(rig.engine->isPlaying());
        QVERIFY(rig.session.isTicking());
        rig.engine->advance(100);
        QCOMPARE(rig.engine->positionMs(), expected + 100);
    }

    void jumpsMoveByTheSettingAndKeepPlaying()
    {
        SessionRig rig;
        rig.openAt(QStringLiteral("a.wav"), 60000, 10000);
        rig.session.jumpForward();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(15000));
        rig.session.jumpBack();
        rig.session.jumpBack();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(5000));
        rig.session.jumpBack();
        rig.session.jumpBack();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(rig.session.playState(), PlayState::Playing);
        // A jump setting of 0 (a first start) means 2 seconds, and is kept.
        rig.session.setJumpSeconds(0);
        rig.session.jumpForward();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(2000));
        QCOMPARE(rig.session.jumpSeconds(), 2);
    }

    void theEndOfTheMediaRewindsAndPauses()
    {
        SessionRig rig;
        rig.openAt(QStringLiteral("a.wav"), 4000, 0);
        QSignalSpy shown(&rig.session, &PlayerSession::positionShown);
        rig.engine->advance(3000);
        rig.session.tick();
        QCOMPARE(rig.session.playState(), PlayState::Playing);
        QCOMPARE(shown.last().at(0).toDouble(), 3000.0);
        QCOMPARE(shown.last().at(1).toDouble(), 4000.0);
        rig.engine->advance(5000);
        rig.session.tick();
        QCOMPARE(rig.session.playState(), PlayState::NotPlaying);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
        QVERIFY(!rig.engine->isPlaying());
        QVERIFY(!rig.session.isTicking());
        QCOMPARE(shown.last().at(0).toDouble(), 0.0);
    }

    void stopGoesToTheStartAndRests()
    {
        SessionRig rig;
        rig.openAt(QStringLiteral("a.wav"), 60000, 8000);
        QSignalSpy shown(&rig.session, &PlayerSession::positionShown);
        rig.session.stop();
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(rig.session.playState(), PlayState::NotPlaying);
        // Shown at the start; nothing moves until Play, so nothing ticks.
        QCOMPARE(shown.last().at(0).toDouble(), 0.0);
        QVERIFY(!rig.session.isTicking());
    }

    void aBarClickPlaysFromThereOrPausesThereWithTheRewind()
    {
        SessionRig rig;
        rig.openAt(QStringLiteral("a.wav"), 60000, 1000);
        rig.session.playFromBar(30000);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(30000));
        QVERIFY(rig.engine->isPlaying());

        rig.session.playPause();
        rig.session.playFromBar(40000);
        QCOMPARE(rig.session.playState(), PlayState::NotPlaying);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(37000));
        QVERIFY(!rig.engine->isPlaying());

        // No position from the pointer: back to the start.
        rig.session.playFromBar(std::nullopt);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
        rig.session.playFromBar(-5);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
    }

    void aMarkKeepsPlayingOrPausedAsItWas()
    {
        SessionRig rig;
        rig.openAt(QStringLiteral("a.wav"), 60000, 1000);
        rig.session.playFromMark(20000);
        QCOMPARE(rig.session.playState(), PlayState::Playing);
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(17000));

        rig.session.playPause();
        rig.session.playFromMark(30000);
        QCOMPARE(rig.session.playState(), PlayState::NotPlaying);
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(27000));

        // A timestamp past this recording's end is another recording's.
        QVERIFY(!rig.session.playFromTimestamp(61000));
        QVERIFY(!rig.session.playFromTimestamp(-1));
        QVERIFY(rig.session.playFromTimestamp(60000));
    }

    void mediaKeysSeekWithoutChangingTheState()
    {
        SessionRig rig;
        rig.openAt(QStringLiteral("a.wav"), 60000, 1000);
        rig.session.seekKeepingState(20000);
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(20000));
        rig.session.playPause();
        rig.session.seekKeepingState(40000);
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(40000));
    }

    void aRecoveredSessionRestsWhereItWas()
    {
        SessionRig rig;
        rig.openAt(QStringLiteral("a.wav"), 60000, 0);
        rig.session.restAt(42000);
        QCOMPARE(rig.session.playState(), PlayState::NotPlaying);
        QVERIFY(!rig.session.isTicking());
        QCOMPARE(rig.engine->positionMs(), std::int64_t(42000));
        // At the very end the tick would rewind at once: the start instead.
        rig.session.restAt(60000);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(0));
    }

    void theLoopPlaysTheLastSecondsUntilEnded()
    {
        SessionRig rig;
        rig.session.setLoopSeconds(5);
        rig.openAt(QStringLiteral("a.wav"), 60000, 20000);
        QSignalSpy loop(&rig.session, &PlayerSession::loopChanged);
        rig.session.toggleLoop();
        QVERIFY(rig.session.isLooping());
        QCOMPARE(loop.last().at(0).toBool(), true);
        QCOMPARE(rig.engine->positionMs(), std::int64_t(15000));
        rig.engine->advance(6000);
        QCOMPARE(rig.engine->loopPasses(), 1);
        // Any transport command ends it first.
        rig.session.jumpForward();
        QVERIFY(!rig.session.isLooping());
        QCOMPARE(loop.last().at(0).toBool(), false);

        // Paused, the loop starts playing; at the very start there is nothing to loop.
        rig.session.playPause();
        rig.session.toggleLoop();
        QCOMPARE(rig.session.playState(), PlayState::Playing);
        rig.session.playFromBar(0);
        rig.session.toggleLoop();
        QVERIFY(!rig.session.isLooping());
    }

    void speedIsKeptOnlyWhenTheDeviceTakesIt()
    {
        SessionRig rig;
        QVERIFY(rig.session.changeSpeed(PlaybackSpeed::nearest(0.5)));
        QCOMPARE(rig.engine->speed(), 0.5);
        QVERIFY(!rig.session.changeSpeed(PlaybackSpeed::nearest(0.5)));
        rig.session.restoreSpeed(PlaybackSpeed::nearest(1.25));
        QCOMPARE(rig.session.speed().hundredths(), 125);
    }

    void anOpenSavesTheOldBookmarksPlaysAndReadsTheNewOnes()
    {
        SessionRig rig;
        const QString first = rig.openAt(QStringLiteral("first.wav"), 60000, 0);
        rig.session.bookmarks().assign({BookmarkLine::make(QStringLiteral("0:05  here"), 5000)});
        const QString second = rig.file(QStringLiteral("second.wav"));
        rig.session.playPause();
        SignalLog log(rig.session);
        rig.session.open(second);
        QCOMPARE(log.names, QStringList({"bookmarksLeft", "opening", "transportReady",
                                         "playPauseDone", "mediaOpened"}));
        QVERIFY(QFile::exists(BookmarkFile::pathFor(first)));
        QVERIFY(rig.session.bookmarks().isEmpty());
        QCOMPARE(rig.session.recentFiles().caption(0), second);
        QCOMPARE(rig.session.recentFiles().caption(1), first);
        QCOMPARE(rig.session.playState(), PlayState::Playing);

        // Back to the first file: its bookmarks come back.
        rig.session.playPause();
        log.names.clear();
        rig.session.open(first);
        QCOMPARE(log.names,
                 QStringList({"bookmarksLeft", "opening", "transportReady", "playPauseDone",
                              "bookmarkFileFound", "bookmarksLoaded", "mediaOpened"}));
        QCOMPARE(rig.session.bookmarks().count(), 1);
    }

    // A second program saved the same media file's bookmarks meanwhile: what
    // it added is kept beside ours, and what we removed stays removed.
    void bookmarksSavedByAnotherProgramAreMergedIn()
    {
        SessionRig rig;
        const auto mark = [](const char *name, int ms) {
            return BookmarkLine::make(BookmarkLine::label(ms, QString::fromLatin1(name)), ms);
        };
        const QString first = rig.openAt(QStringLiteral("first.wav"), 60000, 0);
        rig.session.bookmarks().assign({mark("ours", 1000)});
        const QString second = rig.file(QStringLiteral("second.wav"));
        rig.session.open(second);
        rig.session.open(first);
        QCOMPARE(rig.session.bookmarks().used(), QStringList{mark("ours", 1000)});

        BookmarkEntries theirs;
        theirs.assign({mark("ours", 1000), mark("theirs", 2000)});
        QVERIFY(BookmarkFile::write(BookmarkFile::pathFor(first), theirs).ok);
        rig.session.bookmarks().assign({mark("new", 3000)}); // "ours" removed here
        rig.session.open(second);

        BookmarkEntries saved;
        QVERIFY(BookmarkFile::read(BookmarkFile::pathFor(first), &saved));
        QCOMPARE(saved.used(), (QStringList{mark("new", 3000), mark("theirs", 2000)}));

        // Nobody else wrote: removing every bookmark removes the file.
        rig.session.open(first);
        rig.session.bookmarks().clear();
        rig.session.open(second);
        QVERIFY(!QFile::exists(BookmarkFile::pathFor(first)));
    }

    void bookmarksThatCannotBeSavedAreToldAbout()
    {
        SessionRig rig;
        rig.openAt(QStringLiteral("first.wav"), 60000, 0);
        rig.session.bookmarks().assign({BookmarkLine::make(QStringLiteral("0:05  here"), 5000)});
        // A file where the Bookmarks folder should be: the write cannot succeed.
        QDir(ProgramFolder::file(QStringLiteral("Bookmarks"))).removeRecursively();
        rig.home.write(QStringLiteral("Bookmarks"), "not a folder");
        QSignalSpy notSaved(&rig.session, &PlayerSession::bookmarksNotSaved);
        rig.session.open(rig.file(QStringLiteral("second.wav")));
        QCOMPARE(notSaved.size(), 1);
        QVERIFY(!notSaved.at(0).at(0).toString().isEmpty());
    }

    void aFailedOpenStopsWhenTheProgramEnds()
    {
        SessionRig rig;
        const QString broken = rig.file(QStringLiteral("broken.wav"));
        rig.engine->setOpenError(broken, MediaError::InvalidFile);
        SignalLog log(rig.session);
        connect(&rig.session, &PlayerSession::openFailed, &rig.session,
                [&rig] { rig.session.end(); });
        rig.session.open(broken);
        QCOMPARE(log.names, QStringList({"bookmarksLeft", "opening", "openFailed"}));
        QVERIFY(!rig.session.hasMedia());
        QCOMPARE(rig.session.playState(), PlayState::NotPlaying);
    }

    void closingPausesAndForgetsTheFile()
    {
        SessionRig rig;
        rig.openAt(QStringLiteral("a.wav"), 60000, 9000);
        SignalLog log(rig.session);
        rig.session.close();
        QCOMPARE(log.names, QStringList({"positionCleared", "playPauseDone", "mediaClosed"}));
        QVERIFY(!rig.session.hasMedia());
        QVERIFY(!rig.session.length());
        QCOMPARE(rig.session.position(), 0.0);
        QVERIFY(!rig.session.isTicking());
    }
};

QTEST_GUILESS_MAIN(TestPlayerSession)
#include "test_player_session.moc"
