#pragma once

#include "rtf/rtf_document_builder.h"
#include "rtf/rtf_keywords.h"

#include <QString>
#include <QTextListFormat>

#include <optional>

namespace quillory {

class RtfListTables;

// A paragraph's properties as the file states them: its alignment, the list it
// names (\ls, \ilvl), and the older numbering of its own (\pn). Its list is
// resolved at the paragraph's end, when every word of it has been read.
struct RtfParagraphState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int listOverride = 0;           // \ls
    int listLevel = 0;              // \ilvl
    bool oldStyleNumbering = false; // \pn
    bool oldStyleBullet = false;
    bool oldStyleContinuation = false; // \pnlvlcont: a paragraph of an item, unnumbered
    int oldStyleLevel = 0;
    QTextListFormat::Style oldStyleKind = QTextListFormat::ListDecimal;
    int oldStyleStart = 1;
    QString oldStyleBefore;
    QString oldStyleAfter;

    // A control word inside \pn. \pntxtb and \pntxta send the text that
    // follows to oldStyleBefore or oldStyleAfter: `destination` becomes
    // Destination::BulletText and `textAfter` tells which of the two.
    void numberingWord(Keyword keyword, const RtfToken &token, Destination &destination,
                       bool &textAfter);
    // The paragraph's list: a list of the tables, the \pn numbering, or a list
    // the file names but does not define; nothing outside lists.
    std::optional<RtfListItem> list(const RtfListTables &tables) const;
};

} // namespace quillory
