#pragma once

#include <QColor>
#include <QList>
#include <QString>

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
    bool bullet = false;

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
// bullet=0 Quotes, backslashes, newlines, tabs and other control characters in the text are
// escaped.
QString describeRun(const FormatRun &run);

} // namespace quillory
