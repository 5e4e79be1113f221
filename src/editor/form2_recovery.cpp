// A transcript put back from the recovery copy.
#include "editor/rich_text_box.h"
#include "form2.h"

void Form2::takeRecoveredDocument(const QByteArray &rtf, const QString &documentPath)
{
    RTB->setTextRTF(rtf);
    m_documentPath = documentPath;
    m_formats.startDocument(TranscriptFormats::formatForName(documentPath));
    if (documentPath.isEmpty())
        showUntitledCaption();
    else
        setCaptionFromPath(documentPath);
    // Not saved anywhere yet: the close question and the journal both see it.
    m_documentModified = true;
}
