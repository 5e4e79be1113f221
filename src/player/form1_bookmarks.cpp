// The player's side of the bookmarks: the table of the current media file, its
// .bm file at a media switch and at the end, the list window's show/hide and
// add commands, and going to the next or previous bookmark.
#include "contracts/bookmark_window.h"
#include "form1.h"

#include <QAction>

using namespace quillory;

void Form1::connectBookmarkMenus()
{
    connect(mnuAddBM, &QAction::triggered, this, &Form1::mnuAddBM_Click);
    connect(mnuBMsuccessivo, &QAction::triggered, this, &Form1::mnuBMsuccessivo_Click);
    connect(mnuBMprecedente, &QAction::triggered, this, &Form1::mnuBMprecedente_Click);
}

// The list window follows the session's table: emptied when a file leaves,
// unloaded before a file's bookmarks are read (unloading copies the empty
// lists back), and shown once they are.
void Form1::connectSessionBookmarks()
{
    connect(&m_session, &PlayerSession::bookmarksLeft, this, [this](bool hadBookmarks) {
        if (hadBookmarks && m_bookmarkWindow && m_bookmarkWindow->isLoaded())
            m_bookmarkWindow->clearLists();
    });
    connect(&m_session, &PlayerSession::bookmarkFileFound, this, [this] {
        if (m_bookmarkWindow && m_bookmarkWindow->isLoaded())
            m_bookmarkWindow->unload();
    });
    connect(&m_session, &PlayerSession::bookmarksLoaded, this, &Form1::mnuBookMark_Click);
}

void Form1::setBookmarkWindowFactory(BookmarkWindowFactory factory)
{
    m_bookmarkWindowFactory = std::move(factory);
}

BookmarkWindow *Form1::bookmarkWindow()
{
    if (!m_bookmarkWindow && m_bookmarkWindowFactory) {
        m_bookmarkWindow = m_bookmarkWindowFactory();
        if (m_bookmarkWindow) {
            m_bookmarkWindow->applyLanguage();
            addCompanionWindow(m_bookmarkWindow.get());
        }
    }
    return m_bookmarkWindow.get();
}

QWidget *Form1::editorWindow()
{
    return editorWidget();
}

void Form1::setBookmarkMenuCaption(bool windowShown)
{
    mnuBookMark->setText(m_language.T(windowShown ? 85 : 84) + QStringLiteral(" &BookMarks"));
}

void Form1::bookmarkWindowUnloaded()
{
    setBookmarkMenuCaption(false);
}

void Form1::applyBookmarkLanguage()
{
    setBookmarkMenuCaption(m_bookmarkWindow && m_bookmarkWindow->isShown());
    if (m_bookmarkWindow)
        m_bookmarkWindow->applyLanguage();
}

QRect Form1::editorAboveFrame()
{
    // The player's outer frame, reaching down to the list's bottom while the
    // list beside it shows bookmarks; a hidden list leaves no gap.
    QRect above = frameGeometry();
    if (!m_session.bookmarks().isEmpty() && m_bookmarkWindow && m_bookmarkWindow->isShown()) {
        const QRect list = m_bookmarkWindow->placement();
        above.setHeight(list.y() + list.height() - above.y());
    }
    return above;
}

void Form1::SaveBookmarks()
{
    m_session.saveBookmarks();
}

// ---------------------------------------------------------------- commands

void Form1::mnuBookMark_Click()
{
    BookmarkWindow *window = bookmarkWindow();
    if (!window)
        return;
    if (window->isShown()) {
        setBookmarkMenuCaption(false);
        window->hideWindow();
    } else {
        setBookmarkMenuCaption(true);
        window->showBesidePlayer();
    }
}

void Form1::mnuAddBM_Click()
{
    BookmarkWindow *window = bookmarkWindow();
    if (!window)
        return;
    setBookmarkMenuCaption(true);
    window->showBesidePlayer();
    window->addBookmark();
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
