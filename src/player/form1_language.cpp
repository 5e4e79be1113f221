// The language table applied to the player's captions, and the language command.
#include "form1.h"
#include "i18n/captions.h"
#include "platform/files/program_folder.h"
#include "platform/services/file_dialog.h"
#include "player/picture_button.h"

#include <QMenu>

using namespace quillory;

namespace {
// Tooltips show "&" literally; the accelerator marks of menu texts are dropped.
QString tooltip(const QString &entry)
{
    QString text = entry;
    text.replace(QLatin1String("&&"), QString(QChar(0x1)));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(0x1), QLatin1Char('&'));
    return QStringLiteral(" ") + text + QStringLiteral(" ");
}
} // namespace

QString Form1::GetLingua()
{
    return m_services.locale ? m_services.locale->countryEnglishName() : QString();
}

void Form1::LoadLanguageFile()
{
    m_language.load(
        LanguageTable::pathOf(LanguageTable::insideLangFolder(m_settings.languageFile)));
    Captions::current().load(m_settings.languageFile);
}

void Form1::ApplyLanguage()
{
    const LanguageTable &L = m_language;
    const QString blank = QStringLiteral(" ");
    mnuFile->setTitle(L.T(2));
    mnuApri->setText(L.T(3));
    Image3->setToolTip(tooltip(L.T(3)));
    mnuChiudi->setText(L.T(4));
    mnuEsci->setText(L.T(5));
    mnuRiproduzione->setTitle(L.T(6));
    mnuPlay->setText(L.T(7));
    showPlayState(m_session.playState());
    cmdPlay->setToolTip(tooltip(L.T(78)));
    CmdStop->setToolTip(tooltip(L.T(79)));
    mnuStop->setText(L.T(9));
    mnuAvanti->setText(L.T(10));
    CmdAvanz->tag = L.T(10) + QStringLiteral(" ->");
    CmdAvanz->setToolTip(tooltip(L.T(77)));
    mnuIndietro->setText(L.T(11));
    cmdIndietro->tag = QStringLiteral("<- ") + L.T(11);
    cmdIndietro->setToolTip(tooltip(L.T(76)));
    mnuVai->setText(L.T(12));
    mnuOpzioni->setTitle(L.T(13));
    mnuSalto->setText(L.T(14));
    mnuSecIndietro->setText(L.T(30));
    mnuLingua->setText(QStringLiteral("&") + L.T(15));
    mnuDonazioni->setTitle(L.T(74));
    mnuFaiDonazione->setText(L.T(17));
    mnuGuida->setText(L.T(16));
    mnuAggiornamenti->setText(L.T(18));
    mnuInfo->setText(L.T(19));
    mnuTitoloCompleto->setText(L.T(80));
    mnuImpostaAudio->setText(L.T(81));
    const bool editorShown = m_editorDue ? m_editorShownAtStart : editorWidget()->isVisible();
    mnuMostraNascondi->setText((editorShown ? L.T(85) : L.T(84)) + blank + L.T(86));
    mnuVisualizza->setTitle(L.T(87));
    applyBookmarkLanguage();
    mnuAddBM->setText(L.T(93));
    mnuBMsuccessivo->setText(L.T(94));
    mnuBMprecedente->setText(L.T(95));
    for (QWidget *w : {static_cast<QWidget *>(Image3), static_cast<QWidget *>(cmdPlay),
                       static_cast<QWidget *>(CmdStop), static_cast<QWidget *>(CmdAvanz),
                       static_cast<QWidget *>(cmdIndietro)})
        w->setAccessibleName(w->toolTip().trimmed());
    // An editor still to be built takes the language when it loads.
    if (!m_editorDue)
        editor()->applyLanguage();
    applySpeedLanguage();
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
