// The rules that turn a transcript into cues and cues back into a transcript.
#include "formats/document_format.h"
#include "formats/subtitle_cues.h"
#include "formats/subtitle_reader.h"
#include "formats/subtitle_writer.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace quillory;

namespace {

StyledText plain(const QString &text)
{
    StyledText out;
    out.append(text, 0);
    return out;
}

QStringList lineTexts(const Cue &cue)
{
    QStringList out;
    for (const StyledText &line : cue.lines)
        out << line.text;
    return out;
}

QStringList paragraphs(const QTextDocument &doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        out << b.text();
    return out;
}

} // namespace

class TestSubtitleRules : public QObject {
    Q_OBJECT
private slots:
    void findsEveryTimestampInAParagraph()
    {
        const QList<Timestamps::Found> found =
            Timestamps::findAll(QStringLiteral("a [01:02] b #00:00:03-5##00:00:04-0# [1:60] c"));
        QCOMPARE(found.size(), 3);
        QCOMPARE(found[0].shownMs, 62000);
        QCOMPARE(found[1].shownMs, 3500);
        QCOMPARE(found[2].shownMs, 4000);
        QCOMPARE(found[2].start, found[1].start + found[1].length);
        QCOMPARE(Timestamps::unitMs(Timestamps::Format::WithTenths), 100);
        QCOMPARE(Timestamps::unitMs(Timestamps::Format::MinutesSeconds), 1000);
    }

    void wrapsAtFortyTwoCharactersAndSplitsSentences()
    {
        const StyledText words = plain(
            QStringLiteral("  We   talked about the harvest and   the weather that year, and then "
                           "about nothing at all. "));
        const QList<StyledText> lines = wrapLines(words, 42);
        QCOMPARE(lines.size(), 3);
        for (const StyledText &line : lines) {
            QVERIFY(line.size() <= 42);
            QVERIFY(!line.text.startsWith(u' ') && !line.text.endsWith(u' '));
        }
        QCOMPARE(lines[0].text, QStringLiteral("We talked about the harvest and the"));
        // A word longer than a line stands alone rather than being cut.
        const QList<StyledText> longWord =
            wrapLines(plain(QStringLiteral("a ") + QString(50, u'x') + QStringLiteral(" b")), 42);
        QCOMPARE(longWord.size(), 3);
        QCOMPARE(longWord[1].size(), 50);

        QCOMPARE(sentenceBreaks(QStringLiteral("Yes. \u201cNo!\u201d Why? 3.5 kg… ok")),
                 (QList<int>{4, 10, 15, 23}));
    }

    void timestampsInEveryFormatAndAnOffsetMakeCues()
    {
        // Offset of one hour: the transcript shows media time plus an hour.
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("Title line\n"
                                        "[01:00:01] First.\n"
                                        "[1:00:03.5] Second [00:10] stays text,\n"
                                        "#01:00:06-0# third\n"
                                        "[60:08]"));
        CueOptions options;
        options.offsetMs = 3600 * 1000;
        options.lastCueMs = 2500;
        const QList<Cue> cues = cuesFromDocument(doc, options);
        QCOMPARE(cues.size(), 4);
        QCOMPARE(lineTexts(cues[0]), QStringList{QStringLiteral("Title line")});
        QCOMPARE(cues[0].startMs, 0);
        QCOMPARE(cues[0].endMs, 1000);
        QCOMPARE(cues[1].startMs, 1000);
        QCOMPARE(cues[1].endMs, 3500);
        QCOMPARE(lineTexts(cues[2]), QStringList{QStringLiteral("Second [00:10] stays text,")});
        QCOMPARE(cues[2].endMs, 6000);
        // The last timestamp has no text: it only ends the cue before it.
        QCOMPARE(cues[3].startMs, 6000);
        QCOMPARE(cues[3].endMs, 8000);

