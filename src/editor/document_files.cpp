#include "editor/document_files.h"

#include "editor/recent_documents_menu.h"
#include "editor/rich_text_box.h"
#include "formats/timestamps.h"
#include "i18n/captions.h"
#include "platform/files/preferences.h"
#include "platform/files/text_file.h"
#include "platform/services/choice_boxes.h"
#include "platform/services/file_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

using namespace quillory;

DocumentFiles::DocumentFiles(RichTextBox &text, RecentDocumentsMenu &recent, PlayerCommands &player,
                             LanguageTable &language, const Services &services, QWidget *window)
    : QObject(window), m_text(text), m_recent(recent), m_player(player), m_language(language),
      m_services(services), m_window(window)
{
    connect(&m_recent, &RecentDocumentsMenu::chosen, this, &DocumentFiles::open);
}

QString DocumentFiles::fileFilter(bool saving) const
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

bool DocumentFiles::write(const QString &path, DocumentFormat format)
{
    if (m_formats.shouldAskBeforeWriting(*m_text.document(), format)) {
        const MsgResult answer = m_services.messages->show(
            m_window,
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
        path, TranscriptFormats::bytes(*m_text.document(), format,
                                       TimestampSettings::load(Preferences::shared()),
                                       m_player.mediaLengthMs()));
    if (!result) {
        m_services.messages->show(m_window, path + QStringLiteral("\n\n") + result.reason,
                                  MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
    }
    return result.ok;
}

// Another program (a second Quillory, a word processor) may have saved the
// document's file since it was opened or saved here; writing over it unasked
// would lose that work. Reload takes the file's text instead of this one.
bool DocumentFiles::maySaveOverFileOnDisk()
{
    if (!m_stamp || !m_stamp->changedOn(m_path) || !QFileInfo::exists(m_path) ||
        !m_services.choices)
        return true;
    const QString question =
        caption(QStringLiteral("editor.changedOnDisk"),
                QStringLiteral("%1 was changed on disk since it was opened or saved here, "
                               "perhaps by another program. Saving now writes over those "
                               "changes; reloading it loses the changes made here."))
            .arg(m_path);
    const QStringList answers = {
        caption(QStringLiteral("editor.reload"), QStringLiteral("&Reload")),
        caption(QStringLiteral("editor.saveAnyway"), QStringLiteral("&Save anyway")),
        caption(QStringLiteral("editor.cancel"), QStringLiteral("Cancel"))};
    const int answer = m_services.choices->choose(m_window, question, answers, 2, 2,
                                                  MsgIcon::Exclamation, m_language.T(1));
    if (answer == 0)
        open(m_path);
    return answer == 1;
}

void DocumentFiles::open(const QString &path)
{
    if (path.isEmpty())
        m_chosenFileName =
            ShowFileDialog(*m_services.fileDialogs, nullptr, QDir::currentPath(), fileFilter(false),
                           1, QStringLiteral("rtf"), QString(), m_language.T(52), m_window, true)
                .toString();
    else
        m_chosenFileName = path;
    if (m_chosenFileName.trimmed().isEmpty())
        return;
    if (!isOrdinaryFile(m_chosenFileName)) {
        m_services.messages->show(m_window, m_language.T(98), MsgButtons::Ok, MsgIcon::Exclamation,
                                  m_language.T(1));
        return;
    }
    // A file that cannot be read keeps the current document and says why.
    const FileResult loaded =
        m_formats.open(m_text, m_chosenFileName, TimestampSettings::load(Preferences::shared()));
    if (!loaded.reason.isEmpty())
        m_services.messages->show(m_window,
                                  m_chosenFileName + QStringLiteral("\n\n") + loaded.reason,
                                  MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
    if (!loaded)
        return;
    becomeChosenFile();
}

// After an open or a Save As: the chosen file is now the document's file.
void DocumentFiles::becomeChosenFile()
{
    m_player.setEditorFolder(QDir::currentPath());
    m_path = m_chosenFileName;
    m_stamp = FileStamp::of(m_path);
    m_recent.add(m_path);
    showTitleFromPath(m_path);
    markSaved();
}

void DocumentFiles::markSaved()
{
    m_modified = false;
    emit unsavedChangesCleared();
}

bool DocumentFiles::mayDiscardChanges()
{
    if (!m_modified)
        return true;
    const MsgResult answer = m_services.messages->show(
        m_window, m_language.T(99), MsgButtons::YesNoCancel, MsgIcon::Exclamation, m_language.T(1));
    if (answer == MsgResult::Cancel)
        return false;
    if (answer == MsgResult::Yes) {
        save();
        // Save As cancelled, or the write failed: the text is still the only
        // copy, so it stays.
        if (m_modified)
            return false;
    }
    return true;
}

void DocumentFiles::openChosen()
{
    if (!mayDiscardChanges())
        return;
    open(QString());
}

void DocumentFiles::save()
{
    if (m_path.isEmpty()) {
        if (m_modified)
            saveAs();
        return;
    }
    m_services.messages->beep();
    if (m_modified && maySaveOverFileOnDisk() && write(m_path, m_formats.current())) {
        m_stamp = FileStamp::of(m_path);
        m_recent.add(m_path);
        markSaved();
    }
}

void DocumentFiles::saveAs()
{
    const QString editorFolder = m_player.editorFolder();
    const QString folder = editorFolder.trimmed().isEmpty() ? QDir::currentPath() : editorFolder;
    m_chosenFileName =
        ShowFileDialog(*m_services.fileDialogs, nullptr, folder, fileFilter(true), 1,
                       QStringLiteral("rtf"), untitledTitle(), m_language.T(55), m_window, false)
            .toString();
    if (m_chosenFileName.isEmpty())
        return;
    // Any existing file is asked about before it is replaced, hidden ones
    // (names beginning with a dot) included.
    if (QFileInfo(m_chosenFileName).exists() || QFileInfo(m_chosenFileName).isSymLink()) {
        const MsgResult answer = m_services.messages->show(
            m_window, m_language.T(53) + QStringLiteral("\n\n") + m_language.T(54),
            MsgButtons::YesNo, MsgIcon::Exclamation, m_language.T(1));
        if (answer == MsgResult::No)
            return;
    }
    // A failed write changes nothing: the text stays modified, so the exit
    // question still protects it.
    const DocumentFormat format = TranscriptFormats::formatForName(m_chosenFileName);
    if (!write(m_chosenFileName, format))
        return;
    m_formats.setCurrent(format);
    becomeChosenFile();
}

void DocumentFiles::startNew()
{
    if (!mayDiscardChanges())
        return;
    if (m_untitledCounter < 32767)
        ++m_untitledCounter;
    m_text.setText(QString());
    m_path.clear();
    m_stamp.reset();
    m_formats.startDocument(DocumentFormat::Rtf);
    showUntitledTitle();
    markSaved();
}

void DocumentFiles::startUntitled()
{
    m_modified = false;
    m_untitledCounter = 1;
    m_path.clear();
    showUntitledTitle();
}

void DocumentFiles::takeRecovered(const QByteArray &rtf, const QString &path)
{
    m_text.setTextRTF(rtf);
    m_path = path;
    m_formats.startDocument(TranscriptFormats::formatForName(path));
    showTitle();
    // Not saved anywhere yet: the close question and the journal both see it.
    m_modified = true;
}

// ---------------------------------------------------------------- title

void DocumentFiles::takeLanguage()
{
    m_untitledName = m_language.T(97) + QStringLiteral(" ");
}

QString DocumentFiles::untitledTitle() const
{
    return m_untitledName + QString::number(m_untitledCounter);
}

void DocumentFiles::showTitle()
{
    if (m_path.isEmpty())
        showUntitledTitle();
    else
        showTitleFromPath(m_path);
}

void DocumentFiles::showUntitledTitle()
{
    m_window->setWindowTitle(m_language.T(96) + QStringLiteral(" - ") + untitledTitle());
}

void DocumentFiles::showTitleFromPath(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return;
    m_window->setWindowTitle(m_language.T(96) + QStringLiteral(" - ") + path.mid(slash + 1));
}
