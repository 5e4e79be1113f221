// Lists: numbering kinds, start numbers and levels as word processors write
// them, and as our writer hands them on.

#include "rtf/list_append.h"
#include "rtf/list_numbering.h"
#include "rtf/rtf_writer.h"
#include "rtf_test_support.h"

#include <QFile>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

using namespace quillory;
using namespace quillory::test;

namespace {

// "marker text" per paragraph, "text" outside lists, levels as leading blanks.
QStringList outline(const QTextDocument &doc)
{
    QStringList lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (const QTextList *list = block.textList())
            lines << QString(listLevel(list->format()) * 2, u' ') + listMarker(block) + u' ' +
                         block.text();
        else
            lines << block.text();
    }
    return lines;
}

QStringList outline(const QByteArray &rtf)
{
    QTextDocument doc;
    readRtf(rtf, &doc);
    return outline(doc);
}

QByteArray withListTable(const QByteArray &levels, const QByteArray &body,
                         const QByteArray &overrideExtra = QByteArray())
{
    return "{\\rtf1\\ansi\\ansicpg932{\\*\\listtable{\\list\\listtemplateid7" + levels +
           "\\listid42}}{\\*\\listoverridetable{\\listoverride\\listid42\\listoverridecount0" +
           overrideExtra + "\\ls3}}" + body + "}";
}

QByteArray level(int nfc, int start, const QByteArray &text, const QByteArray &extra = "")
{
    return "{\\listlevel\\levelnfc" + QByteArray::number(nfc) + "\\levelstartat" +
           QByteArray::number(start) + extra + "{\\leveltext" + text + ";}{\\levelnumbers;}}";
}

QTextList *startList(QTextCursor &cursor, QTextListFormat::Style style, int level, int start = 1,
                     const QString &suffix = QString())
{
    QTextListFormat format;
    format.setStyle(style);
    setListLevel(format, level);
    setListStart(format, start);
    if (!suffix.isEmpty())
        format.setNumberSuffix(suffix);
    return cursor.createList(format);
}

void newParagraph(QTextCursor &cursor, const QString &text)
{
    if (!cursor.atStart())
        cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(text);
}

void addItem(QTextCursor &cursor, QTextList *list, const QString &text)
{
    newParagraph(cursor, text);
    list->add(cursor.block());
}

// The runs of the document, then of the document written and read back.
void compareAfterRoundTrip(const QTextDocument &original)
{
    QTextDocument copy;
    QString error;
    const QByteArray rtf = writeRtf(original);
    QVERIFY2(readRtf(rtf, &copy, &error), qPrintable(error));
    QCOMPARE(outline(copy), outline(original));
    const QList<FormatRun> expected = formatRuns(original);
    const QList<FormatRun> actual = formatRuns(copy);
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        QCOMPARE(describeRun(actual[i]), describeRun(expected[i]));
    QCOMPARE(writeRtf(copy), rtf);
}

} // namespace

class RtfListsTest : public QObject {
    Q_OBJECT

private slots:
    void numberFormatting_data();
    void numberFormatting();
    void listTableKinds_data();
    void listTableKinds();
    void innerLevelsRestartUnlessTheyGoOn();
    void numberingGoesOnAcrossOtherParagraphs();
    void oldStyleParagraphNumbering();
    void markerTextStaysWhenNoListCanShowIt();
    void libreOfficeAgenda();
    void writtenListsKeepKindsStartsAndLevels();
    void separateListsStaySeparate();
    void nestedListGoingOnAfterItsParentItem();
    void writtenShapeForOtherReaders();
    void appendedItemAloneIsMarkedChanged();
    void itemAddedBeforeTheEndRenumbersTheRest();
    void removedItemRenumbersTheRest();
    void longListReadsInWorkInProportionToItsItems();
};

void RtfListsTest::numberFormatting_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("text");
    QTest::newRow("decimal") << 12 << int(QTextListFormat::ListDecimal) << "12";
    QTest::newRow("letter") << 3 << int(QTextListFormat::ListLowerAlpha) << "c";
    QTest::newRow("letter after z") << 28 << int(QTextListFormat::ListUpperAlpha) << "BB";
    QTest::newRow("roman") << 1994 << int(QTextListFormat::ListUpperRoman) << "MCMXCIV";
    QTest::newRow("small roman") << 49 << int(QTextListFormat::ListLowerRoman) << "xlix";
    QTest::newRow("roman too large") << 4000 << int(QTextListFormat::ListLowerRoman) << "4000";
    QTest::newRow("zero") << 0 << int(QTextListFormat::ListLowerAlpha) << "0";
}

