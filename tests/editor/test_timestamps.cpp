#include "editor/timestamp_key.h"
#include "editor/timestamps.h"
#include "platform/files/preferences.h"

#include <QtTest>

using namespace quillory;
using Timestamps::Format;

Q_DECLARE_METATYPE(Format)

namespace {

constexpr qint64 Hour = 3600000;

qint64 unitOf(Format format)
{
    return format == Format::WithTenths || format == Format::HashWithTenths ? 100 : 1000;
}

} // namespace

// Writing media positions as text and reading them back.
class TestTimestamps : public QObject {
    Q_OBJECT
private slots:
    void writtenInEachFormat_data()
    {
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<Format>("format");
        QTest::addColumn<QString>("text");
        const qint64 meeting = 10 * Hour + 2 * 60000; // 10:02:00
        QTest::newRow("m:ss cut down")
            << qint64(83999) << qint64(0) << Format::MinutesSeconds << "[01:23]";
        QTest::newRow("h:mm:ss") << qint64(83999) << qint64(0) << Format::HoursMinutesSeconds
                                 << "[0:01:23]";
        QTest::newRow("tenths") << qint64(83999) << qint64(0) << Format::WithTenths
                                << "[00:01:23.9]";
        QTest::newRow("hash") << qint64(83999) << qint64(0) << Format::HashWithTenths
                              << "#00:01:23-9#";
        QTest::newRow("minutes past 59")
            << qint64(75 * 60000 + 2000) << qint64(0) << Format::MinutesSeconds << "[75:02]";
        QTest::newRow("zero") << qint64(0) << qint64(0) << Format::HashWithTenths << "#00:00:00-0#";
        QTest::newRow("negative is zero")
            << qint64(-5000) << qint64(0) << Format::MinutesSeconds << "[00:00]";
        QTest::newRow("offset m:ss")
            << qint64(83400) << meeting << Format::MinutesSeconds << "[603:23]";
        QTest::newRow("offset h:mm:ss")
            << qint64(83400) << meeting << Format::HoursMinutesSeconds << "[10:03:23]";
        QTest::newRow("offset tenths")
            << qint64(83400) << meeting << Format::WithTenths << "[10:03:23.4]";
        QTest::newRow("offset hash")
            << qint64(83400) << meeting << Format::HashWithTenths << "#10:03:23-4#";
        QTest::newRow("hours past 99")
            << qint64(100 * Hour + 1) << qint64(0) << Format::HoursMinutesSeconds << "[100:00:00]";
    }
    void writtenInEachFormat()
    {
        QFETCH(qint64, ms);
        QFETCH(qint64, offset);
        QFETCH(Format, format);
        QFETCH(QString, text);
        QCOMPARE(Timestamps::format(ms, offset, format), text);
    }

    // Whatever character of the text is clicked, it reads back as the first
    // moment of the unit it shows: at or before the written position, less
    // than one unit before it.
    void readBackAtOrBeforeTheWrittenMoment()
    {
        const QList<qint64> positions = {
            0, 99, 999, 59999, 60000, 83456, 3599999, 3600000, 4 * Hour + 123456};
        const QList<qint64> offsets = {0, 5000, 10 * Hour + 2 * 60000};
        for (int f = 0; f < Timestamps::FormatCount; ++f) {
            const auto format = static_cast<Format>(f);
            for (qint64 offset : offsets) {
                for (qint64 ms : positions) {
                    const QString stamp = Timestamps::format(ms, offset, format);
                    const QString paragraph =
                        QStringLiteral("He said ") + stamp + QStringLiteral(" no.");
                    const qint64 expected = ms / unitOf(format) * unitOf(format);
                    for (int i = 8; i < 8 + stamp.size(); ++i)
                        QCOMPARE(Timestamps::mediaPositionAt(paragraph, i, offset),
                                 std::optional<qint64>(expected));
                    QVERIFY(!Timestamps::findAt(paragraph, 7));
                    QVERIFY(!Timestamps::findAt(paragraph, 8 + int(stamp.size())));
                }
            }
        }
    }

    void findsTheOneUnderTheCharacter()
    {
        // Back to back, inside extra brackets, and at the edges of the paragraph.
        const QString p = QStringLiteral("#00:00:01-0##00:00:02-5#[[01:23]]x[0:00:09]");
        QCOMPARE(Timestamps::findAt(p, 0)->shownMs, qint64(1000));
        QCOMPARE(Timestamps::findAt(p, 11)->shownMs, qint64(1000));
        QCOMPARE(Timestamps::findAt(p, 12)->shownMs, qint64(2500));
        QCOMPARE(Timestamps::findAt(p, 23)->shownMs, qint64(2500));
        QVERIFY(!Timestamps::findAt(p, 24)); // the outer "["
        const std::optional<Timestamps::Found> inner = Timestamps::findAt(p, 27);
        QVERIFY(inner);
        QCOMPARE(inner->start, 25);
        QCOMPARE(inner->length, 7);
        QCOMPARE(inner->shownMs, qint64(83000));
        QVERIFY(!Timestamps::findAt(p, 32)); // the outer "]"
        QVERIFY(!Timestamps::findAt(p, 33)); // "x"
        QCOMPARE(Timestamps::findAt(p, int(p.size()) - 1)->shownMs, qint64(9000));
        QVERIFY(!Timestamps::findAt(p, int(p.size())));
        QVERIFY(!Timestamps::findAt(p, -1));
        QVERIFY(!Timestamps::findAt(QString(), 0));
    }

