#pragma once

// A player as the desktop integration sees it, with no session behind it: it
// records the commands that reach it and moves only when told.

#include "contracts/desktop_player.h"
#include "contracts/player_commands.h"

#include <QStringList>

namespace quillory::test {

class FakeDesktopPlayer : public DesktopPlayer, public PlayerCommands {
public:
    QStringList calls;
    bool media = true;
    bool playing = false;
    qint64 position = 30000;
    qint64 length = 120000;
    QString path = QStringLiteral("/srv/talk.mp3");

    // DesktopPlayer
    bool hasMedia() override { return media; }
    bool isPlaying() override { return media && playing; }
    qint64 positionMs() override { return position; }
    qint64 lengthMs() override { return length; }
    QString mediaPath() override { return media ? path : QString(); }
    void seekTo(qint64 ms) override
    {
        calls << QStringLiteral("seek %1").arg(ms);
        position = ms;
    }
    void jumpKeepingState(bool forward) override
    {
        calls << (forward ? QStringLiteral("jump forward") : QStringLiteral("jump back"));
        position += forward ? 5000 : -5000;
    }
    void stop() override
    {
        calls << QStringLiteral("stop");
        playing = false;
        position = 0;
    }
    void openMedia(const QString &p) override
    {
        calls << QStringLiteral("open ") + p;
        media = true;
        path = p;
        position = 0;
        // As the player does when another file was playing: the new one waits.
        playing = false;
    }
    void raiseWindows() override { calls << QStringLiteral("raise"); }

    // PlayerCommands
    void playOrPause() override
    {
        calls << QStringLiteral("play/pause");
        playing = !playing;
    }
    void jumpForward() override
    {
        calls << QStringLiteral("forward");
        position += 5000;
        playing = true; // the player's key plays on from there
    }
    void jumpBack() override
    {
        calls << QStringLiteral("back");
        position -= 5000;
        playing = true;
    }
    void quitProgram() override { calls << QStringLiteral("exit"); }
    void toggleBookmarkList() override {}
    void toggleFullTitle() override {}
    void showHelp() override {}
    void openSoundSettings() override {}
    QString languageFile() const override { return QStringLiteral("English.lng"); }
    QString editorFolder() const override { return QString(); }
    void setEditorFolder(const QString &) override {}
    qint64 mediaPositionMs() override { return position; }
    void playFromMediaPosition(qint64) override {}
};

} // namespace quillory::test
