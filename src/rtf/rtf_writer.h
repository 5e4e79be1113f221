#pragma once

#include <QByteArray>

class QTextDocument;

namespace quillory {

// The document as RTF that Word, LibreOffice Writer and WordPad open with the
// same text and formatting. Every paragraph, the last one included, ends with
// \par; bullets are written as WordPad-style \pn paragraphs; characters outside
// ASCII are written as \uN with a Windows-1252 (or "?") fallback. A `language`
// (a Windows language identifier, 1040 for Italian) is written as the
// document's default language (\deflang), which word processors check the
// spelling in.
QByteArray writeRtf(const QTextDocument &doc, int language = 0);

} // namespace quillory
