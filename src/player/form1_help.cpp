// The player's help menu and links: the help page, the update and donation
// pages, the system's sound settings, the about box and the translation page;
// and the menu bar that wraps so that every menu stays within reach.
#include "form1.h"
#include "i18n/captions.h"
#include "i18n/translation_page.h"
#include "platform/about/frm_about.h"
#include "platform/files/program_folder.h"
#include "platform/files/text_file.h"
#include "platform/product_info.h"
#include "platform/services/desktop_links.h"
#include "platform/services/sound_settings.h"
#include "player/wrapping_menu_bar.h"

#include <QLayout>
#include <QResizeEvent>
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

// The editor sits directly below the player. When the player grows or shrinks
// by a menu row (a language switch), an editor in that place moves with it.
class EditorFollowsPlayer : public QObject {
public:
    explicit EditorFollowsPlayer(Form1 *player) : QObject(player), m_player(player)
    {
        player->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_player || event->type() != QEvent::Resize)
            return false;
        // Null while the window is being destroyed: its Form1 part is gone then.
        if (!qobject_cast<Form1 *>(watched))
            return false;
        TranscriptEditor *built = m_player->editorIfBuilt();
        if (QWidget *editor = built ? built->asWidget() : nullptr) {
            const auto *resize = static_cast<QResizeEvent *>(event);
            const int grown = resize->size().height() - resize->oldSize().height();
            const int frame = m_player->frameGeometry().height() - m_player->height();
            const int oldBottom = m_player->y() + frame + resize->oldSize().height();
            if (resize->oldSize().isValid() && grown != 0 && editor->y() == oldBottom)
                editor->move(editor->x(), editor->y() + grown);
        }
        return false;
    }

private:
    Form1 *m_player;
};

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

void Form1::openLink(const QUrl &url)
{
    if (m_services.links && m_services.links->openUrl(url))
        return;
    const QString shown = url.isLocalFile() ? url.toLocalFile() : url.toString();
    m_services.messages->show(
        this,
        caption(QStringLiteral("link.failed"),
                QStringLiteral("%1 could not be opened. Is a web browser installed?"))
            .arg(shown),
        MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
}

void Form1::mnuGuida_Click()
{
    // A language without its own page uses the Italian one from now until the
    // next language load.
    if (!isHelpPage(m_language.T(24)))
        m_language.setEntry(24, FallbackHelpPage);
    const QString page = ProgramFolder::file(m_language.T(24) + QStringLiteral(".html"));
    if (!isOrdinaryFile(page)) {
        m_services.messages->show(
            this,
            caption(QStringLiteral("help.missing"),
                    QStringLiteral("The help page %1 is missing from the program folder."))
                .arg(page),
            MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
        return;
    }
    openLink(QUrl::fromLocalFile(page));
}

void Form1::mnuAggiornamenti_Click()
{
    openLink(QUrl(product::updatePage()));
}

void Form1::mnuFaiDonazione_Click()
{
    openLink(QUrl(product::donationPage()));
}

void Form1::mnuImpostaAudio_Click()
{
    if (m_services.soundSettings && m_services.soundSettings->open())
        return;
    m_services.messages->show(
        this,
        caption(QStringLiteral("sound.none"),
                QStringLiteral("No sound settings program was found. Install pavucontrol, or "
                               "open the sound settings of your desktop.")),
        MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
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
    const FileResult written =
        TranslationForm::write(product::name(), product::maintainerAddress());
    if (!written) {
        m_services.messages->show(
            this,
            caption(QStringLiteral("translation.failed"),
                    QStringLiteral("The translation page could not be written: %1"))
                .arg(written.reason),
            MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
        return;
    }
    showMinimized();
    openLink(QUrl::fromLocalFile(TranslationForm::pagePath()));
}
