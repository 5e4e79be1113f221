#pragma once

#include <QString>

// The player's commands that other windows and the desktop run (the editor's
// function keys, media keys, foot pedals). Each does what the player's own
// button or menu item does.
class PlayerCommands {
public:
    virtual ~PlayerCommands() = default;
    // Play, or pause with the rewind of a pause.
    virtual void playOrPause() = 0;
    virtual void jumpForward() = 0;
    virtual void jumpBack() = 0;
    // Ends the program as the player's Exit does, asking about unsaved text.
    virtual void quitProgram() = 0;
    virtual void toggleBookmarkList() = 0;
    // A named bookmark at the current position; the keyboard goes back to
    // the window that asked once it is named.
    virtual void addNamedBookmark() {}
    // The file label between the file's name and its whole path.
    virtual void toggleFullTitle() = 0;
    virtual void showHelp() = 0;
    virtual void openSoundSettings() = 0;
    // Settings the editor shares with the player.
    virtual QString languageFile() const = 0;
    virtual QString editorFolder() const = 0;
    virtual void setEditorFolder(const QString &folder) = 0;
    // Timestamps in the transcript: whether a media file is open, where it is,
    // and playing from a position as a bookmark does (playing on a little before
    // it, or staying paused there).
    virtual bool hasMedia() = 0;
    virtual qint64 mediaPositionMs() = 0;
    virtual void playFromMediaPosition(qint64 ms) = 0;
    // The open media's length, which a subtitle file's last cue runs to; 0 when
    // none is open or it is not known.
    virtual qint64 mediaLengthMs() { return 0; }
    // Playback speed and the loop over the last seconds heard.
    virtual void slowDown() {}
    virtual void speedUp() {}
    virtual void normalSpeed() {}
    virtual void toggleLoop() {}
};
