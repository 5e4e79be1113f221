#include "session_desktop_player.h"

#include "session/player_session.h"

namespace quillory {

SessionDesktopPlayer::SessionDesktopPlayer(PlayerSession &session,
                                           std::function<void(const QString &)> open,
                                           std::function<void()> raise)
    : m_session(session), m_open(std::move(open)), m_raise(std::move(raise))
{
}

bool SessionDesktopPlayer::hasMedia()
{
    return m_session.hasMedia();
}

bool SessionDesktopPlayer::isPlaying()
{
    return hasMedia() && m_session.playState() == PlayState::Playing;
}

qint64 SessionDesktopPlayer::positionMs()
{
    return hasMedia() ? static_cast<qint64>(m_session.position()) : 0;
}

qint64 SessionDesktopPlayer::lengthMs()
{
    return static_cast<qint64>(m_session.length().value_or(0));
}

QString SessionDesktopPlayer::mediaPath()
{
    return hasMedia() ? m_session.mediaPath() : QString();
}

void SessionDesktopPlayer::seekTo(qint64 ms)
{
    m_session.seekKeepingState(ms);
}

void SessionDesktopPlayer::stop()
{
    if (hasMedia())
        m_session.stop();
}

void SessionDesktopPlayer::openMedia(const QString &path)
{
    m_open(path);
}

void SessionDesktopPlayer::raiseWindows()
{
    m_raise();
}

} // namespace quillory
