#include "i18n/captions.h"
#include "i18n/language_table.h"
#include "platform/files/text_file.h"
#include "session/recent_list.h"
#include "support/program_home.h"

#include <QDirIterator>
#include <QtTest>
#include <sys/stat.h>

using namespace quillory;

class TestListsAndLanguages : public QObject {
    Q_OBJECT
private:
    static RecentList listOf(const QStringList &paths)
    {
        RecentList list;
        for (int i = paths.size() - 1; i >= 0; --i)
            list.moveToFront(paths[i]);
        return list;
    }

private slots:
    void recentMoveToFront_data()
    {
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QStringList>("expected");
        const QStringList e = {"a", "b", "c", "d"};
        QTest::newRow("new file drops the oldest") << "x" << QStringList{"x", "a", "b", "c"};
        QTest::newRow("slot 1 unchanged") << "a" << e;
        QTest::newRow("slot 2") << "b" << QStringList{"b", "a", "c", "d"};
        QTest::newRow("slot 3") << "c" << QStringList{"c", "a", "b", "d"};
        QTest::newRow("slot 4") << "d" << QStringList{"d", "a", "b", "c"};
        QTest::newRow("case matters") << "A" << QStringList{"A", "a", "b", "c"};
    }
    void recentMoveToFront()
    {
        QFETCH(QString, opened);
        QFETCH(QStringList, expected);
        RecentList list = listOf({"a", "b", "c", "d"});
        list.moveToFront(opened);
        QCOMPARE(list.captions(), expected);
    }

    void recentFileKeepsPlaceholders()
    {
        test::ProgramHome home(false);
        RecentList list;
        QVERIFY(!list.anyShown());
        list.moveToFront("/media/one.mp3");
        QVERIFY(list.save(home.file("LastFiles.ini")).ok);
        QCOMPARE(home.read("LastFiles.ini"),
                 QByteArray("/media/one.mp3\r\nmnuRecent1\r\nmnuRecent2\r\nmnuRecent3\r\n"));

        RecentList again;
        QVERIFY(again.load(home.file("LastFiles.ini")));
        QCOMPARE(again.captions(), list.captions());
        QVERIFY(RecentList::isShown(again.caption(0)));
        QVERIFY(!RecentList::isShown(again.caption(1)));

        // A name with a line break would read back as two entries.
        list.moveToFront("/media/two\nlines.mp3");
        list.moveToFront("/media/carriage\rreturn.mp3");
        QCOMPARE(list.caption(0), QStringLiteral("/media/one.mp3"));
        QCOMPARE(list.caption(1), QStringLiteral("mnuRecent1"));
    }

    void recentLoadSkipsEmptyLinesAndMissingFiles()
    {
        test::ProgramHome home(false);
        RecentList missing;
        QVERIFY(!missing.load(home.file("nothing.ini")));
        QCOMPARE(missing.caption(0), QStringLiteral("mnuRecent1"));

        home.write("LastFiles.ini", "\r\n/b.wav\r\n");
        RecentList partial;
        QVERIFY(partial.load(home.file("LastFiles.ini")));
        QCOMPARE(partial.captions(),
                 (QStringList{"mnuRecent1", "/b.wav", "mnuRecent3", "mnuRecent4"}));
    }

    void languageFileRules()
    {
        test::ProgramHome home(false);
        home.write("Lang/long.lng", "00 zero\r\n01 one\r\n02 &File\r\n03 three\r\n");
        home.write("Lang/short.lng", "00 nul\r\n\r\n02\r\n");
        LanguageTable table;
        QVERIFY(table.load(LanguageTable::pathOf("long.lng")));
        QCOMPARE(table.T(2), QStringLiteral("&File"));
        QVERIFY(table.load(LanguageTable::pathOf("short.lng")));
        QCOMPARE(table.T(0), QStringLiteral("nul"));
        QCOMPARE(table.T(1), QStringLiteral("one"));   // empty line: unchanged
        QCOMPARE(table.T(2), QString());               // two characters: empty
        QCOMPARE(table.T(3), QStringLiteral("three")); // beyond the file: kept
        QCOMPARE(table.T(101), QString());
        QVERIFY(!table.load(LanguageTable::pathOf("missing.lng")));
        QCOMPARE(table.T(3), QStringLiteral("three"));
    }

