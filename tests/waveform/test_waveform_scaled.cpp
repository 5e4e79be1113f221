// The waveform strip on a screen of twice the usual scale: its images are
// drawn at the screen's pixels and shown whole, not a corner of them.
#include "player/waveform_view.h"

#include <QApplication>
#include <QtTest>

using namespace quillory;

class TestWaveformScaled : public QObject {
    Q_OBJECT
private slots:
    void theOverviewShowsTheWholeRecording()
    {
        // Loud for the first half of ten minutes, silent after.
        auto peaks = std::make_shared<WaveformPeaks>();
        std::vector<Peak> bins(60000);
        for (size_t i = 0; i < bins.size() / 2; ++i) {
            bins[i].low = -127;
            bins[i].high = 127;
        }
        for (size_t i = bins.size() / 2; i < bins.size(); ++i)
            bins[i].low = bins[i].high = 0;
        peaks->assignComplete(bins, 600000);
        WaveformView view;
        const int width = 328;
        view.resize(width, WaveformView::StripHeight);
        view.setPeaks(peaks);
        view.setPosition(0, 600000);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QImage shot = view.grab().toImage();
        QCOMPARE(shot.devicePixelRatio(), 2.0);
        QCOMPARE(shot.width(), 2 * width);
        // A row near the top of the overview: crossed only by loud columns.
        const int y = 2 * WaveformView::OverviewTop + 3;
        const QColor ahead(0x3d, 0x8b, 0xd4);
        int loudLeft = 0, loudRight = 0;
        for (int x = 2 * width / 10; x < 2 * width * 4 / 10; ++x)
            loudLeft += shot.pixelColor(x, y) == ahead;
        for (int x = 2 * width * 6 / 10; x < 2 * width * 95 / 100; ++x)
            loudRight += shot.pixelColor(x, y) == ahead;
        QVERIFY2(
            loudLeft > 2 * width / 10 && loudRight == 0,
            qPrintable(
                QStringLiteral("loud columns: %1 left, %2 right").arg(loudLeft).arg(loudRight)));
    }

    // The detail row moves by whole screen pixels per column.
    void aStripFollowedLooksAsIfDrawnAfresh()
    {
        auto peaks = std::make_shared<WaveformPeaks>();
        std::vector<Peak> bins(60000);
        for (size_t i = 0; i < bins.size(); ++i) {
            bins[i].low = static_cast<std::int8_t>(-static_cast<int>((i * 7) % 90));
            bins[i].high = static_cast<std::int8_t>((i * 13) % 100);
        }
        peaks->assignComplete(bins, 600000);
        const auto drawnAt = [&](WaveformView &view, double positionMs) {
            view.setPosition(positionMs, 600000);
            QCoreApplication::processEvents();
            return view.grab().toImage();
        };
        WaveformView followed;
        followed.resize(328, WaveformView::StripHeight);
        followed.setPeaks(peaks);
        followed.setPosition(10000, 600000);
        followed.show();
        QVERIFY(QTest::qWaitForWindowExposed(&followed));
        double position = 10000;
        for (double step : {24.4, 100.0, -300.0}) {
            for (int i = 0; i < 8; ++i) {
                position += step;
                const QImage moved = drawnAt(followed, position);
                WaveformView fresh;
                fresh.resize(328, WaveformView::StripHeight);
                fresh.setPeaks(peaks);
                QVERIFY2(moved == drawnAt(fresh, position),
                         qPrintable(QStringLiteral("at %1 ms").arg(position)));
            }
        }
    }
};

int main(int argc, char *argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestWaveformScaled test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_waveform_scaled.moc"
