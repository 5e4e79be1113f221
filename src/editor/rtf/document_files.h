#pragma once

#include <QString>

class QTextDocument;

namespace quillory {

// File operations of the transcript document. Loading never touches doc when
// the file cannot be read; saving goes through a temporary file in the same
// folder, so an existing file is either replaced whole or left as it was.

// RTF when the file starts with "{\rtf", plain text otherwise. A damaged RTF
// file is still loaded as far as it goes; the call then returns false with a
// message in *error.
bool loadDocumentFile(const QString &path, QTextDocument *doc, QString *error = nullptr);
bool loadPlainTextFile(const QString &path, QTextDocument *doc, QString *error = nullptr);
bool saveRtfFile(const QString &path, const QTextDocument &doc, QString *error = nullptr);
bool savePlainTextFile(const QString &path, const QTextDocument &doc, QString *error = nullptr);

} // namespace quillory
