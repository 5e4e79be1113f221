#pragma once

#include <QString>

class QWidget;

// What the bookmark list window needs from the player window beside which it
// sits (the player's commands come through PlayerCommands).
class BookmarkHost {
public:
    virtual ~BookmarkHost() = default;
    // The window the list opens to the right of.
    virtual QWidget *playerWindow() = 0;
    // The editor, pushed down below the list when the list is shown.
    virtual QWidget *editorWindow() = 0;
    // The program's title, for the name prompt.
    virtual QString programTitle() const = 0;
    // The list window has closed: the show/hide command offers "show" again.
    virtual void bookmarkWindowUnloaded() = 0;
};
