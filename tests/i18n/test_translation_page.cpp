// The translation request page: which language files fill which columns, how
// many rows, what missing lines show, and that it is rewritten whole each time.
#include "i18n/translation_page.h"
#include "platform/files/text_file.h"
#include "support/program_home.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>
#include <sys/stat.h>

using namespace quillory;
using namespace quillory::test;

namespace {

const QString Dots = QStringLiteral("...........");

QByteArray lngLines(const QString &prefix, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += QStringLiteral("%1 %2 %3\r\n")
                     .arg(i, 2, 10, QLatin1Char('0'))
                     .arg(prefix)
                     .arg(i)
                     .toUtf8();
    return bytes;
}

// The page's table rows: each is the list of its seven cells' contents.
QList<QStringList> tableRows(const QStringList &lines)
{
    QList<QStringList> rows;
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith(QLatin1String("<TR><TD><STRONG>")) || i + 6 >= lines.size())
            continue;
        QStringList row;
        static const QRegularExpression number(QStringLiteral("<CENTER>(\\d+)</CENTER>"));
        row << number.match(lines[i]).captured(1);
        for (int c = 1; c <= 5; ++c) {
            QString cell = lines[i + c];
            if (!cell.startsWith(QLatin1String("<TD>")) || !cell.endsWith(QLatin1String("</TD>")))
                return {};
            row << cell.mid(4, cell.size() - 9);
        }
        row << lines[i + 6];
        rows << row;
    }
    return rows;
}

QStringList writtenPage()
{
    QStringList lines;
    if (!readTextLines(TranslationForm::pagePath(), &lines))
        return {};
    return lines;
}

} // namespace

class TestTranslationPage : public QObject {
    Q_OBJECT
private slots:
    void onlyItalianFillsOneColumn()
    {
        ProgramHome home(false);
        home.write("Lang/Italiano.lng", "01 Uno\r\n02 Due\r\n03 Tre\r\n");
        QVERIFY(TranslationForm::write(QStringLiteral("Quillory"), QStringLiteral("a@b.org")));
        const QList<QStringList> rows = tableRows(writtenPage());
        QCOMPARE(rows.size(), 3);
        const QStringList words = {"Uno", "Due", "Tre"};
        for (int r = 0; r < 3; ++r) {
            QCOMPARE(rows[r][0], QString::number(r + 1));
            // Deutsch, English, Español, French: dots; Italiano: the text.
            QCOMPARE(rows[r].mid(1, 4), QStringList(4, Dots));
            QCOMPARE(rows[r][5], words[r]);
            QCOMPARE(
                rows[r][6],
                QStringLiteral("<TD><input type=text name=\"Traduzione%1\"></TD></TR>").arg(r));
        }
    }

    void aLanguageFileThatIsNotARegularFileLeavesItsColumnEmpty()
    {
        ProgramHome home(false);
        home.write("Lang/Italiano.lng", "01 Uno\r\n02 Due\r\n");
        QVERIFY(QDir().mkpath(home.file("Lang")));
        QCOMPARE(::mkfifo(QFile::encodeName(home.file("Lang/Deutsch.lng")).constData(), 0600), 0);
        QVERIFY(QFile::link("/dev/zero", home.file("Lang/French.lng")));
        const TranslationForm::Grid grid = TranslationForm::readGrid(home.file("Lang"));
        QCOMPARE(grid.rows, 2);
        QVERIFY(grid.cells[0][0].isEmpty()); // Deutsch
        QVERIFY(grid.cells[0][3].isEmpty()); // French
        QCOMPARE(grid.cells[1][4], QString("02 Due"));
    }

    void aUtf16LanguageFileReadsLikeAUtf8One()
    {
        ProgramHome home(false);
        const QString text = QString::fromUtf8("01 Perch\xC3\xA9\r\n02 Due\r\n");
        QByteArray utf16("\xFF\xFE");
        for (QChar c : text) {
            utf16 += char(c.unicode() & 0xFF);
            utf16 += char(c.unicode() >> 8);
        }
        home.write("Lang/Italiano.lng", utf16);
        const TranslationForm::Grid grid = TranslationForm::readGrid(home.file("Lang"));
        QCOMPARE(grid.rows, 2);
        QCOMPARE(grid.cells[0][4], QString::fromUtf8("01 Perch\xC3\xA9"));
        QCOMPARE(grid.cells[1][4], QString("02 Due"));
    }

    void headerAndFooterAsDesigned()
    {
        TranslationForm::Grid grid;
        const QStringList lines = TranslationForm::pageLines(grid, "Quillory", "who@where.org");
        // Three opening lines, the heading row of seven cells, its end, and the closing line.
        QCOMPARE(lines.size(), 12);
        QCOMPARE(lines[0], QStringLiteral("<HTML><HEAD><TITLE>Traduzione / Traduction software "
                                          "QUILLORY</TITLE></HEAD><BODY>"));
        QCOMPARE(lines[1], QStringLiteral("<FORM Action = \"mailto:who@where.org\" method = "
                                          "\"POST\" name=\"Nuova Traduzione Quillory\">"));
        QCOMPARE(lines[2], QStringLiteral("<P>Nome lingua / Name language: <input type=text "
                                          "name=\"Nome Lingua\">"));
        QVERIFY(lines[3].startsWith("<BR><BR><TABLE BORDER=1><TBODY><TR><TD>"));
        QVERIFY(lines[3].contains("<CENTER>N.</CENTER>"));
        const QStringList names = {"Deutsch", "English",  "Español",
                                   "French",  "Italiano", "Traduzione / Traduction"};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(lines[4 + i], QStringLiteral("<TD><STRONG><EM><FONT COLOR=#ff0000><CENTER>") +
                                       names[i] +
                                       QStringLiteral("</CENTER></FONT></EM></STRONG></TD>"));
        QCOMPARE(lines[10], QStringLiteral("</TR>"));
        QVERIFY(lines[11].startsWith(QLatin1String("</TBODY></TABLE></P>")));
    }

