#include "player_window_commands.h"

#include "platform/services/services.h"
#include "player/form1.h"
#include "session/player_session.h"

#include <algorithm>
#include <cmath>

using namespace quillory;

PlayerWindowCommands::PlayerWindowCommands(Form1 &window, PlayerSession &session,
                                           MessageBoxes &messages)
    : m_window(window), m_session(session), m_messages(messages)
{
}

void PlayerWindowCommands::playOrPause()
{
    m_window.cmdPlay_Click();
}
void PlayerWindowCommands::jumpForward()
{
    m_window.cmdAvanz_click();
}
void PlayerWindowCommands::jumpBack()
{
    m_window.cmdIndietro_Click();
}
void PlayerWindowCommands::quitProgram()
{
    m_window.mnuEsci_Click();
}
void PlayerWindowCommands::toggleBookmarkList()
{
    m_window.mnuBookMark_Click();
}
void PlayerWindowCommands::addNamedBookmark()
{
    m_window.mnuAddBM_Click();
}
void PlayerWindowCommands::toggleFullTitle()
{
    m_window.mnuTitoloCompleto_Click();
}
void PlayerWindowCommands::showHelp()
{
    m_window.links().openHelpPage();
}
void PlayerWindowCommands::openSoundSettings()
{
    m_window.links().openSoundSettings();
}
void PlayerWindowCommands::slowDown()
{
    m_window.speedLoopMenu().slower();
}
void PlayerWindowCommands::speedUp()
{
    m_window.speedLoopMenu().faster();
}
void PlayerWindowCommands::normalSpeed()
{
    m_window.speedLoopMenu().normalSpeed();
}
void PlayerWindowCommands::toggleLoop()
{
    m_window.speedLoopMenu().toggleLoop();
}

QString PlayerWindowCommands::languageFile() const
{
    return m_window.languageFile();
}
QString PlayerWindowCommands::editorFolder() const
{
    return m_window.editorFolder();
}

void PlayerWindowCommands::setEditorFolder(const QString &folder)
{
    m_window.setEditorFolder(folder);
}

bool PlayerWindowCommands::hasMedia()
{
    return m_session.hasMedia();
}

qint64 PlayerWindowCommands::mediaPositionMs()
{
    return static_cast<qint64>(std::floor(std::max(0.0, m_session.position())));
}

qint64 PlayerWindowCommands::mediaLengthMs()
{
    const std::optional<double> length = m_session.length();
    return length ? static_cast<qint64>(std::max(0.0, *length)) : 0;
}

// A timestamp the session cannot play from (no media, past the end) beeps.
void PlayerWindowCommands::playFromMediaPosition(qint64 ms)
{
    if (!m_session.playFromTimestamp(ms))
        m_messages.beep();
}
