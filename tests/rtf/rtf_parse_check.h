#pragma once

// Properties every input must keep, shared by the mutation test and the fuzz
// target: reading never yields more characters than there were bytes, and what
// was read survives a write and a second read with the same runs.

#include "rtf/format_runs.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

#include <QTextDocument>

namespace quillory::test {

// Empty when all holds, otherwise what went wrong.
inline QString checkParse(const QByteArray &data)
{
    QTextDocument doc;
    readRtf(data, &doc);
    if (doc.characterCount() > data.size() + 1)
        return QStringLiteral("%1 characters read from %2 bytes")
            .arg(doc.characterCount())
            .arg(data.size());

    const QByteArray written = writeRtf(doc);
    QTextDocument reread;
    QString error;
    if (!readRtf(written, &reread, &error))
        return QStringLiteral("own output rejected: ") + error;
    const QList<FormatRun> before = formatRuns(doc);
    const QList<FormatRun> after = formatRuns(reread);
    for (qsizetype i = 0; i < std::max(before.size(), after.size()); ++i) {
        const QString expected = i < before.size() ? describeRun(before[i]) : QString();
        const QString actual = i < after.size() ? describeRun(after[i]) : QString();
        if (expected != actual)
            return QStringLiteral("run %1 changed in a round trip: %2 became %3")
                .arg(i)
                .arg(expected, actual);
    }
    return QString();
}

} // namespace quillory::test
