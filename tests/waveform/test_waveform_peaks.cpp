// Peak bins: how samples fold into bins, how decoded stretches combine, and
// the cache file's round trip and refusals.
#include "waveform/peak_bins.h"
#include "waveform/peak_cache.h"
#include "waveform/waveform_peaks.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <vector>

using namespace quillory;

namespace {

Peak peak(int low, int high)
{
    Peak p;
    p.low = static_cast<std::int8_t>(low);
    p.high = static_cast<std::int8_t>(high);
    return p;
}

std::vector<Peak> ramp(int count)
{
    std::vector<Peak> bins;
    for (int i = 0; i < count; ++i)
        bins.push_back(peak(-(i % 100), i % 120));
    return bins;
}

} // namespace

class TestWaveformPeaks : public QObject {
    Q_OBJECT
private slots:
    void levelsScaleAndClip()
    {
        QCOMPARE(peakLevel(0.0f), std::int8_t(0));
        QCOMPARE(peakLevel(1.0f), std::int8_t(127));
        QCOMPARE(peakLevel(-1.0f), std::int8_t(-127));
        QCOMPARE(peakLevel(0.5f), std::int8_t(64));
        QCOMPARE(peakLevel(3.0f), std::int8_t(127));
        QCOMPARE(peakLevel(std::nanf("")), std::int8_t(0));
    }

    void samplesFoldIntoBinsOfTenMilliseconds()
    {
        // 1000 Hz: ten samples a bin. One spike in bin 3, a dip in bin 7.
        std::vector<float> mono(95, 0.0f);
        mono[31] = 0.5f;
        mono[75] = -1.0f;
        PeakAccumulator acc(1000, 0);
        const float *planes[] = {mono.data()};
        acc.addPlanar(planes, 1, 50);
        QCOMPARE(acc.pending(), size_t(4)); // bin 4 is still open
        const float *rest[] = {mono.data() + 50};
        acc.addPlanar(rest, 1, 45); // samples 50..94
        acc.finish();
        QCOMPARE(acc.firstTaken(), std::int64_t(0));
        const std::vector<Peak> bins = acc.take();
        QCOMPARE(bins.size(), size_t(10));
        QCOMPARE(bins[3], peak(0, 64));
        QCOMPARE(bins[7], peak(-127, 0));
        QCOMPARE(bins[0], peak(0, 0));
        // The last bin holds samples 90..94 only: still emitted at the end.
        QCOMPARE(bins[9], peak(0, 0));
    }

    void channelsCombineByTheirExtremes()
    {
        const float left[] = {0.25f, -0.5f};
        const float right[] = {-0.25f, 0.75f};
        const float *planes[] = {left, right};
        PeakAccumulator planar(100, 0); // one sample a bin
        planar.addPlanar(planes, 2, 2);
        planar.finish();
        const std::vector<Peak> a = planar.take();
        QCOMPARE(a.size(), size_t(2));
        QCOMPARE(a[0], peak(-32, 32));
        QCOMPARE(a[1], peak(-64, 95));

        const float interleaved[] = {0.25f, -0.25f, -0.5f, 0.75f};
        PeakAccumulator packed(100, 0);
        packed.addInterleaved(interleaved, 2, 2);
        packed.finish();
        QCOMPARE(packed.take(), a);
    }

    void binsOfOddSampleRatesCoverEverySample()
    {
        // 44100 Hz: 441 samples a bin; 22050 Hz after a start at sample 1000.
        for (int rate : {44100, 22050, 8000, 11025}) {
            PeakAccumulator acc(rate, 0);
            std::vector<float> second(static_cast<size_t>(rate), 0.1f);
            const float *planes[] = {second.data()};
            acc.addPlanar(planes, 1, rate);
            acc.finish();
            QCOMPARE(acc.take().size(), size_t(PeakBinsPerSecond));
        }
        PeakAccumulator late(22050, 22050 * 3); // starts at 3 s
        QCOMPARE(late.firstTaken(), std::int64_t(300));
    }

    void exactBinsWinOverEstimatedOnes()
    {
        WaveformPeaks peaks;
        // A stretch decoded after a seek, far ahead.
        peaks.write(500, std::vector<Peak>(100, peak(-10, 10)), false);
        QCOMPARE(peaks.exactUntil(), std::int64_t(0));
        QVERIFY(!peaks.copy(0, 1)[0].known());
        QCOMPARE(peaks.copy(550, 1)[0], peak(-10, 10));
        // The pass from the start reaches it and replaces it.
        peaks.write(0, std::vector<Peak>(560, peak(-1, 1)), true);
        QCOMPARE(peaks.exactUntil(), std::int64_t(560));
        QCOMPARE(peaks.copy(550, 1)[0], peak(-1, 1));
        QCOMPARE(peaks.copy(565, 1)[0], peak(-10, 10));
        // An estimate never overwrites what is exact.
        peaks.write(540, std::vector<Peak>(40, peak(-20, 20)), false);
        QCOMPARE(peaks.copy(545, 1)[0], peak(-1, 1));
        QCOMPARE(peaks.copy(575, 1)[0], peak(-20, 20));
        QCOMPARE(peaks.firstWrittenBin(), std::int64_t(500));
        // Copies reach past both ends without harm.
        const std::vector<Peak> edge = peaks.copy(-5, 10);
        QCOMPARE(edge.size(), size_t(10));
        QVERIFY(!edge[0].known());
        QCOMPARE(edge[5], peak(-1, 1));
    }

