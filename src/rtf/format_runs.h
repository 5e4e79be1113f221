#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QTextListFormat>

class QTextDocument;

namespace quillory {

enum class RunAlignment { Left, Center, Right, Justify };

// A stretch of text with the same resolved formatting. Paragraph ends appear as
// "\n" at the end of the paragraph's last run; the last paragraph has none.
struct FormatRun {
    QString text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QString fontFamily; // the document's default font when the text sets none
    qreal pointSize = 0;
    QColor colour; // invalid: the default text colour
    RunAlignment alignment = RunAlignment::Left;
    // The paragraph's list: ListStyleUndefined outside lists. The marker is the
    // number or bullet shown ("3.", "b)", "\u2022"); the index tells the
    // document's lists apart, numbered in the order of their first items.
    QTextListFormat::Style listStyle = QTextListFormat::ListStyleUndefined;
    int listLevel = 0;
    QString listMarker;
    int listIndex = -1;

    bool inList() const { return listStyle != QTextListFormat::ListStyleUndefined; }

    bool sameFormat(const FormatRun &other) const;
    bool operator==(const FormatRun &other) const
    {
        return text == other.text && sameFormat(other);
    }
    bool operator!=(const FormatRun &other) const { return !(*this == other); }
};

// The runs of a document, adjacent fragments with equal formatting merged.
// An empty paragraph gets a run "\n" in the paragraph's own character format.
QList<FormatRun> formatRuns(const QTextDocument &doc);

// One line describing a run, e.g.
// "Hi\n" bold=1 italic=0 underline=0 strike=0 font="Arial" size=12 colour=#ff0000 align=left
// list=none, or for a list item ... list=lower-alpha level=1 marker="c)". Quotes, backslashes,
// newlines, tabs and other control characters in the text are escaped.
QString describeRun(const FormatRun &run);

// The one test for bold: what the formatting bar shows as bold is what the
// writer writes as bold. Qt's own rule (QFont::bold()): heavier than Medium.
inline bool isBoldWeight(int weight)
{
    return weight > QFont::Medium;
}

} // namespace quillory
