// Reopening the media file of a recovered session.
#include "form1.h"
#include "platform/files/text_file.h"

using namespace quillory;

void Form1::resumeRecoveredMedia(const QString &path, qint64 positionMs)
{
    if (path.isEmpty())
        return;
    // The usual open: a file that has gone is reported as any missing file is.
    OpenMediaFile(path);
    if (m_ended || m_mediaPath != path)
        return;
    double length = 0;
    qint64 target = positionMs > 0 ? positionMs : 0;
    // Stopped at the very end the display timer would rewind at once.
    if (queryLength(&length) && length > 0 && static_cast<double>(target) >= length)
        target = 0;
    // The open starts playback; the user was typing, not listening, when the
    // copy was written: stop where it was and let the play key resume.
    if (m_playState == PlayState::Playing) {
        setPlayState(PlayState::NotPlaying);
        Timer1.stop();
    }
    send(QStringLiteral("stop wav1"));
    send(QStringLiteral("seek wav1 to ") + QString::number(target));
    Timer1_Timer();
    ReturnFocus();
}
