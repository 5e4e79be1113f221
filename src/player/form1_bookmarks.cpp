// The player's bookmark commands; the list window is the dock's
// (BookmarkListDock), the table and its file the session's.
#include "form1.h"

#include <QAction>

using namespace quillory;

void Form1::connectBookmarkMenus()
{
    connect(mnuAddBM, &QAction::triggered, this, &Form1::mnuAddBM_Click);
    connect(mnuBMsuccessivo, &QAction::triggered, this, &Form1::mnuBMsuccessivo_Click);
    connect(mnuBMprecedente, &QAction::triggered, this, &Form1::mnuBMprecedente_Click);
}

void Form1::setBookmarkWindowFactory(BookmarkWindowFactory factory)
{
    m_bookmarks->setFactory(std::move(factory));
}

BookmarkWindow *Form1::bookmarkWindow()
{
    return m_bookmarks->listWindow();
}

QRect Form1::editorAboveFrame()
{
    return m_bookmarks->frameAbove(frameGeometry());
}

QRect Form1::editorAboveFrameFor(const QRect &playerFrame) const
{
    return m_bookmarks->frameAbove(playerFrame);
}

void Form1::SaveBookmarks()
{
    m_session.saveBookmarks();
}

void Form1::mnuBookMark_Click()
{
    m_bookmarks->toggle();
}

void Form1::mnuAddBM_Click()
{
    if (m_bookmarks->addBookmark())
        m_services.messages->beep();
}

void Form1::goToBookmark(bool forward)
{
    if (m_session.goToBookmark(forward) == PlayerSession::BookmarkJump::NoBookmark)
        m_services.messages->beep();
}

void Form1::mnuBMsuccessivo_Click()
{
    goToBookmark(true);
}

void Form1::mnuBMprecedente_Click()
{
    goToBookmark(false);
}
