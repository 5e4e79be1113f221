#pragma once

#include <QList>
#include <QObject>
#include <QTextFormat>
#include <memory>

class QTextBlock;
class QTextDocument;

namespace quillory {

// One paragraph as it stood: its text, its character runs and its paragraph
// formats. Never changed once made, so snapshots share the paragraphs that an
// edit did not touch.
struct ParagraphState {
    struct Run {
        int length = 0;
        QTextCharFormat format;
        bool operator==(const Run &o) const { return length == o.length && format == o.format; }
    };
    QString text; // without the paragraph end
    QList<Run> runs;
    QTextBlockFormat blockFormat; // without its list membership
    QTextCharFormat blockCharFormat;
    bool inList = false;
    QTextListFormat listFormat;
    // Paragraphs of one list share it, whether or not they are neighbours. It
    // names the list only within one document's lifetime; compare snapshots
    // through DocumentSnapshot::sameContent, which matches lists by grouping.
    int listId = -1;

    // Same text and formatting (the list's identity aside).
    bool sameContent(const ParagraphState &other) const;
};
using ParagraphPtr = std::shared_ptr<const ParagraphState>;

// The whole content of a document at one moment: a list of shared paragraphs.
// Copying one is cheap; it costs memory only for paragraphs that differ.
struct DocumentSnapshot {
    QList<ParagraphPtr> paragraphs;

    // One empty paragraph with default formats: what an emptied document holds.
    static DocumentSnapshot empty();
    QString plainText() const;
    // Same paragraphs, and list paragraphs grouped into the same lists.
    bool sameContent(const DocumentSnapshot &other) const;
};

// Keeps a paragraph list in step with a document, re-reading only the
// paragraphs each change touches, so a snapshot of the whole content costs a
// few microseconds instead of a full serialisation.
class DocumentMirror {
public:
    explicit DocumentMirror(const QTextDocument *document);

    // Call for every contentsChange of the document (positions as reported).
    void contentsChanged(int position, int removed, int added);
    DocumentSnapshot snapshot() const { return {m_paragraphs}; }

    // Reads the whole document again.
    void rebuild();
    // True when the kept list equals a fresh reading of the document.
    bool matchesDocument() const;

    // Makes `document` hold `target`, editing only the paragraphs that differ
    // from the current content, as one edit (one change event). Returns the
    // position after the last rewritten paragraph (-1 when nothing differed).
    static int restore(QTextDocument *document, const DocumentSnapshot &current,
                       const DocumentSnapshot &target);

    static ParagraphPtr capture(const QTextBlock &block);

private:
    const QTextDocument *m_document;
    QList<ParagraphPtr> m_paragraphs;
};

} // namespace quillory
