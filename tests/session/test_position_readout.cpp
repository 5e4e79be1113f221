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
#include <limits>
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

// A session on the simulated device that draws what its ticks show.
struct DrawingRig {
    explicit DrawingRig(double speed, qint64 lengthMs)
        : engine(new SimulatedMediaEngine), media(std::unique_ptr<MediaEngine>(engine)),
          session(media)
    {
        engine->setLength(QStringLiteral("/virtual/a.wav"), lengthMs);
        session.restoreSpeed(PlaybackSpeed::nearest(speed));
        QObject::connect(&session, &PlayerSession::positionShown, &session,
                         [this](double p, double l) {
                             const PositionReadout::Change change = readout.show(p, l, BarPixels);
                             if (change.text || change.fill)
                                 drawn = {readout.text(), readout.fillPixels()};
                         });
    }
    SimulatedMediaEngine *engine; // owned by media
    MediaControl media;
    PlayerSession session;
    PositionReadout readout;
    FullRedraw drawn{QString(), -1};
};

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

    void plannedTicksShowWhatEveryTickShows_data() { showsWhatAFullRedrawShowsAtEveryTick_data(); }
    void plannedTicksShowWhatEveryTickShows()
    {
        QFETCH(double, speed);
        QFETCH(qint64, lengthMs);
        test::ProgramHome home(false);
        // One session ticks every 10 ms; the other sleeps until the display
        // would change. Both play the same and are compared at every 10 ms.
        DrawingRig every(speed, lengthMs), planned(speed, lengthMs);
        planned.session.addDisplay(&planned.session, [](double p, double l) {
            return PositionReadout::msUntilChange(p, l, BarPixels);
        });
        every.session.open(QStringLiteral("/virtual/a.wav"));
        planned.session.open(QStringLiteral("/virtual/a.wav"));
        int everyTicks = 0, plannedTicks = 0, mismatches = 0, sincePlanned = 0;
        for (qint64 now = 0; every.session.isTicking() || planned.session.isTicking();
             now += PlayerSession::DisplayIntervalMs) {
            // A jump a third of the way in moves both the same.
            if (now == lengthMs / speed / 3 / 10 * 10) {
                every.session.jumpForward();
                planned.session.jumpForward();
                sincePlanned = 0;
            }
            every.engine->advance(PlayerSession::DisplayIntervalMs);
            planned.engine->advance(PlayerSession::DisplayIntervalMs);
            sincePlanned += PlayerSession::DisplayIntervalMs;
            if (every.session.isTicking()) {
                every.session.tick();
                ++everyTicks;
            }
            if (planned.session.isTicking() && sincePlanned >= planned.session.tickInterval()) {
                planned.session.tick();
                ++plannedTicks;
                sincePlanned = 0;
            }
            if (every.drawn.text != planned.drawn.text ||
                every.drawn.fillPixels != planned.drawn.fillPixels) {
                if (++mismatches == 1)
                    qWarning() << "at" << now << "ms:" << every.drawn.text << every.drawn.fillPixels
                               << "against" << planned.drawn.text << planned.drawn.fillPixels;
            }
        }
        QCOMPARE(mismatches, 0);
        QCOMPARE(planned.session.playState(), PlayState::NotPlaying); // the end was caught
        QCOMPARE(planned.drawn.text, formatTimeText(0, double(lengthMs)));
        // A shown second and a pixel of the bar each need about one tick.
        const int expected = int(lengthMs / 1000) + BarPixels + 10;
        QVERIFY2(
            plannedTicks <= expected && plannedTicks * 2 < everyTicks,
            qPrintable(
                QStringLiteral("%1 planned, %2 every 10 ms").arg(plannedTicks).arg(everyTicks)));
    }

    void aTickSleepsLongOnlyWhileNothingIsShownOrLoops()
    {
        test::ProgramHome home(false);
        DrawingRig rig(1.0, 60000);
        bool hidden = false;
        rig.session.addDisplay(&rig.session, [&hidden](double p, double l) {
            return hidden ? std::numeric_limits<double>::infinity()
                          : PositionReadout::msUntilChange(p, l, BarPixels);
        });
        rig.session.open(QStringLiteral("/virtual/a.wav"));
        QCOMPARE(rig.session.tickInterval(), PlayerSession::DisplayIntervalMs);
        rig.engine->advance(1000);
        rig.session.tick(); // at 1 s, the bar's next pixel is 68 ms on
        QCOMPARE(rig.session.tickInterval(), 70);
        hidden = true;
        rig.session.tick();
        QCOMPARE(rig.session.tickInterval(), 5000); // the longest sleep
        rig.engine->advance(58990);
        rig.session.tick(); // the end still counts
        QCOMPARE(rig.session.tickInterval(), 10);
        // A display whose owner is gone no longer counts.
        {
            QObject owner;
            rig.session.addDisplay(&owner, [](double, double) { return 0.0; });
        }
        rig.session.stop();
        rig.session.playPause();
        rig.session.tick();
        QCOMPARE(rig.session.tickInterval(), 5000);
        // A loop jumps back unannounced: every tick counts again.
        rig.engine->advance(10000);
        rig.session.toggleLoop();
        QVERIFY(rig.session.isLooping());
        rig.session.tick();
        QCOMPARE(rig.session.tickInterval(), PlayerSession::DisplayIntervalMs);
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
