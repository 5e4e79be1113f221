#include "media_file_prompt.h"

#include "i18n/language_table.h"
#include "platform/files/text_file.h"
#include "platform/services/file_dialog.h"

#include <QDir>
#include <QMimeData>
#include <QUrl>

using namespace quillory;

namespace {

// The classic patterns first, then what a transcriptionist meets today.
const QString MediaPatterns = QStringLiteral(
    "*.avi;*.mp3;*.mpg;*.mpeg;*.ogg;*.ogv;*.wav;*.wma;*.wmv;"
    "*.m4a;*.mp4;*.mkv;*.flac;*.opus;*.aac;*.webm;*.mov;*.m4v;*.3gp;*.amr;*.aif;*.aiff");

} // namespace

MediaFilePrompt::MediaFilePrompt(QWidget *owner, const Services &services,
                                 const LanguageTable &language)
    : m_owner(owner), m_services(services), m_language(language)
{
}

QString MediaFilePrompt::fileToOpen(const QString &name) const
{
    QString candidate = name;
    if (name.isEmpty()) {
        const QChar nul(0);
        const QString filter = m_language.T(41) + nul + MediaPatterns + nul + m_language.T(26) +
                               nul + QStringLiteral("*.*");
        candidate =
            ShowFileDialog(*m_services.fileDialogs, nullptr, QDir::currentPath(), filter, 1,
                           QStringLiteral("wav"), QString(), m_language.T(25), m_owner, true)
                .toString();
    }
    if (candidate.isEmpty())
        return QString();
    if (!isOrdinaryFile(candidate)) {
        m_services.messages->show(m_owner, m_language.T(98), MsgButtons::Ok, MsgIcon::Exclamation,
                                  m_language.T(1));
        return QString();
    }
    return candidate;
}

void MediaFilePrompt::tellDropFailed() const
{
    m_services.messages->show(m_owner, m_language.T(36), MsgButtons::Ok, MsgIcon::Exclamation,
                              m_language.T(37));
}

QString MediaFilePrompt::firstLocalFile(const QMimeData *mime)
{
    if (mime == nullptr || !mime->hasUrls())
        return QString();
    for (const QUrl &url : mime->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return QString();
}

QString MediaFilePrompt::withoutPadding(QString name)
{
    while (!name.isEmpty() && name.back() == QChar(0))
        name.chop(1);
    return name;
}
