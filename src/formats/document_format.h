#pragma once

#include <QString>
#include <optional>

class QTextDocument;

namespace quillory {

// The kinds of file a transcript is read from and written to.
enum class DocumentFormat {
    Rtf,          // all the editor's formatting
    PlainText,    // UTF-8 text, no formatting
    SubRip,       // .srt cues, bold/italic/underline only
    WebVtt,       // .vtt cues, bold/italic/underline only
    OpenDocument, // .odt, written only
};

// The format a file name's extension names (case ignored); nothing for others.
std::optional<DocumentFormat> formatFromExtension(const QString &path);
// The short name used on command lines and as the extension: "rtf", "txt",
// "srt", "vtt", "odt"; and back (case ignored).
QString formatName(DocumentFormat format);
std::optional<DocumentFormat> formatFromName(const QString &name);

// Whether the editor can open files of the format.
bool isReadable(DocumentFormat format);

// Whether writing `doc` in `format` would leave out formatting the document
// has: anything for plain text; fonts, sizes, colours, strike-through,
// alignment and lists for subtitles. RTF and OpenDocument keep it all.
bool dropsFormatting(const QTextDocument &doc, DocumentFormat format);

} // namespace quillory
