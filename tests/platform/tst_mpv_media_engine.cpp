// The libmpv device through the media control string interface, on media files
// generated at test time. Exact positions are checked on the SDL output with its
// dummy driver, whose clock follows the samples handed to it.
#include "media_fixtures.h"
#include "platform/media/media_control.h"
#include "platform/mpv/mpv_media_engine.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace quillory;

namespace {

constexpr int kSeconds = 6;

QString openCommand(const QString &path)
{
    return "open \"" + path + "\" ALIAS wav1";
}

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
