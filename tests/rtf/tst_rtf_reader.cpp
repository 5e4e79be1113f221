// Reading RTF as Word, LibreOffice, WordPad and pandoc write it, and plain text.

#include "rtf/plain_text.h"
#include "rtf/rtf_writer.h"
#include "rtf_test_support.h"

#include <QTest>
#include <QTextBlock>
#include <QTextList>

using namespace quillory;
using namespace quillory::test;

class RtfReaderTest : public QObject {
    Q_OBJECT

private slots:
    void wordStyleDocument();
    void libreOfficeStyleDocument();
    void wordPadStyleBullets();
    void pandocStyleDocument();
    void codePages_data();
    void codePages();
    void unicodeEscapes_data();
    void unicodeEscapes();
    void namedCharacters();
    void tablesBecomeTabSeparatedLines();
    void trailingParagraphMarks();
    void plainPropertyResetsCharacterFormatting();
    void plainTextFallback_data();
    void plainTextFallback();
    void plainTextFileHasOneCrLfLinePerParagraph();
    void alternativesGiveTheirChosenText_data();
    void alternativesGiveTheirChosenText();
    void footnotesBecomeTextWhereTheirMarkStands_data();
    void footnotesBecomeTextWhereTheirMarkStands();
    void footnoteKeepsItsParagraphsProperties();
    void byteOrderMarkAndBlanksBeforeTheHeader();
    void languageOfTheText_data();
    void languageOfTheText();
};

void RtfReaderTest::wordStyleDocument()
{
    const QByteArray rtf =
        "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff31507\\deff0\\stshfdbch31505"
        "{\\fonttbl{\\f0\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}"
        "Times New Roman;}{\\f1\\fbidi \\fswiss\\fcharset0\\fprq2{\\*\\panose 020b0604020202020204}"
        "Arial{\\*\\falt Helvetica};}{\\f3\\fbidi \\froman\\fcharset2\\fprq2 Symbol;}}\r\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red192\\green0\\blue0;}\r\n"
        "{\\*\\defchp \\fs22 }{\\stylesheet{\\ql \\li0\\ri0 \\fs24 \\snext0 Normal;}"
        "{\\*\\cs10 \\additive \\ssemihidden Default Paragraph Font;}}\r\n"
        "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc23{\\leveltext"
        "\\'01\\u-3913 ?;}{\\levelnumbers;}\\f3 }\\listid7}}"
        "{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}}\r\n"
        "{\\*\\rsidtbl \\rsid1234}{\\info{\\title Minutes}{\\author Ann}"
        "{\\creatim\\yr2024\\mo5\\dy2}}{\\*\\xmlnstbl {\\xmlns1 http://x}}\r\n"
        "\\paperw11906\\paperh16838 {\\header \\pard\\plain Page header\\par}"
        "{\\footer \\pard\\plain Page footer\\par}\r\n"
        "\\pard\\plain \\ltrpar\\qc \\rtlch\\fcs1 \\ltrch\\fcs0 \\f1\\fs32\\b\\cf3 Minutes"
        "{\\*\\bkmkstart _Top}{\\*\\bkmkend _Top}\\par\r\n"
        "\\pard\\plain \\ltrpar\\ql \\fs24 Speaker A: \\'93Yes\\'94 \\endash  "
        "{\\i see }{\\field{\\*\\fldinst {\\rtlch HYPERLINK \"http://example.org\" }}"
        "{\\fldrslt {\\ul\\cf2 the site}}}\\par\r\n"
        "{\\listtext\\pard\\plain \\f3\\fs24 \\'b7\\tab}\\pard\\plain \\fi-360\\li720\\ls1 "
        "\\fs24 First point\\par\r\n"
        "{\\listtext\\pard\\plain \\f3\\fs24 \\'b7\\tab}Second {\\strike struck}\\par\r\n"
        "\\pard\\plain \\qr {\\*\\shppict{\\pict\\pngblip 89504e470d0a1a0a}}"
        "{\\nonshppict{\\pict\\wmetafile8 0100}}End\\par}";
    QTextDocument doc;
    QVERIFY(readRtf(rtf, &doc));
    QCOMPARE(doc.toPlainText(),
             QStringLiteral("Minutes\nSpeaker A: \u201cYes\u201d \u2013 see the site\n"
                            "First point\nSecond struck\nEnd"));

    const QList<FormatRun> runs = formatRuns(doc);
    const FormatRun title = runWith(runs, "Minutes");
    QVERIFY(title.bold);
    QCOMPARE(title.fontFamily, QStringLiteral("Arial"));
    QCOMPARE(title.pointSize, 16.0);
    QCOMPARE(title.colour, QColor(192, 0, 0));
    QCOMPARE(title.alignment, RunAlignment::Center);

    const FormatRun link = runWith(runs, "the site");
    QVERIFY(link.underline);
    QCOMPARE(link.colour, QColor(0, 0, 255));
    QCOMPARE(link.fontFamily, QStringLiteral("Times New Roman"));
    QVERIFY(runWith(runs, "see").italic);
    QVERIFY(!runWith(runs, "Speaker").inList());
    QVERIFY(runWith(runs, "First point").inList());
    QVERIFY(runWith(runs, "Second").inList());
    QVERIFY(runWith(runs, "struck").strike);
    QVERIFY(!runWith(runs, "Second").strike);
    QCOMPARE(runWith(runs, "End").alignment, RunAlignment::Right);
    QVERIFY(!runWith(runs, "End").inList());
}