    void longestFileSetsTheRows()
    {
        ProgramHome home(false);
        home.write("Lang/Deutsch.lng", lngLines("de", 5));
        home.write("Lang/French.lng", lngLines("fr", 9));
        home.write("Lang/English.lng", lngLines("en", 2));
        QVERIFY(TranslationForm::write("Quillory", "a@b.org"));
        const QList<QStringList> rows = tableRows(writtenPage());
        QCOMPARE(rows.size(), 9);
        QCOMPARE(rows[4][1], QStringLiteral("de 4"));
        QCOMPARE(rows[5][1], Dots);
        QCOMPARE(rows[1][2], QStringLiteral("en 1"));
        QCOMPARE(rows[2][2], Dots);
        QCOMPARE(rows[8][4], QStringLiteral("fr 8"));
        QCOMPARE(rows[8][6],
                 QStringLiteral("<TD><input type=text name=\"Traduzione8\"></TD></TR>"));
        QCOMPARE(
            writtenPage().last(),
            QStringLiteral("</TBODY></TABLE></P><P align=right><INPUT value=\"Invia traduzione "
                           "/ Send Traduction\" type=submit></P></FORM></BODY></HTML>"));
    }

    void linesPastTwoHundredAreDropped()
    {
        ProgramHome home(false);
        home.write("Lang/Español.lng", lngLines("es", 250));
        const TranslationForm::Grid grid =
            TranslationForm::readGrid(home.file(QStringLiteral("Lang")));
        QCOMPARE(grid.rows, 201);
        QCOMPARE(grid.cells[200][2], QStringLiteral("200 es 200"));
        const QList<QStringList> rows = tableRows(TranslationForm::pageLines(grid, "Q", "a@b"));
        QCOMPARE(rows.size(), 201);
        QCOMPARE(rows.last()[0], QStringLiteral("201"));
    }

    void shortAndEmptyLinesShowDots()
    {
        TranslationForm::Grid grid;
        grid.rows = 3;
        grid.cells[0][0] = QStringLiteral("01"); // shorter than the prefix: nothing left
        grid.cells[1][0] = QString();            // an empty line is a missing one
        grid.cells[2][0] = QStringLiteral("03 x");
        const QList<QStringList> rows = tableRows(TranslationForm::pageLines(grid, "Q", "a@b"));
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0][1], QString());
        QCOMPARE(rows[1][1], Dots);
        QCOMPARE(rows[2][1], QStringLiteral("x"));
    }

    void markupInALanguageFileIsShownNotRun()
    {
        ProgramHome home(false);
        home.write("Lang/English.lng",
                   "01 &File\r\n02 </TD></TR><script>alert(1)</script>\r\n03 \"quoted\"\r\n");
        QVERIFY(TranslationForm::write("Quillory", "a@b.org"));
        const QStringList page = writtenPage();
        QVERIFY(!page.join('\n').contains(QLatin1String("<script>")));
        const QList<QStringList> rows = tableRows(page);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0][2], QStringLiteral("&amp;File"));
        QCOMPARE(rows[1][2],
                 QStringLiteral("&lt;/TD&gt;&lt;/TR&gt;&lt;script&gt;alert(1)&lt;/script&gt;"));
        QCOMPARE(rows[2][2], QStringLiteral("&quot;quoted&quot;"));
    }

    void runningTwiceOverwrites()
    {
        ProgramHome home(false);
        home.write("Lang/Italiano.lng", lngLines("it", 7));
        QVERIFY(TranslationForm::write("Quillory", "a@b.org"));
        QCOMPARE(tableRows(writtenPage()).size(), 7);
        home.write("Lang/Italiano.lng", lngLines("it", 2));
        QVERIFY(TranslationForm::write("Quillory", "a@b.org"));
        QCOMPARE(tableRows(writtenPage()).size(), 2);
        const QByteArray bytes = home.read("Invia_Traduzione.html");
        QCOMPARE(bytes.count("<HTML>"), 1);
    }

    void pageIsUtf8WithCrLf()
    {
        ProgramHome home(false);
        home.write("Lang/Deutsch.lng", "01 Über\r\n");
        QVERIFY(TranslationForm::write("Quillory", "a@b.org"));
        const QByteArray bytes = home.read("Invia_Traduzione.html");
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF<HTML>"));
        QVERIFY(bytes.endsWith("</HTML>\r\n"));
        QCOMPARE(bytes.count("\r\n"), bytes.count("\n"));
        QVERIFY(bytes.contains("<TD>\xC3\x9C"
                               "ber</TD>"));
        QVERIFY(bytes.contains("<CENTER>Espa\xC3\xB1ol</CENTER>"));
    }

    void shippedFilesGiveOneRowPerLine()
    {
        ProgramHome home;
        QVERIFY(TranslationForm::write("Quillory", "a@b.org"));
        const QList<QStringList> rows = tableRows(writtenPage());
        QCOMPARE(rows.size(), 101);
        for (const QStringList &row : rows)
            for (int c = 1; c <= 5; ++c)
                QVERIFY2(row[c] != Dots, qPrintable(row.join('|')));
    }

    void unwritableFolderReportsAReason()
    {
        ProgramHome home(false);
        ProgramFolder::set(home.file(QStringLiteral("missing/folder")));
        const FileResult result = TranslationForm::write("Quillory", "a@b.org");
        QVERIFY(!result);
        QVERIFY(!result.reason.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTranslationPage)
#include "test_translation_page.moc"
