// Opening media: the one open operation, the recent list, dropped files.
#include "form1.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <exception>

using namespace quillory;

void Form1::OpenMediaFile(const QString &name, std::function<void()> thenOpened)
{
    const QString path = m_filePrompt.fileToOpen(name);
    if (!path.isEmpty())
        m_session.openInBackground(path, std::move(thenOpened));
}

void Form1::showOpenedMedia()
{
    MostraPath();
    updateRecentMenu();
    mnuRiga->setVisible(true);
    m_buttonPictures.putOpenButtonHome();
    Form_Initialize();
    ReturnFocus();
}

void Form1::updateRecentMenu()
{
    for (int i = 0; i < RecentList::Size; ++i) {
        QAction *item = mnuRecent[static_cast<size_t>(i)];
        const QString &caption = m_session.recentFiles().caption(i);
        item->setText(caption);
        item->setVisible(i == 0 || RecentList::isShown(caption));
    }
}

void Form1::GotADrop(const QString &name)
{
    const QString path = MediaFilePrompt::withoutPadding(name);
    if (path.isEmpty())
        return;
    try {
        OpenMediaFile(path);
    } catch (const std::exception &) {
        m_filePrompt.tellDropFailed();
    }
}

void Form1::mnuApri_Click()
{
    OpenMediaFile(QString());
}

void Form1::Image3_Click()
{
    OpenMediaFile(QString());
    m_buttonPictures.unhover(TransportButtonPictures::Open);
}

void Form1::mnuRecent_Click(int slot)
{
    OpenMediaFile(m_session.recentFiles().caption(slot));
}

// Drops are accepted only between start-up and the window's close; only local
// files count, and only the first of them.
void Form1::dragEnterEvent(QDragEnterEvent *event)
{
    if (m_dropsEnabled && !MediaFilePrompt::firstLocalFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void Form1::dropEvent(QDropEvent *event)
{
    const QString path = MediaFilePrompt::firstLocalFile(event->mimeData());
    if (!m_dropsEnabled || path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    GotADrop(path);
}