    void malformedOnesAreNoTimestamps_data()
    {
        QTest::addColumn<QString>("text");
        for (const char *bad : {"[01:60]",
                                "[0:60:00]",
                                "[0:01:60]",
                                "[00:01:23.45]",
                                "[01:23",
                                "01:23]",
                                "#00:01:23-4",
                                "00:01:23-4#",
                                "#00:01:23.4#",
                                "[01:23.4]",
                                "#00:01:23#",
                                "[0:01:23-4]",
                                "[ab:cd]",
                                "[1:2]",
                                "[]",
                                "[:]",
                                "[12345678:00]",
                                "[-1:00]",
                                "[ 01:23]",
                                "[01 :23]",
                                "[0:1:23]",
                                "#01:23-4#",
                                "[01:23:]",
                                "[\xef\xbc\x90\xef\xbc\x91:23]" /* full-width digits */})
            QTest::newRow(bad) << QString::fromUtf8(bad);
    }
    void malformedOnesAreNoTimestamps()
    {
        QFETCH(QString, text);
        for (int i = 0; i < text.size(); ++i)
            QVERIFY2(!Timestamps::findAt(text, i), qPrintable(QString::number(i)));
    }

    void aMomentBeforeTheOffsetIsNothing()
    {
        const qint64 offset = 10 * Hour;
        QCOMPARE(Timestamps::mediaPositionAt(QStringLiteral("[10:00:00]"), 1, offset),
                 std::optional<qint64>(0));
        QCOMPARE(Timestamps::mediaPositionAt(QStringLiteral("[9:59:59]"), 1, offset), std::nullopt);
        QCOMPARE(Timestamps::mediaPositionAt(QStringLiteral("[10:00:00]"), 1, offset + 1000),
                 std::nullopt);
    }

    void offsetText()
    {
        QCOMPARE(Timestamps::parseOffset(QStringLiteral("10:02:00")),
                 std::optional<qint64>(36120000));
        QCOMPARE(Timestamps::parseOffset(QStringLiteral(" 0:00:05 ")), std::optional<qint64>(5000));
        QCOMPARE(Timestamps::parseOffset(QStringLiteral("123:00:00")),
                 std::optional<qint64>(123 * Hour));
        for (const char *bad : {"", "10:60:00", "10:00:60", "1:2:3", "-1:00:00", "1000:00:00",
                                "abc", "10:02", "10:02:00:00", "10.02.00"})
            QVERIFY2(!Timestamps::parseOffset(QString::fromLatin1(bad)), bad);
        QCOMPARE(Timestamps::offsetText(36120000), QStringLiteral("10:02:00"));
        QCOMPARE(Timestamps::offsetText(5999), QStringLiteral("00:00:05"));
        QCOMPARE(Timestamps::offsetText(123 * Hour), QStringLiteral("123:00:00"));
    }

    void settingsFromBadValuesAreTheDefaults()
    {
        Preferences p;
        for (const char *format : {"", "4", "-1", "abc", "2.5", "1e3"}) {
            for (const char *offset : {"", "25:99:00", "banana", "-00:00:10", "00:00:10 extra"}) {
                p.setText(QStringLiteral("timestamp.format"), QString::fromLatin1(format));
                p.setText(QStringLiteral("timestamp.offset"), QString::fromLatin1(offset));
                const TimestampSettings s = TimestampSettings::load(p);
                QCOMPARE(s.format, Format::MinutesSeconds);
                QCOMPARE(s.offsetMs, qint64(0));
            }
        }
        TimestampSettings chosen;
        chosen.format = Format::HashWithTenths;
        chosen.offsetMs = 36120000;
        chosen.store(p);
        QCOMPARE(p.text(QStringLiteral("timestamp.offset")), QStringLiteral("10:02:00"));
        const TimestampSettings back = TimestampSettings::load(p);
        QCOMPARE(back.format, Format::HashWithTenths);
        QCOMPARE(back.offsetMs, qint64(36120000));
    }

    void keyFromText()
    {
        const QKeyCombination f2(Qt::Key_F2);
        // Unusable: empty, garbage, two keys, the table's keys (in either letter
        // group), plain typing keys.
        for (const char *text : {"", "garbage+++", "F2, F3", "F5", "Esc", "F11", "Ctrl+B", "Ctrl+G",
                                 "Ctrl+Z", "A", "Shift+A", "Space", "Return"})
            QVERIFY2(timestampKeyFromText(QString::fromLatin1(text)) == f2, text);
        QVERIFY(timestampKeyFromText(QStringLiteral("Ctrl+T")) ==
                QKeyCombination(Qt::CTRL | Qt::Key_T));
        QVERIFY(timestampKeyFromText(QStringLiteral(" F4 ")) == QKeyCombination(Qt::Key_F4));
        QVERIFY(timestampKeyFromText(QStringLiteral("Alt+Shift+3")) ==
                QKeyCombination(Qt::ALT | Qt::SHIFT | Qt::Key_3));

        Preferences p;
        QVERIFY(timestampKey(p) == f2);
        p.setText(QStringLiteral("keys.timestamp"), QStringLiteral("Ctrl+T"));
        QVERIFY(timestampKey(p) == QKeyCombination(Qt::CTRL | Qt::Key_T));

        QVERIFY(isTimestampKey(Qt::Key_F2, Qt::NoModifier, f2));
        QVERIFY(isTimestampKey(Qt::Key_F2, Qt::KeypadModifier, f2));
        QVERIFY(!isTimestampKey(Qt::Key_F2, Qt::ShiftModifier, f2));
        QVERIFY(!isTimestampKey(Qt::Key_F3, Qt::NoModifier, f2));
    }
};

QTEST_MAIN(TestTimestamps)
#include "test_timestamps.moc"
