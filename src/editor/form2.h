#pragma once

#include "i18n/language_table.h"
#include "platform/services/services.h"
#include "player/player_commands.h"
#include "player/recent_list.h"

#include <QMainWindow>
#include <array>
#include <cstdint>

class QAction;
class QMenu;
class RichTextBox;

// The transcript editor: one rich-text document under the player window. Its
// function keys drive the player without leaving the text.
class Form2 : public QMainWindow {
    Q_OBJECT
public:
    Form2(PlayerCommands &player, quillory::LanguageTable &language,
          const quillory::Services &services, QWidget *parent = nullptr);
    ~Form2() override;

    void Form_Load();
    // Gives the text area the keyboard focus.
    void focusEditor();
    void CambiaLingua2();

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
    void AddRecentDocument(const QString &path);
    void mnuRecent_Click(int slot); // slot 0..3
    // Start-up: reads "LastFilesEditor.ini" into the menu.
    void LoadRecentDocuments();
    const quillory::RecentList &recentDocuments() const { return m_recent; }

    // Key table of the text area; returns true when the key was taken.
    bool RTB_KeyDown(int key, Qt::KeyboardModifiers modifiers);

    RichTextBox *RTB = nullptr;
    QMenu *mnuFile = nullptr, *mnuModifica = nullptr, *mnuStrumenti = nullptr;
    QAction *mnuNuovo = nullptr, *mnuApri = nullptr, *mnuSalva = nullptr,
            *mnuSalvaConNome = nullptr, *mnuStampa = nullptr, *mnuOrtografia = nullptr,
            *mnur = nullptr;
    std::array<QAction *, 4> mnuRecent{};

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void RTB_Change();
    void setCaptionFromPath(const QString &path);
    void updateRecentMenu();
    // Writes the document; on failure says so (naming the file) and returns false.
    bool writeDocument(const QString &path);
    quillory::MsgResult askToSaveChanges();
    void showUntitledCaption();
    QString untitledFullName() const;
    QString fileFilter() const;

    PlayerCommands &m_player;
    quillory::LanguageTable &m_language;
    quillory::Services m_services;
    bool m_documentModified = false;
    QString m_untitledName;
    std::int16_t m_untitledCounter = 1;
    QString m_documentPath;
    QString m_chosenFileName;
    quillory::RecentList m_recent;
};
