#pragma once

// What the editor benchmarks share: the same 300-page transcript and the same
// way of reading a percentile, so their figures can be set side by side.
#include "editor/rich_text_box.h"

#include <QFont>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <algorithm>
#include <vector>

namespace quillory::bench {

// About 500 words a page, in paragraphs with some formatting, as a transcript.
inline void fillTranscript(RichTextBox &box, int pages)
{
    const QString sentence =
        QStringLiteral("Allora, come dicevo, la trascrizione procede con calma e precisione. ");
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat plain, speaker;
    speaker.setFontWeight(QFont::Bold);
    for (int p = 0; p < pages * 10; ++p) {
        cursor.insertText(QStringLiteral("Speaker %1: ").arg(p % 3 + 1), speaker);
        for (int s = 0; s < 5; ++s)
            cursor.insertText(sentence, plain);
        cursor.insertBlock();
    }
    QTextCursor(box.document()).insertFragment(QTextDocumentFragment(&doc));
}

inline double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

} // namespace quillory::bench
