#include "rtf/rtf_document_builder.h"

#include "rtf/list_append.h"
#include "rtf/list_numbering.h"

#include <QTextDocument>
#include <QTextList>

#include <climits>

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
    if (paragraph.list) {
        addToList(*paragraph.list);
        return;
    }
    // Old-style numbering only runs through adjacent paragraphs.
    m_lists.erase(m_lists.lower_bound({0, INT_MIN}), m_lists.lower_bound({1, INT_MIN}));
}

void RtfDocumentBuilder::addToList(const RtfListItem &item)
{
    // An outer item restarts the numbering of the levels inside it.
    const auto innerEnd =
        item.key == INT_MAX ? m_lists.end() : m_lists.lower_bound({item.key + 1, INT_MIN});
    for (auto it = m_lists.upper_bound({item.key, item.level}); it != innerEnd;)
        it = it->second.item.noRestart ? std::next(it) : m_lists.erase(it);
    const std::pair<int, int> id(item.key, item.level);
    auto open = m_lists.find(id);
    if (open != m_lists.end() && open->second.item.sameNumbering(item)) {
        addListItem(open->second.list, m_cursor.block());
        return;
    }
    QTextListFormat format;
    format.setStyle(item.style);
    setListLevel(format, item.level);
    if (isNumberedList(item.style)) {
        setListStart(format, item.start);
        format.setNumberPrefix(item.prefix);
        format.setNumberSuffix(item.suffix);
    }
    m_lists[id] = OpenList{m_cursor.createList(format), item};
}

} // namespace quillory
