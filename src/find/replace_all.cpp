#include "replace_all.h"

#include "find/find_rules.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <vector>

namespace quillory {

namespace {

// Share of the progress given to finding the hits; applying them is the rest.
constexpr int ScanPermille = 250;
// Report progress every so many lines or replacements.
constexpr int ReportEvery = 512;

QTextCharFormat formatOfCharacterAt(const QTextDocument &doc, int position)
{
    QTextCursor probe(const_cast<QTextDocument *>(&doc));
    // charFormat() reads the character before the cursor.
    probe.setPosition(position + 1);
    return probe.charFormat();
}

QString withParagraphBreaks(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return plain;
}

} // namespace

void replaceKeepingFormat(QTextCursor &cursor, int start, int length, const QString &text)
{
    QTextDocument *doc = cursor.document();
    const int last = std::max(0, doc->characterCount() - 1);
    start = std::clamp(start, 0, last);
    length = std::clamp(length, 0, last - start);
    QTextCharFormat format;
    if (length > 0) {
        format = formatOfCharacterAt(*doc, start);
    } else {
        cursor.setPosition(start);
        format = cursor.charFormat();
    }
    format.clearProperty(QTextFormat::ObjectType);
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    if (text.isEmpty())
        cursor.removeSelectedText();
    else
        cursor.insertText(withParagraphBreaks(text), format);
}

int replaceAllInDocument(QTextDocument &doc, const ReplaceAllRequest &request,
                         const ReplaceProgress &progress)
{
    if (request.find.isEmpty())
        return 0;
    const auto report = [&progress](int permille) {
        if (progress)
            progress(permille);
    };

    // First every hit, in document positions: the document is not touched until
    // the whole text has been searched, so the search never sees a replacement.
    std::vector<int> hits;
    const int blocks = std::max(1, doc.blockCount());
    int blockNumber = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next(), ++blockNumber) {
        const QString text = block.text();
        const int blockStart = block.position();
        qsizetype lineStart = 0;
        while (lineStart <= text.size()) {
            qsizetype lineEnd = text.indexOf(QChar::LineSeparator, lineStart);
            if (lineEnd < 0)
                lineEnd = text.size();
            const QString line = text.mid(lineStart, lineEnd - lineStart);
            for (int hit : replaceAllHits(line, request.find, request.replacement,
                                          request.wholeWord, request.matchCase))
                hits.push_back(blockStart + static_cast<int>(lineStart) + hit);
            lineStart = lineEnd + 1;
        }
        if (blockNumber % ReportEvery == 0)
            report(static_cast<int>(static_cast<qint64>(blockNumber) * ScanPermille / blocks));
    }
    report(ScanPermille);
    if (hits.empty()) {
        report(1000);
        return 0;
    }

    // Then the replacements, last first, so the positions of those still to come
    // stay valid; one edit block makes them a single change.
    const int findLength = static_cast<int>(request.find.size());
    const int count = static_cast<int>(hits.size());
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    for (int i = count - 1; i >= 0; --i) {
        replaceKeepingFormat(cursor, hits[static_cast<size_t>(i)], findLength,
                             request.replacement);
        const int done = count - i;
        if (done % ReportEvery == 0)
            report(ScanPermille +
                   static_cast<int>(static_cast<qint64>(done) * (1000 - ScanPermille) / count));
    }
    cursor.endEditBlock();
    report(1000);
    return count;
}

} // namespace quillory
