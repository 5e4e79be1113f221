#pragma once

#include "desktop/desktop_player.h"

class Form1;

namespace quillory {

class MediaControl;

// The player window as the desktop integration sees it.
class Form1DesktopPlayer : public DesktopPlayer {
public:
    Form1DesktopPlayer(Form1 &player, MediaControl &media);

    bool hasMedia() override;
    bool isPlaying() override;
    qint64 positionMs() override;
    qint64 lengthMs() override;
    QString mediaPath() override;
    void seekTo(qint64 ms) override;
    void stop() override;
    void openMedia(const QString &path) override;
    void raiseWindows() override;

private:
    Form1 &m_player;
    MediaControl &m_media;
};

} // namespace quillory
