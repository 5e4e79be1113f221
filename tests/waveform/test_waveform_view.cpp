// The waveform strip: where times fall on it and back, what a click or drag
// asks for, and that following playback repaints only what moved.
#include "player/waveform_scale.h"
#include "player/waveform_view.h"
#include "waveform/followed_strip.h"

#include <QSignalSpy>
#include <QtTest>

using namespace quillory;
namespace Scale = WaveformScale;

class TestWaveformView : public QObject {
    Q_OBJECT
private slots:
    void detailKeepsThePlayheadInTheMiddle()
    {
        const int width = 328;
        const double perColumn = Scale::detailMsPerColumn(width);
        QCOMPARE(perColumn, 8000.0 / 328);
        for (double position : {0.0, 1234.5, 3600000.0}) {
            const double x = Scale::detailXOf(position, position, width);
            QVERIFY2(x >= width / 2 && x < width / 2 + 1, qPrintable(QString::number(x)));
            // Back and forth agree.
            for (double column : {0.0, 17.0, 163.0, 327.0})
                QCOMPARE(
                    Scale::detailXOf(Scale::detailTimeAt(column, position, width), position, width),
                    column);
        }
        // Eight seconds across, four on each side.
        QVERIFY(qAbs(Scale::detailTimeAt(width, 60000, width) -
                     Scale::detailTimeAt(0, 60000, width) - 8000) < 1e-6);
        // The drawing moves by whole columns: within a column nothing shifts.
        QCOMPARE(Scale::playheadColumn(0, width), std::int64_t(0));
        QCOMPARE(Scale::playheadColumn(perColumn - 0.01, width), std::int64_t(0));
        QCOMPARE(Scale::playheadColumn(perColumn, width), std::int64_t(1));
        QCOMPARE(Scale::detailTimeAt(10, 5.0, width), Scale::detailTimeAt(10, 20.0, width));
        // A tiny widget still has a sensible scale.
        QVERIFY(Scale::detailMsPerColumn(0) > 0);
    }

    void theStripStepsAtMostTenTimesASecond()
    {
        using namespace WaveformScale;
        const int width = 328; // a column is 24.4 ms
        for (const double speed : {0.5, 1.0, 2.0}) {
            for (double p = 0; p < 60000; p += 37) {
                const double step = msUntilNextStep(p, 600000, width, speed);
                // Media time at this speed: never sooner than 100 ms of wall time.
                QVERIFY(step >= SmallestStepMs * speed);
                // Never later than needed where the playhead moves more slowly.
                QVERIFY(step <=
                        std::max(SmallestStepMs * speed, msUntilPlayheadMoves(p, 600000, width)) +
                            1e-9);
            }
        }
    }

    void thePlayheadsNextMoveIsForetold()
    {
        using namespace WaveformScale;
        const int width = 400;
        for (const double length : {600000.0, 5000.0}) {
            // The overview marks the detail's span by the floor and the ceiling
            // of its ends.
            const auto marks = [&](double t) {
                const double x = overviewXOf(t, length, width);
                const double half = DetailSpanMs / 2 / length * width;
                return std::make_pair(std::floor(x - half), std::ceil(x + half));
            };
            for (double p = 0; p < length - 100; p += 137) { // whole milliseconds, as played
                const double h = msUntilPlayheadMoves(p, length, width);
                QVERIFY(h > 0);
                // (At a pixel's very edge the marks move just after: no "before".)
                if (h >= 1e-3) {
                    const double before = p + h * 0.999;
                    QCOMPARE(playheadColumn(before, width), playheadColumn(p, width));
                    QVERIFY2(marks(before) == marks(p),
                             qPrintable(QStringLiteral("%1 of %2: %3 %4 %5 %6 %7")
                                            .arg(p)
                                            .arg(length)
                                            .arg(h)
                                            .arg(marks(p).first)
                                            .arg(marks(p).second)
                                            .arg(marks(before).first)
                                            .arg(marks(before).second)));
                }
                const double after = p + h + 1e-6;
                QVERIFY2(playheadColumn(after, width) != playheadColumn(p, width) ||
                             marks(after) != marks(p),
                         qPrintable(QStringLiteral("%1 ms of %2: %3").arg(p).arg(length).arg(h)));
            }
        }
    }

