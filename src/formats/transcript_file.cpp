#include "formats/transcript_file.h"

#include "formats/subtitle_writer.h"
#include "rtf/plain_text.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

#include <QBuffer>
#include <QTextDocument>
#include <QTextDocumentWriter>

namespace quillory {

QByteArray writeOpenDocument(const QTextDocument &doc)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QTextDocumentWriter writer(&buffer, QByteArrayLiteral("odf"));
    if (!writer.write(&doc))
        return QByteArray();
    return bytes;
}

QByteArray transcriptBytes(const QTextDocument &doc, DocumentFormat format, const CueOptions &cues)
{
    switch (format) {
    case DocumentFormat::Rtf:
        return writeRtf(doc);
    case DocumentFormat::PlainText:
        return toPlainTextFile(doc);
    case DocumentFormat::SubRip:
        return writeSubRip(cuesFromDocument(doc, cues));
    case DocumentFormat::WebVtt:
        return writeWebVtt(cuesFromDocument(doc, cues));
    case DocumentFormat::OpenDocument:
        return writeOpenDocument(doc);
    }
    return QByteArray();
}

DocumentFormat detectReadFormat(const QString &path, const QByteArray &bytes)
{
    if (isRtf(bytes))
        return DocumentFormat::Rtf;
    const std::optional<DocumentFormat> named = formatFromExtension(path);
    if (named == DocumentFormat::SubRip || named == DocumentFormat::WebVtt ||
        named == DocumentFormat::OpenDocument)
        return *named;
    const QByteArray head = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3, 6) : bytes.left(6);
    if (head == "WEBVTT")
        return DocumentFormat::WebVtt;
    return DocumentFormat::PlainText;
}

TranscriptReadResult readTranscript(const QString &path, const QByteArray &bytes,
                                    QTextDocument *doc, const TranscriptReadOptions &options)
{
    TranscriptReadResult result;
    result.format = detectReadFormat(path, bytes);
    switch (result.format) {
    case DocumentFormat::Rtf: {
        RtfReadReport report;
        QString why;
        if (!readRtf(bytes, doc, &why, &report))
            result.damage = why;
        result.footnotes = report.footnotes;
        break;
    }
    case DocumentFormat::SubRip:
    case DocumentFormat::WebVtt:
        readSubtitles(bytes, doc, options.timestampFormat, options.offsetMs, &result.subtitles);
        break;
    case DocumentFormat::OpenDocument:
        result.ok = false;
        break;
    case DocumentFormat::PlainText:
        readPlainText(bytes, doc);
        break;
    }
    return result;
}

} // namespace quillory
