#pragma once

#include "rtf/format_runs.h"
#include "rtf/rtf_reader.h"

#include <QTextDocument>

namespace quillory::test {

// The paragraphs joined with "\n", every other character as stored (unlike
// QTextDocument::toPlainText, which turns line breaks and no-break spaces into
// newlines and spaces).
inline QString textOf(const QTextDocument &doc)
{
    QString text = doc.toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

inline QString textOf(const QByteArray &rtf)
{
    QTextDocument doc;
    readRtf(rtf, &doc);
    return textOf(doc);
}

inline QList<FormatRun> runsOf(const QByteArray &rtf)
{
    QTextDocument doc;
    readRtf(rtf, &doc);
    return formatRuns(doc);
}

// The run that contains the given text, or a default run when there is none.
inline FormatRun runWith(const QList<FormatRun> &runs, const QString &text)
{
    for (const FormatRun &run : runs) {
        if (run.text.contains(text))
            return run;
    }
    return FormatRun();
}

} // namespace quillory::test
