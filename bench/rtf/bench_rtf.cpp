// RTF codec throughput and memory on generated transcripts.
//   bench_rtf                 1 MB, 10 MB, a 300-page transcript, then lists against plain text
//   bench_rtf --lists [items] only the lists: a transcript of `items` paragraphs (8,000 by
//                             default) as plain paragraphs, as one bulleted and as one numbered
//                             list, side by side; then bare list items against bare paragraphs

#include "rtf/list_append.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

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

enum class Kind { Plain, Bullets, Numbers };

// A transcript of short paragraphs ("[03:41] Speaker 2: " and some words, as a
// bulleted transcript has them), all outside lists or all items of one list.
void fillItems(QTextDocument &doc, int count, Kind kind, int words)
{
    QTextCursor cursor(&doc);
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Arial")});
    plain.setFontPointSize(11);
    QTextCharFormat speaker = plain;
    speaker.setFontWeight(QFont::Bold);
    QTextList *list = nullptr;
    int seed = 3;
    for (int p = 0; p < count; ++p) {
        if (p > 0)
            cursor.insertBlock(QTextBlockFormat(), plain);
        if (kind != Kind::Plain) {
            if (list)
                quillory::addListItem(list, cursor.block());
            else
                list = cursor.createList(kind == Kind::Bullets ? QTextListFormat::ListDisc
                                                               : QTextListFormat::ListDecimal);
        }
        cursor.insertText(QStringLiteral("[%1:%2] Speaker %3: ")
                              .arg(p / 60 % 100, 2, 10, QLatin1Char('0'))
                              .arg(p % 60, 2, 10, QLatin1Char('0'))
                              .arg(p % 4 + 1),
                          speaker);
        QString text;
        for (int w = 0; w < words; ++w) {
            seed = (seed * 1103515245 + 12345) & 0x7fffffff;
            text += kWords[(unsigned(seed) >> 16) % std::size(kWords)] + QLatin1Char(' ');
        }
        cursor.insertText(text, plain);
    }
}

// The fastest of several runs: what the work costs when nothing else on the
// machine takes the processor from it.
double fastest(const std::vector<double> &values)
{
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readLine().trimmed() : QByteArray("?");
}

// The same paragraphs plain, bulleted and numbered, and plain paragraphs with
// more words whose RTF is as long as the bulleted one's, each written and read
// in turns (so that a change in the machine's load falls on all alike); the
// fastest of the rounds.
void measureLists(int items)
{
    constexpr int kRounds = 7;
    constexpr int kWordsPerItem = 25;
    struct Case {
        Case(const char *name, Kind kind, int words) : name(name), kind(kind), words(words) {}
        const char *name;
        Kind kind;
        int words;
        std::unique_ptr<QTextDocument> doc = std::make_unique<QTextDocument>();
        QByteArray rtf;
        std::vector<double> write, read;
    };
    Case cases[] = {{"plain", Kind::Plain, kWordsPerItem},
                    {"bullets", Kind::Bullets, kWordsPerItem},
                    {"numbers", Kind::Numbers, kWordsPerItem},
                    {"plain, as many bytes as bullets", Kind::Plain, kWordsPerItem}};
    for (Case &c : cases)
        fillItems(*c.doc, items, c.kind, c.words);
    // More words in each plain paragraph until its RTF is as long as the bulleted one's.
    Case &sameBytes = cases[3];
    const qsizetype bulletBytes = quillory::writeRtf(*cases[1].doc).size();
    while (quillory::writeRtf(*sameBytes.doc).size() < bulletBytes) {
        const qsizetype bytes = quillory::writeRtf(*sameBytes.doc).size();
        sameBytes.words += std::max(1, int(sameBytes.words * (bulletBytes - bytes) / bytes / 2));
        sameBytes.doc = std::make_unique<QTextDocument>();
        fillItems(*sameBytes.doc, items, Kind::Plain, sameBytes.words);
    }

    std::printf("lists against plain paragraphs, %d paragraphs; load average before: %s\n", items,
                loadAverage().constData());
    for (int round = 0; round < kRounds; ++round) {
        for (Case &c : cases) {
            QElapsedTimer timer;
            timer.start();
            c.rtf = quillory::writeRtf(*c.doc);
            c.write.push_back(timer.nsecsElapsed() / 1e9);
            QTextDocument copy;
            timer.restart();
            quillory::readRtf(c.rtf, &copy);
            c.read.push_back(timer.nsecsElapsed() / 1e9);
            if (copy.blockCount() != items)
                std::printf("warning: %s read back as %d paragraphs\n", c.name, copy.blockCount());
        }
    }
    const Case &plain = cases[0];
    for (const Case &c : cases) {
        const double write = fastest(c.write);
        const double read = fastest(c.read);
        std::printf("  %-32s %2d words, RTF %.2f MB: write %.3f s (%.2fx plain, %.2fx as many "
                    "bytes), read %.3f s (%.2fx plain, %.2fx as many bytes)\n",
                    c.name, c.words, c.rtf.size() / kMegabyte, write, write / fastest(plain.write),
                    write / fastest(sameBytes.write), read, read / fastest(plain.read),
                    read / fastest(sameBytes.read));
    }

    // Bare items as in "{\rtf1\ansi x\par\ls1\ilvl0 r" + "\par" x N: a list the
    // file does not define, every paragraph an item; against the same without \ls1.
    std::printf("  bare items against bare paragraphs, read (fastest of %d):\n", kRounds);
    for (int count : {2500, 5000, 10000, 20000}) {
        QByteArray listed = "{\\rtf1\\ansi x\\par\\ls1\\ilvl0 r";
        QByteArray plain = "{\\rtf1\\ansi x\\par r";
        for (int i = 0; i < count; ++i) {
            listed += "\\par";
            plain += "\\par";
        }
        listed += '}';
        plain += '}';
        std::vector<double> listedSeconds, plainSeconds;
        for (int round = 0; round < kRounds; ++round) {
            for (const QByteArray *rtf : {&plain, &listed}) {
                QTextDocument doc;
                QElapsedTimer timer;
                timer.start();
                quillory::readRtf(*rtf, &doc);
                (rtf == &plain ? plainSeconds : listedSeconds)
                    .push_back(timer.nsecsElapsed() / 1e9);
            }
        }
        std::printf("    %6d items %.4f s, paragraphs %.4f s (%.2fx)\n", count,
                    fastest(listedSeconds), fastest(plainSeconds),
                    fastest(listedSeconds) / fastest(plainSeconds));
    }
    std::printf("  load average after: %s\n", loadAverage().constData());
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "--lists") {
        measureLists(argc > 2 ? std::max(1, atoi(argv[2])) : 8000);
        return 0;
    }
    measure("1 MB", qsizetype(kMegabyte));
    measure("10 MB", qsizetype(10 * kMegabyte));
    measureBook();
    measureLists(8000);
    return 0;
}
