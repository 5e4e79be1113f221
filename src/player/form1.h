#pragma once

#include "contracts/companion_window.h"
#include "contracts/transcript_editor.h"
#include "i18n/language_table.h"
#include "platform/files/settings_file.h"
#include "platform/services/services.h"
#include "player/bookmark_list_dock.h"
#include "player/deferred_editor.h"
#include "player/master_volume_panel.h"
#include "player/media_file_prompt.h"
#include "player/playback_option_prompts.h"
#include "player/player_bookmark_host.h"
#include "player/player_controls.h"
#include "player/player_help_menu.h"
#include "player/player_links.h"
#include "player/player_menus.h"
#include "player/player_window_commands.h"
#include "player/speed_loop_menu.h"
#include "player/transport_button_pictures.h"
#include "player/unsaved_transcript_question.h"
#include "session/player_session.h"

#include <QColor>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class PictureButton;
class PositionBar;
class PositionDisplay;
class BookmarkWindow;
class frmAbout;

using quillory::PlayState;

// The player window: the program's lifetime, the transport's buttons and
// menus, the time display and the settings. What plays is the session's.
// Its controls and menus are its own: other windows and the composition root
// reach the player through its named commands.
class Form1 : public QMainWindow, private PlayerControls, private PlayerMenus {
    Q_OBJECT
public:
    Form1(quillory::PlayerSession &session, const quillory::Services &services,
          QWidget *parent = nullptr);
    ~Form1() override;

    // --- start-up, settings, shutdown
    void Form_Initialize();
    void Form_Load(const QString &commandLine);
    void SaveSettings();
    // Closing the window; returns true when the close is cancelled.
    bool Form_Unload();
    void mnuEsci_Click();
    void mnuMostraNascondi_Click();
    // Both windows to the front, the keyboard to the editor (media keys' Raise).
    void raiseWindows();

    // --- media session
    void mnuChiudi_Click();
    double CurPos() { return m_session.position(); }
    void errore(std::uint32_t code);

    // --- transport
    void cmdPlay_Click();
    void mnuStop_Click();
    void cmdAvanz_click();
    void cmdIndietro_Click();
    void ReturnFocus();

    // --- time display, file label, position bar
    void Timer1_Timer();
    void MostraPath();
    void mnuTitoloCompleto_Click();
    void Label2_MouseMove(int button, int shift, double x, double y);
    void Label2_Click();

    // --- playback options
    void mnuSalto_Click();
    void mnuSecIndietro_Click();

    // --- opening media, recent list, drops
    // Asks for a file when `name` is empty, checks it and opens it without
    // waiting for the device; `thenOpened` runs once the file plays.
    void OpenMediaFile(const QString &name, std::function<void()> thenOpened = {});
    void GotADrop(const QString &name);
    void mnuApri_Click();
    void Image3_Click();
    void mnuRecent_Click(int slot); // slot 0..3

    // --- language
    void ApplyLanguage();
    void mnuLingua_Click();
    QString GetLingua();
    void LoadLanguageFile();

    // --- the volume slider and the master volume it sets
    MasterVolumePanel &volumePanel() { return *m_volume; }

    void mnuBookMark_Click();

    // --- help, web pages, sound settings, about box, translation page
    PlayerLinks &links() { return m_links; }
    frmAbout *aboutBox() const { return m_helpMenu->aboutBox(); }

    // An item at the end of the View menu; `retitle` sets its caption now and
    // each time the menu opens, so it follows the language.
    QAction *addViewMenuItem(const QString &name, std::function<void(QAction *)> retitle);
    // A strip under the controls as wide as they are (the waveform); the
    // window grows by its height while it is shown.
    void addStripBelowControls(QWidget *strip);

    // A window that closes with the player (bookmark list, find dialog); kept in
    // the order of registration. The window outlives the player's close.
    void addCompanionWindow(CompanionWindow *window);

    // --- bookmarks
    void SaveBookmarks();
    void mnuAddBM_Click();
    void mnuBMsuccessivo_Click();
    void mnuBMprecedente_Click();
    using BookmarkWindowFactory = BookmarkListDock::Factory;
    // The bookmark list window is made by the composition root on first use.
    void setBookmarkWindowFactory(BookmarkWindowFactory factory);
    BookmarkWindow *bookmarkWindow();
    quillory::BookmarkEntries &bookmarkEntries() { return m_session.bookmarks(); }
    // The player as the bookmark list window sees it.
    BookmarkHost &bookmarkHost() { return m_bookmarkHost; }