void RtfReaderTest::libreOfficeStyleDocument()
{
    const QByteArray rtf =
        "{\\rtf1\\ansi\\deff3\\adeflang1025\n"
        "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f3\\froman\\fprq2"
        "\\fcharset0 Liberation Serif{\\*\\falt Times New Roman};}{\\f4\\fswiss\\fprq2"
        "\\fcharset204 Liberation Sans;}}\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green128\\blue0;}\n"
        "{\\stylesheet{\\s0\\snext0\\dbch\\af5\\langfe2052 Standard;}}\n"
        "{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40}"
        "{\\info{\\creatim\\yr2024\\mo1\\dy1\\hr10\\min0}}\\deftab709\n"
        "\\pgndec\\pard\\plain \\s0\\widctlpar\\hyphpar0\\aspalpha\\ltrpar\\cf0\\dbch\\af5"
        "\\langfe2052\\dbch\\af6\\afs24\\alang1081\\loch\\f3\\fs24\\lang1040{\\rtlch \\ltrch"
        "\\loch Plain }{\\b\\rtlch \\ab \\ltrch\\loch Bold}{\\rtlch \\ltrch\\loch  \\u8211\\'96 "
        "caff\\u232\\'e8}\n"
        "\\par \\pard\\plain \\s0\\qj\\cf2\\loch\\f4\\fs20{\\uc2 \\u1055\\'cf\\'cf\\u1088\\'f0"
        "\\'f0}{\\loch\\f4 \\'cf\\'f0}\n"
        "\\par }";
    const QList<FormatRun> runs = runsOf(rtf);
    QCOMPARE(textOf(rtf), QStringLiteral("Plain Bold \u2013 caff\u00e8\n\u041f\u0440\u041f\u0440"));
    QCOMPARE(runWith(runs, "Plain").fontFamily, QStringLiteral("Liberation Serif"));
    QVERIFY(!runWith(runs, "Plain").bold);
    QVERIFY(runWith(runs, "Bold").bold);
    const FormatRun cyrillic = runWith(runs, QStringLiteral("\u041f\u0440"));
    QCOMPARE(cyrillic.alignment, RunAlignment::Justify);
    QCOMPARE(cyrillic.colour, QColor(0, 128, 0));
    QCOMPARE(cyrillic.pointSize, 10.0);
}

