// The player's help menu and links (opened by PlayerLinks), the about box, and
// the menu bar that wraps so that every menu stays within reach.
#include "about/frm_about.h"
#include "form1.h"
#include "player/editor_follows_player.h"
#include "player/wrapping_menu_bar.h"

#include <QLayout>

using namespace quillory;

namespace {

// The show/hide-editor item offers "hide" while the editor is shown. Its caption
// is compared with the hide word by their first three characters; when the show
// and hide words begin alike that cannot tell them apart, and the word the
// caption begins with decides.
bool editorWasShown(const QString &itemCaption, const QString &showWord, const QString &hideWord)
{
    if (showWord.left(3) != hideWord.left(3))
        return itemCaption.left(3) == hideWord.left(3);
    const bool hides = itemCaption.startsWith(hideWord + QLatin1Char(' '));
    const bool shows = itemCaption.startsWith(showWord + QLatin1Char(' '));
    if (hides && shows)
        return hideWord.size() > showWord.size();
    return hides;
}

} // namespace

void Form1::installWrappingMenuBar()
{
    setMenuBar(new WrappingMenuBar(this));
    // The window is as large as its content: the fixed client area plus the
    // menu rows, growing and shrinking with them.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    new EditorFollowsPlayer(this);
}

void Form1::connectHelpCommands()
{
    connect(mnuAggiornamenti, &QAction::triggered, this, &Form1::mnuAggiornamenti_Click);
    connect(mnuFaiDonazione, &QAction::triggered, this, &Form1::mnuFaiDonazione_Click);
    connect(mnuInfo, &QAction::triggered, this, &Form1::mnuInfo_Click);
    connect(mnuAggLingua, &QAction::triggered, this, &Form1::mnuAggLingua_Click);
}

void Form1::mnuGuida_Click()
{
    m_links.openHelpPage();
}

void Form1::mnuAggiornamenti_Click()
{
    m_links.openUpdatePage();
}

void Form1::mnuFaiDonazione_Click()
{
    m_links.openDonationPage();
}

void Form1::mnuImpostaAudio_Click()
{
    m_links.openSoundSettings();
}

void Form1::mnuInfo_Click()
{
    hide();
    editorWidget()->hide();
    if (!m_about) {
        m_about = new frmAbout(m_language, m_services.links, this);
        connect(m_about, &frmAbout::unloaded, this, &Form1::frmAbout_Unload);
    }
    m_about->Form_Load();
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void Form1::frmAbout_Unload()
{
    if (m_ended)
        return;
    show();
    if (editorWasShown(mnuMostraNascondi->text(), m_language.T(84), m_language.T(85)))
        editorWidget()->show();
}

void Form1::mnuAggLingua_Click()
{
    if (!m_links.writeTranslationPage())
        return;
    showMinimized();
    m_links.openTranslationPage();
}
