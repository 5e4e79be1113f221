// The language table applied to the player's captions, and the language command.
#include "form1.h"
#include "i18n/captions.h"
#include "i18n/qt_translations.h"
#include "platform/files/program_folder.h"
#include "platform/services/file_dialog.h"

#include <QMenu>

using namespace quillory;

QString Form1::GetLingua()
{
    return m_services.locale ? m_services.locale->countryEnglishName() : QString();
}

void Form1::LoadLanguageFile()
{
    m_language.load(
        LanguageTable::pathOf(LanguageTable::insideLangFolder(m_settings.languageFile)));
    Captions::current().load(m_settings.languageFile);
    QtTranslations::current().apply(m_settings.languageFile);
}

void Form1::ApplyLanguage()
{
    const LanguageTable &L = m_language;
    retranslateMenus(L);
    retranslateControls(L);
    showPlayState(m_session.playState());
    const bool editorShown =
        m_editorStart.due() ? m_editorStart.shownAtStart() : editorWidget()->isVisible();
    mnuMostraNascondi->setText((editorShown ? L.T(85) : L.T(84)) + QStringLiteral(" ") + L.T(86));
    m_bookmarks->applyLanguage();
    // An editor still to be built takes the language when it loads.
    if (!m_editorStart.due())
        editor()->applyLanguage();
    m_speedLoop->applyLanguage();
}

void Form1::mnuLingua_Click()
{
    const QString title = m_language.T(15);
    const QString filter = title.left(std::max(0, static_cast<int>(title.size()) - 3)) + QChar(0) +
                           QStringLiteral("*.lng");
    const QString chosen = ShowFileDialog(*m_services.fileDialogs, nullptr,
                                          ProgramFolder::file(QStringLiteral("Lang")), filter, 1,
                                          QStringLiteral("lng"), QString(), title, this, true)
                               .toString();
    if (!chosen.isEmpty()) {
        m_settings.languageFile =
            LanguageTable::languageFileFromPath(chosen, m_settings.languageFile);
        LoadLanguageFile();
    }
    ApplyLanguage();
    SaveSettings();
}
