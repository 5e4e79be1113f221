#pragma once

#include "formats/document_format.h"
#include "formats/timestamps.h"
#include "platform/files/text_file.h"

#include <QByteArray>
#include <optional>

class QTextDocument;
class RichTextBox;

// The format the transcript was opened or last saved in, so that Save writes
// it back the same way, and whether the user has already agreed to lose the
// formatting that format cannot hold.
class TranscriptFormats {
public:
    // The format a Save As under this name writes: the one its extension names,
    // RTF for any other name.
    static quillory::DocumentFormat formatForName(const QString &path);

    // Opens any format the editor reads into the box. Subtitle cues become
    // paragraphs starting with a timestamp in the user's format; what a damaged
    // file did not hold as written is described in the result's reason. A file
    // that cannot be read leaves the box as it was.
    quillory::FileResult open(RichTextBox &box, const QString &path,
                              const quillory::TimestampSettings &timestamps);

    // The document's bytes in `format`. Subtitle cues take the user's offset,
    // the last one runs to the media's end when one is open.
    static QByteArray bytes(const QTextDocument &doc, quillory::DocumentFormat format,
                            const quillory::TimestampSettings &timestamps, qint64 mediaLengthMs);

    // Whether to ask before writing `format`: it drops formatting the document
    // has, and the user has not yet agreed to that for this format.
    bool shouldAskBeforeWriting(const QTextDocument &doc, quillory::DocumentFormat format) const;
    void agreeToLoss(quillory::DocumentFormat format) { m_agreedLoss = format; }

    quillory::DocumentFormat current() const { return m_current; }
    // The document was saved in a format: an agreement for another no longer holds.
    void setCurrent(quillory::DocumentFormat format);
    // Another document (opened, new or recovered) in the format; nothing agreed yet.
    void startDocument(quillory::DocumentFormat format);

private:
    quillory::DocumentFormat m_current = quillory::DocumentFormat::Rtf;
    std::optional<quillory::DocumentFormat> m_agreedLoss;
};
