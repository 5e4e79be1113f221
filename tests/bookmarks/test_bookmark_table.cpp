// The bookmark table, its line format and label rule, its .bm files (also
// damaged ones) and the next / previous search.
#include "session/bookmark_file.h"
#include "session/bookmark_navigation.h"
#include "support/program_home.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace quillory;
using namespace quillory::test;

namespace {
QString spaces15()
{
    return QString(15, QLatin1Char(' '));
}
QString entry(const QString &label, qint64 ms)
{
    return BookmarkLine::make(label, static_cast<double>(ms));
}
BookmarkEntries table(const QStringList &items)
{
    BookmarkEntries t;
    t.assign(items);
    return t;
}
} // namespace

class TestBookmarkTable : public QObject {
    Q_OBJECT

private slots:
    void timeLabels_data()
    {
        QTest::addColumn<double>("ms");
        QTest::addColumn<QString>("label");
        QTest::newRow("start") << 0.0 << "00:00";
        QTest::newRow("65.1 s") << 65100.0 << "01:05";
        QTest::newRow("59.6 s is the next minute") << 59600.0 << "01:00";
        QTest::newRow("59.5 s is the next minute") << 59500.0 << "01:00";
        QTest::newRow("59.499 s") << 59499.0 << "00:59";
        QTest::newRow("half to even, down") << 2500.0 << "00:02";
        QTest::newRow("half to even, up") << 3500.0 << "00:04";
        QTest::newRow("second minute rolls over") << 119500.0 << "02:00";
        QTest::newRow("three-digit minutes") << (125 * 60000.0 + 7000) << "125:07";
        QTest::newRow("a failed reading") << -5.0 << "00:00";
    }
    void timeLabels()
    {
        QFETCH(double, ms);
        QFETCH(QString, label);
        QCOMPARE(BookmarkLine::timeLabel(ms), label);
    }

    void lineFormatReadsBack()
    {
        const QString e = entry(BookmarkLine::label(65100, QStringLiteral("Intervista")), 65100);
        QCOMPARE(e, QStringLiteral("01:05  Intervista") + spaces15() + QStringLiteral("65100"));
        QCOMPARE(BookmarkLine::labelOf(e), QStringLiteral("01:05  Intervista"));
        QCOMPARE(BookmarkLine::positionOf(e).value(), qint64(65100));

        // Leading spaces of a name stay; trailing ones are gone after reading.
        const QString padded = entry(BookmarkLine::label(1000, QStringLiteral("  a b  ")), 1000);
        QCOMPARE(BookmarkLine::labelOf(padded), QStringLiteral("00:01    a b"));
        // A cancelled prompt still makes a bookmark: the time and two spaces.
        QCOMPARE(BookmarkLine::label(1000, QString()), QStringLiteral("00:01  "));
        QVERIFY(BookmarkLine::isReadable(entry(BookmarkLine::label(1000, QString()), 1000)));

        // Fifteen digits are the most a position can have, and come back whole.
        const QString longest = entry(QStringLiteral("99:59  x"), 999999999999999LL);
        QCOMPARE(BookmarkLine::positionOf(longest).value(), 999999999999999LL);
        QCOMPARE(BookmarkLine::labelOf(longest), QStringLiteral("99:59  x"));
    }

    void namesAreMadeSafe()
    {
        QCOMPARE(BookmarkLine::cleanName(QStringLiteral("a\r\nb\tc")), QStringLiteral("a  b c"));
        QCOMPARE(BookmarkLine::cleanName(QString(5000, QLatin1Char('n'))).size(),
                 qsizetype(BookmarkLine::MaxNameLength));
        // The longest name still makes a line that reads back.
        const QString e = entry(BookmarkLine::label(125 * 60000.0, QString(5000, QLatin1Char('n'))),
                                125 * 60000LL);
        QVERIFY(BookmarkLine::isReadable(e));
    }

