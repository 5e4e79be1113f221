// The libmpv device through the media control string interface, on media files
// generated at test time. Exact positions are checked on the SDL output with its
// dummy driver, whose clock follows the samples handed to it.
#include "media_fixtures.h"
#include "platform/media/media_control.h"
#include "platform/mpv/audio_output_choice.h"
#include "platform/mpv/mpv_media_engine.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

using namespace quillory;

namespace {

constexpr int kSeconds = 6;

QString openCommand(const QString &path)
{
    return "open \"" + path + "\" ALIAS wav1";
}

// Stands in for a sound server's sink: holds what the test says.
class FakeHeldAudio : public HeldAudioProbe {
public:
    std::optional<long long> heldMicroseconds() override
    {
        ++queries;
        lastAfterPause = false;
        if (!slowAnswersUs.isEmpty())
            QThread::usleep(static_cast<unsigned long>(slowAnswersUs.takeFirst()));
        if (!readings.isEmpty())
            return readings.takeFirst();
        return held;
    }
    std::optional<long long> heldAfterPauseMicroseconds() override
    {
        ++afterPauseQueries;
        lastAfterPause = true;
        return heldAfterPause;
    }
    std::optional<long long> queuedMicroseconds() const override
    {
        return lastAfterPause ? queuedAfterPause : queued;
    }
    std::optional<long long> held;
    QList<long long> readings;      // taken first, one a query
    QList<long long> slowAnswersUs; // how long the next queries take to answer
    int queries = 0;
    std::optional<long long> heldAfterPause;
    int afterPauseQueries = 0;
    std::optional<long long> queued, queuedAfterPause; // the server's queue of the stream
    bool lastAfterPause = false;
};

constexpr long long kAnyReadingIsQuickUs = 10'000'000;

MpvEngineOptions exactOutput()
{
    MpvEngineOptions options;
    options.audioOutput = "sdl";
    return options;
}

} // namespace

class TestMpvMediaEngine : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    bool m_haveFfmpeg = false;
    std::unique_ptr<MediaControl> m_control;

    QString media(const QString &name) const { return m_dir.filePath(name); }

    std::int64_t status(const char *what)
    {
        char reply[127];
        const std::uint32_t code =
            m_control->sendString(QStringLiteral("status wav1 ") + what, reply, sizeof reply);
        return code == 0 ? QByteArray(reply).toLongLong() : -std::int64_t(code);
    }

    QString mode()
    {
        char reply[127];
        m_control->sendString(QStringLiteral("status wav1 mode"), reply, sizeof reply);
        return QString::fromUtf8(reply);
    }

    void skipIfEncoded(const QString &name)
    {
        if (!m_haveFfmpeg && !name.endsWith(QLatin1String(".wav")))
            QSKIP("ffmpeg is not installed");
    }

    void addFormatRows()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"click.wav", "cbr.mp3", "vbr.mp3", "vbr_no_xing.mp3", "click.ogg"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    // An engine on a sink the test controls, playing click.wav past 1.1 s. Unless
    // told otherwise, every reading counts at its first asking however long the
    // machine took for it: the scripted answers are then taken one per reading.
    std::unique_ptr<MpvMediaEngine> playingOn(const std::shared_ptr<FakeHeldAudio> &held,
                                              int readingReuseMs,
                                              long long quickReadingUs = kAnyReadingIsQuickUs)
    {
        MpvEngineOptions options = exactOutput();
        options.heldAudio = held;
        options.readingReuseMs = readingReuseMs;
        options.quickReadingUs = quickReadingUs;
        auto engine = std::make_unique<MpvMediaEngine>(options);
        if (engine->open(media("click.wav")) != MediaError::None ||
            engine->playFrom(1000) != MediaError::None ||
            !QTest::qWaitFor([&engine] { return engine->positionMs() > 1100; }))
            return nullptr;
        return engine;
    }

    // Waits (bounded) until the device leaves the playing mode.
    bool waitUntilStopped(int timeoutMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired()) {
            if (mode() == QLatin1String("stopped"))
                return true;
            QTest::qWait(20);
        }
        return false;
    }

