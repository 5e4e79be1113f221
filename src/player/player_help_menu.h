#pragma once

#include <QObject>
#include <functional>

class PlayerLinks;
class PlayerMenus;
class QAction;
class QWidget;
class frmAbout;
namespace quillory {
class DesktopLinks;
class LanguageTable;
} // namespace quillory

// The commands of the Help and Donations menus, the sound settings and the
// translation page of Options, and the about box, which stands alone in place
// of the player and the editor while it is open.
class PlayerHelpMenu : public QObject {
    Q_OBJECT
public:
    // `editorWindow` is asked only when the about box opens or closes;
    // `playerEnded` keeps a closing about box from bringing back a closed player.
    PlayerHelpMenu(const PlayerMenus &menus, PlayerLinks &links, QWidget *player,
                   const quillory::LanguageTable &language, quillory::DesktopLinks *desktopLinks,
                   std::function<QWidget *()> editorWindow, std::function<bool()> playerEnded);

    void showAboutBox();
    // Created on first use.
    frmAbout *aboutBox() const { return m_about; }

    // Whether the show/hide-editor item's caption says the editor is shown
    // (it then offers the hide word).
    static bool editorWasShown(const QString &itemCaption, const QString &showWord,
                               const QString &hideWord);

private:
    void aboutBoxClosed();
    void writeTranslationPage();

    PlayerLinks &m_links;
    QWidget *m_player;
    const quillory::LanguageTable &m_language;
    quillory::DesktopLinks *m_desktopLinks;
    QAction *m_showHideEditor;
    std::function<QWidget *()> m_editorWindow;
    std::function<bool()> m_playerEnded;
    frmAbout *m_about = nullptr;
};