void RtfListsTest::numberFormatting()
{
    QFETCH(int, number);
    QFETCH(int, style);
    QFETCH(QString, text);
    QCOMPARE(formatListNumber(number, QTextListFormat::Style(style)), text);
}

void RtfListsTest::listTableKinds_data()
{
    QTest::addColumn<QByteArray>("levelDefinition");
    QTest::addColumn<QByteArray>("overrideExtra");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("decimal from 3")
        << level(0, 3, "\\'02\\'00.") << QByteArray() << QStringList{"3. one", "4. two"};
    QTest::newRow("upper roman") << level(1, 1, "\\'02\\'00.") << QByteArray()
                                 << QStringList{"I. one", "II. two"};
    QTest::newRow("lower roman") << level(2, 4, "\\'02\\'00)") << QByteArray()
                                 << QStringList{"iv) one", "v) two"};
    QTest::newRow("upper letter in parentheses")
        << level(3, 1, "\\'03(\\'00)") << QByteArray() << QStringList{"(A) one", "(B) two"};
    QTest::newRow("lower letter") << level(4, 2, "\\'02\\'00.") << QByteArray()
                                  << QStringList{"b. one", "c. two"};
    QTest::newRow("leading zero is decimal")
        << level(22, 1, "\\'02\\'00.") << QByteArray() << QStringList{"1. one", "2. two"};
    QTest::newRow("ordinal is decimal")
        << level(5, 1, "\\'01\\'00") << QByteArray() << QStringList{"1 one", "2 two"};
    QTest::newRow("symbol bullet") << level(23, 1, "\\'01\\u-3913 ?") << QByteArray()
                                   << QStringList{"\u2022 one", "\u2022 two"};
    QTest::newRow("courier o is a circle")
        << level(23, 1, "\\'01o") << QByteArray() << QStringList{"\u25e6 one", "\u25e6 two"};
    QTest::newRow("wingdings square") << level(23, 1, "\\'01\\u-3929 ?") << QByteArray()
                                      << QStringList{"\u25aa one", "\u25aa two"};
    QTest::newRow("no number: no list, the marker text stays")
        << level(255, 1, "\\'00") << QByteArray() << QStringList{"9.\tone", "9.\ttwo"};
    QTest::newRow("override restarts at 7")
        << level(0, 1, "\\'02\\'00.")
        << QByteArray("{\\lfolevel\\listoverridestartat\\levelstartat7}")
        << QStringList{"7. one", "8. two"};
    QTest::newRow("lone lead byte of a double-byte code page")
        << level(0, 1, "\\'03\\'00\\'81\\'82") << QByteArray() << QStringList{"1 one", "2 two"};
    QTest::newRow("escaped semicolon belongs to the text")
        << level(0, 1, "\\'02\\'00\\'3b") << QByteArray() << QStringList{"1; one", "2; two"};
    QTest::newRow("outer numbers in the text are dropped")
        << level(0, 1, "\\'02\\'00.") + level(0, 1, "\\'04\\'00.\\'01.") << QByteArray()
        << QStringList{"1. one", "2. two"};
}

void RtfListsTest::listTableKinds()
{
    QFETCH(QByteArray, levelDefinition);
    QFETCH(QByteArray, overrideExtra);
    QFETCH(QStringList, expected);
    const QByteArray rtf = withListTable(
        levelDefinition,
        "{\\listtext 9.\\tab}\\pard\\ls3 one\\par{\\listtext 9.\\tab}\\pard\\ls3 two\\par",
        overrideExtra);
    QCOMPARE(outline(rtf), expected);
}