void RtfReaderTest::wordPadStyleBullets()
{
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1040{\\fonttbl{\\f0\\fnil"
        "\\fcharset0 Calibri;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang16 Intro\\par\r\n"
        "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"
        "\\fi-360\\li720\\sa200\\sl276\\slmult1 apples\\par\r\n"
        "{\\pntext\\f1\\'B7\\tab}pears\\par\r\n"
        "\\pard\\sa200\\sl276\\slmult1 Outro\\line second line\\par\r\n}\r\n";
    QTextDocument doc;
    QVERIFY(readRtf(rtf, &doc));
    QCOMPARE(textOf(doc), QStringLiteral("Intro\napples\npears\nOutro\u2028second line"));
    QCOMPARE(doc.blockCount(), 4);
    QVERIFY(!doc.findBlockByNumber(0).textList());
    QVERIFY(doc.findBlockByNumber(1).textList());
    QCOMPARE(doc.findBlockByNumber(1).textList(), doc.findBlockByNumber(2).textList());
    QCOMPARE(doc.findBlockByNumber(1).textList()->format().style(), QTextListFormat::ListDisc);
    QVERIFY(!doc.findBlockByNumber(3).textList());
    QCOMPARE(runWith(formatRuns(doc), "apples").pointSize, 11.0);
}

void RtfReaderTest::pandocStyleDocument()
{
    const QByteArray rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 \\fswiss Helvetica;}{\\f1 \\fmodern Courier;}}\n"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\n"
        "\\widowctrl\\hyphauto\n\n"
        "{\\pard \\qc \\f0 \\sa180 \\li0 \\fi0 \\b \\fs36 Heading\\par}\n"
        "{\\pard \\ql \\f0 \\sa180 \\li0 \\fi0 Some {\\b bold}, {\\i emph} and {\\f1 code}."
        "\\par}\n"
        "{\\pard \\ql \\f0 \\sa0 \\li360 \\fi-360 \\bullet \\tx360\\tab item\\par}\n}\n";
    const QList<FormatRun> runs = runsOf(rtf);
    QCOMPARE(textOf(rtf), QStringLiteral("Heading\nSome bold, emph and code.\n\u2022\titem"));
    QCOMPARE(runWith(runs, "Heading").pointSize, 18.0);
    QCOMPARE(runWith(runs, "Heading").alignment, RunAlignment::Center);
    QVERIFY(!runWith(runs, "Some").bold);
    QCOMPARE(runWith(runs, "Some").pointSize, 12.0);
    QCOMPARE(runWith(runs, "code").fontFamily, QStringLiteral("Courier"));
    QCOMPARE(runWith(runs, "Some").fontFamily, QStringLiteral("Helvetica"));
    QVERIFY(runWith(runs, "emph").italic);
}

void RtfReaderTest::codePages_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("cp1252 default")
        << QByteArray("{\\rtf1\\ansi \\'80\\'e0\\'9c}") << QStringLiteral("\u20ac\u00e0\u0153");
    QTest::newRow("ansicpg1251") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0}")
                                 << QStringLiteral("\u041f\u0440");
    QTest::newRow("ansicpg1250") << QByteArray("{\\rtf1\\ansi\\ansicpg1250 \\'9a}")
                                 << QStringLiteral("\u0161");
    QTest::newRow("font charset 161 in a 1252 document")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset161 "
                      "Arial Greek;}}\\f1 \\'e1\\f0 \\'e1}")
        << QStringLiteral("\u03b1\u00e1");
    QTest::newRow("shift-jis double bytes")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\f0 \\'82\\'a0}")
        << QStringLiteral("\u3042");
    QTest::newRow("mac roman") << QByteArray("{\\rtf1\\mac \\'8e}") << QStringLiteral("\u00e9");
    QTest::newRow("raw 8-bit text bytes")
        << QByteArray("{\\rtf1\\ansi caf\xe9}") << QStringLiteral("caf\u00e9");
    QTest::newRow("font name in its charset")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\\f0 x}")
        << QStringLiteral("x");
}

void RtfReaderTest::codePages()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(textOf(rtf), text);
    if (QByteArray(QTest::currentDataTag()) == "font name in its charset")
        QCOMPARE(runsOf(rtf).first().fontFamily, QStringLiteral("\u5b8b\u4f53"));
}

void RtfReaderTest::unicodeEscapes_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("uc1 with hex fallback")
        << QByteArray("{\\rtf1 caf\\u233\\'e9!}") << QStringLiteral("caf\u00e9!");
    QTest::newRow("uc0") << QByteArray("{\\rtf1\\uc0 \\u233 x}") << QStringLiteral("\u00e9x");
    QTest::newRow("uc2 text fallback")
        << QByteArray("{\\rtf1\\uc2 \\u8364 EU!}") << QStringLiteral("\u20ac!");
    QTest::newRow("negative value") << QByteArray("{\\rtf1 \\u-3913?}") << QStringLiteral("\uf0b7");
    QTest::newRow("surrogate pair")
        << QByteArray("{\\rtf1 \\u-10179?\\u-8704?}") << QStringLiteral("\U0001F600");
    QTest::newRow("fallback skip ends with the group")
        << QByteArray("{\\rtf1\\uc3 {\\u26085}x}") << QStringLiteral("\u65e5x");
    QTest::newRow("ucN is scoped to its group")
        << QByteArray("{\\rtf1 {\\uc2 \\u20013??}\\u20013?y}") << QStringLiteral("\u4e2d\u4e2dy");
    QTest::newRow("escaped braces and backslash")
        << QByteArray("{\\rtf1 a\\{b\\}c\\\\d}") << QStringLiteral("a{b}c\\d");
}

