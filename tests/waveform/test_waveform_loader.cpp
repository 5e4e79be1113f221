// The loader on real files made in the test: peaks where the sound is, the
// stretch around the playhead first, cancellation, the cache and its damage,
// and files without sound.
#include "media_fixtures.h"
#include "waveform/audio_peak_decoder.h"
#include "waveform/mp3_frame_walk.h"
#include "waveform/peak_cache.h"
#include "waveform/tail_pass.h"
#include "waveform/waveform_loader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillory;

namespace {

// Short tone bursts at a period that never lines up with the bins: a
// misplaced sample moves a burst's edge into another bin somewhere.
const char *const Bursts = "aevalsrc='0.9*sin(2*PI*440*t)*lt(mod(t,0.3713),0.004)':s=44100:d=300";

// How far apart two runs of peaks are, in levels; a level of 1 is what the
// decoder's noise substitution gives after a seek (its generator starts
// elsewhere), so 0 and 1 count alike; a misplaced sample moves a burst's edge
// across a bin by far more.
int largestDifference(const std::vector<Peak> &a, const std::vector<Peak> &b)
{
    if (a.size() != b.size())
        return 255;
    int largest = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        largest =
            std::max({largest, std::abs(a[i].low - b[i].low), std::abs(a[i].high - b[i].high)});
    return largest <= 1 ? 0 : largest;
}

// Runs the loader on `path` to its end.
std::shared_ptr<const WaveformPeaks> loadFully(WaveformLoader &loader, const QString &path,
                                               double playheadMs = 0)
{
    QSignalSpy finished(&loader, &WaveformLoader::finished);
    loader.open(path, playheadMs);
    if (!finished.wait(60000))
        return nullptr;
    return loader.peaks();
}

} // namespace

