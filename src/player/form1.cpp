#include "form1.h"

#include "contracts/bookmark_window.h"
#include "platform/files/program_folder.h"
#include "platform/geometry/twips.h"
#include "player/picture_button.h"
#include "player/picture_preload.h"
#include "player/position_bar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
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

template <typename W> W *place(W *widget, const char *name, double l, double t, double w, double h)
{
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(QLatin1String(name));
    widget->setGeometry(twipsRect(l, t, w, h));
    return widget;
}

} // namespace

Form1::Form1(PlayerSession &session, const Services &services, QWidget *parent)
    : QMainWindow(parent), m_session(session), m_services(services)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    buildControls();
    buildMenus();
    connectBookmarkMenus();
    buildSpeedControls();
    connectSession();
}

Form1::~Form1() {}

void Form1::buildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twipsToPixels(ClientWidthTwips), twipsToPixels(ClientHeightTwips));
    client->setMouseTracking(true);
    client->installEventFilter(this);
    client->setAutoFillBackground(true);
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, QColor(0xf0, 0xf0, 0xf0));
    client->setPalette(pal);
    setCentralWidget(client);

    Image4 = place(new QLabel(client), "Image4", 270, 270, 3570, 840);
    Image4->setScaledContents(true);
    Shape3 = place(new QFrame(client), "Shape3", 120, 180, 4005, 945);
    Shape3->setStyleSheet(QStringLiteral("background: white; border: 1px solid #9aa3ad;"));
    Label4 = place(new QLabel(client), "Label4", 210, 240, 3825, 825);
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Label4->setStyleSheet(QStringLiteral("color: #202020; background: transparent;"));
    Shape3->hide();
    Label4->hide();

    Image3 = place(new PictureButton(tr("Open"), client), "Image3", 330, 1290, 660, 570);
    cmdPlay = place(new PictureButton(tr("Play"), client), "cmdPlay", 1140, 1200, 720, 735);
    cmdIndietro =
        place(new PictureButton(QStringLiteral("<<"), client), "cmdIndietro", 1950, 1320, 465, 480);
    CmdStop =
        place(new PictureButton(QStringLiteral("[]"), client), "CmdStop", 2490, 1320, 465, 480);
    CmdAvanz =
        place(new PictureButton(QStringLiteral(">>"), client), "CmdAvanz", 3030, 1320, 465, 480);
    Image3->setToolTip(QStringLiteral(" Apri file... "));
    cmdVai =
        place(new QPushButton(QStringLiteral("&Vai a..."), client), "cmdVai", 2880, 390, 735, 405);
    cmdVai->hide();
    for (PictureButton *b : {cmdPlay, cmdIndietro, CmdStop, CmdAvanz})
        b->setEnabled(false);
    cmdVai->setEnabled(false);

    Shape2 = place(new QFrame(client), "Shape2", 120, 1980, 4695, 285);
    Shape2->setStyleSheet(QStringLiteral("background: #2b3038; border: 1px solid #6c7682;"));
    Shape1 = place(new QFrame(client), "Shape1", 150, 2010, 4635, 225);
    Shape1->setStyleSheet(QStringLiteral("background: #3d8bd4; border: none;"));
    Label2 = place(new PositionBar(client), "Label2", 150, 2010, 4635, 240);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(8.25);
    Label2->setFont(arial);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    Label2->setText(QStringLiteral("0:00 / 0:00"));

    buildVolumeSlider(client);

    connect(cmdPlay, &QAbstractButton::clicked, this, &Form1::cmdPlay_Click);
    connect(CmdStop, &QAbstractButton::clicked, this, &Form1::mnuStop_Click);
    connect(CmdAvanz, &QAbstractButton::clicked, this, &Form1::cmdAvanz_click);
    connect(cmdIndietro, &QAbstractButton::clicked, this, &Form1::cmdIndietro_Click);
    connect(Image3, &QAbstractButton::clicked, this, &Form1::Image3_Click);
    connect(Label2, &PositionBar::mouseMoved, this, &Form1::Label2_MouseMove);
    connect(Label2, &PositionBar::clicked, this, &Form1::Label2_Click);
    const std::array<PictureButton *, 5> buttons = {Image3, cmdPlay, cmdIndietro, CmdAvanz,
                                                    CmdStop};
    for (int i = 0; i < 5; ++i)
        connect(buttons[static_cast<size_t>(i)], &PictureButton::mouseMoved, this,
                [this, i] { buttonHovered(i); });
    for (QLabel *l :
         std::initializer_list<QLabel *>{Image4, Label4, Label5, Label1, Label3, Image1, Image2})
        l->setAttribute(Qt::WA_TransparentForMouseEvents,
                        l == Image4 || l == Label4 || l == Label1 || l == Label3);
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Shape2->setAttribute(Qt::WA_TransparentForMouseEvents);
    Shape3->setAttribute(Qt::WA_TransparentForMouseEvents);
}

