#include "form2.h"

#include "editor/editor_keys.h"
#include "editor/editor_layout.h"
#include "editor/editor_spelling.h"
#include "editor/formatting_bar.h"
#include "editor/rich_text_box.h"
#include "editor/transcript_font.h"
#include "i18n/captions.h"
#include "spelling/installed_dictionaries.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>

using namespace quillory;
namespace L = quillory::EditorLayout;

Form2::Form2(PlayerCommands &player, LanguageTable &language, const Services &services,
             QWidget *parent)
    : QMainWindow(parent), m_player(player), m_language(language), m_services(services)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Text Editor"));
    setAccessibleName(QStringLiteral("Text Editor"));
    buildControls();
    resize(720, 480);
    buildMenus();
    m_files = new DocumentFiles(*RTB, *m_recent, m_player, m_language, m_services, this);
    connect(m_files, &DocumentFiles::unsavedChangesCleared, this, &Form2::unsavedChangesCleared);
    setAccessibleNames();
    connect(RTB, &RichTextBox::Change, this, &Form2::RTB_Change);
    connect(RTB, &QTextEdit::currentCharFormatChanged, this, &Form2::showCaretFont);
    connect(RTB, &QTextEdit::selectionChanged, this, &Form2::showCaretFont);
    connect(this, &Form2::unsavedChangesCleared, this, [this] { m_undo.markClean(); });
    connect(RTB, &RichTextBox::KeyDown, this,
            [this](int key, Qt::KeyboardModifiers modifiers, bool *handled) {
                // The table first; the keys beyond it only when it did not take the key.
                *handled = RTB_KeyDown(key, modifiers) || m_timestamps->keyDown(key, modifiers) ||
                           playbackKeyDown(key, modifiers);
            });
    connect(RTB, &RichTextBox::ClaimsKey, this,
            [this](int key, Qt::KeyboardModifiers modifiers, bool *claimed) {
                *claimed =
                    editorKeyFor(key, modifiers, m_player.languageFile()) != EditorKey::None ||
                    m_timestamps->claimsKey(key, modifiers) ||
                    m_playbackKeys.keyFor(key, modifiers) != PlaybackKey::None;
            });
    m_timestamps = new TimestampCommands(*RTB, menuBar(), m_player, m_language, m_services, this);
    m_spelling = new EditorSpelling(RTB, mnuOrtografia, mnuStrumenti,
                                    spelling::findDictionaries(spelling::systemDictionaryFolders()),
                                    spelling::PersonalWords::defaultPath());
    connect(RTB, &RichTextBox::ContextMenu, m_spelling, &EditorSpelling::addSuggestions);
}

Form2::~Form2() = default;

void Form2::buildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("Form2Client"));
    client->setMouseTracking(true);
    client->installEventFilter(this);
    setCentralWidget(client);

    Label1 = new QLabel(client);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAutoFillBackground(true);
    QPalette page = Label1->palette();
    page.setColor(QPalette::Window, Qt::white);
    Label1->setPalette(page);
    Label1->setMouseTracking(true);
    Label1->installEventFilter(this);
    Label1->move(L::px(L::Label1Left), L::px(L::Label1Top));

    RTB = new RichTextBox(client);
    RTB->setObjectName(QStringLiteral("RTB"));
    RTB->setFrameShape(QFrame::NoFrame);
    RTB->setFont(TranscriptFont::font());
    RTB->move(L::px(L::RtbLeft), L::px(L::RtbTop));

    Image1 = new IconStrip(client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(L::px(L::Image1.left), L::px(L::Image1.top), L::px(L::Image1.width),
                        L::px(L::Image1.height));

    // Letters first, click areas over them: the areas are see-through, so the
    // letters show, and every click reaches an area.
    static const char *const letters[] = {"G", "i", "S", "b"};
    for (int k = 0; k < 4; ++k) {
        auto *label = new QLabel(QString::fromLatin1(letters[k]), client);
        label->setObjectName(QStringLiteral("Label3_%1").arg(k));
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(17);
        font.setBold(k == 0);
        font.setItalic(k == 1);
        font.setUnderline(k == 2);
        font.setStrikeOut(k == 3);
        label->setFont(font);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->resize(L::px(L::ClickAreaSize), L::px(L::ClickAreaSize) - 4);
        Label3[static_cast<size_t>(k)] = label;
    }
    for (int i = 0; i < 15; ++i) {
        auto *area = new ClickArea(i, client);
        area->setObjectName(QStringLiteral("Label2_%1").arg(i));
        area->setGeometry(L::px(L::ClickAreaLefts[static_cast<size_t>(i)]), L::px(L::ClickAreaTop),
                          L::px(L::ClickAreaSize), L::px(L::ClickAreaSize));
        connect(area, &ClickArea::clicked, this, &Form2::Label2_Click);
        connect(area, &ClickArea::mouseMoved, this, &Form2::Label2_MouseMove);
        Label2[static_cast<size_t>(i)] = area;
    }

    Combo1 = new QComboBox(client);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setGeometry(L::px(L::Combo1.left), L::px(L::Combo1.top), L::px(L::Combo1.width),
                        L::px(L::Combo1.height));
    Combo2 = new QComboBox(client);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setEditable(true);
    Combo2->setInsertPolicy(QComboBox::NoInsert);
    Combo2->setGeometry(L::px(L::Combo2.left), L::px(L::Combo2.top), L::px(L::Combo2.width),
                        L::px(L::Combo2.height));
    connect(Combo1, &QComboBox::activated, this, [this](int) { Combo1_Click(); });
    // Change runs for what the user types, not for texts the program sets.
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, [this] { Combo1_Change(); });
    connect(Combo2, &QComboBox::activated, this, [this](int) { Combo2_Click(); });
    connect(Combo2->lineEdit(), &QLineEdit::textEdited, this, [this] { Combo2_Change(); });
}