void RtfReaderTest::unicodeEscapes()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(textOf(rtf), text);
}

void RtfReaderTest::namedCharacters()
{
    const QByteArray rtf = "{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote"
                           "\\bullet\\~\\-\\_\\tab|\\emspace\\enspace}";
    QCOMPARE(textOf(rtf), QStringLiteral("\u2014\u2013\u2018\u2019\u201c\u201d\u2022\u00a0"
                                         "\u00ad\u2011\t|\u2003\u2002"));
}

void RtfReaderTest::tablesBecomeTabSeparatedLines()
{
    const QByteArray rtf = "{\\rtf1 Before\\par\\trowd\\cellx1000\\cellx2000\\cellx3000\n"
                           "\\pard\\intbl Name\\cell Time\\cell Note\\cell\\row\n"
                           "\\trowd\\cellx1000\\cellx2000\\cellx3000\n"
                           "\\pard\\intbl Ann\\cell 0:12\\cell \\cell\\row\n"
                           "\\pard After\\par}";
    QCOMPARE(textOf(rtf), QStringLiteral("Before\nName\tTime\tNote\nAnn\t0:12\t\nAfter"));
}

void RtfReaderTest::trailingParagraphMarks()
{
    QCOMPARE(textOf("{\\rtf1 one\\par}"), QStringLiteral("one"));
    QCOMPARE(textOf("{\\rtf1 one\\par\\par}"), QStringLiteral("one\n"));
    QCOMPARE(textOf("{\\rtf1 one\\par two}"), QStringLiteral("one\ntwo"));
    QCOMPARE(textOf("{\\rtf1 one\\\ntwo}"), QStringLiteral("one\ntwo"));
    QCOMPARE(textOf("{\\rtf1 }"), QString());
}

void RtfReaderTest::plainPropertyResetsCharacterFormatting()
{
    const QList<FormatRun> runs =
        runsOf("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier;}}{\\colortbl;\\red1\\green2\\blue3;}"
               "\\f1\\fs40\\b\\i\\ul\\strike\\cf1 A\\plain B\\b C\\b0 D\\ul E\\ulnone "
               "F\\fs99999999999999 G}");
    const FormatRun a = runWith(runs, "A");
    QVERIFY(a.bold && a.italic && a.underline && a.strike);
    QCOMPARE(a.fontFamily, QStringLiteral("Courier"));
    QCOMPARE(a.colour, QColor(1, 2, 3));
    const FormatRun b = runWith(runs, "B");
    QVERIFY(!b.bold && !b.italic && !b.underline && !b.strike && !b.colour.isValid());
    QCOMPARE(b.fontFamily, QStringLiteral("Arial"));
    QCOMPARE(b.pointSize, 12.0);
    QVERIFY(runWith(runs, "C").bold);
    QVERIFY(!runWith(runs, "D").bold);
    QVERIFY(runWith(runs, "E").underline);
    QVERIFY(!runWith(runs, "F").underline);
    QCOMPARE(runWith(runs, "G").pointSize, 1638.0);
}

void RtfReaderTest::plainTextFallback_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("text");
    QTest::newRow("utf-8 with CR LF")
        << QByteArray("caf\xc3\xa9\r\nline 2\r\n") << QStringLiteral("caf\u00e9\nline 2");
    QTest::newRow("utf-8 bom and LF")
        << QByteArray("\xef\xbb\xbf\xe2\x82\xac\nx") << QStringLiteral("\u20ac\nx");
    QTest::newRow("windows-1252") << QByteArray("caf\xe9 \x93q\x94\n")
                                  << QStringLiteral("caf\u00e9 \u201cq\u201d");
    QTest::newRow("lone CR and empty lines")
        << QByteArray("a\r\rb\n\n") << QStringLiteral("a\n\nb\n");
    QTest::newRow("rtf-like text that is not rtf")
        << QByteArray("{\\b not rtf}") << QStringLiteral("{\\b not rtf}");
}

void RtfReaderTest::plainTextFallback()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, text);
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("old content"));
    QVERIFY(readRtf(data, &doc));
    QCOMPARE(doc.toPlainText(), text);
    QVERIFY(!runWith(formatRuns(doc), text.left(1)).bold);
}

