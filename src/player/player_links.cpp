#include "player_links.h"

#include "i18n/captions.h"
#include "i18n/translation_page.h"
#include "platform/files/program_folder.h"
#include "platform/files/text_file.h"
#include "platform/product_info.h"
#include "platform/services/desktop_links.h"
#include "platform/services/sound_settings.h"

#include <QUrl>

using namespace quillory;

namespace {

const QString FallbackHelpPage = QStringLiteral("Guida");

// A help page name from the language file must name a page in the program
// folder itself, not a path that leads elsewhere.
bool isHelpPage(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')) || name.contains(QLatin1Char('/')) ||
        name.contains(QLatin1Char('\\')))
        return false;
    return isOrdinaryFile(ProgramFolder::file(name + QStringLiteral(".html")));
}

} // namespace

PlayerLinks::PlayerLinks(QWidget *owner, const Services &services, LanguageTable &language)
    : m_owner(owner), m_services(services), m_language(language)
{
}

void PlayerLinks::tell(const QString &text)
{
    m_services.messages->show(m_owner, text, MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
}

void PlayerLinks::openLink(const QUrl &url)
{
    if (m_services.links && m_services.links->openUrl(url))
        return;
    const QString shown = url.isLocalFile() ? url.toLocalFile() : url.toString();
    tell(caption(QStringLiteral("link.failed"),
                 QStringLiteral("%1 could not be opened. Is a web browser installed?"))
             .arg(shown));
}

void PlayerLinks::openHelpPage()
{
    // A language without its own page uses the Italian one from now until the
    // next language load.
    if (!isHelpPage(m_language.T(24)))
        m_language.setEntry(24, FallbackHelpPage);
    const QString page = ProgramFolder::file(m_language.T(24) + QStringLiteral(".html"));
    if (!isOrdinaryFile(page)) {
        tell(caption(QStringLiteral("help.missing"),
                     QStringLiteral("The help page %1 is missing from the program folder."))
                 .arg(page));
        return;
    }
    openLink(QUrl::fromLocalFile(page));
}

void PlayerLinks::openUpdatePage()
{
    openLink(QUrl(product::updatePage()));
}

void PlayerLinks::openDonationPage()
{
    openLink(QUrl(product::donationPage()));
}

void PlayerLinks::openSoundSettings()
{
    if (m_services.soundSettings && m_services.soundSettings->open())
        return;
    tell(caption(QStringLiteral("sound.none"),
                 QStringLiteral("No sound settings program was found. Install pavucontrol, or "
                                "open the sound settings of your desktop.")));
}

bool PlayerLinks::writeTranslationPage()
{
    const FileResult written =
        TranslationForm::write(product::name(), product::maintainerAddress());
    if (!written)
        tell(caption(QStringLiteral("translation.failed"),
                     QStringLiteral("The translation page could not be written: %1"))
                 .arg(written.reason));
    return written.ok;
}

void PlayerLinks::openTranslationPage()
{
    openLink(QUrl::fromLocalFile(TranslationForm::pagePath()));
}
