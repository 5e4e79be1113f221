// The session's open that does not wait for the device: on the simulated device
// whose open takes a set time on its clock, the sequence stops at the device's
// open and goes on, in the blocking open's order, once the device has the file.
#include "session/bookmark_file.h"
#include "session/session_rig.h"

#include <QtTest>
#include <memory>

using namespace quillory;
using namespace quillory::test;

namespace {

constexpr std::int64_t OpenMs = 300;

// A device whose open takes OpenMs of its clock.
struct SlowOpenRig : SessionRig {
    SlowOpenRig() { engine->setOpenDelay(OpenMs); }
};

} // namespace

class TestOpenInBackground : public QObject {
    Q_OBJECT

private slots:
    void theSequenceGoesOnOnceTheDeviceHasTheFile()
    {
        SlowOpenRig rig;
        const QString first = rig.file(QStringLiteral("first.wav"));
        rig.session.open(first); // blocking: the device's delay does not apply
        QVERIFY(rig.session.hasMedia());
        rig.session.bookmarks().assign({BookmarkLine::make(QStringLiteral("0:05  here"), 5000)});
        rig.session.playPause();

        const QString second = rig.file(QStringLiteral("second.wav"), 90000);
        SignalLog log(rig.session);
        rig.session.openInBackground(second);
        // The outgoing file is saved and closed; the new one is not there yet.
        QCOMPARE(log.names, QStringList({"bookmarksLeft", "opening"}));
        QVERIFY(QFile::exists(BookmarkFile::pathFor(first)));
        QVERIFY(rig.session.isOpening());
        QVERIFY(!rig.session.hasMedia());
        QCOMPARE(rig.session.mediaPath(), second);
        QCOMPARE(rig.session.playState(), PlayState::NotPlaying);
        QCOMPARE(rig.session.recentFiles().caption(0), first);

        rig.engine->advance(OpenMs);
        QCOMPARE(log.names, QStringList({"bookmarksLeft", "opening", "transportReady",
                                         "playPauseDone", "mediaOpened"}));
        QVERIFY(!rig.session.isOpening());
        QVERIFY(rig.session.hasMedia());
        QCOMPARE(rig.session.length(), std::optional<double>(90000));
        QCOMPARE(rig.session.playState(), PlayState::Playing);
        QCOMPARE(rig.session.recentFiles().caption(0), second);
        QCOMPARE(rig.session.recentFiles().caption(1), first);

        // Back to the first file the same way: its bookmarks come back.
        rig.session.playPause();
        log.names.clear();
        rig.session.openInBackground(first);
        rig.engine->advance(OpenMs);
        QCOMPARE(log.names,
                 QStringList({"bookmarksLeft", "opening", "transportReady", "playPauseDone",
                              "bookmarkFileFound", "bookmarksLoaded", "mediaOpened"}));
        QCOMPARE(rig.session.bookmarks().count(), 1);
    }

    void aFailureIsToldWhenTheDeviceGivesUp()
    {
        SlowOpenRig blocking, background;
        for (SlowOpenRig *rig : {&blocking, &background})
            rig->engine->setOpenError(rig->file(QStringLiteral("broken.wav")),
                                      MediaError::InvalidFile);
        const QString broken = background.file(QStringLiteral("broken.wav"));
        SignalLog blockingLog(blocking.session), backgroundLog(background.session);
        QList<std::uint32_t> codes;
        connect(&background.session, &PlayerSession::openFailed, &background.session,
                [&codes](std::uint32_t code) { codes << code; });
        blocking.session.open(blocking.file(QStringLiteral("broken.wav")));
        background.session.openInBackground(broken);
        QVERIFY(codes.isEmpty());
        background.engine->advance(OpenMs);
        QCOMPARE(codes, QList<std::uint32_t>{toCode(MediaError::InvalidFile)});
        // The sequence goes on with nothing open, as the blocking open's does.
        QCOMPARE(backgroundLog.names.mid(0, 3),
                 QStringList({"bookmarksLeft", "opening", "openFailed"}));
        QCOMPARE(backgroundLog.names, blockingLog.names);
        QVERIFY(!background.session.hasMedia());
        QCOMPARE(background.session.playState(), blocking.session.playState());
    }