        // The last cue runs to the media's end when it is known, else a set length.
        doc.setPlainText(QStringLiteral("[00:02] only"));
        options = CueOptions{};
        options.lastCueMs = 4000;
        QCOMPARE(cuesFromDocument(doc, options).first().endMs, 6000);
        options.mediaLengthMs = 90000;
        QCOMPARE(cuesFromDocument(doc, options).first().endMs, 90000);
        // A timestamp going back in time gives the cue before it the set length.
        doc.setPlainText(QStringLiteral("[00:09] later [00:05] earlier"));
        options.mediaLengthMs = 0;
        QCOMPARE(cuesFromDocument(doc, options).first().endMs, 13000);
        // Text before a first timestamp at the very start joins the first cue.
        doc.setPlainText(QStringLiteral("Heading\n[00:00] talk"));
        const QList<Cue> joined = cuesFromDocument(doc, options);
        QCOMPARE(joined.size(), 1);
        QCOMPARE(lineTexts(joined.first()), QStringList{QStringLiteral("Heading talk")});
    }

    void longCuesSplitAtSentenceEndsOnTheTimestampUnit()
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("[00:10] One short sentence here. Another short one here. "
                                        "A third one to end it.\n[00:30] next"));
        CueOptions options;
        options.splitUnitMs = 1000;
        const QList<Cue> cues = cuesFromDocument(doc, options);
        QCOMPARE(cues.size(), 4);
        QCOMPARE(cues[0].startMs, 10000);
        QCOMPARE(lineTexts(cues[0]), QStringList{QStringLiteral("One short sentence here.")});
        QCOMPARE(lineTexts(cues[2]), QStringList{QStringLiteral("A third one to end it.")});
        for (int i = 0; i < 3; ++i) {
            QVERIFY2(cues[i].endMs - cues[i].startMs <= 7000, qPrintable(QString::number(i)));
            QCOMPARE(cues[i].endMs, cues[i + 1].startMs);
            QCOMPARE(cues[i].startMs % 1000, 0);
        }
        // One sentence cannot be split, however long it runs.
        doc.setPlainText(QStringLiteral("[00:00] no end in sight\n[00:20] x"));
        QCOMPARE(cuesFromDocument(doc, options).size(), 2);
    }

    void stylesBecomeNestedTags()
    {
        QTextDocument doc;
        QTextCursor c(&doc);
        QTextCharFormat bold, boldItalic, under;
        bold.setFontWeight(QFont::Bold);
        boldItalic = bold;
        boldItalic.setFontItalic(true);
        under.setFontUnderline(true);
        c.insertText(QStringLiteral("[00:01] "));
        c.insertText(QStringLiteral("Ann:"), bold);
        c.insertText(QStringLiteral(" so "), QTextCharFormat());
        c.insertText(QStringLiteral("very"), boldItalic);
        c.insertText(QStringLiteral(" <odd> & "), under);
        c.insertText(QStringLiteral("end"), QTextCharFormat());
        const QList<Cue> cues = cuesFromDocument(doc, CueOptions{});
        QCOMPARE(cues.size(), 1);
        QCOMPARE(taggedLine(cues[0].lines[0], false),
                 QStringLiteral("<b>Ann: </b>so <b><i>very </i></b><u><odd> & </u>end"));
        QCOMPARE(taggedLine(cues[0].lines[0], true),
                 QStringLiteral("<b>Ann: </b>so <b><i>very </i></b><u>&lt;odd&gt; &amp; </u>end"));

        const QByteArray srt = writeSubRip(cues);
        QCOMPARE(srt.left(34), QByteArray("1\r\n00:00:01,000 --> 00:00:06,000\r\n"));
        QVERIFY(writeWebVtt(cues).startsWith("WEBVTT\n\n00:00:01.000 --> 00:00:06.000\n<b>"));
        QCOMPARE(subRipTime(360000000 + 61001), QStringLiteral("100:01:01,001"));
    }

    void timingLinesReadInTheirCommonForms()
    {
        using Times = std::optional<std::pair<qint64, qint64>>;
        QCOMPARE(parseTimingLine(u"00:00:01,500 --> 00:00:02,000"), Times({1500, 2000}));
        QCOMPARE(parseTimingLine(u"01:02.5-->01:03.25 align:start"), Times({62500, 63250}));
        QCOMPARE(parseTimingLine(u" 1:00:00.000 --> 1:00:01.000 "), Times({3600000, 3601000}));
        QCOMPARE(parseTimingLine(u"00:61:00,000 --> 00:62:00,000"), Times());
        QCOMPARE(parseTimingLine(u"00:00:01,000 --> soon"), Times());
        QCOMPARE(parseTimingLine(u"text --> more"), Times());
    }

    void cueTagsBecomeStyles()
    {
        const StyledText line = parseCueLine(
            u"<v Ann Lee><b>Hi</b> {\\an8}<i>t&amp;<u>x</u></i> <c.red>3 &lt; 4</c>", true);
        QCOMPARE(line.text, QStringLiteral("Ann Lee: Hi t&x 3 < 4"));
        QCOMPARE(line.styles.at(9), quint8(CueBold));
        QCOMPARE(line.styles.at(12), quint8(CueItalic));
        QCOMPARE(line.styles.at(14), quint8(CueItalic | CueUnderline));
        QCOMPARE(line.styles.last(), quint8(0));
        // SubRip keeps entities and tags it does not know as typed; a lone "<"
        // is text; a tag never closed ends with its line.
        QCOMPARE(parseCueLine(u"a &amp; b < c <font color=\"red\">d</font> <why>", false).text,
                 QStringLiteral("a &amp; b < c d <why>"));
        QCOMPARE(parseCueLine(u"<b>open", false).styles.last(), quint8(CueBold));
    }

    void quirkyFilesReadAsFarAsTheyMakeSense()
    {
        // A BOM, CR LF, a cue with no blank line after it, numbers out of
        // order, a time that does not read and a stray line.
        const QByteArray srt = "\xEF\xBB\xBF"
                               "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n"
                               "2\r\n00:00:03,000 --> 00:00:04,000\r\nTwo\r\nlines\r\n\r\n"
                               "2\r\n00:00:05,000 --> 00:00:0x,000\r\nBad time\r\n\r\n"
                               "\r\n\r\nstray words\r\n\r\n"
                               "9\r\n00:00:09,000 --> 00:00:08,000\r\n<i>Nine</i>\r\n";
        SubtitleReadReport report;
        QTextDocument doc;
        readSubtitles(srt, &doc, Timestamps::Format::WithTenths, 0, &report);
        QCOMPARE(paragraphs(doc), (QStringList{"[00:00:01.0] One", "[00:00:03.0] Two lines",
                                               "Bad time", "stray words", "[00:00:09.0] Nine"}));
        QCOMPARE(report.cues, 4);
        QCOMPARE(report.problems, 5);
        QCOMPARE(report.firstProblem, SubtitleProblem::MissingBlankLine);
        QCOMPARE(report.firstProblemLine, 5);
        QTextCursor nine(doc.lastBlock());
        nine.movePosition(QTextCursor::EndOfBlock);
        QVERIFY(nine.charFormat().fontItalic());

        // WebVTT: header metadata, NOTE and STYLE blocks, identifiers, hours left out.
        const QByteArray vtt = "WEBVTT - a title\nKind: captions\n\nNOTE a remark\nacross lines\n\n"
                               "STYLE\n::cue { color: red }\n\nintro\n00:01.000 --> 00:02.500\n"
                               "<v Bo>Hello\n\n00:01:03.000 --> 00:01:04.000 line:0\nBye\n";
        readSubtitles(vtt, &doc, Timestamps::Format::MinutesSeconds, 0, &report);
        QCOMPARE(paragraphs(doc), (QStringList{"[00:01] Bo: Hello", "[01:03] Bye"}));
        QCOMPARE(report.problems, 0);

        // Not a subtitle file at all: the text is kept, and said once.
        readSubtitles("just some\nnotes", &doc, Timestamps::Format::MinutesSeconds, 0, &report);
        QCOMPARE(paragraphs(doc), QStringList{"just some notes"});
        QCOMPARE(report.firstProblem, SubtitleProblem::TextOutsideCue);
        QCOMPARE(report.problems, 2);
    }

    void anyBytesReadWithoutLosingTheWords()
    {
        // Pieces of subtitle files shuffled at random: whatever comes of them,
        // the reader ends, and a word outside WebVTT headers and notes is kept.
        const QByteArray pieces[] = {"1\n",
                                     "00:00:01,000 --> 00:00:02,000\n",
                                     "\n",
                                     "\r\n",
                                     "word\n",
                                     "<b>bold",
                                     "</i>",
                                     "-->\n",
                                     "WEBVTT\n",
                                     "NOTE\n",
                                     "&amp;",
                                     "\xEF\xBB\xBF",
                                     "99:99 --> 1\n",
                                     "{\\an8}",
                                     "\xff\xfe",
                                     "<v>",
                                     "<"};
        QRandomGenerator random(29);
        for (int round = 0; round < 300; ++round) {
            QByteArray data;
            for (int i = random.bounded(40); i > 0; --i)
                data += pieces[random.bounded(int(std::size(pieces)))];
            QTextDocument doc;
            SubtitleReadReport report;
            readSubtitles(data, &doc, Timestamps::Format::HoursMinutesSeconds, 0, &report);
            QVERIFY(report.cues >= 0 && report.problems >= 0);
            if (data.count("word") > 0 && !data.startsWith("\xff\xfe") && !data.contains("NOTE") &&
                !data.contains("WEBVTT")) {
                QVERIFY2(doc.toPlainText().contains(QLatin1String("word")), data.constData());
            }
        }
    }

    void formatsAreKnownByExtensionAndName()
    {
        QCOMPARE(formatFromExtension(QStringLiteral("/a/b.SRT")), DocumentFormat::SubRip);
        QCOMPARE(formatFromExtension(QStringLiteral("x.vtt")), DocumentFormat::WebVtt);
        QCOMPARE(formatFromExtension(QStringLiteral("x.odt")), DocumentFormat::OpenDocument);
        QCOMPARE(formatFromExtension(QStringLiteral("x.doc")), std::nullopt);
        QCOMPARE(formatFromName(QStringLiteral("TXT")), DocumentFormat::PlainText);
        QCOMPARE(formatName(DocumentFormat::WebVtt), QStringLiteral("vtt"));
        QVERIFY(!isReadable(DocumentFormat::OpenDocument));

        QTextDocument doc;
        doc.setPlainText(QStringLiteral("[00:01] plain words"));
        QVERIFY(!dropsFormatting(doc, DocumentFormat::PlainText));
        QTextCursor c(&doc);
        c.movePosition(QTextCursor::End);
        QTextCharFormat italic;
        italic.setFontItalic(true);
        c.insertText(QStringLiteral(" slanted"), italic);
        QVERIFY(dropsFormatting(doc, DocumentFormat::PlainText));
        QVERIFY(!dropsFormatting(doc, DocumentFormat::SubRip));
        QTextCharFormat red;
        red.setForeground(Qt::red);
        c.insertText(QStringLiteral(" red"), red);
        QVERIFY(dropsFormatting(doc, DocumentFormat::WebVtt));
        QVERIFY(!dropsFormatting(doc, DocumentFormat::OpenDocument));
        QVERIFY(!dropsFormatting(doc, DocumentFormat::Rtf));
    }
};

QTEST_MAIN(TestSubtitleRules)
#include "test_subtitle_rules.moc"
