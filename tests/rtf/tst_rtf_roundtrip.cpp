// What the writer produces: its shape for other programs, and that reading it
// back gives the same text and formatting runs.

#include "rtf/rtf_writer.h"
#include "rtf_test_support.h"

#include <QTest>
#include <QTextCursor>
#include <QTextList>

using namespace quillory;
using namespace quillory::test;

namespace {

QTextCharFormat charFormat(bool bold, bool italic, bool underline, bool strike,
                           const QString &family, qreal size, const QColor &colour = QColor())
{
    QTextCharFormat format;
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(italic);
    format.setFontUnderline(underline);
    format.setFontStrikeOut(strike);
    format.setFontFamilies({family});
    format.setFontPointSize(size);
    if (colour.isValid())
        format.setForeground(colour);
    return format;
}

void addParagraph(QTextCursor &cursor, Qt::Alignment alignment, bool bullet)
{
    if (!cursor.atStart())
        cursor.insertBlock(QTextBlockFormat());
    QTextBlockFormat block;
    block.setAlignment(alignment);
    cursor.setBlockFormat(block);
    if (bullet) {
        if (QTextBlock previous = cursor.block().previous(); previous.textList())
            previous.textList()->add(cursor.block());
        else
            cursor.createList(QTextListFormat::ListDisc);
    }
}

// A transcript with every attribute the editor can set.
void buildTranscript(QTextDocument &doc)
{
    QTextCursor cursor(&doc);
    addParagraph(cursor, Qt::AlignHCenter, false);
    cursor.insertText(QStringLiteral("Interview \u2014 \u201cSmith\u201d"),
                      charFormat(true, false, false, false, QStringLiteral("Arial"), 16,
                                 QColor(0x12, 0x34, 0x56)));
    addParagraph(cursor, Qt::AlignLeft, false);
    cursor.insertText(QStringLiteral("[0:12]\tSpeaker: "),
                      charFormat(false, false, false, false, QStringLiteral("Courier New"), 10));
    cursor.insertText(QStringLiteral("caf\u00e9 na\u00efve \u20ac5 "),
                      charFormat(false, true, false, false, QStringLiteral("Courier New"), 10));
    cursor.insertText(QStringLiteral("\u4e2d\u6587 \U0001F600 \u0436"),
                      charFormat(false, false, true, false, QStringLiteral("Noto Sans"), 10.5));
    cursor.insertText(
        QStringLiteral(" struck {braces} \\path\u2028next line"),
        charFormat(false, false, false, true, QStringLiteral("Courier New"), 10, Qt::red));
    addParagraph(cursor, Qt::AlignLeft, true);
    cursor.insertText(QStringLiteral("first bullet"),
                      charFormat(false, false, false, false, QStringLiteral("Arial"), 12));
    addParagraph(cursor, Qt::AlignLeft, true);
    cursor.insertText(QStringLiteral("second bullet"),
                      charFormat(true, true, true, true, QStringLiteral("Arial"), 12, Qt::blue));
    addParagraph(cursor, Qt::AlignRight, false);
    addParagraph(cursor, Qt::AlignRight, false);
    cursor.insertText(QStringLiteral("right \u00a0nbsp soft\u00adhyphen"),
                      charFormat(false, false, false, false, QStringLiteral("Arial"), 12));
    addParagraph(cursor, Qt::AlignJustify, false);
    cursor.insertText(QStringLiteral("Fran\u00e7ais \u00c9t\u00e9 \u00df\u00f8"),
                      charFormat(false, false, false, false, QStringLiteral("Times"), 12));
    addParagraph(cursor, Qt::AlignLeft, false);
}

} // namespace

class RtfRoundTripTest : public QObject {
    Q_OBJECT

private slots:
    void transcriptKeepsTextAndRuns();
    void emptyAndTrailingParagraphsSurvive_data();
    void emptyAndTrailingParagraphsSurvive();
    void outputIsSevenBitRtfWithHeaderAndTables();
    void nonAsciiUsesUnicodeEscapesWithFallback();
    void bulletsCarryListTableMarkerAndOldStyleFallback();
    void rewritingIsStable();
    void textOfTheDefaultSizeGetsItsSize();
    void boldHasOneThreshold();
};

void RtfRoundTripTest::transcriptKeepsTextAndRuns()
{
    QTextDocument original;
    buildTranscript(original);
    QTextDocument copy;
    QString error;
    QVERIFY2(readRtf(writeRtf(original), &copy, &error), qPrintable(error));
    QCOMPARE(copy.toPlainText(), original.toPlainText());
    QCOMPARE(copy.blockCount(), original.blockCount());
    const QList<FormatRun> expected = formatRuns(original);
    const QList<FormatRun> actual = formatRuns(copy);
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        QCOMPARE(describeRun(actual[i]), describeRun(expected[i]));
}

