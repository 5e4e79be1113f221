#include "form2.h"

#include "editor/editor_keys.h"
#include "editor/rich_text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

using namespace quillory;

// ---------------------------------------------------------------- keys

bool Form2::RTB_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    switch (editorKeyFor(key, modifiers, m_player.languageFile())) {
    case EditorKey::None:
        return false;
    case EditorKey::Bold:
        Label2_Click(4);
        return true;
    case EditorKey::Italic:
        // Italic and nothing else: no tab is typed here that would need taking back.
        Label2_Click(5);
        return true;
    case EditorKey::Underline:
        Label2_Click(6);
        return true;
    case EditorKey::Ignore:
        // The other language group's letter: nothing, not even the control's
        // own binding (Ctrl+U would delete the line on X11).
        return true;
    case EditorKey::Undo:
        mnuAnnulla_Click();
        return true;
    case EditorKey::Redo:
        mnuRipeti_Click();
        return true;
    case EditorKey::Find:
        mnuTrova_Click();
        return true;
    case EditorKey::AddBookmark:
        m_player.addNamedBookmark();
        return true;
    case EditorKey::Exit:
        m_player.quitProgram();
        return true;
    case EditorKey::Help:
        m_player.showHelp();
        return true;
    case EditorKey::PlayPause:
        m_player.playOrPause();
        return true;
    case EditorKey::JumpBack:
        m_player.jumpBack();
        return true;
    case EditorKey::JumpForward:
        m_player.jumpForward();
        return true;
    case EditorKey::Bookmarks:
        m_player.toggleBookmarkList();
        return true;
    case EditorKey::AudioSettings:
        m_player.openSoundSettings();
        return true;
    case EditorKey::FullPath:
        m_player.toggleFullTitle();
        return true;
    }
    return false;
}

void Form2::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        m_player.quitProgram();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

// ---------------------------------------------------------------- undo history

void Form2::RTB_Change()
{
    m_files->setModified(true);
    if (m_undoRestoring)
        return;
    m_undo.record(RTB->Snapshot());
}

void Form2::restoreSnapshot(const DocumentSnapshot &snapshot)
{
    m_undoRestoring = true;
    RTB->setSnapshot(snapshot);
    m_undoRestoring = false;
    m_files->setModified(!m_undo.isClean());
}

void Form2::mnuAnnulla_Click()
{
    if (const std::optional<DocumentSnapshot> previous = m_undo.undo())
        restoreSnapshot(*previous);
}

void Form2::mnuRipeti_Click()
{
    // Past the newest snapshot there is nothing to redo: nothing changes.
    if (const std::optional<DocumentSnapshot> next = m_undo.redo())
        restoreSnapshot(*next);
}

// ---------------------------------------------------------------- clipboard

void Form2::mnuTaglia_Click()
{
    QApplication::clipboard()->clear();
    RTB->cut();
}

void Form2::mnuCopia_Click()
{
    QApplication::clipboard()->clear();
    RTB->copy();
}

void Form2::mnuIncolla_Click()
{
    RTB->paste();
}

void Form2::mnuSelezionaTutto_Click()
{
    RTB->setSelStart(0);
    RTB->setSelLength(int(RTB->Text().size()));
    RTB->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------- find and replace

void Form2::mnuTrova_Click()
{
    m_findMode = QString();
    if (m_openFindDialog)
        m_openFindDialog();
}

void Form2::mnuSostituisci_Click()
{
    m_findMode = QStringLiteral("1");
    if (m_openFindDialog)
        m_openFindDialog();
}
