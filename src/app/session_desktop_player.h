#pragma once

#include "contracts/desktop_player.h"

#include <functional>

namespace quillory {

class PlayerSession;

// The player session as the desktop integration sees it; opening a file and
// raising the windows are the windows' own, handed in by the composition root.
class SessionDesktopPlayer : public DesktopPlayer {
public:
    SessionDesktopPlayer(PlayerSession &session, std::function<void(const QString &)> open,
                         std::function<void()> raise);

    bool hasMedia() override;
    bool isPlaying() override;
    qint64 positionMs() override;
    qint64 lengthMs() override;
    QString mediaPath() override;
    void seekTo(qint64 ms) override;
    void jumpKeepingState(bool forward) override;
    void stop() override;
    void openMedia(const QString &path) override;
    void raiseWindows() override;

private:
    PlayerSession &m_session;
    std::function<void(const QString &)> m_open;
    std::function<void()> m_raise;
};

} // namespace quillory
