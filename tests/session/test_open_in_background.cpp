// The session's open that does not wait for the device: on the simulated device
// whose open takes a set time on its clock, the sequence stops at the device's
// open and goes on, in the blocking open's order, once the device has the file.
#include "platform/media/media_control.h"
#include "platform/media/simulated_media_engine.h"
#include "session/bookmark_file.h"
#include "session/player_session.h"
#include "support/program_home.h"

#include <QtTest>
#include <memory>

using namespace quillory;
using namespace quillory::test;

namespace {

constexpr std::int64_t OpenMs = 300;

struct SessionRig {
    SessionRig()
        : home(false), engine(new SimulatedMediaEngine),
          media(std::unique_ptr<MediaEngine>(engine)), session(media)
    {
        engine->setOpenDelay(OpenMs);
    }
    QString file(const QString &name, std::int64_t lengthMs = 60000)
    {
        home.write(QStringLiteral("media/") + name, "RIFF");
        const QString path = home.file(QStringLiteral("media/") + name);
        engine->setLength(path, lengthMs);
        return path;
    }
    ProgramHome home;
    SimulatedMediaEngine *engine; // owned by media
    MediaControl media;
    PlayerSession session;
};

// The signals of one session, in the order they came, by name.
class SignalLog {
public:
    explicit SignalLog(PlayerSession &s)
    {
        record(s, &PlayerSession::opening, "opening");
        record(s, &PlayerSession::openFailed, "openFailed");
        record(s, &PlayerSession::transportReady, "transportReady");
        record(s, &PlayerSession::bookmarksLeft, "bookmarksLeft");
        record(s, &PlayerSession::bookmarkFileFound, "bookmarkFileFound");
        record(s, &PlayerSession::bookmarksLoaded, "bookmarksLoaded");
        record(s, &PlayerSession::mediaOpened, "mediaOpened");
        record(s, &PlayerSession::mediaClosed, "mediaClosed");
        record(s, &PlayerSession::playPauseDone, "playPauseDone");
    }
    QStringList names;

private:
    template <typename Signal> void record(PlayerSession &s, Signal signal, const char *name)
    {
        QObject::connect(&s, signal, &s, [this, name] { names << QLatin1String(name); });
    }
};

} // namespace

class TestOpenInBackground : public QObject {
    Q_OBJECT

private slots:
    void theSequenceGoesOnOnceTheDeviceHasTheFile()
    {
        SessionRig rig;
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
        SessionRig blocking, background;
        for (SessionRig *rig : {&blocking, &background})
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
        SessionRig rig;
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

    void aBlockingOpenMeanwhileWins()
    {
        SessionRig rig;
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
