#include "long_paragraphs.h"

#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace quillory {

namespace {

// Offsets within `text` where a new paragraph starts, in increasing order.
QList<int> cutPoints(const QString &text, int limit)
{
    QList<int> cuts;
    int start = 0;
    while (text.size() - start > limit) {
        int cut = start + limit;
        for (int i = start + limit - 1; i > start; --i) {
            const QChar ch = text.at(i);
            if (ch == u' ' || ch == u'\t') {
                cut = i + 1; // the space stays at the end of the piece before
                break;
            }
        }
        // Never cut between the two halves of a surrogate pair.
        if (text.at(cut - 1).isHighSurrogate() && cut - 1 > start)
            --cut;
        cuts.append(cut);
        start = cut;
    }
    return cuts;
}

} // namespace

int cutLongParagraphs(QTextDocument *doc, int limit)
{
    if (limit < 2)
        return 0;
    int cutParagraphs = 0;
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block.length() - 1 <= limit)
            continue;
        const QList<int> cuts = cutPoints(block.text(), limit);
        const int position = block.position();
        // From the last cut back, so the earlier offsets stay valid; each new
        // paragraph takes the format of the one it was cut from.
        for (qsizetype i = cuts.size() - 1; i >= 0; --i) {
            cursor.setPosition(position + cuts.at(i));
            cursor.insertBlock(block.blockFormat(), cursor.charFormat());
        }
        ++cutParagraphs;
        block = cursor.block(); // the pieces after it are short and are passed over
    }
    cursor.endEditBlock();
    return cutParagraphs;
}

} // namespace quillory
