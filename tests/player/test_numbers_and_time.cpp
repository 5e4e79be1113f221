#include "platform/text/numeric_text.h"
#include "session/time_format.h"

#include <QtTest>

using namespace quillory;

class TestNumbersAndTime : public QObject {
    Q_OBJECT
private slots:
    void numericPrefix_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "1365" << 1365.0;
        QTest::newRow("decimal point") << "1365.5" << 1365.5;
        QTest::newRow("leading blanks") << "   42abc" << 42.0;
        QTest::newRow("sign") << "-3" << -3.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("comma is not a decimal point") << "2,5" << 2.0;
        QTest::newRow("exponent") << "1.5e3x" << 1500.0;
        QTest::newRow("bare exponent letter") << "7e" << 7.0;
        QTest::newRow("lone dot") << "." << 0.0;
    }
    void numericPrefix()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(quillory::numericPrefix(text), value);
    }

    void halvesGoToEven()
    {
        QCOMPARE(roundHalfEven(2.5), 2.0);
        QCOMPARE(roundHalfEven(3.5), 4.0);
        QCOMPARE(roundHalfEven(-2.5), -2.0);
        QCOMPARE(roundHalfEven(2.5000001), 3.0);
        QCOMPARE(toInt16HalfEven(32767.4).value(), std::int16_t(32767));
        QVERIFY(!toInt16HalfEven(32767.5).has_value()); // rounds to 32768
        QVERIFY(!toInt32HalfEven(1e12).has_value());
        QVERIFY(!toInt32HalfEven(std::nan("")).has_value());
    }

    void wholeNumbers()
    {
        QCOMPARE(parseWholeNumber(QStringLiteral(" 10 ")).value(), 10.0);
        QVERIFY(!parseWholeNumber(QString()).has_value());
        QVERIFY(!parseWholeNumber(QStringLiteral("10s")).has_value());
        QCOMPARE(invariantNumber(1365), QStringLiteral("1365"));
        QCOMPARE(invariantNumber(1365.5), QStringLiteral("1365.5"));
        QCOMPARE(invariantNumber(-2), QStringLiteral("-2"));
        // Single precision is written back exactly as it was read.
        QCOMPARE(invariantNumberSingle(float(quillory::numericPrefix("1365.7"))),
                 QStringLiteral("1365.7"));
        QCOMPARE(invariantNumberSingle(1230.0f), QStringLiteral("1230"));
        QCOMPARE(invariantNumberSingle(-0.5f), QStringLiteral("-0.5"));
    }

    void timeText_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("length");
        QTest::addColumn<QString>("text");
        QTest::newRow("minutes and seconds") << 83400.0 << 605000.0 << "1:23 / 10:05";
        QTest::newRow("never 0:60") << 59700.0 << 0.0 << "1:00 / 0:00";
        QTest::newRow("under ten seconds") << 9000.0 << 9000.0 << "0:09 / 0:09";
        QTest::newRow("half to even down") << 2500.0 << 3500.0 << "0:02 / 0:04";
        QTest::newRow("over an hour") << 7530000.0 << 7200000.0 << "125:30 / 120:00";
    }
    void timeText()
    {
        QFETCH(double, position);
        QFETCH(double, length);
        QFETCH(QString, text);
        QCOMPARE(formatTimeText(position, length), text);
    }
};

QTEST_GUILESS_MAIN(TestNumbersAndTime)
#include "test_numbers_and_time.moc"