void RtfReaderTest::plainTextFileHasOneCrLfLinePerParagraph()
{
    QTextDocument doc;
    readRtf("{\\rtf1 caf\\u233\\'e9\\par two\\line half\\par\\par}", &doc);
    QCOMPARE(toPlainTextFile(doc), QByteArray("caf\xc3\xa9\r\ntwo\r\nhalf\r\n\r\n"));

    QTextDocument reread;
    readPlainText(toPlainTextFile(doc), &reread);
    QCOMPARE(reread.blockCount(), 4);
    QCOMPARE(reread.toPlainText(), QStringLiteral("caf\u00e9\ntwo\nhalf\n"));

    // UTF-16 with its byte order mark, as Notepad writes: one line break a line.
    const QString lines = QStringLiteral("caf\u00e9\r\ntwo\r\n");
    QByteArray little("\xFF\xFE");
    QByteArray big("\xFE\xFF");
    for (QChar ch : lines) {
        little += char(ch.unicode() & 0xFF);
        little += char(ch.unicode() >> 8);
        big += char(ch.unicode() >> 8);
        big += char(ch.unicode() & 0xFF);
    }
    for (const QByteArray &file : {little, big}) {
        QTextDocument utf16;
        readPlainText(file, &utf16);
        QCOMPARE(utf16.toPlainText(), QStringLiteral("caf\u00e9\ntwo"));
    }
}

void RtfReaderTest::alternativesGiveTheirChosenText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("upr takes the Unicode text")
        << QByteArray("{\\rtf1 a {\\upr{\\b ANSI?}{\\*\\ud{\\b Unicode \\u8364?}}} b}")
        << QStringLiteral("a Unicode \u20ac b");
    QTest::newRow("upr in the font table")
        << QByteArray("{\\rtf1{\\upr{\\fonttbl{\\f0 MS ?;}}{\\*\\ud{\\fonttbl{\\f0 "
                      "\\u23435?\\u20307?;}}}}\\f0 x}")
        << QStringLiteral("x");
    QTest::newRow("ud without upr is skipped")
        << QByteArray("{\\rtf1 a{\\*\\ud lost}b}") << QStringLiteral("ab");
    QTest::newRow("object result")
        << QByteArray("{\\rtf1 x{\\object\\objemb{\\*\\objclass Equation}{\\*\\objdata "
                      "0105000002}{\\result{\\pict\\wmetafile8 0100}E=mc2}}y}")
        << QStringLiteral("xE=mc2y");
    QTest::newRow("text box text, not its stand-in")
        << QByteArray("{\\rtf1 x{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 202}}"
                      "{\\shptxt \\pard In the box\\par}}{\\shprslt{\\*\\do\\dobxcolumn "
                      "{\\dptxbxtext In the box}}}}y}")
        << QStringLiteral("xIn the box\ny");
}

void RtfReaderTest::alternativesGiveTheirChosenText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(textOf(rtf), text);
    if (QByteArray(QTest::currentDataTag()).startsWith("upr in the font"))
        QCOMPARE(runsOf(rtf).first().fontFamily, QStringLiteral("\u5b8b\u4f53"));
    if (QByteArray(QTest::currentDataTag()).startsWith("upr takes"))
        QVERIFY(runWith(runsOf(rtf), "Unicode").bold);
}

void RtfReaderTest::footnotesBecomeTextWhereTheirMarkStands_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("footnotes");
    QTest::newRow("word") << QByteArray("{\\rtf1 Claim{\\super\\chftn}{\\footnote\\pard\\plain "
                                        "{\\super\\chftn} Source one.}, then{\\super\\chftn}"
                                        "{\\footnote\\pard\\plain {\\super\\chftn} Two.}.\\par}")
                          << QStringLiteral("Claim[1: Source one.], then[2: Two.].") << 2;
    QTest::newRow("libreoffice, inside the mark's group")
        << QByteArray("{\\rtf1 Text{\\super \\chftn{\\*\\footnote \\chftn\\pard\\plain "
                      "\\s2\\fs20{\\rtlch \\ltrch\\loch  Note}}} after\\par}")
        << QStringLiteral("Text[1: Note] after") << 1;
    QTest::newRow("pandoc") << QByteArray("{\\rtf1 T{\\super\\chftn}{\\*\\footnote\\chftn\\~"
                                          "\\plain\\pard {\\pard \\ql Note.\\par}}\\par}")
                            << QStringLiteral("T[1: Note.]") << 1;
    QTest::newRow("paragraphs of a note run on")
        << QByteArray("{\\rtf1 T{\\footnote\\pard First.\\par\\pard Second.\\par}U\\par}")
        << QStringLiteral("T[1: First. Second.]U") << 1;
    QTest::newRow("file ends inside the note")
        << QByteArray("{\\rtf1 T{\\footnote cut") << QStringLiteral("T[1: cut]") << 1;
    QTest::newRow("custom mark") << QByteArray("{\\rtf1 T*{\\footnote * star}\\par}")
                                 << QStringLiteral("T*[1: * star]") << 1;
    QTest::newRow("footnote in a skipped group")
        << QByteArray("{\\rtf1 T{\\header{\\footnote no}}\\par}") << QStringLiteral("T") << 0;
    QTest::newRow("none") << QByteArray("{\\rtf1 T\\chftn\\par}") << QStringLiteral("T") << 0;
}

