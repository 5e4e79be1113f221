// Opening media: the one open operation, the recent list, dropped files.
#include "form1.h"
#include "platform/files/text_file.h"
#include "platform/geometry/twips.h"
#include "platform/services/file_dialog.h"
#include "player/picture_button.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <exception>

using namespace quillory;

namespace {

// The classic patterns first, then what a transcriptionist meets today.
const QString MediaPatterns = QStringLiteral(
    "*.avi;*.mp3;*.mpg;*.mpeg;*.ogg;*.ogv;*.wav;*.wma;*.wmv;"
    "*.m4a;*.mp4;*.mkv;*.flac;*.opus;*.aac;*.webm;*.mov;*.m4v;*.3gp;*.amr;*.aif;*.aiff");

} // namespace

void Form1::OpenMediaFile(const QString &name)
{
    QString candidate = name;
    if (name.isEmpty()) {
        const QChar nul(0);
        const QString filter = m_language.T(41) + nul + MediaPatterns + nul + m_language.T(26) +
                               nul + QStringLiteral("*.*");
        candidate = ShowFileDialog(*m_services.fileDialogs, nullptr, QDir::currentPath(), filter, 1,
                                   QStringLiteral("wav"), QString(), m_language.T(25), this, true)
                        .toString();
    }
    if (candidate.isEmpty())
        return;
    if (!isOrdinaryFile(candidate)) {
        m_services.messages->show(this, m_language.T(98), MsgButtons::Ok, MsgIcon::Exclamation,
                                  m_language.T(1));
        return;
    }
    m_session.open(candidate);
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
    QString path = name;
    while (!path.isEmpty() && path.back() == QChar(0))
        path.chop(1);
    if (path.isEmpty())
        return;
    try {
        OpenMediaFile(path);
    } catch (const std::exception &) {
        m_services.messages->show(this, m_language.T(36), MsgButtons::Ok, MsgIcon::Exclamation,
                                  m_language.T(37));
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
static QString firstLocalFile(const QMimeData *mime)
{
    if (mime == nullptr || !mime->hasUrls())
        return QString();
    for (const QUrl &url : mime->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return QString();
}

void Form1::dragEnterEvent(QDragEnterEvent *event)
{
    if (m_dropsEnabled && !firstLocalFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void Form1::dropEvent(QDropEvent *event)
{
    const QString path = firstLocalFile(event->mimeData());
    if (!m_dropsEnabled || path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    GotADrop(path);
}