void RtfListsTest::innerLevelsRestartUnlessTheyGoOn()
{
    const QByteArray body = "\\pard\\ls3 A\\par\\pard\\ls3\\ilvl1 a1\\par\\pard\\ls3\\ilvl1 a2\\par"
                            "\\pard\\ls3\\ilvl0 B\\par\\pard\\ls3\\ilvl1 b1\\par";
    QCOMPARE(outline(withListTable(level(0, 1, "\\'02\\'00.") + level(4, 1, "\\'02\\'01)"), body)),
             (QStringList{"1. A", "  a) a1", "  b) a2", "2. B", "  a) b1"}));
    QCOMPARE(
        outline(withListTable(
            level(0, 1, "\\'02\\'00.") + level(4, 1, "\\'02\\'01)", "\\levelnorestart1"), body)),
        (QStringList{"1. A", "  a) a1", "  b) a2", "2. B", "  c) b1"}));
}

void RtfListsTest::numberingGoesOnAcrossOtherParagraphs()
{
    const QByteArray rtf =
        withListTable(level(0, 1, "\\'02\\'00."), "\\pard\\ls3 one\\par\\pard Between\\par"
                                                  "\\pard\\ls3 two\\par");
    QCOMPARE(outline(rtf), (QStringList{"1. one", "Between", "2. two"}));
}

void RtfListsTest::oldStyleParagraphNumbering()
{
    // WordPad: every paragraph repeats its \pn; a plain paragraph ends the list.
    const QByteArray wordPad =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}"
        "\\pard{\\pntext\\f0 1.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pndec"
        "{\\pntxta.}}\\fi-360\\li720 one\\par{\\pntext\\f0 2.\\tab}two\\par"
        "\\pard Between\\par"
        "\\pard{\\pntext\\f0 c)\\tab}{\\*\\pn\\pnlvlbody\\pnstart3\\pnlcltr{\\pntxta)}}x\\par"
        "\\pard{\\pntext\\f0 (IV)\\tab}{\\*\\pn\\pnlvlbody\\pnstart4\\pnucrm{\\pntxtb(}"
        "{\\pntxta)}}y\\par}";
    QCOMPARE(outline(wordPad), (QStringList{"1. one", "2. two", "Between", "c) x", "(IV) y"}));

    // Word 97 writes both forms; the list table wins.
    const QByteArray word97 = withListTable(
        level(2, 1, "\\'02\\'00."),
        "{\\pntext\\pard\\plain i.\\tab}\\pard{\\*\\pn\\pnlvlbody\\ilvl0\\ls3\\pnrnot0\\pndec"
        "\\pnstart1{\\pntxta .}}\\ls3 one\\par");
    QCOMPARE(outline(word97), QStringList{"i. one"});
}

void RtfListsTest::markerTextStaysWhenNoListCanShowIt()
{
    // No list behind the marker: it is all a reader without lists shows, so it stays.
    QCOMPARE(outline("{\\rtf1{\\listtext\\pard\\plain (x)\\tab}\\pard\\fi-360 item\\par}"),
             QStringList{"(x)\titem"});
    QCOMPARE(outline(withListTable(level(255, 1, "\\'00"),
                                   "{\\listtext Note:\\tab}\\pard\\ls3 text\\par")),
             QStringList{"Note:\ttext"});
    // A list the file does not define still shows as a list, without a second marker.
    QCOMPARE(outline("{\\rtf1{\\listtext \\'b7\\tab}\\pard\\ls5 item\\par}"),
             QStringList{"\u2022 item"});
    QCOMPARE(outline("{\\rtf1\\pard\\ls99999999999 a\\par\\pard\\ls99999999999\\ilvl1 b\\par"
                     "\\pard\\ls-4 c\\par}"),
             (QStringList{"\u2022 a", "  \u2022 b", "c"}));
}

