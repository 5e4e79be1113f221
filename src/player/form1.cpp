#include "form1.h"

#include "contracts/bookmark_window.h"
#include "platform/files/program_folder.h"
#include "platform/geometry/twips.h"
#include "player/button_hover_watch.h"
#include "player/editor_follows_player.h"
#include "player/picture_button.h"
#include "player/picture_preload.h"
#include "player/position_bar.h"
#include "player/strip_below_controls.h"
#include "player/wrapping_menu_bar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

using namespace quillory;

namespace {

// Design client area of the player window, in twips.
constexpr int ClientWidthTwips = 4920;
constexpr int ClientHeightTwips = 2325;

} // namespace

Form1::Form1(PlayerSession &session, const Services &services, QWidget *parent)
    : QMainWindow(parent), m_session(session), m_services(services),
      m_commands(*this, session, *services.messages),
      m_bookmarkHost({this, [this] { return editorWidget(); }, [this] { return m_productTitle; },
                      [this] { m_bookmarks->windowClosed(); }}),
      m_links(this, services, m_language), m_filePrompt(this, services, m_language),
      m_optionPrompts(this, services, m_language, session),
      m_saveQuestion(this, services, m_language),
      m_buttonPictures(*this, [this] { return m_session.playState() == PlayState::Playing; }),
      m_editorStart(this, {[this] {
                               // Under the player before anything is loaded.
                               Form_Initialize();
                               emit editorBuilt();
                           },
                           [this] { ReturnFocus(); }, [this] { return m_ended; }})
{
    setObjectName(QStringLiteral("Form1"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    buildControls();
    buildMenus();
    m_bookmarks = new BookmarkListDock(
        m_session, mnuBookMark, m_language, [this](CompanionWindow *w) { addCompanionWindow(w); },
        this);
    connectBookmarkMenus();
    m_speedLoop = new SpeedLoopMenu(m_session, mnuRiproduzione, mnuPlay, centralWidget(),
                                    [this] { ReturnFocus(); });
    connectSession();
}

Form1::~Form1() {}

void Form1::buildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twipsToPixels(ClientWidthTwips), twipsToPixels(ClientHeightTwips));
    client->setAutoFillBackground(true);
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, QColor(0xf0, 0xf0, 0xf0));
    client->setPalette(pal);
    setCentralWidget(client);

    setupControls(client);
    m_volume = new MasterVolumePanel(client, m_services, m_language, [this] { ReturnFocus(); });

    connect(cmdPlay, &QAbstractButton::clicked, this, &Form1::cmdPlay_Click);
    connect(CmdStop, &QAbstractButton::clicked, this, &Form1::mnuStop_Click);
    connect(CmdAvanz, &QAbstractButton::clicked, this, &Form1::cmdAvanz_click);
    connect(cmdIndietro, &QAbstractButton::clicked, this, &Form1::cmdIndietro_Click);
    connect(Image3, &QAbstractButton::clicked, this, &Form1::Image3_Click);
    connect(Label2, &PositionBar::mouseMoved, this, &Form1::Label2_MouseMove);
    connect(Label2, &PositionBar::clicked, this, &Form1::Label2_Click);
    new ButtonHoverWatch(client, *this, m_buttonPictures);
    for (QLabel *l : {m_volume->Label1, m_volume->Label3})
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Form1::buildMenus()
{
    installWrappingMenuBar();
    setupMenus(menuBar());
    for (int i = 0; i < RecentList::Size; ++i)
        connect(mnuRecent[static_cast<size_t>(i)], &QAction::triggered, this,
                [this, i] { mnuRecent_Click(i); });
    connect(mnuApri, &QAction::triggered, this, &Form1::mnuApri_Click);
    connect(mnuChiudi, &QAction::triggered, this, &Form1::mnuChiudi_Click);
    connect(mnuEsci, &QAction::triggered, this, &Form1::mnuEsci_Click);
    connect(mnuPlay, &QAction::triggered, this, &Form1::cmdPlay_Click);
    connect(mnuStop, &QAction::triggered, this, &Form1::mnuStop_Click);
    connect(mnuIndietro, &QAction::triggered, this, &Form1::cmdIndietro_Click);
    connect(mnuAvanti, &QAction::triggered, this, &Form1::cmdAvanz_click);
    connect(mnuMostraNascondi, &QAction::triggered, this, &Form1::mnuMostraNascondi_Click);
    connect(mnuBookMark, &QAction::triggered, this, &Form1::mnuBookMark_Click);
    connect(mnuSecIndietro, &QAction::triggered, this, &Form1::mnuSecIndietro_Click);
    connect(mnuSalto, &QAction::triggered, this, &Form1::mnuSalto_Click);
    connect(mnuTitoloCompleto, &QAction::triggered, this, &Form1::mnuTitoloCompleto_Click);
    connect(mnuLingua, &QAction::triggered, this, &Form1::mnuLingua_Click);
    m_helpMenu = new PlayerHelpMenu(
        *this, m_links, this, m_language, m_services.links, [this] { return editorWidget(); },
        [this] { return m_ended; });
}

