// The .bm name of a media file, also for names too long to take ".bm".
#include "session/bookmark_entries.h"
#include "session/bookmark_file.h"
#include "session/bookmark_file_name.h"
#include "support/program_home.h"

#include <QFile>
#include <QFileInfo>
#include <QtTest>

using namespace quillory;
using namespace quillory::test;

namespace {

qsizetype bytesOf(const QString &name)
{
    return QFile::encodeName(name).size();
}

// A media name of exactly `bytes` bytes ending in ".mp3".
QString nameOfBytes(int bytes)
{
    return QString(bytes - 4, QLatin1Char('a')) + QStringLiteral(".mp3");
}

} // namespace

class TestBookmarkFileName : public QObject {
    Q_OBJECT

private slots:
    void namesThatFitKeepTheirForm()
    {
        QCOMPARE(BookmarkFileName::forMediaName(QStringLiteral("lezione1.mp3")),
                 QStringLiteral("lezione1.mp3.bm"));
        const QString longest = nameOfBytes(252);
        QCOMPARE(BookmarkFileName::forMediaName(longest), longest + QStringLiteral(".bm"));
    }

    void longNamesAreShortenedWithAHash()
    {
        for (int bytes : {253, 254, 255}) {
            const QString media = nameOfBytes(bytes);
            const QString name = BookmarkFileName::forMediaName(media);
            QVERIFY2(bytesOf(name) <= BookmarkFileName::MaxNameBytes, qPrintable(name));
            QVERIFY(name.endsWith(QStringLiteral(".bm")));
            QVERIFY(name.startsWith(QString(200, QLatin1Char('a'))));
            // The same name finds the same file on every open.
            QCOMPARE(BookmarkFileName::forMediaName(media), name);
        }
        // Names that differ only beyond the kept part still get their own file.
        const QString a = QString(300, QLatin1Char('x')) + QStringLiteral("1.wav");
        const QString b = QString(300, QLatin1Char('x')) + QStringLiteral("2.wav");
        QVERIFY(BookmarkFileName::forMediaName(a) != BookmarkFileName::forMediaName(b));
    }

    void shorteningNeverSplitsACharacter()
    {
        // Two bytes per letter, and four per surrogate pair.
        const QString accented = QString(130, QChar(0x00E8));
        const QString name = BookmarkFileName::forMediaName(accented);
        QVERIFY(bytesOf(name) <= BookmarkFileName::MaxNameBytes);
        QVERIFY(!name.contains(QChar::ReplacementCharacter));
        QCOMPARE(QString::fromUtf8(name.toUtf8()), name);

        QString pairs;
        for (int i = 0; i < 70; ++i)
            pairs += QString::fromUcs4(U"\U0001F3B5");
        const QString shortened = BookmarkFileName::forMediaName(pairs);
        QVERIFY(bytesOf(shortened) <= BookmarkFileName::MaxNameBytes);
        const qsizetype tilde = shortened.lastIndexOf(QLatin1Char('~'));
        QVERIFY(tilde > 0);
        QCOMPARE(tilde % 2, 0);
        QVERIFY(!shortened[tilde - 1].isHighSurrogate());
    }

    void bookmarksOfLongNamesSurviveAReopen()
    {
        ProgramHome home(false);
        for (int bytes : {253, 254, 255}) {
            const QString media = QStringLiteral("/srv/") + nameOfBytes(bytes);
            BookmarkEntries table;
            table.append(BookmarkLine::make(QStringLiteral("00:05  start"), 5000));
            QVERIFY(BookmarkFile::save(media, table).ok);
            QVERIFY(QFileInfo(BookmarkFile::pathFor(media)).isFile());

            BookmarkEntries back;
            QVERIFY(BookmarkFile::load(media, &back));
            QCOMPARE(back.used(), table.used());
        }
    }
};

QTEST_GUILESS_MAIN(TestBookmarkFileName)
#include "test_bookmark_file_name.moc"