QAction *Form1::addItem(QMenu *menu, const char *name, const QString &caption,
                        const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

void Form1::buildMenus()
{
    installWrappingMenuBar();
    QMenuBar *bar = menuBar();
    auto menu = [&](const char *name, const QString &caption) {
        QMenu *m = bar->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        return m;
    };
    auto separator = [](QMenu *m, const char *name) {
        QAction *a = m->addSeparator();
        if (name)
            a->setObjectName(QLatin1String(name));
        return a;
    };

    mnuFile = menu("mnuFile", QStringLiteral("&File"));
    mnuApri = addItem(mnuFile, "mnuApri", QStringLiteral("&Apri file..."),
                      QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuChiudi = addItem(mnuFile, "mnuChiudi", QStringLiteral("&Chiudi file multimediale"),
                        QKeySequence(Qt::CTRL | Qt::Key_F4));
    mnuChiudi->setEnabled(false);
    mnuRiga = separator(mnuFile, "mnuRiga");
    mnuRiga->setVisible(false);
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = "mnuRecent" + QByteArray::number(i + 1);
        mnuRecent[static_cast<size_t>(i)] =
            addItem(mnuFile, name.constData(), RecentList::placeholder(i));
        mnuRecent[static_cast<size_t>(i)]->setVisible(false);
        connect(mnuRecent[static_cast<size_t>(i)], &QAction::triggered, this,
                [this, i] { mnuRecent_Click(i); });
    }
    mnuR1 = separator(mnuFile, "mnuR1");
    mnuEsci =
        addItem(mnuFile, "mnuEsci", QStringLiteral("&Esci"), QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuRiproduzione = menu("mnuRiproduzione", QStringLiteral("&Riproduzione"));
    mnuPlay =
        addItem(mnuRiproduzione, "mnuPlay", QStringLiteral("&Play"), QKeySequence(Qt::Key_F5));
    mnuStop = addItem(mnuRiproduzione, "mnuStop", QStringLiteral("&Stop"));
    mnuIndietro = addItem(mnuRiproduzione, "mnuIndietro", QStringLiteral("&Indietro"),
                          QKeySequence(Qt::Key_F6));
    mnuAvanti =
        addItem(mnuRiproduzione, "mnuAvanti", QStringLiteral("&Avanti"), QKeySequence(Qt::Key_F7));
    mnuVai = addItem(mnuRiproduzione, "mnuVai", QStringLiteral("Vai a..."));
    mnuVai->setVisible(false);
    mnuVai->setEnabled(false);
    separator(mnuRiproduzione, nullptr);
    mnuAddBM = addItem(mnuRiproduzione, "mnuAddBM", QStringLiteral("Aggiungi BookMark"),
                       QKeySequence(Qt::CTRL | Qt::Key_M));
    mnuBMsuccessivo =
        addItem(mnuRiproduzione, "mnuBMsuccessivo", QStringLiteral("Vai al BookMark successivo"));
    mnuBMprecedente =
        addItem(mnuRiproduzione, "mnuBMprecedente", QStringLiteral("Vai al BookMark precedente"));

    mnuVisualizza = menu("mnuVisualizza", QStringLiteral("&Visualizza"));
    mnuMostraNascondi =
        addItem(mnuVisualizza, "mnuMostraNascondi", QStringLiteral("Mostra l'editor di testo"));
    mnuBookMark = addItem(mnuVisualizza, "mnuBookMark", QStringLiteral("Mostra &BookMark"),
                          QKeySequence(Qt::Key_F8));

    mnuOpzioni = menu("mnuOpzioni", QStringLiteral("&Opzioni"));
    mnuImpostaAudio = addItem(mnuOpzioni, "mnuImpostaAudio", QStringLiteral("&Imposta audio..."),
                              QKeySequence(Qt::Key_F9));
    separator(mnuOpzioni, nullptr);
    mnuSecIndietro =
        addItem(mnuOpzioni, "mnuSecIndietro", QStringLiteral("Secondi indietro su &pausa..."));
    mnuSalto =
        addItem(mnuOpzioni, "mnuSalto", QStringLiteral("&Salto avanti / indietro secondi..."));
    separator(mnuOpzioni, nullptr);
    mnuTitoloCompleto = addItem(mnuOpzioni, "mnuTitoloCompleto",
                                QStringLiteral("Mostra percorso file"), QKeySequence(Qt::Key_F11));
    mnuTitoloCompleto->setCheckable(true);
    mnuR2 = separator(mnuOpzioni, "mnuR2");
    mnuLingua = addItem(mnuOpzioni, "mnuLingua", QStringLiteral("&Lingua..."),
                        QKeySequence(Qt::CTRL | Qt::Key_W));
    mnuAggLingua = addItem(mnuOpzioni, "mnuAggLingua", QStringLiteral("Aggiungi Lingua..."));

    mnuDonazioni = menu("mnuDonazioni", QStringLiteral("&Donazioni"));
    mnuFaiDonazione =
        addItem(mnuDonazioni, "mnuFaiDonazione", QStringLiteral("&Fai una donazione"));

    mnuHelp = menu("mnuHelp", QStringLiteral("&?"));
    mnuGuida = addItem(mnuHelp, "mnuGuida", QStringLiteral("&Guida..."), QKeySequence(Qt::Key_F1));
    mnuR3 = separator(mnuHelp, "mnuR3");
    mnuAggiornamenti =
        addItem(mnuHelp, "mnuAggiornamenti", QStringLiteral("&Controlla aggiornamenti..."));
    mnuR4 = separator(mnuHelp, "mnuR4");
    mnuInfo = addItem(mnuHelp, "mnuInfo", QStringLiteral("&Informazioni sul programma..."),
                      QKeySequence(Qt::CTRL | Qt::Key_F1));

    connect(mnuApri, &QAction::triggered, this, &Form1::mnuApri_Click);
    connect(mnuChiudi, &QAction::triggered, this, &Form1::mnuChiudi_Click);
    connect(mnuEsci, &QAction::triggered, this, &Form1::mnuEsci_Click);
    connect(mnuPlay, &QAction::triggered, this, &Form1::cmdPlay_Click);
    connect(mnuStop, &QAction::triggered, this, &Form1::mnuStop_Click);
    connect(mnuIndietro, &QAction::triggered, this, &Form1::cmdIndietro_Click);
    connect(mnuAvanti, &QAction::triggered, this, &Form1::cmdAvanz_click);
    connect(mnuMostraNascondi, &QAction::triggered, this, &Form1::mnuMostraNascondi_Click);
    connect(mnuBookMark, &QAction::triggered, this, &Form1::mnuBookMark_Click);
    connect(mnuImpostaAudio, &QAction::triggered, this, &Form1::mnuImpostaAudio_Click);
    connect(mnuSecIndietro, &QAction::triggered, this, &Form1::mnuSecIndietro_Click);
    connect(mnuSalto, &QAction::triggered, this, &Form1::mnuSalto_Click);
    connect(mnuTitoloCompleto, &QAction::triggered, this, &Form1::mnuTitoloCompleto_Click);
    connect(mnuLingua, &QAction::triggered, this, &Form1::mnuLingua_Click);
    connect(mnuGuida, &QAction::triggered, this, &Form1::mnuGuida_Click);
    connectHelpCommands();
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
    if (m_editor)
        m_editor->placeBelow(editorAboveFrame());
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
    loadSpeedSettings();
    // The language is chosen from the country on the first start.
    if (m_settings.languageFile.trimmed().isEmpty())
        m_settings.languageFile = LanguageTable::languageForCountry(GetLingua());
    LoadLanguageFile();
    startEditor(m_settings.editorHidden == 0);
    ApplyLanguage();
    Shape1->hide();
    Label2->setGeometry(Shape1->x(), Label2->y(), Shape1->width(), Label2->height());
    Label2->setText(QStringLiteral("0:00 / 0:00"));
    setTransportEnabled(false);
    mnuSecIndietro->setText(m_language.T(30));
    Image1->setToolTip(QStringLiteral(" ") + m_language.T(27) + QStringLiteral(" "));
    // The open button's home position.
    m_openButtonTop = static_cast<int>(pixelsToTwips(Image3->y()));
    m_openButtonLeft = static_cast<int>(pixelsToTwips(Image3->x()));
    for (int i = 0; i < 5; ++i)
        loadButtonPicture(i, false);
    Image4->setPixmap(QPixmap::fromImage(
        PicturePreload::read(ProgramFolder::file(QStringLiteral("Files/Image4.png")))));
    if (m_session.loadRecentFiles(ProgramFolder::file(QStringLiteral("LastFiles.ini"))))
        mnuRiga->setVisible(true);
    for (int i = 0; i < RecentList::Size; ++i) {
        const QString &caption = m_session.recentFiles().caption(i);
        mnuRecent[static_cast<size_t>(i)]->setText(caption);
        mnuRecent[static_cast<size_t>(i)]->setVisible(RecentList::isShown(caption));
    }
    if (!m_editorDue)
        editor()->loadRecentDocuments();
    show();
    // The master volume and the knob centred on its track (the mixer was
    // found on a worker meanwhile). A missing mixer is reported once its
    // message can be read.
    OpenMixer();
    PlaceVolumeKnob();
    reportMissingMixer();
    Form_Initialize();
    m_frameExtra = frameGeometry().size() - size();
    for (int ms : {300, 1000, 2000})
        QTimer::singleShot(ms, this, [this] { placeAgainOnceFramed(); });
    if (!m_editorDue && editorWidget()->isVisible())
        editorWidget()->show();
    if (!commandLine.trimmed().isEmpty())
        OpenMediaFile(commandLine);
    // The stored volume: the knob's position and value.
    restoreVolume();
}

void Form1::SaveSettings()
{
    m_settings.jumpSeconds = m_session.jumpSeconds();
    m_settings.pauseRewindSeconds = m_session.pauseRewindSeconds();
    m_settings.showFullPath = mnuTitoloCompleto->isChecked();
    m_settings.editorHidden = editorWidget()->isVisible() ? 0 : 1;
    storeVolumeSettings();
    // A failure leaves the old file whole; nothing is reported.
    SettingsFile::write(SettingsFile::defaultPath(), m_settings);
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
    if (QWidget *window = editorWidget(); window->isVisible()) {
        window->raise();
        window->activateWindow();
    }
}

// ---------------------------------------------------------------- shutdown

Form1::SaveAnswer Form1::askToSaveTranscript()
{
    const QString text =
        m_language.T(75) + QStringLiteral(" ") + editor()->untitledTitle() + QStringLiteral("?");
    const MsgResult answer = m_services.messages->show(this, text, MsgButtons::YesNoCancel,
                                                       MsgIcon::Exclamation, m_productTitle);
    if (answer == MsgResult::Cancel)
        return SaveAnswer::Cancelled;
    if (answer == MsgResult::Yes) {
        m_editor->saveAs();
        if (m_editor->hasUnsavedChanges())
            return SaveAnswer::NotSaved;
    }
    return SaveAnswer::GoOn;
}

bool Form1::Form_Unload()
{
    if (m_ended)
        return false;
    if (editorWidget()->isVisible() && m_editor->hasUnsavedChanges()) {
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
    m_endedWithUnaskedText = !editorWidget()->isVisible() && m_editor->hasUnsavedChanges();
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
    mnuChiudi_Click();
    if (editor()->hasUnsavedChanges() && askToSaveTranscript() != SaveAnswer::GoOn)
        return;
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

// ---------------------------------------------------------------- companion windows

void Form1::addCompanionWindow(CompanionWindow *window)
{
    if (window && std::find(m_companions.begin(), m_companions.end(), window) == m_companions.end())
        m_companions.push_back(window);
}