void Form1::installWrappingMenuBar()
{
    setMenuBar(new WrappingMenuBar(this));
    // The window is as large as its content: the fixed client area plus the
    // menu rows, growing and shrinking with them.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    new EditorFollowsPlayer(this);
}

// ---------------------------------------------------------------- start-up

void Form1::placeAtTopOfScreen()
{
    // move() places the outer frame, so the title bar stays on the screen.
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect();
    move(screen.left() + 50, screen.top());
}

void Form1::placeAgainOnceFramed()
{
    const QSize extra = frameGeometry().size() - size();
    if (extra == m_frameExtra || m_ended)
        return;
    m_frameExtra = extra;
    placeAtTopOfScreen();
    Form_Initialize();
}

void Form1::Form_Initialize()
{
    // The editor sits under the player (under the bookmark list once it has one).
    if (TranscriptEditor *built = m_editorStart.ifBuilt())
        built->placeBelow(editorAboveFrame());
}

void Form1::Form_Load(const QString &commandLine)
{
    // Topmost, 50 pixels from the left, at the top of the screen.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    placeAtTopOfScreen();
    // Drops are accepted from now until the window closes.
    setAcceptDrops(true);
    m_dropsEnabled = true;
    m_productTitle = QStringLiteral("Quillory");
    setWindowTitle(m_productTitle);
    m_settings = SettingsFile::read(SettingsFile::defaultPath());
    m_session.setJumpSeconds(m_settings.jumpSeconds);
    m_session.setPauseRewindSeconds(m_settings.pauseRewindSeconds);
    mnuTitoloCompleto->setChecked(m_settings.showFullPath);
    m_speedLoop->loadSettings();
    // The language is chosen from the country on the first start.
    if (m_settings.languageFile.trimmed().isEmpty())
        m_settings.languageFile = LanguageTable::languageForCountry(GetLingua());
    LoadLanguageFile();
    m_editorStart.start(m_settings.editorHidden == 0);
    ApplyLanguage();
    Shape1->hide();
    Label2->setGeometry(Shape1->x(), Label2->y(), Shape1->width(), Label2->height());
    Label2->setText(QStringLiteral("0:00 / 0:00"));
    setTransportEnabled(false);
    mnuSecIndietro->setText(m_language.T(30));
    m_volume->Image1->setToolTip(QStringLiteral(" ") + m_language.T(27) + QStringLiteral(" "));
    // The open button's home position.
    m_buttonPictures.loadAtStart();
    Image4->setPixmap(QPixmap::fromImage(
        PicturePreload::read(ProgramFolder::file(QStringLiteral("Files/Image4.png")))));
    if (m_session.loadRecentFiles(ProgramFolder::file(QStringLiteral("LastFiles.ini"))))
        mnuRiga->setVisible(true);
    for (int i = 0; i < RecentList::Size; ++i) {
        const QString &caption = m_session.recentFiles().caption(i);
        mnuRecent[static_cast<size_t>(i)]->setText(caption);
        mnuRecent[static_cast<size_t>(i)]->setVisible(RecentList::isShown(caption));
    }
    if (!m_editorStart.due())
        editor()->loadRecentDocuments();
    show();
    // The knob centred on its track. The master volume (the mixer is found on
    // a worker meanwhile, which with a sound server takes a while) waits for
    // the first frame; a missing mixer is reported once its message can be read.
    const bool mixerAfterFrame = static_cast<bool>(m_afterFirstFrame);
    if (!mixerAfterFrame)
        m_volume->OpenMixer();
    m_volume->PlaceVolumeKnob();
    if (!mixerAfterFrame)
        m_volume->reportMissingMixer(this);
    Form_Initialize();
    m_frameExtra = frameGeometry().size() - size();
    for (int ms : {300, 1000, 2000})
        QTimer::singleShot(ms, this, [this] { placeAgainOnceFramed(); });
    if (!m_editorStart.due() && editorWidget()->isVisible())
        editorWidget()->show();
    if (!commandLine.trimmed().isEmpty())
        OpenMediaFile(commandLine);
    // The stored volume: the knob's position and value. Without the mixer yet
    // the knob takes its stored place; the value and readout follow with it.
    m_volume->restore(m_settings);
    if (mixerAfterFrame) {
        m_afterFirstFrame([this] {
            m_volume->OpenMixer();
            m_volume->reportMissingMixer(this);
            m_volume->restore(m_settings);
        });
    }
}

