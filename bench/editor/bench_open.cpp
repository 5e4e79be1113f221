// How long the editor takes to open a transcript until it is shown, for the
// files that used to freeze it: a long plain text, a long bulleted list, one
// huge line; each beside a plain document of the same size.
//   bench_open [megabytes]
#include "editor/rich_text_box.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

double openMs(RichTextBox &box, const QString &path, bool rtf, int *blocks)
{
    QElapsedTimer timer;
    timer.start();
    const quillory::FileResult result = rtf ? box.LoadFile(path) : box.LoadPlainText(path);
    QApplication::processEvents();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    *blocks = result.ok ? box.document()->blockCount() : -1;
    return ms;
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int megabytes = argc > 1 ? std::max(1, atoi(argv[1])) : 2;
    const int bytes = megabytes * 1024 * 1024;
    QTemporaryDir dir;
    const QByteArray sentence = "and so, as I was saying, the work goes on with care ";

    QByteArray lines;
    while (lines.size() < bytes)
        lines += sentence + sentence + sentence + "\n";
    write(dir.filePath("lines.txt"), lines);

    QByteArray plainRtf = "{\\rtf1\\ansi ";
    QByteArray listRtf =
        "{\\rtf1\\ansi{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u8226 ?;}"
        "{\\levelnumbers;}}\\listid1}}{\\*\\listoverridetable{\\listoverride"
        "\\listid1\\ls1}}";
    int items = 0;
    while (plainRtf.size() < bytes) {
        plainRtf += "\\pard " + sentence + "\\par\n";
        listRtf += "\\pard\\ls1\\ilvl0 " + sentence + "\\par\n";
        ++items;
    }
    plainRtf += "}";
    listRtf += "}";
    write(dir.filePath("plain.rtf"), plainRtf);
    write(dir.filePath("list.rtf"), listRtf);

    QByteArray line;
    while (line.size() < bytes)
        line += sentence;
    write(dir.filePath("line.txt"), line);

    std::printf("opening %d MB files, shown in an 800x600 editor\n", megabytes);
    const struct {
        const char *what;
        const char *file;
        bool rtf;
    } cases[] = {
        {"plain text, lines of 156 characters", "lines.txt", false},
        {"RTF, plain paragraphs", "plain.rtf", true},
        {"RTF, one bulleted list", "list.rtf", true},
        {"plain text, one single line", "line.txt", false},
    };
    for (const auto &c : cases) {
        RichTextBox box; // each open starts from an empty document
        box.resize(800, 600);
        box.show();
        QApplication::processEvents();
        int blocks = 0;
        const double ms = openMs(box, dir.filePath(c.file), c.rtf, &blocks);
        std::printf("  %-38s %8.0f ms  %7d paragraphs\n", c.what, ms, blocks);
    }
    std::printf("(%d list items)\n", items);
    return 0;
}