    void estimatesFillOnlyTheGapsBetweenExactStretches()
    {
        WaveformPeaks peaks;
        // The pass from the start, and the second half's pass far ahead.
        peaks.write(0, std::vector<Peak>(100, peak(-1, 1)), true);
        peaks.write(300, std::vector<Peak>(100, peak(-2, 2)), true);
        QCOMPARE(peaks.exactUntil(), std::int64_t(100));
        QVERIFY(peaks.isExact(300, 400));
        QVERIFY(!peaks.isExact(250, 350));
        // An estimate across both stretches lands only between and after them.
        peaks.write(50, std::vector<Peak>(400, peak(-9, 9)), false);
        const std::vector<Peak> bins = peaks.copy(0, 450);
        QCOMPARE(bins[99], peak(-1, 1));
        QCOMPARE(bins[100], peak(-9, 9));
        QCOMPARE(bins[299], peak(-9, 9));
        QCOMPARE(bins[300], peak(-2, 2));
        QCOMPARE(bins[399], peak(-2, 2));
        QCOMPARE(bins[400], peak(-9, 9));
        // The first pass meeting the second joins them into one exact stretch.
        peaks.write(100, std::vector<Peak>(200, peak(-3, 3)), true);
        QCOMPARE(peaks.exactUntil(), std::int64_t(400));
        QVERIFY(peaks.isExact(0, 400));
        QVERIFY(!peaks.isExact(0, 401));
    }

    void overviewFoldsKnownBins()
    {
        WaveformPeaks peaks;
        std::vector<Peak> bins(1000, peak(-1, 1));
        bins[10] = peak(-100, 90);
        bins[990] = peak(-5, 120);
        peaks.write(0, bins, true);
        const std::vector<Peak> columns = peaks.overview(10, 1000);
        QCOMPARE(columns.size(), size_t(10));
        QCOMPARE(columns[0], peak(-100, 90));
        QCOMPARE(columns[5], peak(-1, 1));
        QCOMPARE(columns[9], peak(-5, 120));
        // A longer recording than decoded so far: the rest is unknown.
        const std::vector<Peak> half = peaks.overview(4, 2000);
        QCOMPARE(half[1], peak(-5, 120));
        QVERIFY(!half[2].known() && !half[3].known());
        QVERIFY(peaks.overview(0, 1000).empty());
    }

    void cacheRoundTrip()
    {
        QTemporaryDir dir;
        const QString media = dir.filePath(QStringLiteral("talk.mp3"));
        QFile file(media);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not really sound");
        file.close();
        const std::optional<PeakCacheKey> key = PeakCacheKey::of(media);
        QVERIFY(key);
        PeakCache cache(dir.filePath(QStringLiteral("cache/waveforms")));
        QVERIFY(!cache.read(*key));
        const std::vector<Peak> bins = ramp(12345);
        QVERIFY(cache.write(*key, CachedPeaks{123450, bins}).ok);
        const std::optional<CachedPeaks> back = cache.read(*key);
        QVERIFY(back);
        QCOMPARE(back->durationMs, 123450.0);
        QVERIFY(back->bins == bins);
        // Another version of the file (size, time or path) has no peaks yet.
        for (auto change :
             {+[](PeakCacheKey &k) { k.size += 1; }, +[](PeakCacheKey &k) { k.modifiedMs += 1000; },
              +[](PeakCacheKey &k) { k.path += QLatin1Char('x'); }}) {
            PeakCacheKey other = *key;
            change(other);
            QVERIFY(!PeakCache::decode(PeakCache::encode(*key, 1, bins), other));
        }
        QVERIFY(!PeakCacheKey::of(dir.filePath(QStringLiteral("missing.mp3"))));
    }

    void damagedCacheEntriesReadAsNothing()
    {
        const PeakCacheKey key{QStringLiteral("/media/talk.mp3"), 1000, 42};
        const QByteArray good = PeakCache::encode(key, 5000, ramp(500));
        QVERIFY(PeakCache::decode(good, key));
        // Every single flipped byte is caught, wherever it is.
        for (qsizetype at = 0; at < good.size(); at += 7) {
            QByteArray bad = good;
            bad[at] = static_cast<char>(bad[at] ^ 0x20);
            QVERIFY2(!PeakCache::decode(bad, key), qPrintable(QString::number(at)));
        }
        // Truncated anywhere, extended, empty, or of another version.
        for (qsizetype length : {qsizetype(0), qsizetype(3), qsizetype(40), good.size() - 1})
            QVERIFY(!PeakCache::decode(good.left(length), key));
        QVERIFY(!PeakCache::decode(good + "extra", key));
        QByteArray otherVersion = good;
        otherVersion[4] = 2;
        QVERIFY(!PeakCache::decode(otherVersion, key));
    }
};

QTEST_GUILESS_MAIN(TestWaveformPeaks)
#include "test_waveform_peaks.moc"
