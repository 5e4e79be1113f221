#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace quillory {

// True when the data starts (after an optional UTF-8 byte order mark and white
// space) with "{\rtf".
bool isRtf(const QByteArray &data);

// What a read brought in that the document cannot hold as the file had it.
struct RtfReadReport {
    // Footnotes, each now text where its mark stood: "[1: text of the note]".
    int footnotes = 0;
    // The language the text is written in (\lang, else \deflang), as a
    // Windows language identifier; 0 when the file names none.
    int language = 0;
};

// Replaces the content of doc with the file's content. RTF keeps its text,
// character formatting (bold, italic, underline, strike-through, font, size,
// colour), alignment and lists (kind of number or bullet, start, level); text
// the document has no place for (footnotes, the Unicode alternative of \upr,
// text boxes, object results) arrives as text. Anything that is not RTF is read
// as plain text (see readPlainText). Returns false with a message in *error when
// the RTF is damaged (unbalanced braces, truncated); doc then holds everything
// that could be read.
bool readRtf(const QByteArray &data, QTextDocument *doc, QString *error = nullptr,
             RtfReadReport *report = nullptr);

} // namespace quillory
