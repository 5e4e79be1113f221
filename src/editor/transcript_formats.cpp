#include "editor/transcript_formats.h"

#include "editor/rich_text_box.h"
#include "formats/transcript_file.h"
#include "i18n/captions.h"

#include <QTextDocument>

using namespace quillory;

namespace {

QString subtitleNotice(const SubtitleReadReport &report)
{
    return caption(QStringLiteral("formats.subtitleNotice"),
                   QStringLiteral("%1 cue(s) could not be read as written, the first at line "
                                  "%2. The text was kept as far as it made sense."))
        .arg(report.problems)
        .arg(report.firstProblemLine);
}

} // namespace

DocumentFormat TranscriptFormats::formatForName(const QString &path)
{
    const std::optional<DocumentFormat> named = formatFromExtension(path);
    return named.value_or(DocumentFormat::Rtf);
}

FileResult TranscriptFormats::open(RichTextBox &box, const QString &path,
                                   const TimestampSettings &timestamps)
{
    QByteArray bytes;
    if (const FileResult read = RichTextBox::readTranscriptFile(path, &bytes); !read)
        return read;
    const DocumentFormat format = detectReadFormat(path, bytes);
    if (format == DocumentFormat::Rtf || format == DocumentFormat::PlainText) {
        // The box's own reader, with its account of damaged RTF.
        const FileResult loaded = box.loadBytes(bytes);
        if (loaded)
            startDocument(format);
        return loaded;
    }
    if (!isReadable(format)) {
        return FileResult::failure(
            caption(QStringLiteral("formats.odtNotRead"),
                    QStringLiteral("OpenDocument files can be saved but not opened. Open the "
                                   "transcript's RTF copy instead.")));
    }
    QTextDocument loaded;
    const TranscriptReadResult result = readTranscript(
        path, bytes, &loaded, TranscriptReadOptions{timestamps.format, timestamps.offsetMs});
    box.setDocumentContent(loaded);
    startDocument(format);
    FileResult opened = FileResult::success();
    if (result.subtitles.problems > 0)
        opened.reason = subtitleNotice(result.subtitles);
    return opened;
}

QByteArray TranscriptFormats::bytes(const QTextDocument &doc, DocumentFormat format,
                                    const TimestampSettings &timestamps, qint64 mediaLengthMs)
{
    CueOptions cues;
    cues.offsetMs = timestamps.offsetMs;
    cues.mediaLengthMs = mediaLengthMs;
    cues.splitUnitMs = Timestamps::unitMs(timestamps.format);
    return transcriptBytes(doc, format, cues);
}

bool TranscriptFormats::shouldAskBeforeWriting(const QTextDocument &doc,
                                               DocumentFormat format) const
{
    return m_agreedLoss != format && dropsFormatting(doc, format);
}

void TranscriptFormats::setCurrent(DocumentFormat format)
{
    if (m_agreedLoss != format)
        m_agreedLoss.reset();
    m_current = format;
}

void TranscriptFormats::startDocument(DocumentFormat format)
{
    m_agreedLoss.reset();
    m_current = format;
}