void RtfListsTest::libreOfficeAgenda()
{
    QFile file(QStringLiteral(QUILLORY_RTF_FIXTURES "/agenda_libreoffice.rtf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument doc;
    QString error;
    QVERIFY2(readRtf(file.readAll(), &doc, &error), qPrintable(error));
    const QStringList expected = {
        "Agenda",
        "Intro paragraph with bold and italic text.",
        "3. Third item",
        "4. Fourth item",
        "  a. sub item a",
        "  b. sub item b",
        "5. Fifth item",
        "i. roman one",
        "ii. roman two",
        "iii. roman three",
        "A) upper letter",
        "B) upper letter two",
        "\u2022 bullet one",
        "  \u2022 nested bullet",
        "\u2022 bullet two",
        "Text with a footnote.[1: The note text, with emphasis.] And more text."};
    QCOMPARE(outline(doc), expected);
    QVERIFY(runWith(formatRuns(doc), "emphasis").italic);
    compareAfterRoundTrip(doc);
}

void RtfListsTest::writtenListsKeepKindsStartsAndLevels()
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    newParagraph(cursor, QStringLiteral("Agenda"));
    newParagraph(cursor, QStringLiteral("first"));
    QTextList *top = startList(cursor, QTextListFormat::ListDecimal, 0, 5);
    newParagraph(cursor, QStringLiteral("detail"));
    QTextList *inner =
        startList(cursor, QTextListFormat::ListLowerAlpha, 1, 1, QStringLiteral(")"));
    addItem(cursor, inner, QStringLiteral("more detail"));
    newParagraph(cursor, QStringLiteral("deepest"));
    startList(cursor, QTextListFormat::ListLowerRoman, 2);
    addItem(cursor, top, QStringLiteral("second"));
    newParagraph(cursor, QStringLiteral("again"));
    startList(cursor, QTextListFormat::ListLowerAlpha, 1, 1, QStringLiteral(")"));
    newParagraph(cursor, QStringLiteral("Roman"));
    QTextList *roman =
        startList(cursor, QTextListFormat::ListUpperRoman, 0, 9, QStringLiteral(";"));
    addItem(cursor, roman, QStringLiteral("ten"));
    newParagraph(cursor, QStringLiteral("circle"));
    QTextList *circle = startList(cursor, QTextListFormat::ListCircle, 0);
    newParagraph(cursor, QStringLiteral("square"));
    startList(cursor, QTextListFormat::ListSquare, 1);
    addItem(cursor, circle, QStringLiteral("circle again"));

    QCOMPARE(outline(doc),
             (QStringList{"Agenda", "5. first", "  a) detail", "  b) more detail", "    i. deepest",
                          "6. second", "  a) again", "IX; Roman", "X; ten", "\u25e6 circle",
                          "  \u25aa square", "\u25e6 circle again"}));
    compareAfterRoundTrip(doc);
}

void RtfListsTest::separateListsStaySeparate()
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    newParagraph(cursor, QStringLiteral("one"));
    QTextList *first = startList(cursor, QTextListFormat::ListDecimal, 0);
    addItem(cursor, first, QStringLiteral("two"));
    newParagraph(cursor, QStringLiteral("again one"));
    startList(cursor, QTextListFormat::ListDecimal, 0);
    newParagraph(cursor, QStringLiteral("sub"));
    QTextList *sub = startList(cursor, QTextListFormat::ListDecimal, 1);
    newParagraph(cursor, QStringLiteral("sibling sub"));
    QTextList *sibling = startList(cursor, QTextListFormat::ListDecimal, 1);
    QVERIFY(sub != sibling);
    QCOMPARE(outline(doc),
             (QStringList{"1. one", "2. two", "1. again one", "  1. sub", "  1. sibling sub"}));
    compareAfterRoundTrip(doc);
}

void RtfListsTest::nestedListGoingOnAfterItsParentItem()
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    newParagraph(cursor, QStringLiteral("A"));
    QTextList *top = startList(cursor, QTextListFormat::ListDecimal, 0);
    newParagraph(cursor, QStringLiteral("a"));
    QTextList *inner = startList(cursor, QTextListFormat::ListLowerAlpha, 1);
    addItem(cursor, top, QStringLiteral("B"));
    addItem(cursor, inner, QStringLiteral("b"));
    QCOMPARE(outline(doc), (QStringList{"1. A", "  a. a", "2. B", "  b. b"}));
    QVERIFY(writeRtf(doc).contains("\\levelnorestart1"));
    compareAfterRoundTrip(doc);
}

