// The waveform strip on a screen of twice the usual scale: its images are
// drawn at the screen's pixels and shown whole, not a corner of them.
#include "player/waveform_view.h"
#include "waveform/followed_strip.h"

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
        const auto differs = followed_strip::firstDifference({24.4, 100.0, -300.0}, 8);
        QVERIFY2(!differs, qPrintable(differs.value_or(QString())));
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
