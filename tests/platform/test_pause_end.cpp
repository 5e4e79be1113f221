// Where the sound ends when the player pauses: the reading before the pause,
// and what the sound server tells once the stream has stopped.
#include "platform/mpv/pause_end.h"

#include <QtTest>
#include <cmath>
#include <limits>

using namespace quillory;

namespace {

// Playing 10 s at t = 1 s (steady clock, us); the sink holds `heldUs` more,
// read 100 us later; the server queues 100 ms of the stream.
HeardReading playingAt10s(long long heldUs, double speed = 1.0)
{
    HeardReading r;
    r.playingSeconds = 10.0;
    r.playingAtUs = 1000000;
    r.heldUs = heldUs;
    r.heldAtUs = 1000100;
    r.queuedUs = 100000;
    r.speed = speed;
    return r;
}

// The pause took from `beganUs` to `endedUs`; mpv read its output at `readUs`
// just before stopping it. The sink was asked at `askedUs` and answered 200 us
// later holding what it held before, drained in real time, plus `takenUs`.
AfterPause pausedWith(const HeardReading &before, std::int64_t beganUs, std::int64_t readUs,
                      std::int64_t endedUs, std::int64_t askedUs, long long takenUs)
{
    AfterPause a;
    a.pauseBeganUs = beganUs;
    a.pauseEndedUs = endedUs;
    a.outputStoppedSeconds =
        before.playingSeconds + double(readUs - before.playingAtUs) / 1e6 * before.speed;
    a.heldAskedUs = askedUs;
    a.heldAnsweredUs = askedUs + 200;
    a.heldUs = *before.heldUs - (askedUs + 100 - before.heldAtUs) + takenUs;
    a.queuedUs = before.queuedUs;
    return a;
}

} // namespace

class TestPauseEnd : public QObject {
    Q_OBJECT

private slots:
    void theSinkTookABlockBetweenTheReadingAndTheStop()
    {
        // Nothing taken: the reading before the pause stands.
        const HeardReading calm = playingAt10s(15000);
        QCOMPARE(calm.seconds(), 10.0151);
        QCOMPARE(heardEndSeconds(calm, pausedWith(calm, 1000200, 1000500, 1001000, 1001100, 0)),
                 10.0151);

        // The thread was held up after the reading: the sink ran out at 1.0051 s
        // and took a 20 ms block before the stream stopped. The player refilled
        // the queue at once, so only the sink's held time shows it.
        const HeardReading late = playingAt10s(5000);
        const AfterPause tookIt = pausedWith(late, 1006000, 1006500, 1007000, 1007100, 20000);
        QCOMPARE(*tookIt.queuedUs, *late.queuedUs);
        QVERIFY(std::abs(heardEndSeconds(late, tookIt) - (late.seconds() + 0.020)) < 1e-9);

        // At twice the speed the same block holds twice the media.
        const HeardReading fast = playingAt10s(5000, 2.0);
        const AfterPause tookFast = pausedWith(fast, 1006000, 1006500, 1007000, 1007100, 20000);
        QVERIFY(std::abs(heardEndSeconds(fast, tookFast) - (fast.seconds() + 0.040)) < 1e-9);

        // A block due only after the stream had stopped (the question after the
        // pause came late) was silence for the stream: not counted.
        const HeardReading due = playingAt10s(6000);
        QCOMPARE(heardEndSeconds(due, pausedWith(due, 1000200, 1000500, 1001000, 1007000, 20000)),
                 due.seconds());
        // Due between mpv's reading and the end of the pause: counted only in
        // the first half, before the stop reached the server.
        const HeardReading close = playingAt10s(4600); // due at 1.0047 s
        QVERIFY(heardEndSeconds(close, pausedWith(close, 1000200, 1004000, 1006000, 1006100,
                                                  20000)) > close.seconds() + 0.019);
        QCOMPARE(
            heardEndSeconds(close, pausedWith(close, 1000200, 1001000, 1006000, 1006100, 20000)),
            close.seconds());
        // ... unless the stream's queue is still short of the block: the sink
        // took it from the stream, whatever the clocks say.
        AfterPause shortOfIt = pausedWith(close, 1000200, 1001000, 1006000, 1006100, 20000);
        *shortOfIt.queuedUs -= 20000;
        QVERIFY(heardEndSeconds(close, shortOfIt) > close.seconds() + 0.019);
    }

    void theMiddleOfThreeReadings()
    {
        HeardReading low = playingAt10s(15000), mid = low, high = low;
        low.playingSeconds -= 0.003; // a slow answer one way
        high.playingSeconds += 0.0005;
        QCOMPARE(medianReading(low, mid, high).playingSeconds, 10.0);
        QCOMPARE(medianReading(high, low, mid).playingSeconds, 10.0);
        QCOMPARE(medianReading(mid, high, low).playingSeconds, 10.0);
        QCOMPARE(medianReading(high, mid, low).playingSeconds, 10.0);

        // Taken 40 ms apart during a stall, the one that is 3 ms off lies
        // between the others in value; it is still not the one taken.
        HeardReading first = playingAt10s(15000), stalled = first, last = first;
        for (HeardReading *r : {&stalled, &last}) {
            const std::int64_t laterUs = r == &stalled ? 40000 : 80000;
            r->playingSeconds += laterUs / 1e6;
            r->playingAtUs += laterUs;
            r->heldAtUs += laterUs;
        }
        stalled.playingSeconds -= 0.003;
        QVERIFY(first.seconds() < stalled.seconds() && stalled.seconds() < last.seconds());
        QVERIFY(&medianReading(first, stalled, last) != &stalled);
        QVERIFY(&medianReading(stalled, last, first) != &stalled);
        QVERIFY(&medianReading(last, first, stalled) != &stalled);
    }

