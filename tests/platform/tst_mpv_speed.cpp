// Speed and loops on the libmpv device: the pitch and the length of the decoded
// output at 0.5x and 2x, the heard position at a speed other than 1, and the
// A-B loop.
#include "media_fixtures.h"
#include "platform/mpv/mpv_media_engine.h"
#include "tone_analysis.h"

#include <QTemporaryDir>
#include <QtTest>
#include <limits>
#include <tuple>
#include <utility>

using namespace quillory;
using namespace quillory::testmedia;

namespace {

constexpr double ToneSeconds = 4.0;

class FakeHeldAudio : public HeldAudioProbe {
public:
    std::optional<long long> heldMicroseconds() override { return held; }
    std::optional<long long> held;
};

} // namespace

class TestMpvSpeed : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString file(const QString &name) const { return m_dir.filePath(name); }

    // Plays the tone to its end at `speed` on mpv's PCM output, which writes as
    // fast as it can, and reads back what was written.
    PcmSound decodedAt(double speed, bool keepPitch, const QString &outName,
                       bool speedFirst = false)
    {
        MpvEngineOptions options;
        options.audioOutput = "pcm";
        options.keepPitch = keepPitch;
        options.heldAudio = std::make_shared<FakeHeldAudio>();
        options.extraOptions = pcmOutputOptions(file(outName));
        {
            MpvMediaEngine engine(options);
            // Chosen for the open file, or before (it then holds for the next one).
            if (speedFirst && engine.setSpeed(speed) != MediaError::None)
                return {};
            if (engine.open(file("tone.wav")) != MediaError::None)
                return {};
            if (!speedFirst && engine.setSpeed(speed) != MediaError::None)
                return {};
            if (engine.play() != MediaError::None)
                return {};
            QElapsedTimer clock;
            clock.start();
            while (engine.positionMs() < engine.lengthMs() && clock.elapsed() < 60000)
                QTest::qWait(20);
        } // the output file is complete once the player has gone
        return readPcmWav(file(outName));
    }

    // The SDL output (its dummy driver keeps time by the samples it is given),
    // with nothing held beyond it.
    static MpvEngineOptions timedOutput()
    {
        MpvEngineOptions options;
        options.audioOutput = "sdl";
        options.heldAudio = std::make_shared<FakeHeldAudio>();
        return options;
    }

    // The lowest and highest positions read every 10 ms for `ms`.
    static std::pair<std::int64_t, std::int64_t> positionsOver(MpvMediaEngine &engine, int ms)
    {
        std::int64_t lowest = std::numeric_limits<std::int64_t>::max(), highest = 0;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            QTest::qWait(10);
            const std::int64_t p = engine.positionMs();
            lowest = std::min(lowest, p);
            highest = std::max(highest, p);
        }
        return {lowest, highest};
    }

