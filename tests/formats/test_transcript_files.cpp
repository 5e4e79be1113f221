// Transcript files as other programs see them: round trips through SubRip and
// WebVTT, the OpenDocument package, and ffmpeg reading what we write.
#include "formats/subtitle_reader.h"
#include "formats/transcript_file.h"
#include "platform/files/text_file.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace quillory;

namespace {

// A transcript with short cues in the given timestamp format and offset.
void fillTranscript(QTextDocument &doc, Timestamps::Format format, qint64 offsetMs)
{
    doc.clear();
    QTextCursor c(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    const qint64 times[] = {0, 1500, 4200, 9000, 3723400};
    const QString texts[] = {QStringLiteral("Welcome, caf\u00e9 \u201cnaïve\u201d."),
                             QStringLiteral("Speaker two answers & asks: <why>?"),
                             QStringLiteral("Fine."), QStringLiteral("An hour later."),
                             QStringLiteral("The end")};
    for (int i = 0; i < 5; ++i) {
        if (i > 0)
            c.insertBlock();
        c.insertText(Timestamps::format(times[i], offsetMs, format) + QLatin1Char(' '),
                     QTextCharFormat());
        c.insertText(QStringLiteral("Ann:"), i % 2 ? italic : bold);
        c.insertText(QLatin1Char(' ') + texts[i], QTextCharFormat());
    }
}

QString documentText(const QTextDocument &doc)
{
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines.join(QLatin1Char('\n'));
}

// Runs a program; its exit code and what it said.
std::pair<int, QString> run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {-1, QStringLiteral("did not finish")};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

} // namespace

class TestTranscriptFiles : public QObject {
    Q_OBJECT
private slots:
    void subtitlesRoundTripTextAndTimes_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("timestamps");
        QTest::addColumn<qint64>("offset");
        for (DocumentFormat f : {DocumentFormat::SubRip, DocumentFormat::WebVtt}) {
            for (int t = 0; t < Timestamps::FormatCount; ++t) {
                for (qint64 offset : {qint64(0), qint64(2 * 3600 * 1000 + 5000)}) {
                    QTest::addRow("%s-format%d-offset%lld", qPrintable(formatName(f)), t, offset)
                        << int(f) << t << offset;
                }
            }
        }
    }

    void subtitlesRoundTripTextAndTimes()
    {
        QFETCH(int, format);
        QFETCH(int, timestamps);
        QFETCH(qint64, offset);
        const auto stamps = static_cast<Timestamps::Format>(timestamps);
        QTextDocument doc;
        fillTranscript(doc, stamps, offset);
        CueOptions cues;
        cues.offsetMs = offset;
        cues.splitUnitMs = Timestamps::unitMs(stamps);
        const QByteArray written = transcriptBytes(doc, DocumentFormat(format), cues);

        QTextDocument back;
        const TranscriptReadResult read =
            readTranscript(QStringLiteral("t.") + formatName(DocumentFormat(format)), written,
                           &back, TranscriptReadOptions{stamps, offset});
        QVERIFY(read.ok);
        QCOMPARE(read.subtitles.problems, 0);
        QCOMPARE(documentText(back), documentText(doc));
        QTextCursor boldName(back.firstBlock());
        boldName.setPosition(back.firstBlock().text().indexOf(QLatin1String("Ann")) + 1);
        QVERIFY(boldName.charFormat().fontWeight() >= QFont::Bold);
        // The same cues again, to the millisecond.
        QCOMPARE(transcriptBytes(back, DocumentFormat(format), cues), written);
    }