void Form2::buildMenus()
{
    buildFileMenu();
    buildEditMenu();
    mnuStrumenti = menuBar()->addMenu(QStringLiteral("&Strumenti"));
    mnuStrumenti->setObjectName(QStringLiteral("mnuStrumenti"));
    mnuOrtografia = mnuStrumenti->addAction(QStringLiteral("Controllo ortografico e grammaticale"));
    mnuOrtografia->setObjectName(QStringLiteral("mnuOrtografia"));
    // No F7: in the editor it moves the player forward.
    connect(mnuOrtografia, &QAction::triggered, this, &Form2::mnuOrtografia_Click);
}

static QAction *menuItem(QMenu *menu, const char *name, const QString &caption,
                         const QKeySequence &shortcut = QKeySequence())
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    return a;
}

void Form2::buildFileMenu()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuNuovo = menuItem(mnuFile, "mnuNuovo", QStringLiteral("&Nuovo"));
    mnuFile->addSeparator();
    mnuApri = menuItem(mnuFile, "mnuApri", QStringLiteral("&Apri..."));
    mnuSalva =
        menuItem(mnuFile, "mnuSalva", QStringLiteral("Sa&lva"), QKeySequence(Qt::CTRL | Qt::Key_L));
    mnuSalvaConNome = menuItem(mnuFile, "mnuSalvaConNome", QStringLiteral("Salva con &nome"),
                               QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFile->addSeparator();
    m_recent = new RecentDocumentsMenu(mnuFile);
    mnuStampa = menuItem(mnuFile, "mnuStampa", QStringLiteral("Stam&pa..."),
                         QKeySequence(Qt::CTRL | Qt::Key_P));

    connect(mnuNuovo, &QAction::triggered, this, [this] { mnuNuovo_Click(); });
    connect(mnuApri, &QAction::triggered, this, [this] { mnuApri_Click(); });
    connect(mnuSalva, &QAction::triggered, this, [this] { mnuSalva_Click(); });
    connect(mnuSalvaConNome, &QAction::triggered, this, [this] { mnuSalvaConNome_Click(); });
    connect(mnuStampa, &QAction::triggered, this, &Form2::mnuStampa_Click);
}

