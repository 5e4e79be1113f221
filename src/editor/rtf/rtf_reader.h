#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace quillory {

// True when the data starts (after an optional UTF-8 byte order mark and white
// space) with "{\rtf".
bool isRtf(const QByteArray &data);

// Replaces the content of doc with the file's content. RTF keeps its text,
// character formatting (bold, italic, underline, strike-through, font, size,
// colour), alignment and bullets; anything else is read as plain text (see
// readPlainText). Returns false with a message in *error when the RTF is damaged
// (unbalanced braces, truncated); doc then holds everything that could be read.
bool readRtf(const QByteArray &data, QTextDocument *doc, QString *error = nullptr);

} // namespace quillory