    void splitCuesRoundTripToTheSameFile()
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("[00:00:01.0] First we sat down. Then we ate a meal "
                                        "together. Nobody spoke for a while. Then the rain "
                                        "came.\n[00:00:30.0] After."));
        CueOptions cues;
        cues.splitUnitMs = 100;
        cues.lastCueMs = 3000;
        const QByteArray srt = transcriptBytes(doc, DocumentFormat::SubRip, cues);
        QTextDocument back;
        readTranscript(QStringLiteral("a.srt"), srt, &back,
                       TranscriptReadOptions{Timestamps::Format::WithTenths, 0});
        QVERIFY(back.blockCount() > 2);
        QCOMPARE(transcriptBytes(back, DocumentFormat::SubRip, cues), srt);
        QCOMPARE(back.toPlainText()
                     .remove(QRegularExpression(QStringLiteral(R"(\[[^]]*\] ?)")))
                     .simplified(),
                 doc.toPlainText()
                     .remove(QRegularExpression(QStringLiteral(R"(\[[^]]*\] ?)")))
                     .simplified());
    }

    void readFormatIsToldByHeaderAndExtension()
    {
        QCOMPARE(detectReadFormat(QStringLiteral("a.txt"), "{\\rtf1 x}"), DocumentFormat::Rtf);
        QCOMPARE(detectReadFormat(QStringLiteral("a.txt"), "\xEF\xBB\xBFWEBVTT\n"),
                 DocumentFormat::WebVtt);
        QCOMPARE(detectReadFormat(QStringLiteral("a.SRT"), "1\n"), DocumentFormat::SubRip);
        QCOMPARE(detectReadFormat(QStringLiteral("a.txt"), "1\n"), DocumentFormat::PlainText);
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("kept"));
        QVERIFY(!readTranscript(QStringLiteral("a.odt"), "PK", &doc, {}).ok);
        QCOMPARE(doc.toPlainText(), QStringLiteral("kept"));
    }

    void plainTextKeepsTheTimestampsAsTheyStand()
    {
        QTextDocument doc;
        fillTranscript(doc, Timestamps::Format::HashWithTenths, 0);
        const QByteArray text = transcriptBytes(doc, DocumentFormat::PlainText, {});
        QVERIFY(text.startsWith("#00:00:00-0# Ann: Welcome, caf\xc3\xa9"));
        QCOMPARE(text.count("\r\n"), 5);
    }

    void openDocumentHoldsTheWordsAndTheirFormatting()
    {
        const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
        if (unzip.isEmpty())
            QSKIP("unzip is not installed");
        QTextDocument doc;
        fillTranscript(doc, Timestamps::Format::MinutesSeconds, 0);
        QTextCursor c(&doc);
        c.movePosition(QTextCursor::End);
        QTextCharFormat red;
        red.setForeground(QColor(0xcc, 0, 0));
        c.insertText(QStringLiteral(" red"), red);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.odt"));
        QVERIFY(writeFileSafely(path, transcriptBytes(doc, DocumentFormat::OpenDocument, {})));

        const auto [listed, names] = run(unzip, {QStringLiteral("-l"), path});
        QCOMPARE(listed, 0);
        QVERIFY2(names.contains(QLatin1String("content.xml")), qPrintable(names));
        QVERIFY(names.contains(QLatin1String("META-INF/manifest.xml")));
        const auto [mimeCode, mime] =
            run(unzip, {QStringLiteral("-p"), path, QStringLiteral("mimetype")});
        QCOMPARE(mime, QStringLiteral("application/vnd.oasis.opendocument.text"));
        const auto [code, content] =
            run(unzip, {QStringLiteral("-p"), path, QStringLiteral("content.xml")});
        QCOMPARE(code, 0);
        QVERIFY(content.contains(QStringLiteral("Welcome, caf\u00e9")));
        QVERIFY(content.contains(QLatin1String("[62:03] <")) ||
                content.contains(QLatin1String("[62:03]")));
        QVERIFY(content.contains(QLatin1String("fo:font-weight=\"bold\"")));
        QVERIFY(content.contains(QLatin1String("fo:font-style=\"italic\"")));
        QVERIFY(content.contains(QLatin1String("fo:color=\"#cc0000\"")));
        QVERIFY(content.contains(QLatin1String("&lt;why&gt;")));
    }

    void ffmpegReadsTheSubtitlesWeWrite_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("codec");
        QTest::newRow("srt") << int(DocumentFormat::SubRip) << QStringLiteral("subrip");
        QTest::newRow("vtt") << int(DocumentFormat::WebVtt) << QStringLiteral("webvtt");
    }

    void ffmpegReadsTheSubtitlesWeWrite()
    {
        QFETCH(int, format);
        QFETCH(QString, codec);
        const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        const QString ffprobe = QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
        if (ffmpeg.isEmpty() || ffprobe.isEmpty())
            QSKIP("ffmpeg and ffprobe are not installed");
        QTextDocument doc;
        fillTranscript(doc, Timestamps::Format::WithTenths, 0);
        QTemporaryDir dir;
        const QString path =
            dir.filePath(QStringLiteral("out.") + formatName(DocumentFormat(format)));
        CueOptions cues;
        cues.mediaLengthMs = 3725000;
        QVERIFY(writeFileSafely(path, transcriptBytes(doc, DocumentFormat(format), cues)));

        // Decoded and encoded again: a null output takes no subtitle stream as it is.
        const auto [code, said] =
            run(ffmpeg, {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path,
                         QStringLiteral("-map"), QStringLiteral("0"), QStringLiteral("-c:s"),
                         QStringLiteral("ass"), QStringLiteral("-f"), QStringLiteral("null"),
                         QStringLiteral("-")});
        QVERIFY2(code == 0 && said.trimmed().isEmpty(), qPrintable(said));
        const auto [probeCode, probed] =
            run(ffprobe,
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                 QStringLiteral("stream=codec_name:format=duration"), QStringLiteral("-of"),
                 QStringLiteral("default=nw=1"), QStringLiteral("-count_packets"),
                 QStringLiteral("-show_entries"), QStringLiteral("stream=nb_read_packets"), path});
        QCOMPARE(probeCode, 0);
        QVERIFY2(probed.contains(QStringLiteral("codec_name=") + codec), qPrintable(probed));
        QVERIFY2(probed.contains(QLatin1String("nb_read_packets=5")), qPrintable(probed));
    }
};

QTEST_MAIN(TestTranscriptFiles)
#include "test_transcript_files.moc"
