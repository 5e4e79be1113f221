#pragma once

#include "contracts/bookmark_window.h"

#include <QObject>
#include <QRect>
#include <functional>
#include <memory>

class CompanionWindow;
class QAction;
namespace quillory {
class LanguageTable;
class PlayerSession;
} // namespace quillory

// The bookmark list beside the player: built on first use by the factory the
// composition root hands in, it follows the session's table (emptied when a
// file leaves, shown once a file's bookmarks are read), and the View menu's
// show/hide item says what a click on it will do.
class BookmarkListDock : public QObject {
public:
    using Factory = std::function<std::unique_ptr<BookmarkWindow>()>;

    BookmarkListDock(quillory::PlayerSession &session, QAction *showHideItem,
                     const quillory::LanguageTable &language,
                     std::function<void(CompanionWindow *)> closesWithPlayer, QObject *parent);

    void setFactory(Factory factory) { m_factory = std::move(factory); }
    // The list window, built now if it is not yet; null without a factory.
    BookmarkWindow *listWindow();
    void toggle();
    // Shows the list and asks for a bookmark at the position; false without a list.
    bool addBookmark();
    // The list closed itself: the item offers to show it again.
    void windowClosed() { setCaption(false); }
    void applyLanguage();
    // The player's frame, reaching down to the list's bottom while the list
    // beside it shows bookmarks: what the editor goes below.
    QRect frameAbove(QRect playerFrame) const;

private:
    void setCaption(bool windowShown);

    quillory::PlayerSession &m_session;
    QAction *m_showHideItem;
    const quillory::LanguageTable &m_language;
    std::function<void(CompanionWindow *)> m_closesWithPlayer;
    Factory m_factory;
    std::unique_ptr<BookmarkWindow> m_window;
};
