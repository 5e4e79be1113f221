#pragma once

#include "contracts/player_commands.h"
#include "i18n/language_table.h"
#include "platform/services/services.h"

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class RichTextBox;

// Timestamps in the transcript: the key and menu item that write the media
// position at the caret, Ctrl+click on a timestamp to play from there, and the
// settings dialog.
class TimestampCommands : public QObject {
    Q_OBJECT
public:
    // Adds the Timestamps menu to `menus`; `window` owns the dialogs.
    TimestampCommands(RichTextBox &text, QMenuBar *menus, PlayerCommands &player,
                      quillory::LanguageTable &language, const quillory::Services &services,
                      QWidget *window);

    void insertTimestamp();
    // Plays from the timestamp at a document position; false when none is there.
    bool playAt(int position);
    void openSettings();

    bool claimsKey(int key, Qt::KeyboardModifiers modifiers) const;
    // Inserts a timestamp when the key is the timestamp key; true when it was.
    bool keyDown(int key, Qt::KeyboardModifiers modifiers);
    void applyLanguage();

    QMenu *menu() const { return m_menu; }
    QAction *insertItem() const { return m_insertItem; }
    QAction *settingsItem() const { return m_settingsItem; }

private:
    RichTextBox &m_text;
    PlayerCommands &m_player;
    quillory::LanguageTable &m_language;
    quillory::Services m_services;
    QWidget *m_window;
    QMenu *m_menu = nullptr;
    QAction *m_insertItem = nullptr;
    QAction *m_settingsItem = nullptr;
};
