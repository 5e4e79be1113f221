#pragma once

#include <QTextCursor>
#include <QTextListFormat>

#include <map>
#include <optional>
#include <utility>

class QTextDocument;
class QTextList;

namespace quillory {

// The list a paragraph belongs to, as the file describes it.
struct RtfListItem {
    // Paragraphs with the same key and level share one numbering; RTF list
    // override numbers (\ls) are positive keys, old-style \pn paragraphs use 0.
    int key = 0;
    int level = 0;
    QTextListFormat::Style style = QTextListFormat::ListDisc;
    int start = 1;
    QString prefix;
    QString suffix;
    bool noRestart = false; // numbering goes on after an item of an outer level

    bool sameNumbering(const RtfListItem &other) const
    {
        return style == other.style && start == other.start && prefix == other.prefix &&
               suffix == other.suffix;
    }
};

struct RtfParagraphProperties {
    Qt::Alignment alignment = Qt::AlignLeft;
    std::optional<RtfListItem> list;
};

// Appends text runs and paragraphs to an empty QTextDocument in one edit block.
// A paragraph ended by \par only becomes a block when something follows it, so
// a file whose last paragraph ends with \par gets no stray empty block.
//
// List items of one key and level share a QTextList, also across paragraphs of
// other lists or outside lists, so their numbering goes on as in the file. An
// item of an outer level ends the inner levels' lists (the next inner item
// counts from its start again) unless that level goes on numbering.
class RtfDocumentBuilder {
public:
    explicit RtfDocumentBuilder(QTextDocument *doc);
    ~RtfDocumentBuilder();

    void insertText(const QString &text, const QTextCharFormat &format);
    void endParagraph(const RtfParagraphProperties &paragraph, const QTextCharFormat &markFormat);
    // Gives an unterminated last paragraph its properties.
    void finish(const RtfParagraphProperties &paragraph, const QTextCharFormat &markFormat);

private:
    struct OpenList {
        QTextList *list = nullptr;
        RtfListItem item;
    };

    void openPendingBlock();
    void applyParagraph(const RtfParagraphProperties &paragraph, const QTextCharFormat &markFormat);
    void addToList(const RtfListItem &item);

    QTextCursor m_cursor;
    std::map<std::pair<int, int>, OpenList> m_lists; // by key and level
    bool m_blockPending = false;
    bool m_finished = false;
};

} // namespace quillory
