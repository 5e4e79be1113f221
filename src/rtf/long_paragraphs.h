#pragma once

class QTextDocument;

namespace quillory {

// Laying out a paragraph costs its whole length on every keystroke in it: at a
// million characters each key takes seconds and opening takes minutes. Files
// with such lines (a machine transcript on one line, a log) are opened with
// their long paragraphs cut into pieces of at most this many characters.
constexpr int LongestParagraph = 10000;

// Cuts every paragraph of `doc` longer than `limit` characters into paragraphs
// of at most `limit`, each cut after the last space or tab within the limit
// (or at the limit where a piece has none). The pieces keep the paragraph's
// format and their characters' formats; no character is lost. Returns the
// number of paragraphs that were cut. Linear in the document's length.
int cutLongParagraphs(QTextDocument *doc, int limit = LongestParagraph);

} // namespace quillory