void RtfListsTest::writtenShapeForOtherReaders()
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    newParagraph(cursor, QStringLiteral("first"));
    QTextList *list = startList(cursor, QTextListFormat::ListUpperAlpha, 0, 3);
    newParagraph(cursor, QStringLiteral("inner"));
    startList(cursor, QTextListFormat::ListLowerRoman, 1);
    addItem(cursor, list, QStringLiteral("second"));
    const QByteArray rtf = writeRtf(doc);
    QVERIFY(rtf.contains("{\\*\\listtable"));
    QVERIFY(rtf.contains("\\levelnfc3\\levelnfcn3\\leveljc0\\leveljcn0\\levelfollow0"
                         "\\levelstartat3{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}"));
    QVERIFY(rtf.contains("\\levelnfc2\\levelnfcn2\\leveljc0\\leveljcn0\\levelfollow0"
                         "\\levelstartat1{\\leveltext\\'02\\'01.;}"));
    QVERIFY(rtf.contains("{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0"
                         "\\ls1}}"));
    // One list with two levels: markers for readers without lists, \pn for older ones.
    QVERIFY(rtf.contains("{\\listtext\\plain\\f0\\fs"));
    QVERIFY(
        rtf.contains(" C.\\tab}\\pard{\\*\\pn\\ls1\\ilvl0\\pnlvlbody\\pnindent0\\pnstart3\\pnucltr"
                     "{\\pntxta .}}\\ls1\\ilvl0\\fi-360\\li720"));
    QVERIFY(
        rtf.contains(" i.\\tab}\\pard{\\*\\pn\\ls1\\ilvl1\\pnlvlbody\\pnindent0\\pnstart1\\pnlcrm"
                     "{\\pntxta .}}\\ls1\\ilvl1\\fi-360\\li1440"));
    QVERIFY(rtf.contains(" D.\\tab}"));
    QCOMPARE(rtf.count("\\ls1\\ilvl"), 6);

    // Bullet lists with the same bullets share a definition, each with its own \ls.
    QTextDocument bullets;
    QTextCursor at(&bullets);
    for (const QString &text : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}) {
        newParagraph(at, text);
        startList(at, QTextListFormat::ListDisc, 0);
        newParagraph(at, QStringLiteral("between"));
    }
    const QByteArray shared = writeRtf(bullets);
    QCOMPARE(shared.count("{\\list\\listtemplateid"), 1);
    QVERIFY(shared.contains("{\\listoverride\\listid1\\listoverridecount0\\ls3}"));
    compareAfterRoundTrip(bullets);
}

namespace {

// A document of one numbered list of `items` items, "1" to "n", then "after",
// laid out, so that it reports its changes.
QTextList *numberedList(QTextDocument &doc, int items)
{
    QTextCursor cursor(&doc);
    newParagraph(cursor, QStringLiteral("1"));
    QTextList *list = startList(cursor, QTextListFormat::ListDecimal, 0);
    for (int i = 2; i <= items; ++i) {
        newParagraph(cursor, QString::number(i));
        addListItem(list, cursor.block());
    }
    newParagraph(cursor, QStringLiteral("after"));
    doc.documentLayout();
    return list;
}

// The stretch the document's next change reports: its start and its end.
struct ChangeSpy {
    explicit ChangeSpy(QTextDocument &doc)
    {
        QObject::connect(&doc, &QTextDocument::contentsChange, &doc,
                         [this](int position, int, int added) {
                             from = position;
                             to = position + added;
                         });
    }
    int from = -1;
    int to = -1;
};

constexpr char kPrivateHeaders[] = "more items were marked changed than the change moved: was "
                                   "Quillory built without qt6-base-private-dev?";

} // namespace

// Qt's QTextList::add and remove mark every item of the list changed, work
// that grows with it; addListItem and removeListItem mark the block and the
// items whose numbers move, and no other.
void RtfListsTest::appendedItemAloneIsMarkedChanged()
{
    QTextDocument doc;
    QTextList *list = numberedList(doc, 30);
    const QTextBlock last = doc.lastBlock();
    ChangeSpy change(doc);
    const qint64 marked = listItemsMarkedChanged();
    addListItem(list, last);
    QVERIFY2(change.from == last.position() && listItemsMarkedChanged() == marked + 1,
             kPrivateHeaders);
    QCOMPARE(list->count(), 31);
    QCOMPARE(list->itemNumber(last), 30);
    QCOMPARE(listMarker(last), QStringLiteral("31."));
    QCOMPARE(listMarker(doc.findBlockByNumber(9)), QStringLiteral("10."));
    addListItem(list, last); // already an item: nothing changes
    QCOMPARE(list->count(), 31);
}