void RtfRoundTripTest::emptyAndTrailingParagraphsSurvive_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty document") << QString();
    QTest::newRow("one line") << QStringLiteral("x");
    QTest::newRow("trailing empty paragraph") << QStringLiteral("x\n");
    QTest::newRow("only empty paragraphs") << QStringLiteral("\n\n");
    QTest::newRow("inner empty paragraphs") << QStringLiteral("a\n\n\nb");
}

void RtfRoundTripTest::emptyAndTrailingParagraphsSurvive()
{
    QFETCH(QString, text);
    QTextDocument original;
    original.setPlainText(text);
    QTextDocument copy;
    QVERIFY(readRtf(writeRtf(original), &copy));
    QCOMPARE(copy.toPlainText(), text);
    QCOMPARE(copy.blockCount(), original.blockCount());
}

void RtfRoundTripTest::outputIsSevenBitRtfWithHeaderAndTables()
{
    QTextDocument doc;
    buildTranscript(doc);
    const QByteArray rtf = writeRtf(doc);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    QVERIFY(rtf.contains("{\\fonttbl"));
    QVERIFY(rtf.contains("\\fcharset0 Courier New;}"));
    QVERIFY(rtf.contains("{\\colortbl ;"));
    QVERIFY(rtf.contains("\\red18\\green52\\blue86;"));
    QVERIFY(rtf.contains("\\line "));
    QVERIFY(rtf.contains("\\tab "));
    QVERIFY(rtf.contains("\\{braces\\} \\\\path"));
    QVERIFY(std::all_of(rtf.begin(), rtf.end(), [](char c) { return (c & 0x80) == 0; }));
    QCOMPARE(rtf.count('{') - rtf.count("\\{"), rtf.count('}') - rtf.count("\\}"));
    QCOMPARE(rtf.count("\\par\r\n"), doc.blockCount());
}

void RtfRoundTripTest::nonAsciiUsesUnicodeEscapesWithFallback()
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("\u00e9\u20ac\u4e2d\U0001F600\uffe5"));
    const QByteArray rtf = writeRtf(doc);
    QVERIFY(rtf.contains("\\u233\\'e9\\u8364\\'80\\u20013?\\u-10179?\\u-8704?\\u-27?"));
}

void RtfRoundTripTest::bulletsCarryListTableMarkerAndOldStyleFallback()
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    addParagraph(cursor, Qt::AlignLeft, true);
    cursor.insertText(QStringLiteral("item"));
    const QByteArray rtf = writeRtf(doc);
    QVERIFY(rtf.contains("\\fcharset2 Symbol;}"));
    QVERIFY(rtf.contains("{\\*\\listtable"));
    QVERIFY(rtf.contains("\\levelnfc23"));
    QVERIFY(rtf.contains("{\\listoverride\\listid1\\listoverridecount0\\ls1}"));
    QVERIFY(rtf.contains("{\\listtext\\plain"));
    QVERIFY(rtf.contains("{\\*\\pn\\ls1\\ilvl0\\pnlvlblt\\pnf"));
    QVERIFY(rtf.contains("\\ls1\\ilvl0"));
    QCOMPARE(textOf(rtf), QStringLiteral("item"));
    QCOMPARE(runsOf(rtf).first().listStyle, QTextListFormat::ListDisc);
}

void RtfRoundTripTest::textOfTheDefaultSizeGetsItsSize()
{
    QTextDocument doc;
    QFont font = doc.defaultFont();
    font.setPointSize(12);
    doc.setDefaultFont(font);
    doc.setPlainText(QStringLiteral("plain"));
    const QByteArray rtf = writeRtf(doc);
    QVERIFY2(rtf.contains("\\fs24 plain"), rtf.constData());
    QCOMPARE(runsOf(rtf).first().pointSize, 12.0);
}

void RtfRoundTripTest::boldHasOneThreshold()
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    for (const int weight :
         {QFont::Normal, QFont::Medium, QFont::DemiBold, QFont::Bold, QFont::Black}) {
        QTextCharFormat format;
        format.setFontWeight(weight);
        cursor.insertText(QString::number(weight) + u' ', format);
    }
    const QList<FormatRun> before = formatRuns(doc);
    const QList<FormatRun> after = runsOf(writeRtf(doc));
    for (const int weight :
         {QFont::Normal, QFont::Medium, QFont::DemiBold, QFont::Bold, QFont::Black}) {
        const QString text = QString::number(weight);
        QCOMPARE(runWith(before, text).bold, isBoldWeight(weight));
        QCOMPARE(runWith(after, text).bold, isBoldWeight(weight));
    }
    QVERIFY(isBoldWeight(QFont::DemiBold) && !isBoldWeight(QFont::Medium));
}

void RtfRoundTripTest::rewritingIsStable()
{
    QTextDocument doc;
    buildTranscript(doc);
    const QByteArray first = writeRtf(doc);
    QTextDocument copy;
    readRtf(first, &copy);
    QCOMPARE(writeRtf(copy), first);
}

QTEST_MAIN(RtfRoundTripTest)
#include "tst_rtf_roundtrip.moc"
