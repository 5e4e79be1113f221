// Exact seeks, checked on the decoded sound itself: the output after "play from
// t" must be the recording from t on, also where the container's time stamps
// are off (Vorbis packets at a switch from long to short blocks).
#include "media_fixtures.h"
#include "platform/mpv/mpv_media_engine.h"
#include "tone_analysis.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

using namespace quillory;
using namespace quillory::testmedia;

namespace {

class NoHeldAudio : public HeldAudioProbe {
public:
    std::optional<long long> heldMicroseconds() override { return std::nullopt; }
};

// Where `excerpt` lies in `source`, in samples, searched within `reach` of
// `expected`: the lag with the largest correlation.
long long locate(const std::vector<float> &source, const std::vector<float> &excerpt,
                 long long expected, long long reach)
{
    long long best = expected;
    double bestScore = -1e300;
    for (long long lag = expected - reach; lag <= expected + reach; ++lag) {
        if (lag < 0 || lag + qsizetype(excerpt.size()) > qsizetype(source.size()))
            continue;
        double score = 0;
        for (std::size_t i = 0; i < excerpt.size(); ++i)
            score += double(source[std::size_t(lag) + i]) * excerpt[i];
        if (score > bestScore) {
            bestScore = score;
            best = lag;
        }
    }
    return best;
}

} // namespace

class TestMpvDecodedSeek : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString file(const QString &name) const { return m_dir.filePath(name); }

    // Plays `media` from `ms` to its end on mpv's PCM output, which writes as
    // fast as it decodes, and reads back what was written.
    PcmSound decodedFrom(const QString &media, std::int64_t ms, const QString &outName)
    {
        MpvEngineOptions options;
        options.audioOutput = "pcm";
        options.heldAudio = std::make_shared<NoHeldAudio>();
        options.extraOptions = pcmOutputOptions(file(outName));
        {
            MpvMediaEngine engine(options);
            if (engine.open(media) != MediaError::None || engine.playFrom(ms) != MediaError::None ||
                engine.play() != MediaError::None)
                return {};
            QElapsedTimer clock;
            clock.start();
            while (engine.positionMs() < engine.lengthMs() && clock.elapsed() < 30000)
                QTest::qWait(20);
        }
        return readPcmWav(file(outName));
    }

    // Packets whose time stamp lies further from the end of the one before than
    // a millisecond: where the container's stamps are off (seconds).
    QList<double> strayPackets(const QString &media)
    {
        QProcess probe;
        probe.start(QStringLiteral("ffprobe"),
                    {"-v", "error", "-select_streams", "a", "-show_entries",
                     "packet=pts_time,duration_time", "-of", "csv=p=0", media});
        if (!probe.waitForFinished(60000))
            return {};
        QList<double> stray;
        double end = -1;
        for (const QByteArray &line : probe.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> fields = line.split(',');
            if (fields.size() < 2)
                continue;
            const double pts = fields[0].toDouble();
            if (end >= 0 && std::abs(pts - end) > 0.001)
                stray.append(pts);
            end = pts + fields[1].toDouble();
        }
        return stray;
    }

private slots:
    void initTestCase()
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(m_dir.isValid());
        MpvMediaEngine probe;
        if (!probe.isReady())
            QSKIP("libmpv is not available");
        if (!ffmpegAvailable())
            QSKIP("ffmpeg is not installed");
        QVERIFY(writeSteppedNoiseWav(file("stepped.wav"), 6));
        QVERIFY(runFfmpeg(
            {"-i", file("stepped.wav"), "-c:a", "libvorbis", "-q:a", "4", file("stepped.ogg")}));
    }

    void vorbisSeeksLandOnTheSample()
    {
        const PcmSound source = readPcmWav(file("stepped.wav"));
        QVERIFY(!source.samples.empty());
        // Inside packets with a stray stamp, and one ordinary position.
        QList<std::int64_t> targets;
        for (double pts : strayPackets(file("stepped.ogg"))) {
            if (pts > 1.0 && pts < 4.5 && targets.size() < 3)
                targets.append(std::llround(pts * 1000) + 3);
        }
        if (targets.isEmpty())
            QSKIP("this FFmpeg stamps every Vorbis packet where it sounds");
        targets.append(2345);
        for (std::int64_t ms : targets) {
            const PcmSound out = decodedFrom(file("stepped.ogg"), ms, QStringLiteral("out.wav"));
            QVERIFY2(out.samples.size() > 44100, qPrintable(QString::number(ms)));
            const std::vector<float> excerpt(out.samples.begin(), out.samples.begin() + 8820);
            const long long expected = ms * 44100 / 1000;
            const long long found = locate(source.samples, excerpt, expected, 1323);
            // Within a millisecond (44 samples) of the target.
            QVERIFY2(std::abs(found - expected) <= 44,
                     qPrintable(QStringLiteral("from %1 ms the sound starts %2 samples off")
                                    .arg(ms)
                                    .arg(found - expected)));
        }
    }
};

QTEST_MAIN(TestMpvDecodedSeek)
#include "tst_mpv_decoded_seek.moc"
