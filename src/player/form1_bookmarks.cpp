// The player's side of the bookmarks: the table of the current media file, its
// .bm file at a media switch and at the end, the list window's show/hide and
// add commands, and going to the next or previous bookmark.
#include "bookmarks/bookmark_file.h"
#include "bookmarks/bookmark_navigation.h"
#include "bookmarks/bookmark_window.h"
#include "editor/form2.h"
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
    return form2();
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
    if (!m_bookmarkEntries.isEmpty() && m_bookmarkWindow && m_bookmarkWindow->isShown()) {
        const QRect list = m_bookmarkWindow->placement();
        above.setHeight(list.y() + list.height() - above.y());
    }
    return above;
}

// ---------------------------------------------------------------- the table and its file

void Form1::SaveBookmarks()
{
    // The table belongs to the media file it was loaded for; a failed open of
    // another file must not write these bookmarks under the new name.
    BookmarkFile::save(m_bookmarkMediaPath, m_bookmarkEntries);
}

void Form1::saveOutgoingBookmarks()
{
    const bool hadBookmarks = !m_bookmarkEntries.isEmpty();
    if (hadBookmarks || m_bookmarkEntries.heldBookmarks())
        SaveBookmarks();
    if (hadBookmarks && m_bookmarkWindow && m_bookmarkWindow->isLoaded())
        m_bookmarkWindow->clearLists();
}

void Form1::loadIncomingBookmarks()
{
    m_bookmarkEntries.startFresh();
    m_bookmarkMediaPath = m_mediaPath;
    const QString path = BookmarkFile::pathFor(m_mediaPath);
    if (!isOrdinaryFile(path))
        return;
    // Unloading copies the (now empty) lists back, so it comes before reading.
    if (m_bookmarkWindow && m_bookmarkWindow->isLoaded())
        m_bookmarkWindow->unload();
    BookmarkFile::read(path, &m_bookmarkEntries);
    mnuBookMark_Click();
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
    double length = 0;
    if (!queryLength(&length))
        return;
    const double rewindMs = static_cast<double>(m_settings.pauseRewindSeconds) * 1000.0;
    const double current = CurPos();
    const std::optional<std::int64_t> target =
        forward ? BookmarkNavigation::next(m_bookmarkEntries, current, rewindMs)
                : BookmarkNavigation::previous(m_bookmarkEntries, current, rewindMs);
    if (!target) {
        m_services.messages->beep();
        return;
    }
    BookmarkNavigation::playFrom(m_media, *this, *target);
}

void Form1::mnuBMsuccessivo_Click()
{
    goToBookmark(true);
}

void Form1::mnuBMprecedente_Click()
{
    goToBookmark(false);
}
