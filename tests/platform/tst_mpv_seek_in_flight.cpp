// Seeks on the libmpv device return before mpv has carried them out: what the
// position, the play state, a play and a stop do while mpv still seeks.
#include "media_fixtures.h"
#include "platform/mpv/mpv_media_engine.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace quillory;

namespace {

constexpr int Seconds = 6;

// No sound server: the position is the output's own clock.
class NoHeldAudio : public HeldAudioProbe {
public:
    std::optional<long long> heldMicroseconds() override { return std::nullopt; }
    std::optional<long long> heldAfterPauseMicroseconds() override { return std::nullopt; }
    std::optional<long long> queuedMicroseconds() const override { return std::nullopt; }
};

} // namespace

class TestMpvSeekInFlight : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_clicks;

    std::unique_ptr<MpvMediaEngine> opened()
    {
        MpvEngineOptions options;
        options.audioOutput = "sdl";
        options.heldAudio = std::make_shared<NoHeldAudio>();
        auto engine = std::make_unique<MpvMediaEngine>(options);
        if (engine->open(m_clicks) != MediaError::None)
            return nullptr;
        return engine;
    }

private slots:
    void initTestCase()
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(m_dir.isValid());
        m_clicks = m_dir.filePath(QStringLiteral("clicks.wav"));
        QVERIFY(testmedia::writeClickWav(m_clicks, Seconds));
        MpvMediaEngine probe;
        if (!probe.isReady())
            QSKIP("libmpv is not available");
    }

    void theTargetIsReportedUntilMpvHasSeeked()
    {
        const auto engine = opened();
        QVERIFY(engine);
        QCOMPARE(engine->seekTo(4321), MediaError::None);
        QVERIFY(engine->isSeeking());
        QCOMPARE(engine->positionMs(), std::int64_t(4321));
        QVERIFY(!engine->isPlaying());
        QTRY_VERIFY(!engine->isSeeking());
        QCOMPARE(engine->positionMs(), std::int64_t(4321));
        // Seeks in a row: only the last one's target counts.
        QCOMPARE(engine->seekTo(1000), MediaError::None);
        QCOMPARE(engine->seekTo(2500), MediaError::None);
        QCOMPARE(engine->positionMs(), std::int64_t(2500));
        QTRY_VERIFY(!engine->isSeeking());
        QCOMPARE(engine->positionMs(), std::int64_t(2500));
    }

    void aPlayDuringTheSeekStartsAtTheTarget()
    {
        const auto engine = opened();
        QVERIFY(engine);
        QCOMPARE(engine->seekTo(3000), MediaError::None);
        QCOMPARE(engine->play(), MediaError::None);
        QVERIFY(engine->isPlaying());
        if (engine->isSeeking())
            QCOMPARE(engine->positionMs(), std::int64_t(3000));
        QTRY_VERIFY(engine->positionMs() > 3100);
        QVERIFY(engine->positionMs() < 3000 + 2000);
        QVERIFY(engine->isPlaying());
    }

    void aStopDuringTheSeekRestsAtTheTarget()
    {
        const auto engine = opened();
        QVERIFY(engine);
        QCOMPARE(engine->playFrom(2000), MediaError::None);
        QVERIFY(engine->isPlaying());
        QCOMPARE(engine->stop(), MediaError::None);
        QVERIFY(!engine->isPlaying());
        QCOMPARE(engine->positionMs(), std::int64_t(2000));
        QTRY_VERIFY(!engine->isSeeking());
        // Had the play gone through, the position would move on from here.
        QTest::qWait(200);
        QCOMPARE(engine->positionMs(), std::int64_t(2000));
        QVERIFY(!engine->isPlaying());
    }

    void aSeekFromTheEndLeavesIt()
    {
        const auto engine = opened();
        QVERIFY(engine);
        const std::int64_t length = engine->lengthMs();
        QCOMPARE(engine->playFrom(length - 100), MediaError::None);
        QTRY_COMPARE(engine->positionMs(), length);
        QTRY_VERIFY(!engine->isPlaying());
        // mpv may still report the end it is leaving while this seek runs.
        QCOMPARE(engine->seekTo(1500), MediaError::None);
        QCOMPARE(engine->positionMs(), std::int64_t(1500));
        QCOMPARE(engine->play(), MediaError::None);
        QVERIFY(engine->isPlaying());
        QTRY_VERIFY(engine->positionMs() > 1600);
        QVERIFY(engine->positionMs() < length);
    }

    void aSeekToTheEndEndsThere()
    {
        const auto engine = opened();
        QVERIFY(engine);
        const std::int64_t length = engine->lengthMs();
        QCOMPARE(engine->seekTo(length), MediaError::None);
        QCOMPARE(engine->positionMs(), length);
        QTRY_VERIFY(!engine->isSeeking());
        QCOMPARE(engine->positionMs(), length);
        // A play at the end has nothing to play.
        QCOMPARE(engine->play(), MediaError::None);
        QTRY_VERIFY(!engine->isPlaying());
        QCOMPARE(engine->positionMs(), length);
    }
};

QTEST_GUILESS_MAIN(TestMpvSeekInFlight)
#include "tst_mpv_seek_in_flight.moc"
