// The heard position between readings of the sound server: carried forward in
// real time at the playback speed, due again ever more rarely after a start;
// and which of several slow readings counts; and what shows just after a
// resume, before the first sample is heard.
#include "platform/mpv/heard_carry.h"
#include "platform/mpv/quickest_reading.h"
#include "platform/mpv/resume_floor.h"

#include <QtTest>

using namespace quillory;

class TestHeardCarry : public QObject {
    Q_OBJECT

private slots:
    void aResumeShowsItsPlaceUntilTheClockPassesIt()
    {
        ResumeFloor floor;
        QCOMPARE(floor.apply(3954, 0), 3954); // no resume: the reading as it is
        floor.resumeFrom(4000, 1000000);
        QCOMPARE(floor.apply(4000, 1001000), 4000); // before the device takes a sample
        QCOMPARE(floor.apply(3954, 1010000), 4000); // then its latency still ahead
        QCOMPARE(floor.apply(3999, 1050000), 4000);
        QCOMPARE(floor.apply(4003, 1057000), 4003); // heard: the clock runs on from here
        QCOMPARE(floor.apply(3990, 1060000), 3990); // and the floor is gone
        QCOMPARE(floor.from(), -1);

        // A loop that goes back to its start right after the resume is a move.
        floor.resumeFrom(9990, 0);
        QCOMPARE(floor.apply(9960, 1000), 9990);
        QCOMPARE(floor.apply(9300, 2000), 9300);
        QCOMPARE(floor.apply(9310, 3000), 9310);

        // Past any latency the clock counts, even unread until then (a loop's
        // wrap to just before the place, with nothing asking meanwhile).
        floor.resumeFrom(4000, 0);
        QCOMPARE(floor.apply(3800, ResumeFloor::HeldUs), 4000);
        QCOMPARE(floor.apply(3800, ResumeFloor::HeldUs + 1), 3800);

        floor.resumeFrom(-1, 0); // resumed from no known place
        QCOMPARE(floor.apply(10, 0), 10);
        floor.resumeFrom(500, 0);
        floor.clear();
        QCOMPARE(floor.apply(450, 0), 450);
    }

    void carriesAReadingForwardAtTheSpeed()
    {
        HeardCarry carry(40, 1000);
        QVERIFY(!carry.at(0));
        carry.take(12.5, 1000000, 1.0);
        QCOMPARE(*carry.at(1000000), 12.5);
        QCOMPARE(*carry.at(1030000), 12.53);
        carry.forget();
        carry.take(12.5, 1000000, 0.5);
        QCOMPARE(*carry.at(1020000), 12.51);
        carry.forget();
        carry.take(12.5, 1000000, 2.0);
        QCOMPARE(*carry.at(1020000), 12.54);
    }

    void readingsAreDueEverMoreRarelyUpToTheLongest()
    {
        HeardCarry carry(40, 1000);
        std::int64_t now = 0;
        QList<std::int64_t> reuse;
        for (int i = 0; i < 8; ++i) {
            carry.take(double(now) / 1e6, now, 1.0);
            reuse << carry.reuseUs() / 1000;
            // Due exactly when its reuse is over, not a microsecond before.
            QVERIFY(carry.at(now + carry.reuseUs() - 1));
            QVERIFY(!carry.at(now + carry.reuseUs()));
            now += carry.reuseUs();
        }
        QCOMPARE(reuse, QList<std::int64_t>({40, 80, 160, 320, 640, 1000, 1000, 1000}));
        // A start, a move or a speed change: close together again.
        carry.forget();
        QVERIFY(!carry.at(now));
        carry.take(1.0, now, 1.0);
        QCOMPARE(carry.reuseUs(), std::int64_t(40000));
    }

    void zeroCarriesNothing()
    {
        HeardCarry carry(40, 0);
        carry.take(3.0, 500, 1.0);
        QVERIFY(!carry.at(500));
        // The end of the media still carries the last reading through its tail.
        QCOMPARE(*carry.carriedThroughTail(1500500, 3000000), 4.5);
    }

    void aClockBeforeTheReadingAsksAgain()
    {
        HeardCarry carry(40, 1000);
        carry.take(3.0, 5000000, 1.0);
        QVERIFY(!carry.at(4999999));
        QCOMPARE(*carry.readingAtUs(), std::int64_t(5000000));
    }

    // The end of the media: the last reading may be a whole reuse old when the
    // player decodes its last sample, and the output then still plays its
    // buffer. The carry runs on through that tail, at the speed, and no further.
    void theEndIsCarriedThroughTheTailAfterAFullReuse()
    {
        HeardCarry carry(40, 2500);
        for (int i = 0; i < 10; ++i)
            carry.take(0, 0, 1.0); // reuse grown to its longest
        carry.take(10.0, 1000000, 0.5);
        QCOMPARE(carry.reuseUs(), std::int64_t(2500000));
        constexpr std::int64_t Tail = 3000000;
        QVERIFY(!carry.at(3500000)); // a fresh reading would be due while playing
        const std::optional<double> late = carry.carriedThroughTail(3500000 + 900000, Tail);
        QVERIFY(late);
        QCOMPARE(*late, 10.0 + 3.4 * 0.5);
        QVERIFY(carry.carriedThroughTail(1000000 + 2500000 + Tail, Tail));
        QVERIFY(!carry.carriedThroughTail(1000000 + 2500000 + Tail + 1, Tail));
        QVERIFY(!carry.carriedThroughTail(999999, Tail)); // before the reading
        carry.forget();
        QVERIFY(!carry.carriedThroughTail(1000000, Tail));
    }

    void manyReadingsDoNotOverflowTheReuse()
    {
        HeardCarry carry(40, 2000);
        for (int i = 0; i < 100; ++i)
            carry.take(0, 0, 1.0);
        QCOMPARE(carry.reuseUs(), std::int64_t(2000000));
    }

    void aQuickReadingEndsTheQuestionsAndOtherwiseTheQuickestCounts()
    {
        // Readings told apart by their position; each took the time beside it.
        struct Scripted {
            double seconds;
            std::int64_t tookUs;
        };
        const auto choose = [](QList<Scripted> script, int *asked) {
            *asked = 0;
            return quickestReading(
                [&]() -> std::optional<TimedReading> {
                    if (script.isEmpty())
                        return std::nullopt;
                    ++*asked;
                    const Scripted next = script.takeFirst();
                    TimedReading timed;
                    timed.reading.playingSeconds = next.seconds;
                    timed.tookUs = next.tookUs;
                    return timed;
                },
                5, 1500);
        };
        int asked = 0;
        std::optional<HeardReading> r = choose({{1, 12000}, {2, 1500}, {3, 0}}, &asked);
        QCOMPARE(r->playingSeconds, 2.0); // as quick as may be: taken
        QCOMPARE(asked, 2);
        r = choose({{1, 12000}, {2, 4000}, {3, 12000}, {4, 1501}, {5, 9000}, {6, 0}}, &asked);
        QCOMPARE(r->playingSeconds, 4.0); // all five slow: the quickest
        QCOMPARE(asked, 5);
        r = choose({{1, 3000}, {2, 3000}, {3, 3000}, {4, 3000}, {5, 3000}}, &asked);
        QCOMPARE(r->playingSeconds, 1.0); // a tie keeps the first
        // A reading that cannot be taken ends the questions with nothing, even
        // after slow ones.
        r = choose({{1, 12000}, {2, 12000}}, &asked);
        QVERIFY(!r);
        QCOMPARE(asked, 2);
    }
};

QTEST_GUILESS_MAIN(TestHeardCarry)
#include "test_heard_carry.moc"