private slots:
    void initTestCase()
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(m_dir.isValid());
        QVERIFY(writeToneWav(file("tone.wav"), 440.0, ToneSeconds));
        QVERIFY(writeClickWav(file("click.wav"), 6));
        MpvMediaEngine probe;
        if (!probe.isReady())
            QSKIP("libmpv is not available");
    }

    void theToneKeepsItsPitch_data()
    {
        QTest::addColumn<double>("speed");
        QTest::addColumn<bool>("speedFirst");
        QTest::newRow("0.5x") << 0.5 << false;
        QTest::newRow("1.0x") << 1.0 << false;
        QTest::newRow("2.0x") << 2.0 << false;
        QTest::newRow("0.5x chosen before the open") << 0.5 << true;
        QTest::newRow("2.0x chosen before the open") << 2.0 << true;
    }
    void theToneKeepsItsPitch()
    {
        QFETCH(double, speed);
        QFETCH(bool, speedFirst);
        const PcmSound sound = decodedAt(speed, true, QStringLiteral("kept.wav"), speedFirst);
        QCOMPARE(sound.sampleRate, 44100);
        // The output lasts as long as the speed says: 4 s of media take 8 s at 0.5x.
        const double expected = ToneSeconds / speed;
        QVERIFY2(std::abs(sound.seconds() - expected) < 0.15,
                 qPrintable(QStringLiteral("%1 s of output").arg(sound.seconds())));
        // Measured well inside, away from the start and the end.
        const std::size_t quarter = sound.samples.size() / 4;
        const double hertz = dominantHertz(sound, quarter, sound.samples.size() / 2);
        QVERIFY2(std::abs(hertz - 440.0) < 2.0, qPrintable(QString::number(hertz)));
    }

    void withoutTheFilterThePitchFollowsTheSpeed()
    {
        // The measurement can tell: plain resampling at 2x gives an octave up.
        const PcmSound sound = decodedAt(2.0, false, QStringLiteral("plain.wav"));
        const std::size_t quarter = sound.samples.size() / 4;
        const double hertz = dominantHertz(sound, quarter, sound.samples.size() / 2);
        QVERIFY2(std::abs(hertz - 880.0) < 4.0, qPrintable(QString::number(hertz)));
    }

    void heldAudioCountsAsMediaAtTheSpeed()
    {
        auto held = std::make_shared<FakeHeldAudio>();
        MpvEngineOptions options;
        options.audioOutput = "sdl";
        options.heldAudio = held;
        options.readingReuseMs = 0;
        MpvMediaEngine engine(options);
        QCOMPARE(engine.open(file("click.wav")), MediaError::None);
        QCOMPARE(engine.setSpeed(2.0), MediaError::None);
        QCOMPARE(engine.speed(), 2.0);
        QCOMPARE(engine.playFrom(500), MediaError::None);
        QTRY_VERIFY(engine.positionMs() > 700);
        held->held = 0;
        const std::int64_t playing = engine.positionMs();
        held->held = 250000; // a quarter second of sound is half a second of media
        const std::int64_t heard = engine.positionMs();
        held->held = 0;
        const std::int64_t later = engine.positionMs();
        QVERIFY2(heard - playing >= 500 && heard - playing <= 500 + (later - playing) + 2,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(playing).arg(heard).arg(later)));
        QCOMPARE(engine.setSpeed(0.0), MediaError::OutOfRange);
        QCOMPARE(engine.setSpeed(std::nan("")), MediaError::OutOfRange);
        QCOMPARE(engine.speed(), 2.0);
    }

    void pauseRewindAtHalfSpeedIsExact()
    {
        MpvMediaEngine engine(timedOutput());
        QCOMPARE(engine.open(file("click.wav")), MediaError::None);
        QCOMPARE(engine.setSpeed(0.5), MediaError::None);
        QCOMPARE(engine.playFrom(3500), MediaError::None);
        QTRY_VERIFY(engine.positionMs() > 3700);
        // The player's pause: "play from" the position less 3 s, then "stop".
        const std::int64_t paused = engine.positionMs();
        QCOMPARE(engine.playFrom(paused - 3000), MediaError::None);
        QCOMPARE(engine.stop(), MediaError::None);
        QCOMPARE(engine.positionMs(), paused - 3000);
        QVERIFY(!engine.isPlaying());
        // A speed chosen while paused leaves the position where it was.
        QCOMPARE(engine.setSpeed(2.0), MediaError::None);
        QCOMPARE(engine.positionMs(), paused - 3000);
        QVERIFY(!engine.isPlaying());
    }

    // Chosen while playing, the new speed is made from where the listener is:
    // playback goes on from there, neither back nor ahead, at the new pace.
    void aSpeedChosenWhilePlayingGoesOnFromWhereItWas()
    {
        MpvMediaEngine engine(timedOutput());
        QCOMPARE(engine.open(file("click.wav")), MediaError::None);
        QCOMPARE(engine.playFrom(1000), MediaError::None);
        QTRY_VERIFY(engine.positionMs() > 1300);
        QElapsedTimer clock;
        const std::int64_t before = engine.positionMs();
        clock.start();
        QCOMPARE(engine.setSpeed(2.0), MediaError::None);
        QVERIFY(engine.isPlaying());
        const std::int64_t after = engine.positionMs();
        QVERIFY2(after >= before - 2 && after <= before + clock.elapsed() + 2,
                 qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
        QTRY_VERIFY(engine.positionMs() > after + 200); // resumed
        clock.restart();
        const std::int64_t from = engine.positionMs();
        QTest::qWait(400);
        const std::int64_t advanced = engine.positionMs() - from;
        const std::int64_t wall = clock.elapsed();
        QVERIFY2(advanced >= 2 * 400 - 40 && advanced <= 2 * wall + 40,
                 qPrintable(QStringLiteral("%1 ms in %2 ms").arg(advanced).arg(wall)));
        QVERIFY(engine.isPlaying());
    }

    void speedHoldsForTheNextFile()
    {
        MpvMediaEngine engine;
        QCOMPARE(engine.setSpeed(0.75), MediaError::None); // before anything is open
        QCOMPARE(engine.open(file("click.wav")), MediaError::None);
        QCOMPARE(engine.open(file("tone.wav")), MediaError::None);
        QCOMPARE(engine.speed(), 0.75);
    }

    void loopGoesRoundAndEnds()
    {
        MpvMediaEngine engine(timedOutput());
        QCOMPARE(engine.open(file("click.wav")), MediaError::None);
        QCOMPARE(engine.setLoop(1000, 1400), MediaError::None);
        QVERIFY(engine.isLooping());
        QCOMPARE(engine.playFrom(1000), MediaError::None);
        // Over a second and a half (several passes) the position stays inside; the
        // output's start after the first "play from" may read a few ms early.
        auto [lowest, highest] = positionsOver(engine, 1500);
        QVERIFY2(lowest >= 900 && highest <= 1410,
                 qPrintable(QStringLiteral("%1..%2").arg(lowest).arg(highest)));
        QVERIFY(engine.isPlaying());

        // A speed chosen while it loops keeps the loop going round.
        QCOMPARE(engine.setSpeed(2.0), MediaError::None);
        QVERIFY(engine.isLooping());
        std::tie(lowest, highest) = positionsOver(engine, 1000);
        QVERIFY2(lowest >= 900 && highest <= 1410 && highest - lowest >= 300,
                 qPrintable(QStringLiteral("%1..%2").arg(lowest).arg(highest)));
        QVERIFY(engine.isPlaying());
        QCOMPARE(engine.setSpeed(1.0), MediaError::None);

        engine.clearLoop();
        QVERIFY(!engine.isLooping());
        QTRY_VERIFY(engine.positionMs() > 1600);

        // Refused ranges; a new file ends a loop.
        QCOMPARE(engine.setLoop(2000, 2000), MediaError::OutOfRange);
        QCOMPARE(engine.setLoop(-1, 2000), MediaError::OutOfRange);
        QCOMPARE(engine.setLoop(5000, 7000), MediaError::OutOfRange);
        QCOMPARE(engine.setLoop(3000, 3500), MediaError::None);
        QCOMPARE(engine.open(file("click.wav")), MediaError::None);
        QVERIFY(!engine.isLooping());
        QCOMPARE(engine.playFrom(3000), MediaError::None);
        QTRY_VERIFY(engine.positionMs() > 3700);
        engine.close();
        QCOMPARE(engine.setLoop(0, 1000), MediaError::InvalidDeviceName);
    }
};

QTEST_MAIN(TestMpvSpeed)
#include "tst_mpv_speed.moc"
