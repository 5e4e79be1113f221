#include "editor/rtf/rtf_document_builder.h"

#include <QTextDocument>
#include <QTextList>

namespace quillory {

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument *doc) : m_cursor(doc)
{
    m_cursor.beginEditBlock();
}

RtfDocumentBuilder::~RtfDocumentBuilder()
{
    m_cursor.endEditBlock();
}

void RtfDocumentBuilder::insertText(const QString &text, const QTextCharFormat &format)
{
    openPendingBlock();
    m_cursor.insertText(text, format);
}

void RtfDocumentBuilder::endParagraph(const RtfParagraphProperties &paragraph,
                                      const QTextCharFormat &markFormat)
{
    openPendingBlock();
    applyParagraph(paragraph, markFormat);
    m_blockPending = true;
}

void RtfDocumentBuilder::finish(const RtfParagraphProperties &paragraph,
                                const QTextCharFormat &markFormat)
{
    if (m_finished)
        return;
    m_finished = true;
    if (!m_blockPending)
        applyParagraph(paragraph, markFormat);
}

void RtfDocumentBuilder::openPendingBlock()
{
    if (!m_blockPending)
        return;
    // A fresh block format, so the new block does not join the previous one's list.
    m_cursor.insertBlock(QTextBlockFormat(), m_cursor.charFormat());
    m_blockPending = false;
}

void RtfDocumentBuilder::applyParagraph(const RtfParagraphProperties &paragraph,
                                        const QTextCharFormat &markFormat)
{
    QTextBlockFormat format;
    format.setAlignment(paragraph.alignment);
    m_cursor.setBlockFormat(format);
    m_cursor.setBlockCharFormat(markFormat);
    if (!paragraph.bullet) {
        m_list = nullptr;
        return;
    }
    if (m_list) {
        m_list->add(m_cursor.block());
    } else {
        m_list = m_cursor.createList(QTextListFormat::ListDisc);
    }
}

} // namespace quillory
