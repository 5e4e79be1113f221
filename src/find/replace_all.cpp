#include "replace_all.h"

#include "find/find_rules.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <vector>

namespace quillory {

namespace {

// Share of the progress given to finding the hits; changing the paragraphs is
// the rest.
constexpr int ScanPermille = 300;
// Report progress every so many paragraphs.
constexpr int ReportEvery = 256;
// From this length on, laying the changed text out again would take longer
// than the replacing itself (a tenth of a second and more).
constexpr int DeferLayoutFrom = 500000;

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

// Characters that stand for something other than text (pictures, frame
// marks); a paragraph holding one is changed hit by hit, never rewritten.
bool holdsObjects(const QString &text)
{
    return text.contains(QChar(QChar::ObjectReplacementCharacter)) ||
           text.contains(QChar(0xFDD0)) || text.contains(QChar(0xFDD1));
}

// The paragraphs that have hits, with the hits as offsets into the paragraph.
struct ParagraphHits {
    int position;
    bool holdsObjects;
    std::vector<int> hits;
};

// A stretch of new text in one character format.
struct Run {
    QString text;
    int format;
};

void appendRun(std::vector<Run> &runs, QStringView text, int format)
{
    if (text.isEmpty())
        return;
    if (!runs.empty() && runs.back().format == format)
        runs.back().text += text;
    else
        runs.push_back({text.toString(), format});
}

class ParagraphRewriter {
public:
    ParagraphRewriter(QTextDocument &doc, const ReplaceAllRequest &request)
        : m_doc(doc), m_cursor(&doc), m_formats(doc.allFormats()),
          m_findLength(static_cast<int>(request.find.size())),
          m_replacement(withParagraphBreaks(request.replacement))
    {
    }

    QTextCursor &cursor() { return m_cursor; }

    // Rewrites the stretch from the first hit to the end of the last one as a
    // few runs (one per format): far fewer edits than one per hit, which keeps
    // replace all fast on long documents with many hits.
    void rewrite(const ParagraphHits &paragraph)
    {
        if (paragraph.holdsObjects) {
            replaceHitByHit(paragraph);
            return;
        }
        const QTextBlock block = m_doc.findBlock(paragraph.position);
        const int from = paragraph.hits.front();
        const int to = paragraph.hits.back() + m_findLength;
        std::vector<Run> runs;
        size_t next = 0; // the next hit to replace
        int at = from;   // offset in the paragraph as it was
        for (auto it = block.begin(); !it.atEnd() && at < to; ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = fragment.position() - paragraph.position;
            const int end = start + fragment.length();
            if (end <= at)
                continue;
            const QString text = fragment.text();
            const int format = fragment.charFormatIndex();
            while (at < std::min(end, to)) {
                if (next < paragraph.hits.size() && at == paragraph.hits[next]) {
                    appendRun(runs, m_replacement, format);
                    at += m_findLength;
                    ++next;
                    continue;
                }
                const int stop =
                    std::min({end, to, next < paragraph.hits.size() ? paragraph.hits[next] : to});
                appendRun(runs, QStringView(text).mid(at - start, stop - at), format);
                at = stop;
            }
        }
        m_cursor.setPosition(paragraph.position + from);
        m_cursor.setPosition(paragraph.position + to, QTextCursor::KeepAnchor);
        m_cursor.removeSelectedText();
        for (const Run &run : runs)
            m_cursor.insertText(run.text, charFormat(run.format));
    }

private:
    void replaceHitByHit(const ParagraphHits &paragraph)
    {
        for (auto hit = paragraph.hits.rbegin(); hit != paragraph.hits.rend(); ++hit)
            replaceKeepingFormat(m_cursor, paragraph.position + *hit, m_findLength, m_replacement);
    }

    QTextCharFormat charFormat(int index) const
    {
        QTextCharFormat format = m_formats.value(index).toCharFormat();
        format.clearProperty(QTextFormat::ObjectType);
        return format;
    }

    QTextDocument &m_doc;
    QTextCursor m_cursor;
    const QList<QTextFormat> m_formats;
    const int m_findLength;
    const QString m_replacement;
};

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

    // First every hit: the document is not touched until the whole text has been
    // searched, so the search never sees a replacement.
    std::vector<ParagraphHits> paragraphs;
    int count = 0;
    const int blocks = std::max(1, doc.blockCount());
    int blockNumber = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next(), ++blockNumber) {
        const QString text = block.text();
        std::vector<int> hits;
        qsizetype lineStart = 0;
        while (lineStart <= text.size()) {
            qsizetype lineEnd = text.indexOf(QChar::LineSeparator, lineStart);
            if (lineEnd < 0)
                lineEnd = text.size();
            appendReplaceAllHits(hits, static_cast<int>(lineStart),
                                 QStringView(text).mid(lineStart, lineEnd - lineStart),
                                 request.find, request.replacement, request.wholeWord,
                                 request.matchCase);
            lineStart = lineEnd + 1;
        }
        if (!hits.empty()) {
            count += static_cast<int>(hits.size());
            paragraphs.push_back({block.position(), holdsObjects(text), std::move(hits)});
        }
        if (blockNumber % ReportEvery == 0)
            report(static_cast<int>(static_cast<qint64>(blockNumber) * ScanPermille / blocks));
    }
    report(ScanPermille);
    if (paragraphs.empty()) {
        report(1000);
        return 0;
    }

    // Then the paragraphs, last first, so the positions of those still to come
    // stay valid; one edit block makes them a single change. A long document is
    // laid out again step by step afterwards, as after loading a file, instead
    // of all at once inside this call: without a page size the layout only
    // forgets the changed paragraphs, and giving the size back starts it over.
    // (The view then shows the laid-out part until the caret is needed again.)
    const QSizeF pageSize = doc.pageSize();
    const bool deferLayout = doc.characterCount() >= DeferLayoutFrom;
    if (deferLayout)
        doc.setPageSize(QSizeF(0, 0));
    ParagraphRewriter rewriter(doc, request);
    rewriter.cursor().beginEditBlock();
    const int total = static_cast<int>(paragraphs.size());
    for (int i = total - 1; i >= 0; --i) {
        rewriter.rewrite(paragraphs[static_cast<size_t>(i)]);
        const int done = total - i;
        if (done % ReportEvery == 0)
            report(ScanPermille +
                   static_cast<int>(static_cast<qint64>(done) * (1000 - ScanPermille) / total));
    }
    rewriter.cursor().endEditBlock();
    if (deferLayout)
        doc.setPageSize(pageSize);
    report(1000);
    return count;
}

} // namespace quillory
