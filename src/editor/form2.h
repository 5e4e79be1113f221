#pragma once

#include "contracts/player_commands.h"
#include "contracts/searchable_text.h"
#include "contracts/transcript_editor.h"
#include "editor/document_snapshot.h"
#include "editor/transcript_formats.h"
#include "editor/undo_history.h"
#include "i18n/language_table.h"
#include "platform/files/file_stamp.h"
#include "platform/services/services.h"
#include "session/playback_keys.h"
#include "session/recent_list.h"

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class RichTextBox;
class IconStrip;
class ClickArea;
class EditorSpelling;

// The transcript editor: one rich-text document under the player window. Its
// function keys drive the player without leaving the text.
class Form2 : public QMainWindow, public TranscriptEditor {
    Q_OBJECT
public:
    Form2(PlayerCommands &player, quillory::LanguageTable &language,
          const quillory::Services &services, QWidget *parent = nullptr);
    ~Form2() override;

    void Form_Load();
    // Gives the text area the keyboard focus.
    void focusEditor();
    void CambiaLingua2();

    // --- placement: directly under the window whose frame is given
    void placeBelow(const QRect &aboveFrame) override;

    // --- TranscriptEditor
    QWidget *asWidget() override { return this; }
    void loadAtStart() override { Form_Load(); }
    void loadRecentDocuments() override { LoadRecentDocuments(); }
    void focusText() override { focusEditor(); }
    bool hasUnsavedChanges() const override { return m_documentModified; }
    QString untitledTitle() const override;
    void saveAs() override { mnuSalvaConNome_Click(); }
    void applyLanguage() override;
    QWidget *textArea() override;
    // The text box, read by the recovery journal and searched by the find dialog.
    const RichTextBox &textBox() const { return *RTB; }
    SearchableText *searchedText();
    // What the find and replace dialog opens as: "" Find, "1" Replace.
    QString findMode() const { return Tag; }

    // --- document state the player's close question reads
    bool DocumentModified() const { return m_documentModified; }
    void setDocumentModified(bool modified) { m_documentModified = modified; }
    const QString &UntitledName() const { return m_untitledName; }
    std::int16_t UntitledCounter() const { return m_untitledCounter; }
    const QString &DocumentPath() const { return m_documentPath; }
    const QString &ChosenFileName() const { return m_chosenFileName; }

    // --- file commands
    void OpenDocument(const QString &path);
    void mnuNuovo_Click();
    void mnuApri_Click();
    void mnuSalva_Click();
    void mnuSalvaConNome_Click();
    void mnuStampa_Click();
    void AddRecentDocument(const QString &path);
    void mnuRecent_Click(int slot); // slot 0..3
    // Start-up: reads "LastFilesEditor.ini" into the menu.
    void LoadRecentDocuments();
    const quillory::RecentList &recentDocuments() const { return m_recent; }

    // --- edit menu
    void mnuAnnulla_Click();
    void mnuRipeti_Click();
    void mnuTaglia_Click();
    void mnuCopia_Click();
    void mnuIncolla_Click();
    void mnuSelezionaTutto_Click();
    void mnuTrova_Click();
    void mnuSostituisci_Click();
    void mnuOrtografia_Click() {}
    std::int16_t UndoIndex() const { return m_undo.UndoIndex(); }
    bool UndoRestoring() const { return m_undoRestoring; }
    const quillory::UndoHistory<quillory::DocumentSnapshot> &undoHistory() const { return m_undo; }

    // The find and replace dialog reads the tag ("" find, "1" replace); the
    // composition root hands in how to open it.
    QString Tag;
    void setFindDialogOpener(std::function<void()> open) { m_openFindDialog = std::move(open); }

    // --- formatting bar
    void Label2_Click(int index);
    void Label2_MouseMove(int index);
    void ClearToolbarHighlight();
    void Combo1_Click();
    void Combo1_Change();
    void Combo2_Click();
    void Combo2_Change();
    void Form_Resize();

    // Key table of the text area; returns true when the key was taken.
    bool RTB_KeyDown(int key, Qt::KeyboardModifiers modifiers);

