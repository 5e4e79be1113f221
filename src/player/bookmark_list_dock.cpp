#include "bookmark_list_dock.h"

#include "i18n/language_table.h"
#include "platform/geometry/window_stack.h"
#include "session/player_session.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QWidget>

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

BookmarkWindow *BookmarkListDock::listWindow()
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
    BookmarkWindow *list = listWindow();
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
    BookmarkWindow *list = listWindow();
    if (!list)
        return false;
    // The keyboard goes back to where the bookmark was asked for (the player
    // or the transcript), so typing goes on there once the name is given.
    const QPointer<QWidget> typingIn = QApplication::focusWidget();
    setCaption(true);
    list->showBesidePlayer();
    list->addBookmark();
    if (typingIn && typingIn->isVisible()) {
        typingIn->window()->activateWindow();
        typingIn->setFocus(Qt::OtherFocusReason);
    }
    return true;
}

QRect BookmarkListDock::frameAbove(QRect playerFrame) const
{
    // A hidden list leaves no gap.
    if (!m_session.bookmarks().isEmpty() && m_window && m_window->isShown())
        return quillory::frameAboveEditor(playerFrame, m_window->placement());
    return playerFrame;
}
