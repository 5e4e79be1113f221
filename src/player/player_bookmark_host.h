#pragma once

#include "contracts/bookmark_host.h"

#include <QString>
#include <functional>

// The player as the bookmark list window sees it: the windows the list sits
// beside and pushes down, the program's title, and word of the list closing.
class PlayerBookmarkHost : public BookmarkHost {
public:
    struct Parts {
        QWidget *player = nullptr;
        std::function<QWidget *()> editor;
        std::function<QString()> title;
        std::function<void()> listClosed;
    };
    explicit PlayerBookmarkHost(Parts parts) : m_parts(std::move(parts)) {}

    QWidget *playerWindow() override { return m_parts.player; }
    QWidget *editorWindow() override { return m_parts.editor(); }
    QString programTitle() const override { return m_parts.title(); }
    void bookmarkWindowUnloaded() override { m_parts.listClosed(); }

private:
    Parts m_parts;
};
