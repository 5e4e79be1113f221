#pragma once

#include "contracts/bookmark_host.h"
#include "contracts/bookmark_window.h"
#include "i18n/language_table.h"
#include "platform/services/services.h"
#include "session/bookmark_entries.h"

#include <QTimer>
#include <QWidget>

class QListWidget;
class QPushButton;

namespace quillory {
class PlayerSession;
}

// The bookmark list window beside the player: the current media file's
// bookmarks in label order, "+" to add one at the current position, "-" to
// remove the selected one, a double click to play from one.
class Form3 : public QWidget, public BookmarkWindow {
public:
    Form3(quillory::PlayerSession &session, const quillory::Services &services,
          quillory::LanguageTable &language, BookmarkHost &host, QWidget *parent = nullptr);
    ~Form3() override;

    // --- window events
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void Timer1_Timer();

    // --- commands
    void Command1_Click();
    void Command2_Click();
    void List1_DblClick();

    // The current position in milliseconds; 0 when the device does not answer.
    double CurPos();
    // Empties the table and copies the lists into it.
    void copyListsToTable();

    // --- BookmarkWindow
    bool isLoaded() const override { return m_loaded; }
    bool isShown() const override { return isVisible(); }
    void showBesidePlayer() override;
    void hideWindow() override { hide(); }
    void clearLists() override;
    void unload() override;
    void addBookmark() override { Command1_Click(); }
    QRect placement() const override { return frameGeometry(); }
    void applyLanguage() override;

    // --- CompanionWindow
    void hideWithPlayer() override { hide(); }
    void startCloseTimer() override;

    QListWidget *List1 = nullptr;
    QListWidget *List2 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QTimer Timer1;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    // Puts an entry into both lists at its place in the lists' order.
    void insertEntry(const QString &entry);
    bool hasLabel(const QString &label) const;
    void placeBesidePlayer();
    void pushEditorBelow();

    quillory::PlayerSession &m_session;
    quillory::Services m_services;
    quillory::LanguageTable &m_language;
    quillory::BookmarkEntries &m_entries;
    BookmarkHost &m_host;
    bool m_loaded = false;
    bool m_settling = false;
    QSize m_frameExtra;
};
