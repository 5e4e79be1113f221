// The display draws only what changes: at every tick of the simulated device's
// clock it still shows what a redraw of everything would show, and it redraws
// only when that differs.
#include "platform/geometry/twips.h"
#include "platform/media/media_control.h"
#include "platform/media/simulated_media_engine.h"
#include "session/player_session.h"
#include "session/position_readout.h"
#include "session/time_format.h"
#include "support/program_home.h"

#include <QtTest>
#include <algorithm>
#include <memory>

using namespace quillory;

namespace {

constexpr int BarPixels = 309; // the player's 4635-twip bar

// What drawing everything at each tick shows: the text, and the fill in pixels.
struct FullRedraw {
    QString text;
    int fillPixels;
};

FullRedraw fullRedraw(double position, double length)
{
    const double bar = pixelsToTwips(BarPixels);
    const double fill = length > 0 ? std::clamp(bar * position / length, 0.0, bar) : 0.0;
    return {formatTimeText(position, length), twipsToPixels(fill)};
}

} // namespace

class TestPositionReadout : public QObject {
    Q_OBJECT

private slots:
    void showsWhatAFullRedrawShowsAtEveryTick_data()
    {
        QTest::addColumn<double>("speed");
        QTest::addColumn<qint64>("lengthMs");
        QTest::newRow("10 min at 1x") << 1.0 << qint64(600000);
        QTest::newRow("10 min at 0.5x") << 0.5 << qint64(600000);
        QTest::newRow("2 min at 2x") << 2.0 << qint64(120000);
        QTest::newRow("9 s at 1x") << 1.0 << qint64(9000);
    }
    void showsWhatAFullRedrawShowsAtEveryTick()
    {
        QFETCH(double, speed);
        QFETCH(qint64, lengthMs);
        test::ProgramHome home(false);
        auto *engine = new SimulatedMediaEngine;
        MediaControl media{std::unique_ptr<MediaEngine>(engine)};
        PlayerSession session(media);
        engine->setLength(QStringLiteral("/virtual/a.wav"), lengthMs);
        session.restoreSpeed(PlaybackSpeed::nearest(speed));
        QCOMPARE(session.speed().factor(), speed);

        PositionReadout readout;
        int ticks = 0, textDraws = 0, fillDraws = 0, mismatches = 0;
        QString drawnText;
        int drawnFill = -1;
        connect(&session, &PlayerSession::positionShown, this, [&](double p, double l) {
            const PositionReadout::Change change = readout.show(p, l, BarPixels);
            if (change.text) {
                drawnText = readout.text();
                ++textDraws;
            }
            if (change.fill) {
                drawnFill = readout.fillPixels();
                ++fillDraws;
            }
            const FullRedraw expected = fullRedraw(p, l);
            if (drawnText != expected.text || drawnFill != expected.fillPixels)
                ++mismatches;
            ++ticks;
        });
        session.open(QStringLiteral("/virtual/a.wav"));
        // Ten-millisecond ticks to the end, where the session rewinds and pauses.
        while (session.isTicking()) {
            engine->advance(PlayerSession::DisplayIntervalMs);
            session.tick();
        }
        QCOMPARE(mismatches, 0);
        QCOMPARE(session.playState(), PlayState::NotPlaying);
        QCOMPARE(drawnText, formatTimeText(0, double(lengthMs)));
        QVERIFY(ticks >= int(double(lengthMs) / speed / PlayerSession::DisplayIntervalMs));
        // Each whole second shown, and each pixel of the bar, is drawn about once
        // (the rewind at the end draws the start again).
        const int seconds = int(lengthMs / 1000);
        QVERIFY2(textDraws <= seconds + 3, qPrintable(QString::number(textDraws)));
        QVERIFY2(fillDraws <= BarPixels + 3, qPrintable(QString::number(fillDraws)));
        // At 2x a shown second lasts 50 ticks: far fewer draws than ticks.
        QVERIFY(textDraws * 20 < ticks);
    }

    void aForgottenReadoutRedrawsBoth()
    {
        PositionReadout readout;
        PositionReadout::Change change = readout.show(1000, 60000, BarPixels);
        QVERIFY(change.text && change.fill);
        change = readout.show(1010, 60000, BarPixels);
        QVERIFY(!change.text && !change.fill);
        readout.forget();
        change = readout.show(1020, 60000, BarPixels);
        QVERIFY(change.text && change.fill);
        QCOMPARE(readout.text(), QStringLiteral("0:01 / 1:00"));
    }

    void aNewLengthOrWidthRedraws()
    {
        PositionReadout readout;
        readout.show(30000, 60000, BarPixels);
        PositionReadout::Change change = readout.show(30000, 120000, BarPixels);
        QVERIFY(change.text && change.fill);
        QCOMPARE(readout.text(), QStringLiteral("0:30 / 2:00"));
        change = readout.show(30000, 120000, 400);
        QVERIFY(!change.text && change.fill);
        QCOMPARE(readout.fillPixels(), 100);
        // No length: an empty bar.
        readout.show(30000, 0, BarPixels);
        QCOMPARE(readout.fillPixels(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPositionReadout)
#include "test_position_readout.moc"
