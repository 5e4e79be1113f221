#pragma once

#include "contracts/player_commands.h"
#include "contracts/searchable_text.h"
#include "contracts/transcript_editor.h"
#include "editor/document_files.h"
#include "editor/document_snapshot.h"
#include "editor/recent_documents_menu.h"
#include "editor/timestamp_commands.h"
#include "editor/undo_history.h"
#include "i18n/language_table.h"
#include "platform/services/services.h"
#include "session/playback_keys.h"

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>

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
    bool hasUnsavedChanges() const override { return m_files->isModified(); }
    QString untitledTitle() const override { return m_files->untitledTitle(); }
    void saveAs() override { m_files->saveAs(); }
    void applyLanguage() override;
    QWidget *textArea() override;
    // The text box, read by the recovery journal and searched by the find dialog.
    const RichTextBox &textBox() const { return *RTB; }
    SearchableText *searchedText();
    // What the find and replace dialog opens as: "" Find, "1" Replace.
    QString findMode() const { return m_findMode; }

    // --- the document's file, which the player's close question reads
    bool DocumentModified() const { return m_files->isModified(); }
    void setDocumentModified(bool modified) { m_files->setModified(modified); }
    const QString &UntitledName() const { return m_files->untitledName(); }
    std::int16_t UntitledCounter() const { return m_files->untitledCounter(); }
    const QString &DocumentPath() const { return m_files->path(); }
    void OpenDocument(const QString &path) { m_files->open(path); }
    void mnuNuovo_Click() { m_files->startNew(); }
    void mnuApri_Click() { m_files->openChosen(); }
    void mnuSalva_Click() { m_files->save(); }
    void mnuSalvaConNome_Click() { m_files->saveAs(); }
    void mnuStampa_Click();
    // Start-up: reads "LastFilesEditor.ini" into the menu.
    void LoadRecentDocuments() { m_recent->load(); }
    const quillory::RecentList &recentDocuments() const { return m_recent->list(); }
    // A recovered transcript: its text, modified, under its old path or the
    // untitled name.
    void takeRecoveredDocument(const QByteArray &rtf, const QString &documentPath)
    {
        m_files->takeRecovered(rtf, documentPath);
    }

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
    // The composition root hands in how to open the find and replace dialog.
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

    // --- timestamps
    void insertTimestamp() { m_timestamps->insertTimestamp(); }
    // Plays from the timestamp at a document position; false when none is there.
    bool playTimestampAt(int position) { return m_timestamps->playAt(position); }
    void mnuImpostaTimestamp_Click() { m_timestamps->openSettings(); }

    // Reads the player's speed and loop keys from the preferences; Form_Load does it once.
    void loadPlaybackKeys();

    // The spelling check (editor_spelling.cpp), built with the window.
    EditorSpelling &spelling() { return *m_spelling; }

private:
    RichTextBox *RTB = nullptr;
    QMenu *mnuFile = nullptr, *mnuModifica = nullptr;
    QAction *mnuNuovo = nullptr, *mnuApri = nullptr, *mnuSalva = nullptr,
            *mnuSalvaConNome = nullptr;

signals:
    // A save, New or Open has left nothing unsaved.
    void unsavedChangesCleared();

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
    void restoreSnapshot(const quillory::DocumentSnapshot &snapshot);
    void toggleAttribute(int index);
    void chooseColour();
    void applyFontSize(const QString &text);
    bool playbackKeyDown(int key, Qt::KeyboardModifiers modifiers);

    IconStrip *Image1 = nullptr;
    std::array<ClickArea *, 15> Label2{};
    std::array<QLabel *, 4> Label3{};
    QComboBox *Combo1 = nullptr, *Combo2 = nullptr;
    QLabel *Label1 = nullptr;
    QMenu *mnuStrumenti = nullptr;
    QAction *mnuStampa = nullptr, *mnuOrtografia = nullptr;
    QAction *mnuAnnulla = nullptr, *mnuRipeti = nullptr, *mnuTaglia = nullptr, *mnuCopia = nullptr,
            *mnuIncolla = nullptr, *mnuSelezionaTutto = nullptr, *mnuTrova = nullptr,
            *mnuSostituisci = nullptr;

    PlayerCommands &m_player;
    quillory::LanguageTable &m_language;
    quillory::Services m_services;
    RecentDocumentsMenu *m_recent = nullptr;
    DocumentFiles *m_files = nullptr;
    TimestampCommands *m_timestamps = nullptr;
    quillory::UndoHistory<quillory::DocumentSnapshot> m_undo{quillory::DocumentSnapshot::empty()};
    bool m_undoRestoring = false;
    QString m_findMode;
    std::function<void()> m_openFindDialog;
    quillory::PlaybackKeys m_playbackKeys;
    EditorSpelling *m_spelling = nullptr;
};
