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

void SessionDesktopPlayer::jumpKeepingState(bool forward)
{
    if (!hasMedia())
        return;
    // A jump of no seconds set goes 2 s, as the player's keys do.
    const std::int32_t seconds = m_session.jumpSeconds() == 0 ? 2 : m_session.jumpSeconds();
    const double delta = static_cast<double>(seconds) * 1000.0 * (forward ? 1.0 : -1.0);
    double target = m_session.position() + delta;
    if (!(target > 0))
        target = 0;
    if (const std::optional<double> total = m_session.length(); total && target > *total)
        target = *total;
    m_session.seekKeepingState(static_cast<std::int64_t>(target));
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