    void unreadableLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("empty") << QString();
        QTest::newRow("short") << QStringLiteral("00:01  x 123");
        QTest::newRow("exactly fifteen") << QStringLiteral("          12345");
        QTest::newRow("no label") << (QString(20, QLatin1Char(' ')) + QStringLiteral("12345"));
        QTest::newRow("not a number") << (QStringLiteral("00:01  x") + spaces15() + "12a45");
        QTest::newRow("signed") << (QStringLiteral("00:01  x") + spaces15() + "-1000");
        QTest::newRow("decimal") << (QStringLiteral("00:01  x") + spaces15() + "10.5");
        QTest::newRow("no position") << (QStringLiteral("00:01  x") + spaces15());
        QTest::newRow("control character")
            << (QStringLiteral("00:01  x") + QChar(7) + spaces15() + QStringLiteral("1000"));
        QTest::newRow("over-long") << (QString(BookmarkLine::MaxLineLength, QLatin1Char('n')) +
                                       spaces15() + QStringLiteral("1000"));
    }
    void unreadableLines()
    {
        QFETCH(QString, line);
        QVERIFY(!BookmarkLine::isReadable(line));
    }

    void listOrderIsTextOrderOfLabels()
    {
        QStringList items = {entry(QStringLiteral("11:00  b"), 660000),
                             entry(QStringLiteral("100:00  a"), 6000000),
                             entry(QStringLiteral("02:00  c"), 120000)};
        std::sort(items.begin(), items.end(), BookmarkLine::lessThan);
        QCOMPARE(BookmarkLine::labelOf(items[0]), QStringLiteral("02:00  c"));
        QCOMPARE(BookmarkLine::labelOf(items[1]), QStringLiteral("100:00  a"));
        QCOMPARE(BookmarkLine::labelOf(items[2]), QStringLiteral("11:00  b"));

        // A label that only differs by a trailing space sorts like the label
        // read back, so the visible and the stored list cannot disagree.
        const QString plain = entry(QStringLiteral("01:00  x"), 60400);
        const QString spaced = entry(QStringLiteral("01:00  x "), 60200);
        QVERIFY(BookmarkLine::lessThan(spaced, plain));
        QVERIFY(!BookmarkLine::lessThan(plain, spaced));
    }

    void tableKeepsAPrefixOf501()
    {
        QStringList many;
        for (int i = 0; i < 600; ++i)
            many << entry(QStringLiteral("00:00  %1").arg(i), i);
        BookmarkEntries t;
        QVERIFY(!t.heldBookmarks());
        t.assign(many);
        QCOMPARE(t.count(), BookmarkEntries::Capacity);
        QVERIFY(t.isFull());
        QVERIFY(!t.append(many.last()));
        QCOMPARE(t.entry(500), many[500]);

        t.assign({many[0], QString(), many[1]});
        QCOMPARE(t.used(), (QStringList{many[0], many[1]}));
        // Emptied by the list window, the table still knows it held bookmarks.
        t.clear();
        QVERIFY(t.isEmpty());
        QVERIFY(t.heldBookmarks());
        t.startFresh();
        QVERIFY(!t.heldBookmarks());
    }

    void fileNamesFollowTheMediaName()
    {
        ProgramHome home(false);
        QCOMPARE(BookmarkFile::pathFor(QStringLiteral("/srv/audio/lezione1.mp3")),
                 home.file(QStringLiteral("Bookmarks/lezione1.mp3.bm")));
        QCOMPARE(BookmarkFile::pathFor(QStringLiteral("/other/lezione1.mp3")),
                 BookmarkFile::pathFor(QStringLiteral("/srv/audio/lezione1.mp3")));
        QVERIFY(BookmarkFile::pathFor(QString()).isEmpty());
        QVERIFY(BookmarkFile::pathFor(QStringLiteral("/srv/audio/")).isEmpty());
    }

    void writtenFileReadsBackInOrder()
    {
        ProgramHome home(false);
        const QString media = QStringLiteral("/srv/intervista.wav");
        const QStringList items = {entry(QStringLiteral("00:05  Inizio"), 5100),
                                   entry(QStringLiteral("01:05  Intervista  à è"), 65100),
                                   entry(QStringLiteral("00:02    spazi"), 2000)};
        QVERIFY(BookmarkFile::save(media, table(items)).ok);
        const QByteArray bytes = home.read(QStringLiteral("Bookmarks/intervista.wav.bm"));
        QVERIFY(bytes.endsWith("65100\r\n" + QString(items[2] + "\r\n").toUtf8()));
        QCOMPARE(bytes.count("\r\n"), 3);
        QVERIFY(!bytes.endsWith("\r\n\r\n"));

        BookmarkEntries back;
        QVERIFY(BookmarkFile::load(media, &back));
        QCOMPARE(back.used(), items);
    }

    void emptyTableWritesNothingUnlessItLostItsBookmarks()
    {
        ProgramHome home(false);
        const QString media = QStringLiteral("/srv/a.mp3");
        // Never had bookmarks: no folder, no file.
        QVERIFY(BookmarkFile::save(media, BookmarkEntries()).ok);
        QVERIFY(!QFileInfo::exists(home.file(QStringLiteral("Bookmarks"))));

        BookmarkEntries t = table({entry(QStringLiteral("00:01  x"), 1000)});
        QVERIFY(BookmarkFile::save(media, t).ok);
        const QString bm = home.file(QStringLiteral("Bookmarks/a.mp3.bm"));
        QVERIFY(QFile::exists(bm));
        // Every bookmark removed: the file goes, so they do not come back.
        t.clear();
        QVERIFY(BookmarkFile::save(media, t).ok);
        QVERIFY(!QFile::exists(bm));

        // A file whose lines make no bookmark is left for the user to mend.
        home.write(QStringLiteral("Bookmarks/a.mp3.bm"), "garbage\r\n");
        BookmarkEntries loaded;
        QVERIFY(BookmarkFile::load(media, &loaded));
        QVERIFY(loaded.isEmpty());
        QVERIFY(BookmarkFile::save(media, loaded).ok);
        QCOMPARE(home.read(QStringLiteral("Bookmarks/a.mp3.bm")), QByteArray("garbage\r\n"));
    }

    void damagedFilesNeverBreakReading()
    {
        ProgramHome home(false);
        const QString media = QStringLiteral("/srv/b.mp3");
        const QString good = entry(QStringLiteral("00:01  ok"), 1000);
        BookmarkEntries t;

        // Short, non-numeric, blank and over-long lines around a good one.
        QByteArray mixed = "x\r\n\r\n00:02  y               abc\r\n" + good.toUtf8() + "\n" +
                           QByteArray(100000, 'z') + "               1\r\n";
        home.write(QStringLiteral("Bookmarks/b.mp3.bm"), mixed);
        QVERIFY(BookmarkFile::load(media, &t));
        QCOMPARE(t.used(), QStringList{good});

        // 600 good lines: reading stops at 501.
        QByteArray lines;
        for (int i = 0; i < 600; ++i)
            lines +=
                entry(QStringLiteral("00:00  %1").arg(i, 3, 10, QLatin1Char('0')), i).toUtf8() +
                "\r\n";
        home.write(QStringLiteral("Bookmarks/b.mp3.bm"), lines);
        QVERIFY(BookmarkFile::load(media, &t));
        QCOMPARE(t.count(), BookmarkEntries::Capacity);
        QCOMPARE(BookmarkLine::positionOf(t.entry(500)).value(), qint64(500));

        // Binary noise: whatever it holds, every entry taken is a readable line.
        QByteArray noise(256 * 1024, '\0');
        QRandomGenerator rng(8);
        for (char &c : noise)
            c = static_cast<char>(rng.bounded(256));
        home.write(QStringLiteral("Bookmarks/b.mp3.bm"), noise);
        QVERIFY(BookmarkFile::load(media, &t));
        for (int i = 0; i < t.count(); ++i)
            QVERIFY(BookmarkLine::isReadable(t.entry(i)));

        // A folder of that name is no bookmark file.
        QFile::remove(home.file(QStringLiteral("Bookmarks/b.mp3.bm")));
        QVERIFY(QDir().mkpath(home.file(QStringLiteral("Bookmarks/b.mp3.bm"))));
        QVERIFY(!BookmarkFile::load(media, &t));
        QVERIFY(t.isEmpty());
    }

    void nextAndPrevious()
    {
        const BookmarkEntries t = table({entry(QStringLiteral("00:30  b"), 30000),
                                         entry(QStringLiteral("00:10  a"), 10000),
                                         entry(QStringLiteral("00:50  c"), 50000)});
        using namespace BookmarkNavigation;
        // Without a rewind: strictly ahead; back past a two-second grace.
        QCOMPARE(next(t, 20000, 0).value(), qint64(30000));
        QCOMPARE(next(t, 30000, 0).value(), qint64(50000));
        QVERIFY(!next(t, 50000, 0));
        QCOMPARE(previous(t, 35000, 0).value(), qint64(30000));
        QCOMPARE(previous(t, 31000, 0).value(), qint64(10000));
        QVERIFY(!previous(t, 11000, 0));

        // With a 3 s rewind, arriving at b leaves the device at 27 s: the next
        // one is c, not b again, and the previous one is a.
        QCOMPARE(landing(30000, 3000), 27000.0);
        QCOMPARE(next(t, 27000, 3000).value(), qint64(50000));
        QCOMPARE(previous(t, 27500, 3000).value(), qint64(10000));
        // A bookmark closer to the start than the rewind lands at 0.
        QCOMPARE(landing(1000, 3000), 0.0);
        QVERIFY(!next(BookmarkEntries(), 0, 0));
    }
};

QTEST_GUILESS_MAIN(TestBookmarkTable)
#include "test_bookmark_table.moc"
