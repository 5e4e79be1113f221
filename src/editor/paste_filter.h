#pragma once

#include <QTextDocumentFragment>

class QMimeData;
class QTextCharFormat;
class QTextDocument;

namespace quillory {

// Pasted or dropped content, rebuilt with only what the transcript file keeps:
// text, bold, italic, underline, strike-through, font, size, colour, paragraph
// alignment and bullets. Everything else comes in as plain text: pictures are
// left out, table cells become tab-separated paragraphs, links lose their
// target, highlighting and other looks are dropped, and numbered lists become
// bulleted ones. So what the user sees after a paste is what a save writes.
QTextDocumentFragment keepSavableContent(const QTextDocumentFragment &pasted);

// Plain text as the file can hold it: line ends as paragraph ends, no control
// characters but the tab, no object placeholders.
QString savablePlainText(const QString &text);

// The character formatting that survives, relative to `document`'s default font
// (sizes given in pixels or as relative steps become point sizes).
QTextCharFormat savableCharFormat(const QTextCharFormat &format, const QTextDocument &document);

} // namespace quillory
