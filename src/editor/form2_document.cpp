#include "form2.h"

#include "dialogs/print_dialog.h"
#include "editor/rich_text_box.h"
#include "formats/timestamps.h"
#include "i18n/captions.h"
#include "platform/files/preferences.h"
#include "platform/files/program_folder.h"
#include "platform/files/text_file.h"
#include "platform/services/choice_boxes.h"
#include "platform/services/file_dialog.h"
#include "platform/services/print_system.h"

#include <QDir>
#include <QFileInfo>

using namespace quillory;

// ---------------------------------------------------------------- document

void Form2::RTB_Change()
{
    m_documentModified = true;
    if (m_undoRestoring)
        return;
    m_undo.record(RTB->Snapshot());
}

QString Form2::fileFilter(bool saving) const
{
    const QChar nul(0);
    // Opening shows every transcript the editor reads at once; saving, one
    // type per format, since the type chosen decides what is written.
    QString filter = saving ? QString()
                            : caption(QStringLiteral("editor.filterTranscripts"),
                                      QStringLiteral("Transcripts")) +
                                  nul + QStringLiteral("*.rtf;*.txt;*.srt;*.vtt") + nul;
    filter += caption(QStringLiteral("editor.filterRtf"), QStringLiteral("File RTF")) + nul +
              QStringLiteral("*.rtf") + nul +
              caption(QStringLiteral("editor.filterTxt"), QStringLiteral("File TXT")) + nul +
              QStringLiteral("*.txt") + nul + QStringLiteral("File SRT") + nul +
              QStringLiteral("*.srt") + nul + QStringLiteral("File WebVTT") + nul +
              QStringLiteral("*.vtt");
    if (saving)
        filter += nul + QStringLiteral("File ODT") + nul + QStringLiteral("*.odt");
    return filter;
}

