#include "editor/recent_documents_menu.h"

#include "platform/files/program_folder.h"

#include <QMenu>

using namespace quillory;

namespace {

QString storedListPath()
{
    return ProgramFolder::file(QStringLiteral("LastFilesEditor.ini"));
}

} // namespace

RecentDocumentsMenu::RecentDocumentsMenu(QMenu *menu) : QObject(menu)
{
    for (int i = 0; i < RecentList::Size; ++i) {
        QAction *item = menu->addAction(RecentList::placeholder(i));
        item->setObjectName(QStringLiteral("mnuRecent%1").arg(i + 1));
        item->setVisible(false);
        connect(item, &QAction::triggered, this, [this, i] { emit chosen(m_recent.caption(i)); });
        m_items[static_cast<size_t>(i)] = item;
    }
    m_separator = menu->addSeparator();
    m_separator->setObjectName(QStringLiteral("mnur"));
    m_separator->setVisible(false);
}

void RecentDocumentsMenu::showCaptions()
{
    for (int i = 0; i < RecentList::Size; ++i) {
        QAction *item = m_items[static_cast<size_t>(i)];
        // A "&" in a path is shown as itself, not as an accelerator mark.
        item->setText(QString(m_recent.caption(i)).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setVisible(RecentList::isShown(m_recent.caption(i)));
    }
}

void RecentDocumentsMenu::load()
{
    if (m_recent.load(storedListPath()))
        m_separator->setVisible(true);
    showCaptions();
}

void RecentDocumentsMenu::add(const QString &path)
{
    m_recent.moveToFront(path);
    showCaptions();
    m_items[0]->setVisible(true);
    m_separator->setVisible(true);
    m_recent.save(storedListPath());
}
