// The cost of replacing the editor's whole content from RTF and of reading it
// back as RTF (what an undo snapshot costs) on a 300-page transcript, measured on
// the rich-text control itself.
#include "editor/rich_text_box.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextCursor>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// About 500 words a page, in paragraphs with some formatting, as a transcript.
void fillTranscript(RichTextBox &box, int pages)
{
    const QString sentence =
        QStringLiteral("Allora, come dicevo, la trascrizione procede con calma e precisione. ");
    QTextCursor cursor(box.document());
    QTextCharFormat plain, speaker;
    speaker.setFontWeight(QFont::Bold);
    for (int p = 0; p < pages * 10; ++p) {
        cursor.insertText(QStringLiteral("Speaker %1: ").arg(p % 3 + 1), speaker);
        for (int s = 0; s < 5; ++s)
            cursor.insertText(sentence, plain);
        cursor.insertBlock();
    }
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int pages = argc > 1 ? std::max(1, atoi(argv[1])) : 300;
    RichTextBox box;
    box.resize(800, 600);
    fillTranscript(box, pages);
    std::vector<double> readMs, writeMs;
    QByteArray rtf;
    for (int i = 0; i < 7; ++i) {
        QElapsedTimer t;
        t.start();
        rtf = box.TextRTF();
        readMs.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        box.setTextRTF(rtf);
        writeMs.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("%d pages, %.2f MB of RTF, %d characters\n", pages, rtf.size() / 1e6,
                box.document()->characterCount());
    std::printf("TextRTF (read as RTF):      median %.1f ms\n", median(readMs));
    std::printf("setTextRTF (set from RTF):  median %.1f ms\n", median(writeMs));
    return 0;
}
