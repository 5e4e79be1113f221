#pragma once

#include "session/recent_list.h"

#include <QObject>
#include <array>

class QAction;
class QMenu;

// The editor's four most recent documents as items of its File menu, kept in
// LastFilesEditor.ini in the program folder. Choosing an item asks for that
// document to be opened.
class RecentDocumentsMenu : public QObject {
    Q_OBJECT
public:
    // Appends the four items (hidden until they name a file) and the separator
    // that closes them to `menu`.
    explicit RecentDocumentsMenu(QMenu *menu);

    // Start-up: reads the stored list into the menu.
    void load();
    // Puts `path` first, shows it and stores the list.
    void add(const QString &path);
    const quillory::RecentList &list() const { return m_recent; }

signals:
    void chosen(const QString &path);

private:
    void showCaptions();

    quillory::RecentList m_recent;
    std::array<QAction *, quillory::RecentList::Size> m_items{};
    QAction *m_separator = nullptr;
};