void Form1::SaveSettings()
{
    m_settings.jumpSeconds = m_session.jumpSeconds();
    m_settings.pauseRewindSeconds = m_session.pauseRewindSeconds();
    m_settings.showFullPath = mnuTitoloCompleto->isChecked();
    m_settings.editorHidden = editorWidget()->isVisible() ? 0 : 1;
    m_volume->store(&m_settings);
    // A failure leaves the old file whole; nothing is reported.
    SettingsFile::write(SettingsFile::defaultPath(), m_settings);
}

void Form1::mnuSalto_Click()
{
    m_optionPrompts.askJumpSeconds();
    SaveSettings();
}

void Form1::mnuSecIndietro_Click()
{
    m_optionPrompts.askPauseRewindSeconds();
    SaveSettings();
}

bool Form1::showFullPath() const
{
    return mnuTitoloCompleto->isChecked();
}

void Form1::mnuMostraNascondi_Click()
{
    if (editorWidget()->isVisible()) {
        editorWidget()->hide();
        mnuMostraNascondi->setText(m_language.T(84) + QStringLiteral(" ") + m_language.T(86));
    } else {
        mnuMostraNascondi->setText(m_language.T(85) + QStringLiteral(" ") + m_language.T(86));
        editorWidget()->show();
    }
    SaveSettings();
}

void Form1::raiseWindows()
{
    showNormal();
    raise();
    activateWindow();
    // A minimised editor comes back too, and takes the keyboard: typing is
    // what a raised transcriber does next.
    if (QWidget *window = editorWidget(); window->isVisible()) {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->raise();
        window->activateWindow();
        editor()->focusText();
    }
}

// ---------------------------------------------------------------- shutdown

Form1::SaveAnswer Form1::askToSaveTranscript()
{
    return m_saveQuestion.ask(*editor(), m_productTitle);
}

bool Form1::Form_Unload()
{
    if (m_ended)
        return false;
    if (editorWidget()->isVisible() && editor()->hasUnsavedChanges()) {
        switch (askToSaveTranscript()) {
        case SaveAnswer::Cancelled:
            // The program goes on exactly as it was.
            return true;
        case SaveAnswer::NotSaved:
            SaveSettings();
            show();
            return true;
        case SaveAnswer::GoOn:
            break;
        }
    }
    m_endedWithUnaskedText = !editorWidget()->isVisible() && editor()->hasUnsavedChanges();
    setAcceptDrops(false);
    m_dropsEnabled = false;
    SaveSettings();
    SaveBookmarks();
    // The companion windows hide at once and close on their own timers.
    for (CompanionWindow *window : m_companions)
        window->hideWithPlayer();
    for (CompanionWindow *window : m_companions)
        window->startCloseTimer();
    m_session.rewindQuietly();
    m_session.end();
    editorWidget()->hide();
    endProgram();
    return false;
}

void Form1::mnuEsci_Click()
{
    if (m_ended)
        return;
    // Asked before anything closes, so that Cancel leaves the media and its
    // bookmarks as they were.
    if (editor()->hasUnsavedChanges() && askToSaveTranscript() != SaveAnswer::GoOn)
        return;
    mnuChiudi_Click();
    // Exit writes no settings, but the bookmarks added since the file was
    // opened are kept.
    SaveBookmarks();
    editorWidget()->hide();
    endProgram();
}

void Form1::endProgram()
{
    m_ended = true;
    m_session.end();
    m_dropsEnabled = false;
    setAcceptDrops(false);
    hide();
    emit programEnded();
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (m_ended || !Form_Unload())
        event->accept();
    else
        event->ignore();
}

void Form1::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        mnuEsci_Click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

QAction *Form1::addViewMenuItem(const QString &name, std::function<void(QAction *)> retitle)
{
    QAction *item = mnuVisualizza->addAction(QString());
    item->setObjectName(name);
    retitle(item);
    connect(mnuVisualizza, &QMenu::aboutToShow, item, [item, retitle] { retitle(item); });
    return item;
}

void Form1::addStripBelowControls(QWidget *strip)
{
    new StripBelowControls(centralWidget(), strip, [this] {
        adjustSize();
        Form_Initialize();
    });
}

// ---------------------------------------------------------------- companion windows

void Form1::addCompanionWindow(CompanionWindow *window)
{
    if (window && std::find(m_companions.begin(), m_companions.end(), window) == m_companions.end())
        m_companions.push_back(window);
}