    void overviewSpansTheRecording()
    {
        QCOMPARE(Scale::overviewTimeAt(0, 7200000, 328), 0.0);
        QCOMPARE(Scale::overviewTimeAt(164, 7200000, 328), 3600000.0);
        QCOMPARE(Scale::overviewTimeAt(328, 7200000, 328), 7200000.0);
        // Past the ends, the ends.
        QCOMPARE(Scale::overviewTimeAt(-20, 7200000, 328), 0.0);
        QCOMPARE(Scale::overviewTimeAt(900, 7200000, 328), 7200000.0);
        QCOMPARE(Scale::overviewXOf(1800000, 7200000, 328), 82.0);
        QCOMPARE(Scale::overviewXOf(9e9, 7200000, 328), 328.0);
        // No recording: everything at the start.
        QCOMPARE(Scale::overviewTimeAt(100, 0, 328), 0.0);
        QCOMPARE(Scale::overviewXOf(100, 0, 328), 0.0);
    }

    void clicksAndDragsAskForSeeks()
    {
        WaveformView view;
        view.resize(328, WaveformView::StripHeight);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.setPosition(60000, 600000);
        QSignalSpy seeks(&view, &WaveformView::seekRequested);

        // A click in the overview: that point of the recording, at once.
        const int overviewY = WaveformView::OverviewTop + 5;
        QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(164, overviewY));
        QCOMPARE(seeks.count(), 2); // on the press, and final on the release
        QCOMPARE(seeks.last().at(0).toLongLong(), 300000);
        QVERIFY(seeks.last().at(1).toBool());
        QCOMPARE(view.shownPositionMs(), 300000.0);

        // A click in the detail: the time under the pointer, one seek.
        view.setPosition(60000, 600000);
        seeks.clear();
        const double expected = Scale::detailTimeAt(264, 60000, 328);
        QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(264, 20));
        QCOMPARE(seeks.count(), 1);
        QVERIFY(qAbs(seeks.last().at(0).toLongLong() - expected) <= 1);
        QVERIFY(seeks.last().at(1).toBool());

        // Dragging the detail 41 columns to the left moves 41 columns forward.
        view.setPosition(60000, 600000);
        seeks.clear();
        QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(200, 20));
        QMouseEvent move(QEvent::MouseMove, QPointF(159, 20), view.mapToGlobal(QPointF(159, 20)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
        QVERIFY(view.isDragging());
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(159, 20));
        QVERIFY(seeks.count() >= 2);
        QVERIFY(!seeks.first().at(1).toBool());
        QCOMPARE(seeks.last().at(0).toLongLong(), qint64(60000 + 41 * 8000.0 / 328));
        QVERIFY(seeks.last().at(1).toBool());
        QVERIFY(!view.isDragging());
    }

    void followingPlaybackPaintsOnlyWhatMoved()
    {
        auto peaks = std::make_shared<WaveformPeaks>();
        std::vector<Peak> bins(60000);
        for (size_t i = 0; i < bins.size(); ++i) {
            bins[i].low = static_cast<std::int8_t>(-static_cast<int>(i % 90));
            bins[i].high = static_cast<std::int8_t>(i % 100);
        }
        peaks->assignComplete(bins, 600000);
        WaveformView view;
        view.resize(328, WaveformView::StripHeight);
        view.setPeaks(peaks);
        view.setPosition(10000, 600000);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTest::qWait(50);
        view.takePaintCount();
        view.takePaintedArea();

        // Ten seconds of 10 ms ticks.
        const qint64 fullArea = qint64(328) * WaveformView::StripHeight;
        for (int tick = 1; tick <= 1000; ++tick) {
            view.setPosition(10000 + tick * 10.0, 600000);
            QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
        const int paints = view.takePaintCount();
        const qint64 area = view.takePaintedArea();
        // The playhead crosses a column every 24.4 ms: about 410 small paints,
        // never one per tick, each a few columns wide instead of the strip.
        QVERIFY2(paints > 0 && paints <= 1000, qPrintable(QString::number(paints)));
        QVERIFY2(area < fullArea * paints / 10,
                 qPrintable(QStringLiteral("%1 px in %2 paints").arg(area).arg(paints)));
    }

    // What is moved along must look as if drawn afresh: the played colour up
    // to the playhead, the second ticks, bookmark flags coming into view and
    // going out of it, forward and back, by one column and by many.
    void aStripFollowedLooksAsIfDrawnAfresh()
    {
        const auto differs = followed_strip::firstDifference(
            {10.0, 24.4, 80.0, 160.0, 7.0, 500.0, -24.4, -300.0, 3000.0}, 12,
            {14010, 15500, 21000});
        QVERIFY2(!differs, qPrintable(differs.value_or(QString())));
    }
};

QTEST_MAIN(TestWaveformView)
#include "test_waveform_view.moc"