private slots:
    void initTestCase()
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(m_dir.isValid());
        QVERIFY(testmedia::writeClickWav(media("click.wav"), kSeconds));
        QFile::remove(media("not media.mp3"));
        QFile text(media("not media.mp3"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("This is a transcript, not a recording.\n");
        text.close();
        // A playlist dressed as a recording: opening it must not play what it lists.
        QFile playlist(media("list.mp3"));
        QVERIFY(playlist.open(QIODevice::WriteOnly));
        playlist.write("#EXTM3U\n" + QFile::encodeName(media("click.wav")) + "\n");
        playlist.close();
        for (const char *copy :
             {"with blanks in name.wav", "say \"hi\".wav", "lezione città ñ.wav"})
            QVERIFY(QFile::copy(media("click.wav"), media(QString::fromUtf8(copy))));

        m_haveFfmpeg = testmedia::ffmpegAvailable();
        if (!m_haveFfmpeg)
            return;
        const QString wav = media("click.wav");
        QVERIFY(testmedia::runFfmpeg(
            {"-i", wav, "-c:a", "libmp3lame", "-b:a", "128k", media("cbr.mp3")}));
        QVERIFY(
            testmedia::runFfmpeg({"-i", wav, "-c:a", "libmp3lame", "-q:a", "4", media("vbr.mp3")}));
        QVERIFY(testmedia::runFfmpeg({"-i", wav, "-c:a", "libmp3lame", "-q:a", "4", "-write_xing",
                                      "0", media("vbr_no_xing.mp3")}));
        QVERIFY(testmedia::runFfmpeg(
            {"-i", wav, "-c:a", "libvorbis", "-q:a", "4", media("click.ogg")}));
        QVERIFY(testmedia::runFfmpeg({"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10:duration=3",
                                      "-f", "lavfi", "-i", "sine=frequency=440:duration=3", "-c:v",
                                      "mpeg4", "-c:a", "aac", "-shortest", media("clip.mp4")}));
    }

    void init()
    {
        m_control = std::make_unique<MediaControl>(std::make_unique<MpvMediaEngine>(exactOutput()));
    }
    void cleanup() { m_control.reset(); }

    void opensWithLengthOfTheSound_data() { addFormatRows(); }
    void opensWithLengthOfTheSound()
    {
        QFETCH(QString, name);
        skipIfEncoded(name);
        QCOMPARE(m_control->sendString(openCommand(media(name))), 0u);
        QCOMPARE(status("position"), 0);
        QCOMPARE(mode(), QStringLiteral("stopped"));
        const std::int64_t length = status("length");
        if (name.endsWith(QLatin1String(".wav")))
            QCOMPARE(length, kSeconds * 1000);
        else // encoder delay and padding add a few tens of milliseconds at most
            QVERIFY2(qAbs(length - kSeconds * 1000) < 100, qPrintable(QString::number(length)));
        QCOMPARE(m_control->sendString("close wav1"), 0u);
        QCOMPARE(m_control->sendString("status wav1 length"),
                 toCode(MediaError::InvalidDeviceName));
    }

    void pauseLandsExactlyOnTarget_data() { addFormatRows(); }
    void pauseLandsExactlyOnTarget()
    {
        QFETCH(QString, name);
        skipIfEncoded(name);
        QCOMPARE(m_control->sendString(openCommand(media(name))), 0u);
        for (std::int64_t target : {1234, 4321, 2999, 1}) {
            QCOMPARE(m_control->sendString(QStringLiteral("play wav1 from %1").arg(target)), 0u);
            QCOMPARE(m_control->sendString("stop wav1"), 0u);
            QVERIFY2(qAbs(status("position") - target) <= 1,
                     qPrintable(QStringLiteral("%1 for %2").arg(status("position")).arg(target)));
            QCOMPARE(mode(), QStringLiteral("stopped"));
        }
        // While playing: the player reads the position and pauses three seconds back.
        QCOMPARE(m_control->sendString("play wav1 from 3500"), 0u);
        QCOMPARE(mode(), QStringLiteral("playing"));
        // A loaded machine may take a while to start the audio output.
        QTRY_VERIFY_WITH_TIMEOUT(status("position") > 3500, 10000);
        const std::int64_t playedTo = status("position");
        QCOMPARE(m_control->sendString(QStringLiteral("play wav1 from %1").arg(playedTo - 3000)),
                 0u);
        QCOMPARE(m_control->sendString("stop wav1"), 0u);
        QVERIFY(qAbs(status("position") - (playedTo - 3000)) <= 1);
        QTest::qWait(100); // a cancelled start must not resume later
        QCOMPARE(mode(), QStringLiteral("stopped"));
        QVERIFY(qAbs(status("position") - (playedTo - 3000)) <= 1);
    }

    void playFromStartsPlayback()
    {
        QCOMPARE(m_control->sendString(openCommand(media("click.wav"))), 0u);
        QCOMPARE(m_control->sendString("play wav1 from 2000"), 0u);
        QCOMPARE(mode(), QStringLiteral("playing"));
        QTRY_VERIFY_WITH_TIMEOUT(status("position") > 2000, 10000);
        QCOMPARE(m_control->sendString("stop wav1"), 0u);
        const std::int64_t stoppedAt = status("position");
        QTest::qWait(100);
        QCOMPARE(status("position"), stoppedAt);
        QCOMPARE(m_control->sendString("seek wav1 to start"), 0u);
        QCOMPARE(status("position"), 0);
        QCOMPARE(mode(), QStringLiteral("stopped"));
    }

    void endOfMediaReportsLength_data() { addFormatRows(); }
    void endOfMediaReportsLength()
    {
        QFETCH(QString, name);
        skipIfEncoded(name);
        QCOMPARE(m_control->sendString(openCommand(media(name))), 0u);
        const std::int64_t length = status("length");
        QCOMPARE(m_control->sendString(QStringLiteral("play wav1 from %1").arg(length - 300)), 0u);
        QVERIFY(waitUntilStopped(5000));
        QCOMPARE(status("position"), status("length"));
        QCOMPARE(m_control->sendString("seek wav1 to start"), 0u);
        QCOMPARE(status("position"), 0);
        QCOMPARE(m_control->sendString("play wav1"), 0u);
        QCOMPARE(mode(), QStringLiteral("playing"));
    }

    void playBeyondLengthIsRefused()
    {
        QCOMPARE(m_control->sendString(openCommand(media("click.wav"))), 0u);
        QCOMPARE(m_control->sendString("play wav1 from 2500"), 0u);
        QCOMPARE(m_control->sendString("stop wav1"), 0u);
        const std::int64_t length = status("length");
        QCOMPARE(m_control->sendString(QStringLiteral("play wav1 from %1").arg(length + 1)),
                 toCode(MediaError::OutOfRange));
        QCOMPARE(status("position"), 2500);
        QCOMPARE(mode(), QStringLiteral("stopped"));
        QCOMPARE(m_control->sendString(QStringLiteral("play wav1 from %1").arg(length)), 0u);
        QCOMPARE(status("position"), length);
    }

    void openErrors_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<MediaError>("expected");
        QTest::newRow("missing") << media("missing.wav") << MediaError::FileNotFound;
        QTest::newRow("text as mp3") << media("not media.mp3") << MediaError::InvalidFile;
        QTest::newRow("folder") << m_dir.path() << MediaError::InvalidFile;
        QTest::newRow("playlist as mp3") << media("list.mp3") << MediaError::InvalidFile;
        QTest::newRow("embedded NUL")
            << media("click.wav") + QChar(0) + "x" << MediaError::PathNotValid;
        QTest::newRow("lone surrogate")
            << media("a") + QChar(0xD800) + ".wav" << MediaError::PathNotValid;
    }
    void openErrors()
    {
        QFETCH(QString, path);
        QFETCH(MediaError, expected);
        QCOMPARE(m_control->sendString(openCommand(path)), toCode(expected));
        QVERIFY(!m_control->engine().isOpen());
        QCOMPARE(m_control->sendString(openCommand(media("click.wav"))), 0u);
        QCOMPARE(status("length"), kSeconds * 1000);
    }

    void awkwardPathsOpen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("blanks") << "with blanks in name.wav";
        QTest::newRow("double quote") << "say \"hi\".wav";
        QTest::newRow("non-ASCII") << QString::fromUtf8("lezione città ñ.wav");
    }
    void awkwardPathsOpen()
    {
        QFETCH(QString, name);
        QCOMPARE(m_control->sendString(openCommand(media(name))), 0u);
        QCOMPARE(status("length"), kSeconds * 1000);
    }

    void videoPlaysItsSound()
    {
        if (!m_haveFfmpeg)
            QSKIP("ffmpeg is not installed");
        QCOMPARE(m_control->sendString(openCommand(media("clip.mp4"))), 0u);
        QVERIFY(qAbs(status("length") - 3000) < 100);
        QCOMPARE(m_control->sendString("play wav1 from 1000"), 0u);
        QTRY_VERIFY_WITH_TIMEOUT(status("position") > 1000, 10000);
        QCOMPARE(m_control->sendString("play wav1 from 500"), 0u);
        QCOMPARE(m_control->sendString("stop wav1"), 0u);
        QCOMPARE(status("position"), 500);
    }

    void missingAudioOutput()
    {
        // A PCM file output in a folder that does not exist cannot be opened.
        MpvEngineOptions options;
        options.audioOutput = "pcm";
        options.extraOptions = {
            {"ao-pcm-file", QFile::encodeName(media("no/such/folder/out.wav"))}};
        options.fallbackToNullOutput = false;
        MpvMediaEngine failing(options);
        QCOMPARE(failing.open(media("click.wav")), MediaError::CannotLoadDriver);
        QVERIFY(!failing.isOpen());

        options.fallbackToNullOutput = true;
        MpvMediaEngine fallingBack(options);
        QCOMPARE(fallingBack.open(media("click.wav")), MediaError::None);
        QCOMPARE(fallingBack.lengthMs(), kSeconds * 1000);
    }

    void libmpvMissingOrUnusable_data()
    {
        QTest::addColumn<QByteArray>("library");
        QTest::newRow("missing") << QByteArray("libquillory-no-such-mpv.so.2");
        QTest::newRow("not a library") << QFile::encodeName(media("not-a-library.so"));
        QTest::newRow("another library") << QByteArray("libc.so.6");
    }

    void libmpvMissingOrUnusable()
    {
        QFETCH(QByteArray, library);
        QFile junk(media("not-a-library.so"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("this is no shared object");
        junk.close();

        MpvEngineOptions options = exactOutput();
        options.libraryName = library;
        MediaControl control(std::make_unique<MpvMediaEngine>(options));
        QCOMPARE(control.sendString(openCommand(media("click.wav"))),
                 toCode(MediaError::DeviceNotInstalled));
        QVERIFY(!control.errorText(toCode(MediaError::DeviceNotInstalled)).isEmpty());
        QVERIFY(!control.engine().isOpen());
        // Everything else answers as with no file open.
        QCOMPARE(control.sendString("play wav1"), toCode(MediaError::InvalidDeviceName));
        QCOMPARE(control.sendString("close all"), 0u);
    }

    void startsOnAWorkerThread()
    {
        MpvEngineOptions options = exactOutput();
        options.startLater = true;
        MpvMediaEngine engine(options);
        QSignalSpy started(&engine, &MpvMediaEngine::started);
        QVERIFY(engine.isStarting());
        engine.startInBackground();
        engine.startInBackground(); // a second request changes nothing
        QTRY_COMPARE_WITH_TIMEOUT(started.count(), 1, 20000);
        QCOMPARE(started.first().first().toBool(), true);
        QVERIFY(!engine.isStarting());
        QCOMPARE(engine.open(media("click.wav")), MediaError::None);
        QCOMPARE(engine.lengthMs(), kSeconds * 1000);
        QCOMPARE(started.count(), 1);
    }

    // mpv's built-in scripts (statistics page, console, automatic profiles) can
    // never be reached with its bindings and configuration off; each would
    // cost a thread and a Lua start-up beside the window being built.
    void startsNoScripts()
    {
        const auto scriptThreads = [] {
            int count = 0;
            const QDir tasks(QStringLiteral("/proc/self/task"));
            for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
                QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
                if (comm.open(QIODevice::ReadOnly) && comm.readAll().contains("lua"))
                    ++count;
            }
            return count;
        };
        if (!QFileInfo::exists(QStringLiteral("/proc/self/task")))
            QSKIP("no per-thread names to look at");
        QCOMPARE(m_control->sendString(openCommand(media("click.wav"))), 0u);
        QCOMPARE(m_control->sendString("play wav1"), 0u);
        QTRY_COMPARE(mode(), QStringLiteral("playing"));
        QCOMPARE(scriptThreads(), 0);
    }

    void anOpenWaitsForTheStart()
    {
        MpvEngineOptions options = exactOutput();
        options.startLater = true;
        {
            // Started in the background, opened before the start is announced.
            MpvMediaEngine engine(options);
            QSignalSpy started(&engine, &MpvMediaEngine::started);
            engine.startInBackground();
            QCOMPARE(engine.open(media("click.wav")), MediaError::None);
            QCOMPARE(started.count(), 1);
            QCoreApplication::processEvents(); // the worker's own announcement is dropped
            QCOMPARE(started.count(), 1);
        }
        {
            // Never asked to start: the open starts it.
            MpvMediaEngine engine(options);
            QCOMPARE(engine.open(media("click.wav")), MediaError::None);
            QVERIFY(!engine.isStarting());
        }
        {
            // Destroyed while starting: waits for the start, then stops the player.
            MpvMediaEngine engine(options);
            engine.startInBackground();
        }
    }

    void slowAnswersAreAskedAgain()
    {
        auto held = std::make_shared<FakeHeldAudio>();
        const auto engine = playingOn(held, 0, 1500);
        QVERIFY(engine);
        held->held = 0;
        const std::int64_t before = engine->positionMs();
        // Every answer takes longer than a quick one may (the machine's own pace
        // only adds to that): all five are asked, and one of them counts.
        held->readings = {600000, 600000, 600000, 600000, 600000};
        held->slowAnswersUs = {12000, 12000, 12000, 12000, 12000};
        QElapsedTimer clock;
        clock.start();
        const std::int64_t heard = engine->positionMs();
        const std::int64_t took = clock.elapsed();
        QVERIFY(held->readings.isEmpty());
        QVERIFY2(heard >= before + 600 && heard <= before + 600 + took + 2,
                 qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(heard)));
    }

    void aReadingWhilePlayingIsCarriedForward()
    {
        auto held = std::make_shared<FakeHeldAudio>();
        const auto engine = playingOn(held, 60000);
        QVERIFY(engine);
        held->held = 250000;
        QCOMPARE(engine->play(), MediaError::None); // a resume reads afresh
        const int asked = held->queries;
        QElapsedTimer between;
        between.start();
        const std::int64_t first = engine->positionMs();
        QTest::qWait(30);
        const std::int64_t carried = engine->positionMs();
        QCOMPARE(held->queries, asked + 1);
        // Carried forward in real time, not read again.
        QVERIFY2(carried >= first + 29 && carried <= first + between.elapsed() + 1,
                 qPrintable(QStringLiteral("%1 -> %2").arg(first).arg(carried)));
        // A pause takes a fresh reading of its own.
        QCOMPARE(engine->stop(), MediaError::None);
        QVERIFY(held->queries > asked + 1);
    }

    void aDueBlockIsReadAgainFromTheEventLoop()
    {
        auto held = std::make_shared<FakeHeldAudio>();
        MpvEngineOptions options = exactOutput();
        options.heldAudio = held;
        options.quickReadingUs = kAnyReadingIsQuickUs;
        options.firstReadingReuseMs = 5000; // carried: only the re-read asks
        options.readingReuseMs = 5000;
        MpvMediaEngine engine(options);
        QCOMPARE(engine.open(media("click.wav")), MediaError::None);
        held->held = 100000;
        QCOMPARE(engine.playFrom(1000), MediaError::None);
        QTRY_VERIFY(engine.positionMs() > 1100);
        // A sink well inside its block is not asked again.
        const int carried = held->queries;
        QTest::qWait(30);
        engine.positionMs();
        QCOMPARE(held->queries, carried);

        QCOMPARE(engine.stop(), MediaError::None);
        QCOMPARE(engine.play(), MediaError::None);
        QTRY_VERIFY(!engine.isSeeking());
        // Just before the sink takes a block holding 200 ms.
        held->readings = {500, 200000};
        const int asked = held->queries;
        QElapsedTimer between;
        between.start();
        const std::int64_t beforeBlock = engine.positionMs();
        QTRY_VERIFY(held->queries >= asked + 2);
        const std::int64_t afterBlock = engine.positionMs();
        // Carried from the first reading alone, it would have moved on by the
        // time between the two at most.
        const std::int64_t beyondCarried = afterBlock - beforeBlock - between.elapsed();
        QVERIFY2(beyondCarried > 100 && beyondCarried <= 201,
                 qPrintable(QStringLiteral("%1 -> %2 in %3 ms")
                                .arg(beforeBlock)
                                .arg(afterBlock)
                                .arg(between.elapsed())));
    }

    void pausePositionIncludesWhatTheOutputHolds()
    {
        auto held = std::make_shared<FakeHeldAudio>();
        const auto engine = playingOn(held, 0); // every reading asks the sink
        QVERIFY(engine);

        held->held = 0;
        const std::int64_t playing = engine->positionMs();
        held->held = 250000;
        const std::int64_t heard = engine->positionMs();
        held->held = 0;
        const std::int64_t later = engine->positionMs();
        QVERIFY2(heard - playing >= 250 && heard - playing <= 250 + (later - playing) + 2,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(playing).arg(heard).arg(later)));

        // A stop while playing stays where the heard position was read.
        held->held = 250000;
        const std::int64_t before = engine->positionMs();
        QCOMPARE(engine->stop(), MediaError::None);
        const std::int64_t stopped = engine->positionMs();
        QVERIFY2(stopped >= before + 0 && stopped <= before + 250,
                 qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(stopped)));
        QTest::qWait(100);
        QCOMPARE(engine->positionMs(), stopped);

        // The sink had played out what it held before the pause reached it, so it
        // took a further block: what it holds after the pause tells the end.
        // Nothing held while waiting, so the wait ends only once the output
        // itself has moved on (not on the held time alone).
        held->held = 0;
        QCOMPARE(engine->playFrom(3000), MediaError::None);
        QTRY_VERIFY(engine->positionMs() > 3100);
        QElapsedTimer between; // the output plays on while the stop is under way
        between.start();
        const std::int64_t playingNow = engine->positionMs();
        held->readings = {1, 1, 1}; // drained at every reading
        held->heldAfterPause = 300000;
        QCOMPARE(engine->stop(), MediaError::None);
        const std::int64_t playedOn = between.elapsed();
        QCOMPARE(held->afterPauseQueries, 1);
        const std::int64_t afterBlock2 = engine->positionMs();
        QVERIFY2(afterBlock2 >= playingNow + 300 && afterBlock2 <= playingNow + 300 + playedOn + 2,
                 qPrintable(QStringLiteral("%1 -> %2 (%3 ms played on)")
                                .arg(playingNow)
                                .arg(afterBlock2)
                                .arg(playedOn)));
        // A sink still holding audio at the pause is not asked again.
        QCOMPARE(engine->playFrom(3000), MediaError::None);
        QTRY_VERIFY(engine->positionMs() > 3100);
        held->held = 250000;
        QCOMPARE(engine->stop(), MediaError::None);
        QCOMPARE(held->afterPauseQueries, 1);
        held->heldAfterPause.reset();

        // The server's queue before and after the pause: the sink gave back 30 ms
        // it had not played (the end is that much earlier); a queue that only
        // shrank waits for the player's refill and tells nothing. The same
        // reading before the pause serves both.
        const auto stopWithQueues = [&](long long after, std::int64_t *moved,
                                        std::int64_t *within) {
            held->held = 20000;
            held->heldAfterPause = 5000;
            held->queued = 100000;
            held->queuedAfterPause = after;
            QCOMPARE(engine->playFrom(3000), MediaError::None);
            QTRY_VERIFY(engine->positionMs() > 3100);
            held->readings = {20000}; // the reading the stop takes
            QElapsedTimer between;
            between.start();
            const std::int64_t playingNow = engine->positionMs() - 20;
            QCOMPARE(engine->stop(), MediaError::None);
            *moved = engine->positionMs() - playingNow;
            *within = between.elapsed();
        };
        std::int64_t took = 0, tookWithin = 0, gaveBack = 0, gaveBackWithin = 0;
        stopWithQueues(60000, &took, &tookWithin);
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY2(took >= 20 && took <= 20 + tookWithin + 2,
                 qPrintable(QStringLiteral("%1 (%2 ms)").arg(took).arg(tookWithin)));
        stopWithQueues(130000, &gaveBack, &gaveBackWithin);
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY2(gaveBack >= 20 - 30 && gaveBack <= 20 - 30 + gaveBackWithin + 2,
                 qPrintable(QStringLiteral("%1 (%2 ms)").arg(gaveBack).arg(gaveBackWithin)));
        held->queued.reset();
        held->queuedAfterPause.reset();
        held->heldAfterPause.reset();

        // Without anything held (no sound server), the output's own clock counts.
        held->held.reset();
        QCOMPARE(engine->playFrom(2000), MediaError::None);
        QCOMPARE(engine->stop(), MediaError::None);
        QCOMPARE(engine->positionMs(), 2000);
    }

    void audioOutputChoiceOnlyPassesKnownOutputs_data()
    {
        QTest::addColumn<QString>("preference");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("alsa") << "alsa" << QByteArray("alsa");
        QTest::newRow("case and blanks") << "  PipeWire " << QByteArray("pipewire");
        QTest::newRow("unset") << QString() << QByteArray();
        QTest::newRow("auto") << "auto" << QByteArray();
        QTest::newRow("a list") << "alsa,pulse" << QByteArray();
        QTest::newRow("a sub-option") << "pcm:file=/tmp/x" << QByteArray();
        QTest::newRow("unknown") << "coreaudio" << QByteArray();
    }

    void audioOutputChoiceOnlyPassesKnownOutputs()
    {
        QFETCH(QString, preference);
        QFETCH(QByteArray, output);
        QCOMPARE(audioOutputChoice(preference), output);
    }

    void closeAllAndReopen()
    {
        QCOMPARE(m_control->sendString(openCommand(media("click.wav"))), 0u);
        QCOMPARE(m_control->sendString("play wav1"), 0u);
        QCOMPARE(m_control->sendString("close all"), 0u);
        QVERIFY(!m_control->engine().isOpen());
        QVERIFY(!m_control->engine().isPlaying());
        QCOMPARE(m_control->sendString("play wav1"), toCode(MediaError::InvalidDeviceName));
        QCOMPARE(m_control->sendString(openCommand(media("with blanks in name.wav"))), 0u);
        QCOMPARE(status("position"), 0);
        QCOMPARE(mode(), QStringLiteral("stopped"));
    }
};

QTEST_GUILESS_MAIN(TestMpvMediaEngine)
#include "tst_mpv_media_engine.moc"