    void clockNoiseIsNotABlock()
    {
        // An answer that took 8 ms came at some moment within it: one that came
        // at once looks like a 4 ms rise, which is not taken for a block.
        const HeardReading before = playingAt10s(5000);
        AfterPause slow = pausedWith(before, 1006000, 1006500, 1007000, 1007100, 0);
        *slow.heldUs += 100; // answered at the ask
        slow.heldAnsweredUs = slow.heldAskedUs + 8000;
        QCOMPARE(heardEndSeconds(before, slow), before.seconds());
        *slow.heldUs += 20000; // a real block stands out all the same
        QVERIFY(heardEndSeconds(before, slow) > before.seconds() + 0.019);
        // No answer after the pause: the reading stands.
        AfterPause unanswered = pausedWith(before, 1006000, 1006500, 1007000, 1007100, 20000);
        unanswered.heldUs.reset();
        QCOMPARE(heardEndSeconds(before, unanswered), before.seconds());
        // mpv's reading unknown or absurd: the stop counts from the pause's ends.
        AfterPause unknown = pausedWith(before, 1006000, 1006500, 1007000, 1007100, 20000);
        unknown.outputStoppedSeconds.reset();
        QVERIFY(heardEndSeconds(before, unknown) > before.seconds() + 0.019);
        unknown.outputStoppedSeconds = std::numeric_limits<double>::quiet_NaN();
        QVERIFY(heardEndSeconds(before, unknown) > before.seconds() + 0.019);
        unknown.outputStoppedSeconds = -1e300;
        QVERIFY(heardEndSeconds(before, unknown) > before.seconds() + 0.019);
    }

    void aQueueBeyondFullTellsWithoutAClock()
    {
        // The sink gave back 30 ms it had not played (it rewinds on a pause).
        HeardReading before = playingAt10s(20000);
        before.fullQueueUs = 100000;
        AfterPause gaveBack = pausedWith(before, 1000200, 1000500, 1001000, 1001100, 0);
        gaveBack.queuedUs = 130000;
        QVERIFY(std::abs(heardEndSeconds(before, gaveBack) - (before.seconds() - 0.030)) < 1e-9);
        // Read while the player was refilling a block the sink had taken: the
        // refill landed before the question after the pause, and the queue is
        // full again. Nothing was given back.
        HeardReading refilling = before;
        refilling.queuedUs = 80000;
        AfterPause refilled = pausedWith(refilling, 1000200, 1000500, 1001000, 1001100, 0);
        refilled.queuedUs = 100000;
        QCOMPARE(heardEndSeconds(refilling, refilled), refilling.seconds());
        // ... and both: full plus what was given back.
        refilled.queuedUs = 125000;
        QVERIFY(std::abs(heardEndSeconds(refilling, refilled) - (refilling.seconds() - 0.025)) <
                1e-9);
        // A queue that only shrank waits for the refill; the sink's held time
        // tells whether it took a block.
        AfterPause shrank = pausedWith(before, 1000200, 1000500, 1001000, 1001100, 0);
        shrank.queuedUs = 60000;
        QCOMPARE(heardEndSeconds(before, shrank), before.seconds());
    }

    void serversThatTellLessOrNothing()
    {
        // No sound server: the output's own clock.
        HeardReading bare = playingAt10s(0);
        bare.heldUs.reset();
        QCOMPARE(heardEndSeconds(bare, AfterPause{}), 10.0);
        QVERIFY(!needsAfterPause(bare, 2000000));

        // Neither latency nor queue (PipeWire's): mpv's own reading at the stop.
        HeardReading silent = playingAt10s(0);
        silent.queuedUs = 0;
        AfterPause stopped;
        stopped.outputStoppedSeconds = 10.0004;
        QCOMPARE(heardEndSeconds(silent, stopped), 10.0004);
        QCOMPARE(heardEndSeconds(silent, AfterPause{}), silent.seconds());
        QVERIFY(!needsAfterPause(silent, 2000000));

        // A latency but no queue: asked only when a block fell due before the
        // stop ended.
        HeardReading noQueue = playingAt10s(5000);
        noQueue.queuedUs.reset();
        QVERIFY(!needsAfterPause(noQueue, 1005000));
        QVERIFY(needsAfterPause(noQueue, 1005100));
        QVERIFY(needsAfterPause(playingAt10s(5000), 1000200));
        AfterPause tookIt = pausedWith(noQueue, 1006000, 1006500, 1007000, 1007100, 20000);
        tookIt.queuedUs.reset();
        QVERIFY(std::abs(heardEndSeconds(noQueue, tookIt) - (noQueue.seconds() + 0.020)) < 1e-9);
    }
};

QTEST_GUILESS_MAIN(TestPauseEnd)
#include "test_pause_end.moc"
