// The translation page also offers the companion caption texts, each row
// named by its key, so a translator can send every text the program shows.
#include "i18n/translation_page.h"
#include "platform/files/text_file.h"
#include "support/program_home.h"

#include <QRegularExpression>
#include <QtTest>

using namespace quillory;
using namespace quillory::test;

namespace {

QStringList writtenPage()
{
    QStringList lines;
    readTextLines(TranslationForm::pagePath(), &lines);
    return lines;
}

// The keys of the page's caption rows, in order.
QStringList captionKeys(const QStringList &lines)
{
    static const QRegularExpression input(QStringLiteral("name=\"Caption_([^\"]+)\""));
    QStringList keys;
    for (const QString &line : lines)
        if (const auto match = input.match(line); match.hasMatch())
            keys << match.captured(1);
    return keys;
}

} // namespace

class TestTranslationCaptions : public QObject {
    Q_OBJECT
private slots:
    void keysInEnglishOrderThenTheOthers()
    {
        ProgramHome home(false);
        home.write("Lang/English.captions", "# a comment\r\nb.two=Two\r\na.one=One\r\n");
        home.write("Lang/Italiano.captions", "a.one=Uno\nz.extra=Solo italiano\nbroken line\n");
        home.write("Lang/Deutsch.captions", "b.two=Zwei & <drei>\n");
        const TranslationForm::CaptionGrid grid = TranslationForm::readCaptions(home.file("Lang"));
        QCOMPARE(grid.keys, (QStringList{"b.two", "a.one", "z.extra"}));
        QCOMPARE(grid.values.value("a.one")[4], QStringLiteral("Uno"));
        QCOMPARE(grid.values.value("b.two")[0], QStringLiteral("Zwei & <drei>"));
        QVERIFY(grid.values.value("z.extra")[1].isEmpty());

        QVERIFY(TranslationForm::write("Quillory", "a@b.org"));
        const QStringList page = writtenPage();
        QCOMPARE(captionKeys(page), grid.keys);
        // Shown, not run; a missing text shows dots like a missing line.
        QVERIFY(page.contains(QStringLiteral("<TD>Zwei &amp; &lt;drei&gt;</TD>")));
        QVERIFY(page.contains(QStringLiteral("<TR><TD><CODE>z.extra</CODE></TD>")));
        QVERIFY(page.contains(QStringLiteral("<TD>..............</TD>")));
        QVERIFY(page.last().endsWith(QStringLiteral("</FORM></BODY></HTML>")));
    }

    void theShippedPageOffersEveryText()
    {
        ProgramHome home;
        QVERIFY(TranslationForm::write("Quillory", "a@b.org"));
        const QStringList page = writtenPage();
        // Every line of the language table ...
        int tableInputs = 0;
        for (const QString &line : page)
            tableInputs += line.contains(QLatin1String("name=\"Traduzione"));
        QCOMPARE(tableInputs, 101);
        // ... and every caption of every language, each once.
        QStringList expected;
        for (const char *language : {"English", "Deutsch", "Español", "French", "Italiano"}) {
            QStringList lines;
            QVERIFY(readTextLines(home.file(QStringLiteral("Lang/") + QString::fromUtf8(language) +
                                            QStringLiteral(".captions")),
                                  &lines));
            for (const QString &line : lines) {
                const QString key = line.section(QLatin1Char('='), 0, 0).trimmed();
                if (!key.isEmpty() && !key.startsWith('#') && line.contains('=') &&
                    !expected.contains(key))
                    expected << key;
            }
        }
        QVERIFY(expected.contains(QStringLiteral("timestamp.title")));
        QVERIFY(expected.contains(QStringLiteral("spelling.addWord")));
        QCOMPARE(captionKeys(page), expected);
    }

    void noCaptionFilesKeepsThePageAsBefore()
    {
        ProgramHome home(false);
        home.write("Lang/Italiano.lng", "01 Uno\r\n");
        QVERIFY(TranslationForm::write("Quillory", "a@b.org"));
        const QStringList page = writtenPage();
        QVERIFY(captionKeys(page).isEmpty());
        QVERIFY(page.last().startsWith(QStringLiteral("</TBODY></TABLE></P><P align=right>")));
    }
};

QTEST_GUILESS_MAIN(TestTranslationCaptions)
#include "test_translation_captions.moc"
