#pragma once

#include "contracts/companion_window.h"

#include <QRect>

// What the player asks of the bookmark list window. The window is "loaded"
// (its lists filled from the bookmark table) on first use and after each
// unload; hiding keeps the lists, unloading copies them back into the table.
class BookmarkWindow : public CompanionWindow {
public:
    virtual bool isLoaded() const = 0;
    virtual bool isShown() const = 0;
    // Loads the window if needed, places it right of the player with the width
    // by which the editor is wider than the player, shows it and moves the
    // editor below it.
    virtual void showBesidePlayer() = 0;
    virtual void hideWindow() = 0;
    // Empties both lists (the table is left alone).
    virtual void clearLists() = 0;
    // Copies the lists into the table and closes the window.
    virtual void unload() = 0;
    // The "+" button: a bookmark at the current position.
    virtual void addBookmark() = 0;
    // The window's outer rectangle on the screen.
    virtual QRect placement() const = 0;
    // The tooltips, from the current language table.
    virtual void applyLanguage() = 0;
};