void RtfReaderTest::footnotesBecomeTextWhereTheirMarkStands()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(int, footnotes);
    QTextDocument doc;
    RtfReadReport report;
    report.footnotes = -1;
    const bool whole = readRtf(rtf, &doc, nullptr, &report);
    QCOMPARE(whole, !QByteArray(QTest::currentDataTag()).startsWith("file ends"));
    QCOMPARE(textOf(doc), text);
    QCOMPARE(report.footnotes, footnotes);
}

void RtfReaderTest::footnoteKeepsItsParagraphsProperties()
{
    const QByteArray rtf = "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\pard\\qc\\ls1 "
                           "Item{\\footnote\\pard\\plain\\ql\\cf1 Red note}\\b  more\\par "
                           "\\pard next\\par}";
    QTextDocument doc;
    QVERIFY(readRtf(rtf, &doc));
    QCOMPARE(textOf(doc), QStringLiteral("Item[1: Red note] more\nnext"));
    const QList<FormatRun> runs = formatRuns(doc);
    QCOMPARE(runWith(runs, "Item").alignment, RunAlignment::Center);
    QVERIFY(runWith(runs, "Item").inList());
    QCOMPARE(runWith(runs, "Red note").colour, QColor(255, 0, 0));
    QVERIFY(!runWith(runs, "Red note").bold);
    QVERIFY(runWith(runs, "more").bold);
    QVERIFY(!runWith(runs, "next").inList());
}

void RtfReaderTest::byteOrderMarkAndBlanksBeforeTheHeader()
{
    for (const QByteArray &lead :
         {QByteArray("\xEF\xBB\xBF"), QByteArray(" \r\n\t"), QByteArray("\xEF\xBB\xBF\r\n  ")}) {
        const QByteArray rtf = lead + "{\\rtf1\\ansi Text\\par}";
        QVERIFY(isRtf(rtf));
        QTextDocument doc;
        QVERIFY(readRtf(rtf, &doc));
        QCOMPARE(textOf(doc), QStringLiteral("Text"));
    }
}

void RtfReaderTest::languageOfTheText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("language");
    // Word keeps its own language as the default and marks the text's runs.
    QTest::newRow("runs over default")
        << QByteArray("{\\rtf1\\ansi\\deflang1033{\\stylesheet{\\lang1036 Normal;}}"
                      "\\pard\\plain\\lang1040\\langfe1033 Ciao\\par}")
        << 1040;
    QTest::newRow("default only") << QByteArray("{\\rtf1\\ansi\\deflang1031 Hallo\\par}") << 1031;
    QTest::newRow("no proofing skipped")
        << QByteArray("{\\rtf1\\ansi\\deflang3082\\lang1024 12:03 \\lang2057 Hello\\par}") << 2057;
    QTest::newRow("none named") << QByteArray("{\\rtf1\\ansi Text\\par}") << 0;
    QTest::newRow("nonsense") << QByteArray("{\\rtf1\\ansi\\deflang-5\\lang99999 Text\\par}") << 0;
}

// The language the text is written in, for the spelling check; a document
// written with one names it again when read.
void RtfReaderTest::languageOfTheText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, language);
    QTextDocument doc;
    RtfReadReport report;
    QVERIFY(readRtf(rtf, &doc, nullptr, &report));
    QCOMPARE(report.language, language);
    if (language == 0)
        return;
    QTextDocument again;
    QVERIFY(readRtf(writeRtf(doc, language), &again, nullptr, &report));
    QCOMPARE(report.language, language);
    QCOMPARE(textOf(again), textOf(doc));
}

QTEST_MAIN(RtfReaderTest)
#include "tst_rtf_reader.moc"