void RtfListsTest::itemAddedBeforeTheEndRenumbersTheRest()
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    newParagraph(cursor, QStringLiteral("one"));
    QTextList *list = startList(cursor, QTextListFormat::ListLowerAlpha, 0);
    newParagraph(cursor, QStringLiteral("plain"));
    newParagraph(cursor, QStringLiteral("three"));
    addListItem(list, cursor.block());
    addListItem(list, doc.findBlockByNumber(1));
    QCOMPARE(outline(doc), (QStringList{"a. one", "b. plain", "c. three"}));
    QCOMPARE(list->count(), 3);
    compareAfterRoundTrip(doc);

    // In a long list, the new item and those after it are marked.
    QTextDocument numbered;
    list = numberedList(numbered, 30);
    QTextCursor(numbered.findBlockByNumber(27)).insertBlock(QTextBlockFormat());
    const QTextBlock added = numbered.findBlockByNumber(28);
    ChangeSpy change(numbered);
    const qint64 marked = listItemsMarkedChanged();
    addListItem(list, added);
    QVERIFY2(change.from == added.position() && listItemsMarkedChanged() == marked + 3,
             kPrivateHeaders);
    QVERIFY(change.to >= numbered.findBlockByNumber(30).position());
    QCOMPARE(listMarker(added), QStringLiteral("29."));
    QCOMPARE(listMarker(numbered.findBlockByNumber(30)), QStringLiteral("31."));
    QCOMPARE(list->count(), 31);
}

void RtfListsTest::removedItemRenumbersTheRest()
{
    QTextDocument doc;
    QTextList *list = numberedList(doc, 30);
    const QTextBlock removed = doc.findBlockByNumber(28);
    ChangeSpy change(doc);
    const qint64 marked = listItemsMarkedChanged();
    removeListItem(list, removed);
    QVERIFY2(change.from == removed.position() && listItemsMarkedChanged() == marked + 2,
             kPrivateHeaders);
    QVERIFY(!removed.textList());
    QCOMPARE(list->count(), 29);
    QCOMPARE(listMarker(doc.findBlockByNumber(29)), QStringLiteral("29."));
    QCOMPARE(listMarker(doc.findBlockByNumber(27)), QStringLiteral("28."));
    removeListItem(list, removed); // no longer an item: nothing changes
    QCOMPARE(list->count(), 29);

    // The last item goes as in Qt, with its list.
    QTextDocument single;
    QTextCursor cursor(&single);
    newParagraph(cursor, QStringLiteral("only"));
    QPointer<QTextList> alone = startList(cursor, QTextListFormat::ListDisc, 0);
    removeListItem(alone, single.firstBlock());
    QVERIFY(!single.firstBlock().textList());
}

// Reading marks each list item changed once; adding the items Qt's way marks
// the whole list each time (n²/2 for n items).
void RtfListsTest::longListReadsInWorkInProportionToItsItems()
{
    constexpr int kItems = 3000;
    for (const QByteArray &start : {QByteArray("\\ls1\\ilvl0"), // a list the file lacks
                                    QByteArray("\\pard{\\*\\pn\\pnlvlbody\\pndec}")}) {
        QByteArray rtf = "{\\rtf1\\ansi x\\par" + start + " r";
        for (int i = 1; i < kItems; ++i)
            rtf += "\\par r";
        rtf += '}';
        QTextDocument doc;
        const qint64 before = listItemsMarkedChanged();
        QVERIFY(readRtf(rtf, &doc));
        const qint64 marked = listItemsMarkedChanged() - before;
        // One for each item after the first, which starts the list: none means
        // items were added past addListItem, n²/2 Qt's way.
        QVERIFY2(marked == kItems - 1,
                 qPrintable(QStringLiteral("%1 items marked changed while reading %2 items")
                                .arg(marked)
                                .arg(kItems)));
        const QTextBlock last = doc.lastBlock();
        QVERIFY(last.textList());
        QCOMPARE(last.textList()->count(), kItems);
        QCOMPARE(last.textList()->itemNumber(last), kItems - 1);
        QCOMPARE(doc.blockCount(), kItems + 1);
    }
}

QTEST_MAIN(RtfListsTest)
#include "tst_rtf_lists.moc"
