#pragma once

#include "contracts/player_commands.h"
#include "editor/transcript_formats.h"
#include "i18n/language_table.h"
#include "platform/files/file_stamp.h"
#include "platform/services/services.h"

#include <QObject>
#include <cstdint>
#include <optional>

class QWidget;
class RecentDocumentsMenu;
class RichTextBox;

// The transcript's file: New, Open, Save and Save As, the questions before
// unsaved text is discarded or a file another program changed is written over,
// and the window title that names the document.
class DocumentFiles : public QObject {
    Q_OBJECT
public:
    // `window` owns the dialogs and carries the title.
    DocumentFiles(RichTextBox &text, RecentDocumentsMenu &recent, PlayerCommands &player,
                  quillory::LanguageTable &language, const quillory::Services &services,
                  QWidget *window);

    // Opens `path`, or the file the user picks when it is empty.
    void open(const QString &path);
    // Open, New and Save ask about unsaved text first; Save As asks for a name.
    void openChosen();
    void startNew();
    void save();
    void saveAs();

    // Start-up: the first untitled document, nothing to save.
    void startUntitled();
    // The untitled name in the language now loaded; the title follows on showTitle.
    void takeLanguage();
    // "Untitled 1" or the file's name after the window's caption.
    void showTitle();
    // A recovered transcript: its text, modified, under its old path or the
    // untitled name.
    void takeRecovered(const QByteArray &rtf, const QString &path);

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    const QString &path() const { return m_path; }
    const QString &untitledName() const { return m_untitledName; }
    std::int16_t untitledCounter() const { return m_untitledCounter; }
    // The untitled document as the quit question and Save As name it ("Untitled 1").
    QString untitledTitle() const;

signals:
    // A save, New or Open has left nothing unsaved.
    void unsavedChangesCleared();

private:
    QString fileFilter(bool saving) const;
    // Writes the document in `format`, asking first when the format drops
    // formatting; on failure says so (naming the file) and returns false.
    bool write(const QString &path, quillory::DocumentFormat format);
    bool maySaveOverFileOnDisk();
    // False when the user cancelled or the save that "Yes" asked for did not happen.
    bool mayDiscardChanges();
    void becomeChosenFile();
    void showUntitledTitle();
    void showTitleFromPath(const QString &path);
    void markSaved();

    RichTextBox &m_text;
    RecentDocumentsMenu &m_recent;
    PlayerCommands &m_player;
    quillory::LanguageTable &m_language;
    quillory::Services m_services;
    QWidget *m_window;
    bool m_modified = false;
    QString m_untitledName;
    std::int16_t m_untitledCounter = 1;
    QString m_path;
    // The file as last read or written here, to notice another program's save
    // in between.
    std::optional<quillory::FileStamp> m_stamp;
    QString m_chosenFileName;
    TranscriptFormats m_formats;
};