    void aCloseOrTheProgramsEndAbandonsTheOpen_data()
    {
        QTest::addColumn<bool>("programEnds");
        QTest::newRow("close") << false;
        QTest::newRow("the program ends") << true;
    }
    void aCloseOrTheProgramsEndAbandonsTheOpen()
    {
        QFETCH(bool, programEnds);
        SlowOpenRig rig;
        const QString path = rig.file(QStringLiteral("a.wav"));
        rig.session.openInBackground(path);
        SignalLog log(rig.session);
        if (programEnds)
            rig.session.end();
        else
            rig.session.close();
        rig.engine->advance(OpenMs * 2);
        QVERIFY(!log.names.contains(QStringLiteral("mediaOpened")));
        QVERIFY(!log.names.contains(QStringLiteral("transportReady")));
        QCOMPARE(rig.session.playState(), PlayState::NotPlaying);
        QVERIFY(!rig.session.isOpening() || programEnds);
    }

    void theTransportWaitsForTheOpen()
    {
        SlowOpenRig rig;
        const QString first = rig.file(QStringLiteral("first.wav"));
        rig.session.open(first);
        rig.session.playPause(); // paused: the next open starts playback
        const QString second = rig.file(QStringLiteral("second.wav"), 90000);
        int opened = 0;
        rig.session.openInBackground(second, [&] {
            ++opened;
            // Runs once the sequence is complete: the file plays.
            QCOMPARE(rig.session.playState(), PlayState::Playing);
            QVERIFY(rig.session.hasMedia());
        });
        SignalLog log(rig.session);
        QSignalSpy states(&rig.session, &PlayerSession::playStateChanged);
        QSignalSpy shown(&rig.session, &PlayerSession::positionShown);
        QSignalSpy loops(&rig.session, &PlayerSession::loopChanged);
        // Keys pressed while the device opens find no file and change nothing.
        rig.session.playPause();
        rig.session.jumpForward();
        rig.session.stop();
        rig.session.playFromBar(20000);
        rig.session.playFromMark(20000);
        QVERIFY(!rig.session.playFromTimestamp(20000));
        rig.session.seekKeepingState(20000);
        rig.session.toggleLoop();
        QVERIFY(log.names.isEmpty());
        QCOMPARE(states.count() + shown.count() + loops.count(), 0);
        QCOMPARE(rig.session.playState(), PlayState::NotPlaying);
        QCOMPARE(opened, 0);

        rig.engine->advance(OpenMs);
        QCOMPARE(opened, 1);
        QCOMPARE(rig.session.playState(), PlayState::Playing);
        QVERIFY(!rig.session.isLooping());
        // Playing from the start, as any open: nothing pressed meanwhile moved it.
        QVERIFY(rig.session.position() < 1000);
    }

    void whatFollowsAnOpenRunsOnlyWhenTheDeviceOpenedIt()
    {
        SlowOpenRig rig;
        int followed = 0;
        const auto follow = [&followed] { ++followed; };
        const QString broken = rig.file(QStringLiteral("broken.wav"));
        rig.engine->setOpenError(broken, MediaError::InvalidFile);
        rig.session.openInBackground(broken, follow);
        rig.engine->advance(OpenMs);
        QCOMPARE(followed, 0);
        // Abandoned for another open: only the second's follows.
        rig.session.openInBackground(rig.file(QStringLiteral("a.wav")), follow);
        rig.session.openInBackground(rig.file(QStringLiteral("b.wav")), follow);
        rig.engine->advance(OpenMs * 2);
        QCOMPARE(followed, 1);
        // The program ended meanwhile: nothing follows.
        rig.session.openInBackground(rig.file(QStringLiteral("c.wav")), follow);
        rig.session.end();
        rig.engine->advance(OpenMs);
        QCOMPARE(followed, 1);
    }

    void aBlockingOpenMeanwhileWins()
    {
        SlowOpenRig rig;
        const QString slow = rig.file(QStringLiteral("slow.wav"));
        const QString chosen = rig.file(QStringLiteral("chosen.wav"), 30000);
        rig.session.openInBackground(slow);
        SignalLog log(rig.session);
        rig.session.open(chosen);
        rig.engine->advance(OpenMs);
        QCOMPARE(log.names.count(QStringLiteral("mediaOpened")), 1);
        QCOMPARE(rig.session.mediaPath(), chosen);
        QCOMPARE(rig.session.length(), std::optional<double>(30000));
        QCOMPARE(rig.session.recentFiles().caption(0), chosen);
        QVERIFY(rig.session.recentFiles().caption(1) != slow);
    }
};

QTEST_GUILESS_MAIN(TestOpenInBackground)
#include "test_open_in_background.moc"
