#pragma once

#include "contracts/player_commands.h"

class Form1;
namespace quillory {
class MessageBoxes;
class PlayerSession;
} // namespace quillory

// The player window's commands as other windows and the desktop run them: the
// transport through the window (its focus and display follow), the timestamps
// straight through the session.
class PlayerWindowCommands : public PlayerCommands {
public:
    PlayerWindowCommands(Form1 &window, quillory::PlayerSession &session,
                         quillory::MessageBoxes &messages);

    void playOrPause() override;
    void jumpForward() override;
    void jumpBack() override;
    void quitProgram() override;
    void toggleBookmarkList() override;
    void addNamedBookmark() override;
    void toggleFullTitle() override;
    void showHelp() override;
    void openSoundSettings() override;
    QString languageFile() const override;
    QString editorFolder() const override;
    void setEditorFolder(const QString &folder) override;
    bool hasMedia() override;
    qint64 mediaPositionMs() override;
    qint64 mediaLengthMs() override;
    void playFromMediaPosition(qint64 ms) override;
    void slowDown() override;
    void speedUp() override;
    void normalSpeed() override;
    void toggleLoop() override;

private:
    Form1 &m_window;
    quillory::PlayerSession &m_session;
    quillory::MessageBoxes &m_messages;
};