    // --- state other windows and tests read
    // The editor, built on first use by the factory the composition root
    // hands in (form1_first_frame.cpp).
    TranscriptEditor *editor() const;
    using EditorFactory = DeferredEditor::Factory;
    void setEditorFactory(EditorFactory factory) { m_editorStart.setFactory(std::move(factory)); }
    quillory::LanguageTable &languageTable() { return m_language; }
    QString languageFile() const { return m_settings.languageFile; }
    quillory::PlayerSession &session() { return m_session; }
    PlayState playState() const { return m_session.playState(); }
    bool displayTimerRunning() const { return m_session.isTicking(); }
    QString timeText() const;
    QString fileLabelText() const;
    QString mediaPath() const { return m_session.mediaPath(); }
    std::int32_t jumpSeconds() const { return m_session.jumpSeconds(); }
    std::int16_t pauseRewindSeconds() const { return m_session.pauseRewindSeconds(); }
    void setJumpSeconds(std::int32_t s) { m_session.setJumpSeconds(s); }
    void setPauseRewindSeconds(std::int16_t s) { m_session.setPauseRewindSeconds(s); }
    bool showFullPath() const;
    const quillory::RecentList &recentList() const { return m_session.recentFiles(); }
    QString editorFolder() const { return m_settings.editorFolder; }
    void setEditorFolder(const QString &folder) { m_settings.editorFolder = folder; }
    int fillWidthTwips() const;
    QString mouseOverTime() const;
    // 0 open, 1 play, 2 back, 3 forward, 4 stop
    bool isHovered(int button) const { return m_buttonPictures.isHovered(button); }

    // The player's commands as the editor, the bookmark list and the desktop
    // run them.
    PlayerCommands &commands() { return m_commands; }

signals:
    // The program ends (Exit command, completed close, failed open).
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void connectSession();
    void setTransportEnabled(bool enabled);
    void showPlayState(PlayState state);
    void showPosition(double positionMs, double lengthMs);
    void showOpenedMedia();
    void updateRecentMenu();
    void connectBookmarkMenus();
    void goToBookmark(bool forward);
    QRect editorAboveFrame();

public:
    // The frame the editor sits under when the player's frame is `playerFrame`.
    QRect editorAboveFrameFor(const QRect &playerFrame) const;

private:
    void endProgram();
    using SaveAnswer = UnsavedTranscriptQuestion::Answer;
    SaveAnswer askToSaveTranscript();
    void installWrappingMenuBar();

    quillory::PlayerSession &m_session;
    quillory::Services m_services;
    PlayerWindowCommands m_commands;
    PlayerBookmarkHost m_bookmarkHost;
    quillory::LanguageTable m_language;
    PlayerLinks m_links;
    MediaFilePrompt m_filePrompt;
    PlaybackOptionPrompts m_optionPrompts;
    UnsavedTranscriptQuestion m_saveQuestion;
    TransportButtonPictures m_buttonPictures;
    quillory::PlayerSettings m_settings;
    std::vector<CompanionWindow *> m_companions;
    QString m_productTitle;
    bool m_dropsEnabled = false;
    bool m_ended = false;
    // The window manager's frame arrives after the first show; the windows are
    // then placed again with its real size.
    QSize m_frameExtra;
    void placeAtTopOfScreen();
    void placeAgainOnceFramed();
    PositionDisplay *m_positionDisplay = nullptr; // a child of this window

    MasterVolumePanel *m_volume = nullptr; // a child of the client area

    BookmarkListDock *m_bookmarks = nullptr; // a child of this window
    PlayerHelpMenu *m_helpMenu = nullptr;    // a child of this window

public:
    // Reopens a recovered session's media file and stops it at the position it
    // had, so the user resumes listening with the play key (form1_recovery.cpp).
    void resumeRecoveredMedia(const QString &path, qint64 positionMs);
    // The program ended with unsaved text the user was not asked about: the
    // player was closed while the editor was hidden.
    bool endedWithUnaskedText() const { return m_endedWithUnaskedText; }

private:
    bool m_endedWithUnaskedText = false;

    // --- playback speed and the loop
public:
    SpeedLoopMenu &speedLoopMenu() { return *m_speedLoop; }
    quillory::PlaybackSpeed playbackSpeed() const { return m_session.speed(); }
    bool loopOn() const { return m_session.isLooping(); }

private:
    SpeedLoopMenu *m_speedLoop = nullptr; // a child of the client area

    // --- what waits for the player's first frame
public:
    // Start-up work that the player's first frame does not show (bringing up
    // the editor) is handed to `later`, which runs it once the frame is on
    // screen; without one it runs at once, in the start-up order.
    using FirstFrameDeferral = DeferredEditor::FirstFrameDeferral;
    void setAfterFirstFrame(FirstFrameDeferral later)
    {
        m_afterFirstFrame = later;
        m_editorStart.setAfterFirstFrame(std::move(later));
    }
    // The editor's start-up still waits for the first frame. Whatever asks
    // for the editor meanwhile (editor()) completes it first.
    bool editorDue() const { return m_editorStart.due(); }
    // The editor if it has been built; null before.
    TranscriptEditor *editorIfBuilt() const { return m_editorStart.ifBuilt(); }
    // The pictures of the player's first frame, as Form_Load reads them.
    static QStringList firstFramePictures();

signals:
    // The editor has just been built and placed.
    void editorBuilt();

private:
    QWidget *editorWidget() const { return editor()->asWidget(); }
    DeferredEditor m_editorStart;
    FirstFrameDeferral m_afterFirstFrame; // work the first frame does not wait for
};
