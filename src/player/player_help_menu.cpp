#include "player_help_menu.h"

#include "about/frm_about.h"
#include "i18n/language_table.h"
#include "player/player_links.h"
#include "player/player_menus.h"

#include <QAction>
#include <QWidget>

using namespace quillory;

PlayerHelpMenu::PlayerHelpMenu(const PlayerMenus &menus, PlayerLinks &links, QWidget *player,
                               const LanguageTable &language, DesktopLinks *desktopLinks,
                               std::function<QWidget *()> editorWindow,
                               std::function<bool()> playerEnded)
    : QObject(player), m_links(links), m_player(player), m_language(language),
      m_desktopLinks(desktopLinks), m_showHideEditor(menus.mnuMostraNascondi),
      m_editorWindow(std::move(editorWindow)), m_playerEnded(std::move(playerEnded))
{
    connect(menus.mnuGuida, &QAction::triggered, this, [this] { m_links.openHelpPage(); });
    connect(menus.mnuImpostaAudio, &QAction::triggered, this,
            [this] { m_links.openSoundSettings(); });
    connect(menus.mnuAggiornamenti, &QAction::triggered, this,
            [this] { m_links.openUpdatePage(); });
    connect(menus.mnuFaiDonazione, &QAction::triggered, this,
            [this] { m_links.openDonationPage(); });
    connect(menus.mnuInfo, &QAction::triggered, this, &PlayerHelpMenu::showAboutBox);
    connect(menus.mnuAggLingua, &QAction::triggered, this, &PlayerHelpMenu::writeTranslationPage);
}

// The show/hide-editor item offers "hide" while the editor is shown. Its caption
// is compared with the hide word by their first three characters; when the show
// and hide words begin alike that cannot tell them apart, and the word the
// caption begins with decides.
bool PlayerHelpMenu::editorWasShown(const QString &itemCaption, const QString &showWord,
                                    const QString &hideWord)
{
    if (showWord.left(3) != hideWord.left(3))
        return itemCaption.left(3) == hideWord.left(3);
    const bool hides = itemCaption.startsWith(hideWord + QLatin1Char(' '));
    const bool shows = itemCaption.startsWith(showWord + QLatin1Char(' '));
    if (hides && shows)
        return hideWord.size() > showWord.size();
    return hides;
}

void PlayerHelpMenu::showAboutBox()
{
    m_player->hide();
    m_editorWindow()->hide();
    if (!m_about) {
        m_about = new frmAbout(m_language, m_desktopLinks, m_player);
        connect(m_about, &frmAbout::unloaded, this, &PlayerHelpMenu::aboutBoxClosed);
    }
    m_about->Form_Load();
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void PlayerHelpMenu::aboutBoxClosed()
{
    if (m_playerEnded())
        return;
    m_player->show();
    if (editorWasShown(m_showHideEditor->text(), m_language.T(84), m_language.T(85)))
        m_editorWindow()->show();
}

void PlayerHelpMenu::writeTranslationPage()
{
    if (!m_links.writeTranslationPage())
        return;
    m_player->showMinimized();
    m_links.openTranslationPage();
}
