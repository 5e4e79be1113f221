#pragma once

#include "formats/document_format.h"
#include "formats/subtitle_cues.h"
#include "formats/subtitle_reader.h"
#include "platform/files/text_file.h"

#include <QByteArray>

class QTextDocument;

namespace quillory {

// The document as an OpenDocument Text file, through Qt's writer; empty when
// the writer fails.
QByteArray writeOpenDocument(const QTextDocument &doc);

// The document's bytes in `format`; `cues` times the subtitle formats.
QByteArray transcriptBytes(const QTextDocument &doc, DocumentFormat format, const CueOptions &cues);

// How a transcript file is read: subtitles become timestamped paragraphs in
// the given timestamp format and offset.
struct TranscriptReadOptions {
    Timestamps::Format timestampFormat = Timestamps::Format::MinutesSeconds;
    qint64 offsetMs = 0;
};

// What reading found. `ok` false: a format that cannot be read, and the
// document is as it was. Otherwise `damage` is the RTF reader's account of
// what it could not read (empty when all was well), `subtitles` the subtitle
// reader's.
struct TranscriptReadResult {
    bool ok = true;
    DocumentFormat format = DocumentFormat::Rtf;
    QString damage;
    int footnotes = 0;
    SubtitleReadReport subtitles;
};

// The format a file's bytes are read as: RTF by its header, subtitles by the
// extension (or a "WEBVTT" header), plain text otherwise; OpenDocument by its
// extension, which cannot be read.
DocumentFormat detectReadFormat(const QString &path, const QByteArray &bytes);

// Reads the bytes of `path` into `doc`.
TranscriptReadResult readTranscript(const QString &path, const QByteArray &bytes,
                                    QTextDocument *doc, const TranscriptReadOptions &options);

// The largest transcript file converted whole (the editor opens smaller ones).
constexpr qint64 TranscriptFileLimit = 512 * 1024 * 1024;

} // namespace quillory
