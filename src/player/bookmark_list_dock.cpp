#include "bookmark_list_dock.h"

#include "i18n/language_table.h"
#include "session/player_session.h"

#include <QAction>
#include <algorithm>

using namespace quillory;

BookmarkListDock::BookmarkListDock(PlayerSession &session, QAction *showHideItem,
                                   const LanguageTable &language,
                                   std::function<void(CompanionWindow *)> closesWithPlayer,
                                   QObject *parent)
    : QObject(parent), m_session(session), m_showHideItem(showHideItem), m_language(language),
      m_closesWithPlayer(std::move(closesWithPlayer))
{
    connect(&session, &PlayerSession::bookmarksLeft, this, [this](bool hadBookmarks) {
        if (hadBookmarks && m_window && m_window->isLoaded())
            m_window->clearLists();
    });
    // Unloading copies the (now empty) lists back, so it comes before reading.
    connect(&session, &PlayerSession::bookmarkFileFound, this, [this] {
        if (m_window && m_window->isLoaded())
            m_window->unload();
    });
    connect(&session, &PlayerSession::bookmarksLoaded, this, &BookmarkListDock::toggle);
}

BookmarkWindow *BookmarkListDock::window()
{
    if (!m_window && m_factory) {
        m_window = m_factory();
        if (m_window) {
            m_window->applyLanguage();
            m_closesWithPlayer(m_window.get());
        }
    }
    return m_window.get();
}

void BookmarkListDock::setCaption(bool windowShown)
{
    m_showHideItem->setText(m_language.T(windowShown ? 85 : 84) + QStringLiteral(" &BookMarks"));
}

void BookmarkListDock::applyLanguage()
{
    setCaption(m_window && m_window->isShown());
    if (m_window)
        m_window->applyLanguage();
}

void BookmarkListDock::toggle()
{
    BookmarkWindow *list = window();
    if (!list)
        return;
    if (list->isShown()) {
        setCaption(false);
        list->hideWindow();
    } else {
        setCaption(true);
        list->showBesidePlayer();
    }
}

bool BookmarkListDock::addBookmark()
{
    BookmarkWindow *list = window();
    if (!list)
        return false;
    setCaption(true);
    list->showBesidePlayer();
    list->addBookmark();
    return true;
}

QRect BookmarkListDock::frameAbove(QRect playerFrame) const
{
    // A hidden list leaves no gap.
    if (!m_session.bookmarks().isEmpty() && m_window && m_window->isShown()) {
        const QRect list = m_window->placement();
        // A list shorter than the player (grown by the waveform) ends above it.
        playerFrame.setHeight(
            std::max(playerFrame.height(), list.y() + list.height() - playerFrame.y()));
    }
    return playerFrame;
}
