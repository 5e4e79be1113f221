// The heard position between readings of the sound server: carried forward in
// real time at the playback speed, due again ever more rarely after a start.
#include "platform/mpv/heard_carry.h"

#include <QtTest>

using namespace quillory;

class TestHeardCarry : public QObject {
    Q_OBJECT

private slots:
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
        // The end of the media still carries the last reading however old.
        QCOMPARE(*carry.carriedTo(1500500), 4.5);
    }

    void aClockBeforeTheReadingAsksAgain()
    {
        HeardCarry carry(40, 1000);
        carry.take(3.0, 5000000, 1.0);
        QVERIFY(!carry.at(4999999));
        QCOMPARE(*carry.readingAtUs(), std::int64_t(5000000));
    }

    void manyReadingsDoNotOverflowTheReuse()
    {
        HeardCarry carry(40, 2000);
        for (int i = 0; i < 100; ++i)
            carry.take(0, 0, 1.0);
        QCOMPARE(carry.reuseUs(), std::int64_t(2000000));
    }
};

QTEST_GUILESS_MAIN(TestHeardCarry)
#include "test_heard_carry.moc"