bool Form2::writeDocument(const QString &path, DocumentFormat format)
{
    if (m_formats.shouldAskBeforeWriting(*RTB->document(), format)) {
        const MsgResult answer = m_services.messages->show(
            this,
            caption(QStringLiteral("formats.dropsFormatting"),
                    QStringLiteral("A %1 file cannot keep all of this transcript's formatting "
                                   "(fonts, sizes, colours, alignment, lists; plain text keeps "
                                   "none at all). Save in this format anyway?"))
                .arg(formatName(format).toUpper()),
            MsgButtons::YesNo, MsgIcon::Exclamation, m_language.T(1));
        if (answer != MsgResult::Yes)
            return false;
        m_formats.agreeToLoss(format);
    }
    const FileResult result = writeFileSafely(
        path, TranscriptFormats::bytes(*RTB->document(), format,
                                       TimestampSettings::load(Preferences::shared()),
                                       m_player.mediaLengthMs()));
    if (!result) {
        m_services.messages->show(this, path + QStringLiteral("\n\n") + result.reason,
                                  MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
    }
    return result.ok;
}

// Another program (a second Quillory, a word processor) may have saved the
// document's file since it was opened or saved here; writing over it unasked
// would lose that work. Reload takes the file's text instead of this one.
bool Form2::maySaveOverFileOnDisk()
{
    if (!m_documentStamp || !m_documentStamp->changedOn(m_documentPath) ||
        !QFileInfo::exists(m_documentPath) || !m_services.choices)
        return true;
    const QString question =
        caption(QStringLiteral("editor.changedOnDisk"),
                QStringLiteral("%1 was changed on disk since it was opened or saved here, "
                               "perhaps by another program. Saving now writes over those "
                               "changes; reloading it loses the changes made here."))
            .arg(m_documentPath);
    const QStringList answers = {
        caption(QStringLiteral("editor.reload"), QStringLiteral("&Reload")),
        caption(QStringLiteral("editor.saveAnyway"), QStringLiteral("&Save anyway")),
        caption(QStringLiteral("editor.cancel"), QStringLiteral("Cancel"))};
    const int answer = m_services.choices->choose(this, question, answers, 2, 2,
                                                  MsgIcon::Exclamation, m_language.T(1));
    if (answer == 0)
        OpenDocument(m_documentPath);
    return answer == 1;
}

void Form2::OpenDocument(const QString &path)
{
    if (path.isEmpty())
        m_chosenFileName =
            ShowFileDialog(*m_services.fileDialogs, nullptr, QDir::currentPath(), fileFilter(false),
                           1, QStringLiteral("rtf"), QString(), m_language.T(52), this, true)
                .toString();
    else
        m_chosenFileName = path;
    if (m_chosenFileName.trimmed().isEmpty())
        return;
    if (!isOrdinaryFile(m_chosenFileName)) {
        m_services.messages->show(this, m_language.T(98), MsgButtons::Ok, MsgIcon::Exclamation,
                                  m_language.T(1));
        return;
    }
    // A file that cannot be read keeps the current document and says why.
    const FileResult loaded =
        m_formats.open(*RTB, m_chosenFileName, TimestampSettings::load(Preferences::shared()));
    if (!loaded.reason.isEmpty())
        m_services.messages->show(this, m_chosenFileName + QStringLiteral("\n\n") + loaded.reason,
                                  MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
    if (!loaded)
        return;
    becomeChosenFile();
}

// After an open or a Save As: the chosen file is now the document's file.
void Form2::becomeChosenFile()
{
    m_player.setEditorFolder(QDir::currentPath());
    m_documentPath = m_chosenFileName;
    m_documentStamp = FileStamp::of(m_documentPath);
    AddRecentDocument(m_documentPath);
    setCaptionFromPath(m_documentPath);
    m_documentModified = false;
    emit unsavedChangesCleared();
}

bool Form2::mayDiscardChanges()
{
    if (!m_documentModified)
        return true;
    const MsgResult answer = m_services.messages->show(
        this, m_language.T(99), MsgButtons::YesNoCancel, MsgIcon::Exclamation, m_language.T(1));
    if (answer == MsgResult::Cancel)
        return false;
    if (answer == MsgResult::Yes) {
        mnuSalva_Click();
        // Save As cancelled, or the write failed: the text is still the only
        // copy, so it stays.
        if (m_documentModified)
            return false;
    }
    return true;
}

void Form2::mnuApri_Click()
{
    if (!mayDiscardChanges())
        return;
    OpenDocument(QString());
}

void Form2::mnuSalva_Click()
{
    if (m_documentPath.isEmpty()) {
        if (m_documentModified)
            mnuSalvaConNome_Click();
        return;
    }
    m_services.messages->beep();
    if (m_documentModified && maySaveOverFileOnDisk() &&
        writeDocument(m_documentPath, m_formats.current())) {
        m_documentStamp = FileStamp::of(m_documentPath);
        AddRecentDocument(m_documentPath);
        m_documentModified = false;
        emit unsavedChangesCleared();
    }
}

void Form2::mnuSalvaConNome_Click()
{
    const QString editorFolder = m_player.editorFolder();
    const QString folder = editorFolder.trimmed().isEmpty() ? QDir::currentPath() : editorFolder;
    m_chosenFileName =
        ShowFileDialog(*m_services.fileDialogs, nullptr, folder, fileFilter(true), 1,
                       QStringLiteral("rtf"), untitledFullName(), m_language.T(55), this, false)
            .toString();
    if (m_chosenFileName.isEmpty())
        return;
    // Any existing file is asked about before it is replaced, hidden ones
    // (names beginning with a dot) included.
    if (QFileInfo(m_chosenFileName).exists() || QFileInfo(m_chosenFileName).isSymLink()) {
        const MsgResult answer = m_services.messages->show(
            this, m_language.T(53) + QStringLiteral("\n\n") + m_language.T(54), MsgButtons::YesNo,
            MsgIcon::Exclamation, m_language.T(1));
        if (answer == MsgResult::No)
            return;
    }
    // A failed write changes nothing: the text stays modified, so the exit
    // question still protects it.
    const DocumentFormat format = TranscriptFormats::formatForName(m_chosenFileName);
    if (!writeDocument(m_chosenFileName, format))
        return;
    m_formats.setCurrent(format);
    becomeChosenFile();
}

void Form2::mnuNuovo_Click()
{
    if (!mayDiscardChanges())
        return;
    if (m_untitledCounter < 32767)
        ++m_untitledCounter;
    RTB->setText(QString());
    m_documentPath.clear();
    m_documentStamp.reset();
    m_formats.startDocument(DocumentFormat::Rtf);
    showUntitledCaption();
    m_documentModified = false;
    emit unsavedChangesCleared();
}

// ---------------------------------------------------------------- recent documents

void Form2::updateRecentMenu()
{
    for (int i = 0; i < RecentList::Size; ++i) {
        QAction *a = mnuRecent[static_cast<size_t>(i)];
        // A "&" in a path is shown as itself, not as an accelerator mark.
        a->setText(QString(m_recent.caption(i)).replace(QLatin1Char('&'), QStringLiteral("&&")));
        a->setVisible(RecentList::isShown(m_recent.caption(i)));
    }
}

void Form2::LoadRecentDocuments()
{
    if (m_recent.load(ProgramFolder::file(QStringLiteral("LastFilesEditor.ini"))))
        mnur->setVisible(true);
    updateRecentMenu();
}

void Form2::AddRecentDocument(const QString &path)
{
    m_recent.moveToFront(path);
    updateRecentMenu();
    mnuRecent[0]->setVisible(true);
    mnur->setVisible(true);
    m_recent.save(ProgramFolder::file(QStringLiteral("LastFilesEditor.ini")));
}

void Form2::mnuRecent_Click(int slot)
{
    OpenDocument(m_recent.caption(slot));
}

void Form2::mnuStampa_Click()
{
    Label2_Click(3);
}
