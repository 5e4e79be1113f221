#pragma once

#include <QTextCursor>

class QTextDocument;
class QTextList;

namespace quillory {

struct RtfParagraphProperties {
    Qt::Alignment alignment = Qt::AlignLeft;
    bool bullet = false;
};

// Appends text runs and paragraphs to an empty QTextDocument in one edit block.
// A paragraph ended by \par only becomes a block when something follows it, so
// a file whose last paragraph ends with \par gets no stray empty block.
class RtfDocumentBuilder {
public:
    explicit RtfDocumentBuilder(QTextDocument *doc);
    ~RtfDocumentBuilder();

    void insertText(const QString &text, const QTextCharFormat &format);
    void endParagraph(const RtfParagraphProperties &paragraph, const QTextCharFormat &markFormat);
    // Gives an unterminated last paragraph its properties.
    void finish(const RtfParagraphProperties &paragraph, const QTextCharFormat &markFormat);

private:
    void openPendingBlock();
    void applyParagraph(const RtfParagraphProperties &paragraph, const QTextCharFormat &markFormat);

    QTextCursor m_cursor;
    QTextList *m_list = nullptr; // the list the previous paragraph belongs to
    bool m_blockPending = false;
    bool m_finished = false;
};

} // namespace quillory