void Form2::buildEditMenu()
{
    mnuModifica = menuBar()->addMenu(QStringLiteral("&Modifica"));
    mnuModifica->setObjectName(QStringLiteral("mnuModifica"));
    mnuAnnulla = menuItem(mnuModifica, "mnuAnnulla", QStringLiteral("Annulla"),
                          QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuRipeti = menuItem(mnuModifica, "mnuRipeti", QStringLiteral("&Ripeti"));
    mnuModifica->addSeparator();
    mnuTaglia = menuItem(mnuModifica, "mnuTaglia", QStringLiteral("&Taglia"),
                         QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuCopia = menuItem(mnuModifica, "mnuCopia", QStringLiteral("&Copia"),
                        QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuIncolla = menuItem(mnuModifica, "mnuIncolla", QStringLiteral("I&ncolla"));
    mnuModifica->addSeparator();
    mnuSelezionaTutto =
        menuItem(mnuModifica, "mnuSelezionaTutto", QStringLiteral("&Seleziona tutto"),
                 QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuTrova =
        menuItem(mnuModifica, "mnuTrova", QStringLiteral("Tro&va..."), QKeySequence(Qt::Key_F3));
    mnuSostituisci = menuItem(mnuModifica, "mnuSostituisci", QStringLiteral("S&ostituisci"),
                              QKeySequence(Qt::CTRL | Qt::Key_H));

    connect(mnuAnnulla, &QAction::triggered, this, &Form2::mnuAnnulla_Click);
    connect(mnuRipeti, &QAction::triggered, this, &Form2::mnuRipeti_Click);
    connect(mnuTaglia, &QAction::triggered, this, &Form2::mnuTaglia_Click);
    connect(mnuCopia, &QAction::triggered, this, &Form2::mnuCopia_Click);
    connect(mnuIncolla, &QAction::triggered, this, &Form2::mnuIncolla_Click);
    connect(mnuSelezionaTutto, &QAction::triggered, this, &Form2::mnuSelezionaTutto_Click);
    connect(mnuTrova, &QAction::triggered, this, &Form2::mnuTrova_Click);
    connect(mnuSostituisci, &QAction::triggered, this, &Form2::mnuSostituisci_Click);
}

void Form2::setAccessibleNames()
{
    RTB->setAccessibleName(caption(QStringLiteral("editor.text"), QStringLiteral("Transcript")));
    Label1->setAccessibleName(caption(QStringLiteral("editor.page"), QStringLiteral("Page")));
    Image1->setAccessibleName(
        caption(QStringLiteral("editor.formattingBar"), QStringLiteral("Formatting bar")));
    Combo1->setAccessibleName(caption(QStringLiteral("editor.font"), QStringLiteral("Font")));
    Combo2->setAccessibleName(caption(QStringLiteral("editor.size"), QStringLiteral("Size")));
    // The file commands are named by their menu items; the others have no
    // entry in the language table.
    auto plain = [](QString text) { return text.remove(QLatin1Char('&')); };
    static const char *const keys[15][2] = {
        {"", ""},
        {"", ""},
        {"", ""},
        {"", ""},
        {"editor.bold", "Bold"},
        {"editor.italic", "Italic"},
        {"editor.underline", "Underline"},
        {"editor.strike", "Strike-through"},
        {"editor.alignLeft", "Align left"},
        {"editor.alignCentre", "Centre"},
        {"editor.alignRight", "Align right"},
        {"editor.larger", "Larger font"},
        {"editor.smaller", "Smaller font"},
        {"editor.colour", "Font colour"},
        {"editor.bullets", "Bulleted list"},
    };
    const QAction *fileItems[4] = {mnuNuovo, mnuApri, mnuSalva, mnuStampa};
    for (int i = 0; i < 15; ++i) {
        const QString name =
            i < 4 ? plain(fileItems[i]->text())
                  : caption(QLatin1String(keys[i][0]), QString::fromLatin1(keys[i][1]));
        Label2[static_cast<size_t>(i)]->setAccessibleName(name);
    }
    for (int k = 0; k < 4; ++k)
        Label3[static_cast<size_t>(k)]->setAccessibleName(Label3[static_cast<size_t>(k)]->text());
}

void Form2::Form_Load()
{
    // Layout part: the strip is cut, the boxes filled, the letters placed over
    // their click areas. The window's position is set by placeBelow.
    Image1->resize(L::px(L::Image1.width), Image1->height());
    fillFontBoxes();
    for (int k = 0; k < 4; ++k) {
        Label3[static_cast<size_t>(k)]->move(Label2[static_cast<size_t>(k + 4)]->x(),
                                             L::px(L::LetterTop));
    }
    // Document part.
    m_undo.markClean();
    CambiaLingua2();
    m_files->startUntitled();
    Form_Resize();
    loadPlaybackKeys();
}

void Form2::fillFontBoxes()
{
    Combo1->blockSignals(true);
    Combo1->clear();
    Combo1->addItems(QFontDatabase::families());
    Combo1->blockSignals(false);
    Combo2->blockSignals(true);
    Combo2->clear();
    Combo2->addItems(EditorLayout::fontSizeList());
    Combo2->blockSignals(false);
    showCaretFont();
}

void Form2::placeBelow(const QRect &aboveFrame)
{
    move(aboveFrame.left(), aboveFrame.top() + aboveFrame.height());
}

void Form2::focusEditor()
{
    RTB->setFocus(Qt::OtherFocusReason);
}

void Form2::CambiaLingua2()
{
    const LanguageTable &L = m_language;
    mnuFile->setTitle(L.T(2));
    mnuNuovo->setText(L.T(42));
    mnuApri->setText(L.T(43));
    mnuSalva->setText(L.T(44));
    mnuSalvaConNome->setText(L.T(45));
    mnuStampa->setText(L.T(46));
    mnuModifica->setTitle(L.T(47));
    mnuTaglia->setText(L.T(48));
    mnuCopia->setText(L.T(49));
    mnuIncolla->setText(L.T(50));
    mnuSelezionaTutto->setText(L.T(51));
    mnuTrova->setText(L.T(56));
    mnuSostituisci->setText(L.T(59));
    mnuAnnulla->setText(L.T(70));
    mnuStrumenti->setTitle(L.T(71));
    m_spelling->applyLanguage(m_player.languageFile());
    mnuRipeti->setText(L.T(82));
    Label3[0]->setText(L.T(90));
    Label3[2]->setText(L.T(91));
    Label3[3]->setText(L.T(92));
    m_files->takeLanguage();
    setAccessibleNames();
    m_timestamps->applyLanguage();
}

void Form2::applyLanguage()
{
    CambiaLingua2();
    // The title holds the language's words too ("Untitled 1").
    m_files->showTitle();
}

QWidget *Form2::textArea()
{
    return RTB;
}

SearchableText *Form2::searchedText()
{
    return RTB;
}