class TestWaveformLoader : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_clicks; // 16-bit WAV, 6 s, a click at every whole second
    QString m_clicksMp3;
    QString m_long;                   // 20 minutes of MP3
    QString m_burstsMp3, m_burstsAac; // 5 minutes each

    // The peaks of one pass from the start.
    std::vector<Peak> decodedInOnePass(const QString &path)
    {
        WaveformLoader loader(file("single"));
        loader.setSplitFromMs(1e12);
        const auto peaks = loadFully(loader, path);
        return peaks ? peaks->all() : std::vector<Peak>();
    }

    QString file(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

private slots:
    void initTestCase()
    {
        if (!testmedia::ffmpegAvailable())
            QSKIP("ffmpeg makes the test media");
        m_clicks = file("clicks.wav");
        QVERIFY(testmedia::writeClickWav(m_clicks, 6));
        m_clicksMp3 = file("clicks.mp3");
        QVERIFY(
            testmedia::runFfmpeg({"-i", m_clicks, "-c:a", "libmp3lame", "-q:a", "4", m_clicksMp3}));
        m_long = file("long.mp3");
        QVERIFY(testmedia::runFfmpeg({"-f", "lavfi", "-i", "anoisesrc=d=1200:r=22050:a=0.5", "-c:a",
                                      "libmp3lame", "-q:a", "9", m_long}));
        m_burstsMp3 = file("bursts.mp3");
        QVERIFY(testmedia::runFfmpeg(
            {"-f", "lavfi", "-i", Bursts, "-c:a", "libmp3lame", "-q:a", "5", m_burstsMp3}));
        m_burstsAac = file("bursts.m4a");
        QVERIFY(testmedia::runFfmpeg(
            {"-f", "lavfi", "-i", Bursts, "-c:a", "aac", "-b:a", "96k", m_burstsAac}));
    }

    void theTailLinesUpWithAPassFromTheStart_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("VBR MP3") << m_burstsMp3;
        QTest::newRow("AAC in MP4") << m_burstsAac;
    }

    void theTailLinesUpWithAPassFromTheStart()
    {
        QFETCH(QString, path);
        const std::vector<Peak> whole = decodedInOnePass(path);
        QVERIFY(whole.size() > 29900);
        WaveformPeaks peaks;
        int notes = 0;
        TailPass tail(path, 150000, 2000, peaks, [&notes] { ++notes; });
        QVERIFY(tail.waitForEnd(std::chrono::seconds(60)));
        QVERIFY(tail.reachedEnd());
        QVERIFY(!tail.gaveUp());
        const std::optional<TailPass::HandOver> handOver = tail.handOver();
        QVERIFY(handOver);
        // Half a second or so after the seek.
        QVERIFY2(handOver->bin > 15000 && handOver->bin < 15300,
                 qPrintable(QString::number(handOver->bin)));
        QVERIFY(notes > 1);
        const std::int64_t end = static_cast<std::int64_t>(whole.size());
        QCOMPARE(peaks.binCount(), end);
        QVERIFY(peaks.isExact(handOver->bin, end));
        QVERIFY(!peaks.copy(handOver->bin - 1, 1)[0].known());
        const std::vector<Peak> tailBins = peaks.copy(handOver->bin, end - handOver->bin);
        const std::vector<Peak> expected(whole.begin() + handOver->bin, whole.end());
        QCOMPARE(largestDifference(tailBins, expected), 0);

        // The pass from the start stops only where it agrees.
        using Meeting = TailPass::Meeting;
        QCOMPARE(tail.meet(handOver->packetPos - 1, 0), Meeting::NotYet);
        QCOMPARE(tail.meet(handOver->packetPos, handOver->sample), Meeting::Met);
        QCOMPARE(tail.meet(handOver->packetPos, handOver->sample + 1), Meeting::Never);
        QCOMPARE(tail.meet(handOver->packetPos + 1, 0), Meeting::Never);
        QCOMPARE(tail.meet(-1, 0), Meeting::Never);
    }

    // A stretch decoded after a walk over an MP3's frame headers lies where a
    // pass from the start puts it.
    void aQuickSeekIntoAnMp3LinesUp()
    {
        const std::vector<Peak> whole = decodedInOnePass(m_burstsMp3);
        std::atomic<bool> cancel{false};
        AudioPeakDecoder decoder(cancel);
        QCOMPARE(decoder.open(m_burstsMp3), AudioPeakDecoder::Opened::Ok);
        QVERIFY(decoder.seekQuickly(200000));
        while (decoder.nextBin() < 20600)
            QCOMPARE(decoder.next(), AudioPeakDecoder::Step::Frame);
        const std::vector<AudioPeakDecoder::Chunk> chunks = decoder.take();
        QCOMPARE(chunks.size(), size_t(1));
        const AudioPeakDecoder::Chunk &chunk = chunks.front();
        // The walk starts a few frames ahead, for the decoder's bit reservoir.
        QVERIFY2(chunk.firstBin > 19980 && chunk.firstBin <= 20000,
                 qPrintable(QString::number(chunk.firstBin)));
        const std::vector<Peak> stretch(chunk.bins.begin() + (20000 - chunk.firstBin),
                                        chunk.bins.begin() + (20500 - chunk.firstBin));
        const std::vector<Peak> expected(whole.begin() + 20000, whole.begin() + 20500);
        QCOMPARE(largestDifference(stretch, expected), 0);

        // What is not an MP3 of Layer III frames, or lies past its end, is not walked.
        QVERIFY(!walkMp3Frames(m_clicks, 0, 4, cancel));
        QVERIFY(!walkMp3Frames(m_burstsAac, 0, 4, cancel));
        QVERIFY(!walkMp3Frames(m_burstsMp3, 44100LL * 301, 4, cancel));
        const auto start = walkMp3Frames(m_burstsMp3, 0, 4, cancel);
        QVERIFY(start && start->size() == 1 && start->front().sample == 0);
    }

    void aTailWithNothingToDecodeGivesUp()
    {
        WaveformPeaks peaks;
        TailPass tail(m_clicks, 600000, 2000, peaks, [] {});
        QVERIFY(tail.waitForEnd(std::chrono::seconds(30)));
        QVERIFY(tail.gaveUp());
        QVERIFY(!tail.handOver());
        QCOMPARE(tail.meet(1000, 0), TailPass::Meeting::Never);
        QCOMPARE(peaks.binCount(), std::int64_t(0));
    }

    void aLongRecordingDecodedInTwoHalvesIsTheSame_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("VBR MP3") << m_burstsMp3;
        QTest::newRow("AAC in MP4") << m_burstsAac;
        QTest::newRow("MP3 at 22 kHz") << m_long;
    }

    void aLongRecordingDecodedInTwoHalvesIsTheSame()
    {
        QFETCH(QString, path);
        const std::vector<Peak> whole = decodedInOnePass(path);
        QVERIFY(!whole.empty());
        WaveformLoader loader(file("split"));
        loader.setSplitFromMs(60000);
        const auto peaks = loadFully(loader, path);
        QVERIFY(peaks);
        QCOMPARE(peaks->state(), WaveformPeaks::State::Complete);
        QVERIFY(peaks->isExact(0, peaks->binCount()));
        QCOMPARE(largestDifference(peaks->all(), whole), 0);
    }

    void peaksShowWhereTheSoundIs()
    {
        WaveformLoader loader(file("cache1"));
        const auto peaks = loadFully(loader, m_clicks);
        QVERIFY(peaks);
        QCOMPARE(peaks->state(), WaveformPeaks::State::Complete);
        QCOMPARE(peaks->binCount(), std::int64_t(600));
        QCOMPARE(peaks->durationMs(), 6000.0);
        const std::vector<Peak> bins = peaks->copy(0, 600);
        for (int b = 0; b < 600; ++b) {
            // The clicks (20000 of 32768) start every whole second and last 1 ms.
            const bool click = b % 100 == 0;
            QVERIFY2(bins[size_t(b)].known(), qPrintable(QString::number(b)));
            QCOMPARE(bins[size_t(b)].high, std::int8_t(click ? 78 : 0));
            QCOMPARE(bins[size_t(b)].low, std::int8_t(click ? -78 : 0));
        }
    }

    void compressedSoundLinesUpWithItsTime()
    {
        WaveformLoader loader(file("cache2"));
        const auto peaks = loadFully(loader, m_clicksMp3);
        QVERIFY(peaks);
        QCOMPARE(peaks->state(), WaveformPeaks::State::Complete);
        // The encoder's delay is taken off: each click is within a bin of its second.
        const std::vector<Peak> bins = peaks->copy(0, peaks->binCount());
        for (int second = 1; second < 6; ++second) {
            int loudest = -1, level = 0;
            for (int b = second * 100 - 20; b < second * 100 + 20; ++b)
                if (bins[size_t(b)].high > level)
                    level = bins[size_t(loudest = b)].high;
            QVERIFY2(std::abs(loudest - second * 100) <= 1,
                     qPrintable(QStringLiteral("click %1 at bin %2").arg(second).arg(loudest)));
        }
    }

    void theStretchAroundThePlayheadComesFirst()
    {
        WaveformLoader loader(file("cache3"));
        QSignalSpy changed(&loader, &WaveformLoader::peaksChanged);
        loader.open(m_long, 600000); // ten minutes in
        const auto peaks = loader.peaks();
        QVERIFY(QTest::qWaitFor([&] { return peaks->firstWrittenBin() >= 0; }, 30000));
        // The first bins written lie just before the playhead, not at the start:
        // the seconds the strip shows.
        const std::int64_t first = peaks->firstWrittenBin();
        const auto shownFrom =
            static_cast<std::int64_t>((600000 - WaveformLoader::ShownBeforeMs) / PeakBinMs);
        QVERIFY2(first > shownFrom - 200 && first <= shownFrom + 200,
                 qPrintable(QString::number(first)));
        QVERIFY(QTest::qWaitFor([&] { return changed.count() > 0; }, 30000));
        // Moving the playhead far ahead decodes there next.
        loader.setPlayhead(1100000);
        QVERIFY(QTest::qWaitFor(
            [&] { return peaks->copy(110000, 1)[0].known() || !loader.isRunning(); }, 30000));
        QVERIFY(peaks->copy(110000, 1)[0].known());
    }

    void aNewOpenCancelsTheOldWorkAtOnce()
    {
        WaveformLoader loader(file("cache4"));
        QSignalSpy finished(&loader, &WaveformLoader::finished);
        loader.open(m_long);
        const auto old = loader.peaks();
        QVERIFY(QTest::qWaitFor([&] { return old->exactUntil() > 0; }, 30000));
        QElapsedTimer clock;
        clock.start();
        loader.open(m_clicks);
        const qint64 switchMs = clock.elapsed();
        // The old worker is joined inside open(): it stopped mid-file.
        QVERIFY2(switchMs < 1000, qPrintable(QString::number(switchMs)));
        QCOMPARE(old->state(), WaveformPeaks::State::Loading);
        QVERIFY(old->exactUntil() < 120000);
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.count(), 1); // the cancelled file never reports
        QCOMPARE(loader.peaks()->binCount(), std::int64_t(600));
        // Nothing of the cancelled file was cached.
        QVERIFY(!QFile::exists(loader.cache().fileFor(m_long)));

        // Closing, or destroying the loader, mid-file stops as quickly.
        loader.open(m_long);
        QVERIFY(QTest::qWaitFor([&] { return loader.peaks()->exactUntil() > 0; }, 30000));
        clock.restart();
        loader.close();
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY(!loader.peaks());
        auto other = std::make_unique<WaveformLoader>(file("cache4"));
        other->open(m_long);
        clock.restart();
        other.reset();
        QVERIFY(clock.elapsed() < 1000);
    }

    void aReopenReadsTheCache()
    {
        const QString folder = file("cache5");
        std::vector<Peak> decoded;
        {
            WaveformLoader loader(folder);
            const auto peaks = loadFully(loader, m_clicksMp3);
            QVERIFY(peaks);
            decoded = peaks->all();
            QVERIFY(QFile::exists(loader.cache().fileFor(m_clicksMp3)));
        }
        WaveformLoader loader(folder);
        QSignalSpy finished(&loader, &WaveformLoader::finished);
        loader.open(m_clicksMp3);
        QVERIFY(finished.wait(10000));
        const auto peaks = loader.peaks();
        QCOMPARE(peaks->state(), WaveformPeaks::State::Complete);
        QVERIFY(peaks->all() == decoded);
        // Read whole: nothing was written piecemeal by a decoder.
        QCOMPARE(peaks->firstWrittenBin(), std::int64_t(-1));
    }

    void aDamagedCacheIsDecodedAgainAndMended()
    {
        const QString folder = file("cache6");
        WaveformLoader loader(folder);
        const auto first = loadFully(loader, m_clicks);
        QVERIFY(first);
        const std::vector<Peak> good = first->all();
        const QString entry = loader.cache().fileFor(m_clicks);
        QFile damaged(entry);
        QVERIFY(damaged.open(QIODevice::ReadWrite));
        const QByteArray bytes = damaged.readAll();
        damaged.resize(bytes.size() / 2); // a write cut short
        damaged.close();

        const auto second = loadFully(loader, m_clicks);
        QVERIFY(second);
        QCOMPARE(second->state(), WaveformPeaks::State::Complete);
        QVERIFY(second->all() == good);
        QVERIFY(second->firstWrittenBin() >= 0); // decoded, not read
        QFile mended(entry);
        QVERIFY(mended.open(QIODevice::ReadOnly));
        QCOMPARE(mended.readAll(), bytes);
    }

    void filesWithoutSoundHaveNoWaveform()
    {
        const QString video = file("silent_film.mkv");
        QVERIFY(testmedia::runFfmpeg(
            {"-f", "lavfi", "-i", "testsrc=d=2:s=160x120:r=10", "-c:v", "mpeg4", video}));
        const QString text = file("notes.mp3");
        QFile notes(text);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("These are notes, not sound.\n");
        notes.close();
        WaveformLoader loader(file("cache7"));
        const auto none = loadFully(loader, video);
        QVERIFY(none);
        QCOMPARE(none->state(), WaveformPeaks::State::NoAudio);
        QCOMPARE(none->binCount(), std::int64_t(0));
        const auto broken = loadFully(loader, text);
        QVERIFY(broken);
        QCOMPARE(broken->state(), WaveformPeaks::State::Failed);
        const auto missing = loadFully(loader, file("gone.mp3"));
        QVERIFY(missing);
        QCOMPARE(missing->state(), WaveformPeaks::State::Failed);
    }

    void videoFilesGiveTheirSoundTrack()
    {
        const QString video = file("film.mkv");
        QVERIFY(
            testmedia::runFfmpeg({"-f", "lavfi", "-i", "testsrc=d=6:s=160x120:r=10", "-i", m_clicks,
                                  "-c:v", "mpeg4", "-c:a", "flac", "-shortest", video}));
        WaveformLoader loader(file("cache8"));
        const auto peaks = loadFully(loader, video);
        QVERIFY(peaks);
        QCOMPARE(peaks->state(), WaveformPeaks::State::Complete);
        const std::vector<Peak> bins = peaks->copy(0, 600);
        QCOMPARE(bins[300].high, std::int8_t(78));
        QCOMPARE(bins[350].high, std::int8_t(0));
    }
};

QTEST_GUILESS_MAIN(TestWaveformLoader)
#include "test_waveform_loader.moc"
