#pragma once

#include <QString>
#include <QtGlobal>

namespace quillory {

// What the desktop integration (media keys, foot pedals) reads from the player
// and the few things it does beyond the player's own commands. The composition
// root implements it on top of the player window.
class DesktopPlayer {
public:
    virtual ~DesktopPlayer() = default;
    virtual bool hasMedia() = 0;
    virtual bool isPlaying() = 0;
    virtual qint64 positionMs() = 0;
    virtual qint64 lengthMs() = 0;
    // The open file's full path; empty when nothing is open.
    virtual QString mediaPath() = 0;
    // Moves playback to `ms` and keeps playing or paused as it was.
    virtual void seekTo(qint64 ms) = 0;
    // The jump of the player's back or forward key, playing or paused as it was.
    virtual void jumpKeepingState(bool forward) = 0;
    virtual void stop() = 0;
    virtual void openMedia(const QString &path) = 0;
    virtual void raiseWindows() = 0;
};

} // namespace quillory
