#include "form1_desktop_player.h"

#include "editor/form2.h"
#include "platform/media/media_control.h"
#include "player/form1.h"

#include <array>

namespace quillory {

Form1DesktopPlayer::Form1DesktopPlayer(Form1 &player, MediaControl &media)
    : m_player(player), m_media(media)
{
}

bool Form1DesktopPlayer::hasMedia()
{
    return !m_media.alias().isEmpty();
}

bool Form1DesktopPlayer::isPlaying()
{
    return hasMedia() && m_player.playState() == PlayState::Playing;
}

qint64 Form1DesktopPlayer::positionMs()
{
    return hasMedia() ? static_cast<qint64>(m_player.CurPos()) : 0;
}

qint64 Form1DesktopPlayer::lengthMs()
{
    std::array<char, 128> reply{};
    if (!hasMedia() || m_media.sendString(QStringLiteral("status wav1 length"), reply.data(),
                                          static_cast<int>(reply.size())) != 0)
        return 0;
    return QString::fromUtf8(reply.data()).toLongLong();
}

QString Form1DesktopPlayer::mediaPath()
{
    return hasMedia() ? m_player.mediaPath() : QString();
}

void Form1DesktopPlayer::seekTo(qint64 ms)
{
    if (!hasMedia())
        return;
    if (isPlaying()) {
        m_media.sendString(QStringLiteral("play wav1 from ") + QString::number(ms));
        // The display catches up at once, and reaching the end ends as usual.
        m_player.Timer1_Timer();
    } else {
        m_media.sendString(QStringLiteral("seek wav1 to ") + QString::number(ms));
    }
}

void Form1DesktopPlayer::stop()
{
    if (hasMedia())
        m_player.mnuStop_Click();
}

void Form1DesktopPlayer::openMedia(const QString &path)
{
    m_player.OpenMediaFile(path);
}

void Form1DesktopPlayer::raiseWindows()
{
    m_player.showNormal();
    m_player.raise();
    m_player.activateWindow();
    if (Form2 *editor = m_player.form2(); editor && editor->isVisible()) {
        editor->raise();
        editor->activateWindow();
    }
}

} // namespace quillory