    RichTextBox *RTB = nullptr;
    IconStrip *Image1 = nullptr;
    std::array<ClickArea *, 15> Label2{};
    std::array<QLabel *, 4> Label3{};
    QComboBox *Combo1 = nullptr, *Combo2 = nullptr;
    QLabel *Label1 = nullptr;
    QMenu *mnuFile = nullptr, *mnuModifica = nullptr, *mnuStrumenti = nullptr;
    QAction *mnuNuovo = nullptr, *mnuApri = nullptr, *mnuSalva = nullptr,
            *mnuSalvaConNome = nullptr, *mnuStampa = nullptr, *mnuOrtografia = nullptr,
            *mnur = nullptr;
    QAction *mnuAnnulla = nullptr, *mnuRipeti = nullptr, *mnuTaglia = nullptr, *mnuCopia = nullptr,
            *mnuIncolla = nullptr, *mnuSelezionaTutto = nullptr, *mnuTrova = nullptr,
            *mnuSostituisci = nullptr;
    std::array<QAction *, 4> mnuRecent{};

    // --- timestamps (form2_timestamps.cpp)
    void insertTimestamp();
    // Plays from the timestamp at a document position; false when none is there.
    bool playTimestampAt(int position);
    void mnuImpostaTimestamp_Click();
    QMenu *mnuTimestamp = nullptr;
    QAction *mnuInserisciTimestamp = nullptr, *mnuImpostaTimestamp = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildFileMenu();
    void buildEditMenu();
    void buildControls();
    void fillFontBoxes();
    // The font boxes show the font at the caret (or of the selection).
    void showCaretFont();
    void setAccessibleNames();
    void RTB_Change();
    void setCaptionFromPath(const QString &path);
    void updateRecentMenu();
    // Writes the document in `format`, asking first when the format drops
    // formatting; on failure says so (naming the file) and returns false.
    bool writeDocument(const QString &path, quillory::DocumentFormat format);
    bool maySaveOverFileOnDisk();
    // The question before New and Open; false when the user cancelled or the
    // save that "Yes" asked for did not happen.
    void becomeChosenFile();
    bool mayDiscardChanges();
    void showUntitledCaption();
    QString untitledFullName() const;
    QString fileFilter(bool saving) const;
    void restoreSnapshot(const quillory::DocumentSnapshot &snapshot);
    void toggleAttribute(int index);
    void chooseColour();
    void applyFontSize(const QString &text);

    PlayerCommands &m_player;
    quillory::LanguageTable &m_language;
    quillory::Services m_services;
    bool m_documentModified = false;
    QString m_untitledName;
    std::int16_t m_untitledCounter = 1;
    QString m_documentPath;
    // The document's file as last read or written here, to notice another
    // program's save in between.
    std::optional<quillory::FileStamp> m_documentStamp;
    QString m_chosenFileName;
    TranscriptFormats m_formats;
    quillory::RecentList m_recent;
    quillory::UndoHistory<quillory::DocumentSnapshot> m_undo{quillory::DocumentSnapshot::empty()};
    bool m_undoRestoring = false;
    std::function<void()> m_openFindDialog;

    // Timestamps
    bool timestampKeyDown(int key, Qt::KeyboardModifiers modifiers);
    bool claimsTimestampKey(int key, Qt::KeyboardModifiers modifiers) const;
    void setUpTimestamps();
    void applyTimestampLanguage();

public:
    // A recovered transcript: its text, modified, under its old path or the
    // untitled name (form2_recovery.cpp).
    void takeRecoveredDocument(const QByteArray &rtf, const QString &documentPath);

signals:
    // A save, New or Open has left nothing unsaved.
    void unsavedChangesCleared();
    // --- the player's speed and loop keys (form2_playback_keys.cpp)
public:
    // Reads the keys from the preferences; Form_Load does it once.
    void loadPlaybackKeys();

private:
    bool playbackKeyDown(int key, Qt::KeyboardModifiers modifiers);
    quillory::PlaybackKeys m_playbackKeys;

public:
    // The spelling check (editor_spelling.cpp), built with the window.
    EditorSpelling &spelling() { return *m_spelling; }

private:
    EditorSpelling *m_spelling = nullptr;
};
