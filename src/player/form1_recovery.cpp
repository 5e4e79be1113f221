// Reopening the media file of a recovered session.
#include "form1.h"

using namespace quillory;

void Form1::resumeRecoveredMedia(const QString &path, qint64 positionMs)
{
    if (path.isEmpty())
        return;
    // The usual open: a file that has gone is reported as any missing file is.
    // It starts playback; the user was typing, not listening, when the copy
    // was written: once the file plays, stop where it was and let the play key
    // resume.
    OpenMediaFile(path, [this, positionMs] {
        m_session.restAt(positionMs);
        ReturnFocus();
    });
}