    void languageFileIgnoresLinesPast100()
    {
        test::ProgramHome home(false);
        QByteArray bytes;
        for (int i = 0; i < 150; ++i)
            bytes += QByteArray::number(i).rightJustified(3, '0') + "line" + QByteArray::number(i) +
                     "\r\n";
        home.write("Lang/many.lng", bytes);
        LanguageTable table;
        QVERIFY(table.load(LanguageTable::pathOf("many.lng")));
        QCOMPARE(table.T(100), QStringLiteral("line100"));
    }

    void languageChoice()
    {
        QCOMPARE(LanguageTable::languageForCountry("Italy"), QStringLiteral("Italiano.lng"));
        QCOMPARE(LanguageTable::languageForCountry("ITALY"), QStringLiteral("Italiano.lng"));
        QCOMPARE(LanguageTable::languageForCountry("Germany"), QStringLiteral("English.lng"));
        QCOMPARE(LanguageTable::languageForCountry(""), QStringLiteral("English.lng"));
        QCOMPARE(LanguageTable::languageFileFromPath("/x/Lang/Deutsch.lng", "English.lng"),
                 QStringLiteral("Deutsch.lng"));
        QCOMPARE(LanguageTable::languageFileFromPath("/Lang/a/Lang/French.lng", "English.lng"),
                 QStringLiteral("French.lng"));
        QCOMPARE(LanguageTable::languageFileFromPath("/x/lang/Deutsch.lng", "English.lng"),
                 QStringLiteral("English.lng"));
    }

    void shippedLanguageFilesAreComplete()
    {
        const QString dir = test::sourceDir() + "/resources/Lang";
        const QStringList names = {"English", "Italiano", "Deutsch", "Español", "French"};
        for (const QString &name : names) {
            QFile file(dir + "/" + name + ".lng");
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
            const QByteArray bytes = file.readAll();
            QCOMPARE(bytes.count("\r\n"), 101);
            QCOMPARE(bytes.count('\n'), 101);
            QVERIFY(bytes.endsWith("\r\n"));
            QCOMPARE(decodeText(bytes), QString::fromUtf8(bytes)); // valid UTF-8
            LanguageTable t;
            QVERIFY(t.load(LanguageTable::pathOf("unused")) == false);
            ProgramFolder::set(test::sourceDir() + "/resources");
            QVERIFY(t.load(LanguageTable::pathOf(name + ".lng")));
            QVERIFY2(t.T(7) != t.T(8), qPrintable(name));
            QVERIFY2(t.T(15).endsWith("..."), qPrintable(name));
            QVERIFY2(!t.T(97).isEmpty() && !t.T(98).isEmpty() && !t.T(75).isEmpty(),
                     qPrintable(name));
            QVERIFY2(t.T(84).left(3) != t.T(85).left(3), qPrintable(name));
        }
    }

    void captionsFallBackFromLanguageToEnglishToBuiltIn()
    {
        test::ProgramHome home;
        writeTextLines(home.file("Lang/English.captions"),
                       {"# comment", "greeting=Hello", "only.english=Only English", "broken line",
                        "=no key", "two.lines=One\\nTwo"});
        writeTextLines(home.file("Lang/Italiano.captions"),
                       {"\xEF\xBB\xBFgreeting = Ciao", "empty="});
        Captions c;
        c.load("Italiano.lng");
        QCOMPARE(c.text("greeting", "x"), QString("Ciao"));
        QCOMPARE(c.text("only.english", "x"), QString("Only English"));
        QCOMPARE(c.text("empty", "Built in"), QString("Built in"));
        QCOMPARE(c.text("missing", "Built in"), QString("Built in"));
        QCOMPARE(c.text("two.lines", "x"), QString("One\nTwo"));
        c.load("Deutsch.lng"); // no companion of its own: English, then built in
        QCOMPARE(c.text("greeting", "x"), QString("Hello"));
        QFile::remove(home.file("Lang/English.captions"));
        c.load("Nowhere.lng");
        QCOMPARE(c.text("greeting", "Built in"), QString("Built in"));
    }

    void languageNamesStayInsideTheLangFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("used");
        QTest::newRow("shipped") << "Italiano.lng"
                                 << "Italiano.lng";
        QTest::newRow("any case") << "Deutsch.LNG"
                                  << "Deutsch.LNG";
        QTest::newRow("blank inside") << "Mio dialetto.lng"
                                      << "Mio dialetto.lng";
        QTest::newRow("climbs out") << "../../../../dev/zero"
                                    << "English.lng";
        QTest::newRow("climbs out as .lng") << "../../secret.lng"
                                            << "English.lng";
        QTest::newRow("dots inside") << "a..b.lng"
                                     << "English.lng";
        QTest::newRow("absolute") << "/etc/passwd.lng"
                                  << "English.lng";
        QTest::newRow("subfolder") << "old/French.lng"
                                   << "English.lng";
        QTest::newRow("windows separator") << "old\\French.lng"
                                           << "English.lng";
        QTest::newRow("other kind") << "Deutsch.txt"
                                    << "English.lng";
        QTest::newRow("suffix alone") << ".lng"
                                      << "English.lng";
        QTest::newRow("empty") << ""
                               << "English.lng";
        QTest::newRow("nul") << QString("Deutsch") + QChar(0) + ".lng"
                             << "English.lng";
    }

    void languageNamesStayInsideTheLangFolder()
    {
        QFETCH(QString, name);
        QFETCH(QString, used);
        QCOMPARE(LanguageTable::insideLangFolder(name), used);
    }

    void languageFilesThatAreNotRegularFilesAreSkipped()
    {
        test::ProgramHome home;
        LanguageTable table;
        QVERIFY(table.load(LanguageTable::pathOf("English.lng")));
        const QString before = table.T(7);
        QVERIFY(!before.isEmpty());
        const QString deutsch = home.file("Lang/Deutsch.lng");
        QFile::remove(deutsch);
        QCOMPARE(::mkfifo(QFile::encodeName(deutsch).constData(), 0600), 0);
        QVERIFY(!table.load(deutsch)); // at once, not waiting for a writer
        QCOMPARE(table.T(7), before);
        QVERIFY(QFile::link("/dev/zero", home.file("Lang/Zero.lng")));
        QVERIFY(!table.load(home.file("Lang/Zero.lng")));

        writeTextLines(home.file("Lang/English.captions"), {"greeting=Hello"});
        QFile::remove(home.file("Lang/Deutsch.captions"));
        QCOMPARE(::mkfifo(QFile::encodeName(home.file("Lang/Deutsch.captions")).constData(), 0600),
                 0);
        Captions c;
        c.load("Deutsch.lng");
        QCOMPARE(c.text("greeting", "x"), QString("Hello"));
        // A name leading out of Lang/ reads English's companion instead.
        home.write("Secret.captions", "greeting=Leaked\n");
        c.load("../Secret.lng");
        QCOMPARE(c.text("greeting", "x"), QString("Hello"));
    }

    void textFilesReadBothLineEndsAndOldCodePages()
    {
        test::ProgramHome home(false);
        home.write("a.txt", "one\r\ntwo\nthree");
        QStringList lines;
        QVERIFY(readTextLines(home.file("a.txt"), &lines));
        QCOMPARE(lines, (QStringList{"one", "two", "three"}));
        home.write("b.txt", "caff\xe8\r\n\x93quoted\x94\r\n"); // Windows-1252
        QVERIFY(readTextLines(home.file("b.txt"), &lines));
        QCOMPARE(lines, (QStringList{QString::fromUtf8("caffè"), QString::fromUtf8("“quoted”")}));
        QVERIFY(!readTextLines(home.file("none.txt"), &lines));
        QVERIFY(lines.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestListsAndLanguages)
#include "test_lists_and_languages.moc"
