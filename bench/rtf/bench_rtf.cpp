// RTF codec throughput and memory on generated transcripts.
//   bench_rtf            1 MB, 10 MB and a 300-page transcript

#include "editor/rtf/rtf_reader.h"
#include "editor/rtf/rtf_writer.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <sys/resource.h>

#include <cstdio>

namespace {

constexpr double kMegabyte = 1024.0 * 1024.0;

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

const QString kWords[] = {
    QStringLiteral("the"),
    QStringLiteral("interview"),
    QStringLiteral("caf\u00e9"),
    QStringLiteral("transcript"),
    QStringLiteral("\u201cquoted\u201d"),
    QStringLiteral("and"),
    QStringLiteral("recording"),
    QStringLiteral("na\u00efve"),
    QStringLiteral("lecture"),
    QStringLiteral("we"),
    QStringLiteral("discussed"),
    QStringLiteral("\u00e0"),
    QStringLiteral("data"),
    QStringLiteral("minutes"),
    QStringLiteral("\u2014"),
};

// Paragraphs of about 60 words: a bold time stamp and speaker, some italic,
// underlined and coloured words, every tenth paragraph a bullet.
void appendParagraphs(QTextDocument &doc, int count, int &seed)
{
    QTextCursor cursor(&doc);
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Arial")});
    plain.setFontPointSize(11);
    QTextCharFormat speaker = plain;
    speaker.setFontWeight(QFont::Bold);
    QTextCharFormat emphasis = plain;
    emphasis.setFontItalic(true);
    QTextCharFormat marked = plain;
    marked.setFontUnderline(true);
    marked.setForeground(QColor(0xC0, 0x20, 0x20));
    QTextList *list = nullptr;
    for (int p = 0; p < count; ++p) {
        if (!cursor.atStart())
            cursor.insertBlock(QTextBlockFormat(), plain);
        const bool bullet = seed % 10 == 0;
        if (bullet)
            list = list ? (list->add(cursor.block()), list)
                        : cursor.createList(QTextListFormat::ListDisc);
        else
            list = nullptr;
        cursor.insertText(QStringLiteral("[%1:%2] Speaker %3: ")
                              .arg(seed / 60 % 100, 2, 10, QLatin1Char('0'))
                              .arg(seed % 60, 2, 10, QLatin1Char('0'))
                              .arg(seed % 4 + 1),
                          speaker);
        for (int w = 0; w < 60; ++w) {
            seed = seed * 1103515245 + 12345;
            const unsigned pick = unsigned(seed) >> 16;
            const QTextCharFormat &format =
                pick % 23 == 0 ? emphasis : (pick % 31 == 0 ? marked : plain);
            cursor.insertText(kWords[pick % std::size(kWords)] + QLatin1Char(' '), format);
        }
        seed &= 0x7fffffff;
    }
}

// A document whose RTF is at least the given size.
void buildTranscript(QTextDocument &doc, qsizetype rtfBytes)
{
    int seed = 1;
    appendParagraphs(doc, 200, seed);
    const qsizetype perParagraph = quillory::writeRtf(doc).size() / 200;
    appendParagraphs(doc, int(rtfBytes / perParagraph) - 200 + 1, seed);
}

void measure(const char *label, qsizetype targetBytes)
{
    QTextDocument doc;
    buildTranscript(doc, targetBytes);
    QElapsedTimer timer;
    timer.start();
    const QByteArray rtf = quillory::writeRtf(doc);
    const double writeSeconds = timer.nsecsElapsed() / 1e9;

    QTextDocument copy;
    timer.restart();
    quillory::readRtf(rtf, &copy);
    const double readSeconds = timer.nsecsElapsed() / 1e9;
    const double megabytes = rtf.size() / kMegabyte;
    std::printf("%-8s RTF %.2f MB, %d paragraphs: write %.3f s (%.1f MB/s), read %.3f s "
                "(%.1f MB/s), peak RSS %.0f MB\n",
                label, megabytes, doc.blockCount(), writeSeconds, megabytes / writeSeconds,
                readSeconds, megabytes / readSeconds, peakMegabytes());
}

// About 500 words per printed page.
void measureBook()
{
    QTextDocument source;
    int seed = 7;
    appendParagraphs(source, 300 * 500 / 64, seed);
    const QByteArray rtf = quillory::writeRtf(source);

    QTextDocument doc;
    QElapsedTimer timer;
    timer.start();
    quillory::readRtf(rtf, &doc);
    const double setSeconds = timer.nsecsElapsed() / 1e9;
    timer.restart();
    doc.setPageSize(QSizeF(595, 842)); // A4 in points
    const int pages = doc.pageCount();
    const double layoutSeconds = timer.nsecsElapsed() / 1e9;
    timer.restart();
    const QByteArray back = quillory::writeRtf(doc);
    const double getSeconds = timer.nsecsElapsed() / 1e9;
    std::printf("300-page transcript (%.2f MB RTF, %lld words, %d laid-out pages): set from RTF "
                "%.3f s, layout %.3f s, back to RTF %.3f s, peak RSS %.0f MB\n",
                rtf.size() / kMegabyte, static_cast<long long>(300 * 500), pages, setSeconds,
                layoutSeconds, getSeconds, peakMegabytes());
    if (back != rtf)
        std::printf("warning: the rewritten RTF differs from the original\n");
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    measure("1 MB", qsizetype(kMegabyte));
    measure("10 MB", qsizetype(10 * kMegabyte));
    measureBook();
    return 0;
}
