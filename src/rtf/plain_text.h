#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace quillory {

// Characters that never go into a document's text: control characters other
// than tab, and those that would split or corrupt its block structure
// (paragraph separator, object replacement, frame markers).
bool isUnwantedCharacter(QChar ch);

// The text with its unwanted characters left out.
QString withoutUnwantedCharacters(QStringView text);

// Text of a plain-text file: UTF-8 when the bytes are valid UTF-8 (a byte order
// mark is dropped), Windows-1252 otherwise.
QString decodePlainText(const QByteArray &data);

// Replaces the content of doc with the file's text, without formatting. Lines
// may end with LF, CR LF or CR; each line becomes a paragraph, and a final line
// end does not start another paragraph.
void readPlainText(const QByteArray &data, QTextDocument *doc);

// The document as a UTF-8 text file: one line per paragraph, each ended by
// CR LF. A line break inside a paragraph (U+2028) also ends a line, so the
// file reads naturally line by line.
QByteArray toPlainTextFile(const QTextDocument &doc);

} // namespace quillory
