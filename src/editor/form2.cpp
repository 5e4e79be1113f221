#include "form2.h"

#include "editor/rich_text_box.h"
#include "platform/files/program_folder.h"
#include "platform/files/text_file.h"
#include "platform/services/file_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>

using namespace quillory;

Form2::Form2(PlayerCommands &player, LanguageTable &language, const Services &services,
             QWidget *parent)
    : QMainWindow(parent), m_player(player), m_language(language), m_services(services)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Text Editor"));
    RTB = new RichTextBox(this);
    RTB->setObjectName(QStringLiteral("RTB"));
    RTB->setAccessibleName(QStringLiteral("RTB"));
    setCentralWidget(RTB);
    resize(720, 480);
    buildMenus();
    connect(RTB, &RichTextBox::Change, this, &Form2::RTB_Change);
    connect(RTB, &RichTextBox::KeyDown, this,
            [this](int key, Qt::KeyboardModifiers modifiers, bool *handled) {
                *handled = RTB_KeyDown(key, modifiers);
            });
}

Form2::~Form2() = default;

void Form2::buildMenus()
{
    auto item = [this](QMenu *menu, const char *name, const QString &caption,
                       const QKeySequence &shortcut = QKeySequence()) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        if (!shortcut.isEmpty())
            a->setShortcut(shortcut);
        return a;
    };
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuNuovo = item(mnuFile, "mnuNuovo", QStringLiteral("&Nuovo"));
    mnuFile->addSeparator();
    mnuApri = item(mnuFile, "mnuApri", QStringLiteral("&Apri..."));
    mnuSalva =
        item(mnuFile, "mnuSalva", QStringLiteral("Sa&lva"), QKeySequence(Qt::CTRL | Qt::Key_L));
    mnuSalvaConNome = item(mnuFile, "mnuSalvaConNome", QStringLiteral("Salva con &nome"),
                           QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFile->addSeparator();
    for (int i = 0; i < RecentList::Size; ++i) {
        const QByteArray name = "mnuRecent" + QByteArray::number(i + 1);
        QAction *a = item(mnuFile, name.constData(), RecentList::placeholder(i));
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, i] { mnuRecent_Click(i); });
        mnuRecent[static_cast<size_t>(i)] = a;
    }
    mnur = mnuFile->addSeparator();
    mnur->setObjectName(QStringLiteral("mnur"));
    mnur->setVisible(false);
    mnuStampa = item(mnuFile, "mnuStampa", QStringLiteral("Stam&pa..."),
                     QKeySequence(Qt::CTRL | Qt::Key_P));

    mnuModifica = menuBar()->addMenu(QStringLiteral("&Modifica"));
    mnuModifica->setObjectName(QStringLiteral("mnuModifica"));
    mnuStrumenti = menuBar()->addMenu(QStringLiteral("&Strumenti"));
    mnuStrumenti->setObjectName(QStringLiteral("mnuStrumenti"));
    mnuOrtografia =
        item(mnuStrumenti, "mnuOrtografia", QStringLiteral("Controllo ortografico e grammaticale"));

    connect(mnuNuovo, &QAction::triggered, this, &Form2::mnuNuovo_Click);
    connect(mnuApri, &QAction::triggered, this, &Form2::mnuApri_Click);
    connect(mnuSalva, &QAction::triggered, this, &Form2::mnuSalva_Click);
    connect(mnuSalvaConNome, &QAction::triggered, this, &Form2::mnuSalvaConNome_Click);
}

void Form2::Form_Load()
{
    m_documentModified = false;
    CambiaLingua2();
    m_untitledCounter = 1;
    m_documentPath.clear();
    showUntitledCaption();
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
    mnuStrumenti->setTitle(L.T(71));
    mnuOrtografia->setText(L.T(72));
    mnuStrumenti->menuAction()->setVisible(false);
    m_untitledName = L.T(97) + QStringLiteral(" ");
}

// ---------------------------------------------------------------- caption

QString Form2::untitledFullName() const
{
    return m_untitledName + QString::number(m_untitledCounter);
}

void Form2::showUntitledCaption()
{
    setWindowTitle(m_language.T(96) + QStringLiteral(" - ") + untitledFullName());
}

void Form2::setCaptionFromPath(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return;
    setWindowTitle(m_language.T(96) + QStringLiteral(" - ") + path.mid(slash + 1));
}

// ---------------------------------------------------------------- document

void Form2::RTB_Change()
{
    m_documentModified = true;
}

QString Form2::fileFilter() const
{
    const QChar nul(0);
    return QStringLiteral("File RTF") + nul + QStringLiteral("*.rtf") + nul +
           QStringLiteral("File TXT") + nul + QStringLiteral("*.txt");
}

bool Form2::writeDocument(const QString &path)
{
    const FileResult result = RTB->SaveFile(path);
    if (!result) {
        m_services.messages->show(this, path + QStringLiteral("\n\n") + result.reason,
                                  MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
    }
    return result.ok;
}

void Form2::OpenDocument(const QString &path)
{
    if (path.isEmpty())
        m_chosenFileName =
            ShowFileDialog(*m_services.fileDialogs, nullptr, QDir::currentPath(), fileFilter(), 1,
                           QStringLiteral("rtf"), QString(), m_language.T(52), this, true)
                .toString();
    else
        m_chosenFileName = path;
    if (m_chosenFileName.trimmed().isEmpty())
        return;
    if (!isOrdinaryFile(m_chosenFileName)) {
        m_services.messages->show(this, m_language.T(98), MsgButtons::Ok, MsgIcon::Exclamation,
                                  m_language.T(1));
        return;
    }
    // A file that cannot be read keeps the current document and says why.
    const FileResult loaded = RTB->LoadFile(m_chosenFileName);
    if (!loaded.reason.isEmpty())
        m_services.messages->show(this, m_chosenFileName + QStringLiteral("\n\n") + loaded.reason,
                                  MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
    if (!loaded)
        return;
    m_player.setEditorFolder(QDir::currentPath());
    m_documentPath = m_chosenFileName;
    AddRecentDocument(m_documentPath);
    setCaptionFromPath(m_documentPath);
    m_documentModified = false;
}

MsgResult Form2::askToSaveChanges()
{
    return m_services.messages->show(this, m_language.T(99), MsgButtons::YesNoCancel,
                                     MsgIcon::Exclamation, m_language.T(1));
}

void Form2::mnuApri_Click()
{
    if (m_documentModified) {
        const MsgResult answer = askToSaveChanges();
        if (answer == MsgResult::Cancel)
            return;
        if (answer == MsgResult::Yes)
            mnuSalva_Click();
    }
    OpenDocument(QString());
}

void Form2::mnuSalva_Click()
{
    if (m_documentPath.isEmpty()) {
        if (m_documentModified)
            mnuSalvaConNome_Click();
        return;
    }
    m_services.messages->beep();
    if (m_documentModified && writeDocument(m_documentPath)) {
        AddRecentDocument(m_documentPath);
        m_documentModified = false;
    }
}

void Form2::mnuSalvaConNome_Click()
{
    const QString editorFolder = m_player.editorFolder();
    const QString folder = editorFolder.trimmed().isEmpty() ? QDir::currentPath() : editorFolder;
    m_chosenFileName =
        ShowFileDialog(*m_services.fileDialogs, nullptr, folder, fileFilter(), 1,
                       QStringLiteral("rtf"), untitledFullName(), m_language.T(55), this, false)
            .toString();
    if (m_chosenFileName.isEmpty())
        return;
    if (isOrdinaryFile(m_chosenFileName)) {
        const MsgResult answer = m_services.messages->show(
            this, m_language.T(53) + QStringLiteral("\n\n") + m_language.T(54), MsgButtons::YesNo,
            MsgIcon::Exclamation, m_language.T(1));
        if (answer == MsgResult::No)
            return;
    }
    // A failed write changes nothing: the text stays modified, so the exit
    // question still protects it.
    if (!writeDocument(m_chosenFileName))
        return;
    m_player.setEditorFolder(QDir::currentPath());
    m_documentPath = m_chosenFileName;
    AddRecentDocument(m_documentPath);
    setCaptionFromPath(m_documentPath);
    m_documentModified = false;
}

void Form2::mnuNuovo_Click()
{
    if (m_documentModified) {
        const MsgResult answer = askToSaveChanges();
        if (answer == MsgResult::Cancel)
            return;
        if (answer == MsgResult::Yes)
            mnuSalva_Click();
    }
    if (m_untitledCounter < 32767)
        ++m_untitledCounter;
    RTB->setText(QString());
    m_documentPath.clear();
    showUntitledCaption();
    m_documentModified = false;
}

// ---------------------------------------------------------------- recent documents

void Form2::updateRecentMenu()
{
    for (int i = 0; i < RecentList::Size; ++i) {
        QAction *a = mnuRecent[static_cast<size_t>(i)];
        a->setText(m_recent.caption(i));
        a->setVisible(RecentList::isShown(m_recent.caption(i)));
    }
}

void Form2::LoadRecentDocuments()
{
    if (m_recent.load(ProgramFolder::file(QStringLiteral("LastFilesEditor.ini"))))
        mnur->setVisible(true);
    updateRecentMenu();
}

void Form2::AddRecentDocument(const QString &path)
{
    m_recent.moveToFront(path);
    updateRecentMenu();
    mnur->setVisible(true);
    m_recent.save(ProgramFolder::file(QStringLiteral("LastFilesEditor.ini")));
}

void Form2::mnuRecent_Click(int slot)
{
    OpenDocument(m_recent.caption(slot));
}

// ---------------------------------------------------------------- keys

bool Form2::RTB_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    Q_UNUSED(modifiers);
    switch (key) {
    case Qt::Key_Escape:
        m_player.mnuEsci_Click();
        return true;
    case Qt::Key_F1:
        m_player.mnuGuida_Click();
        return true;
    case Qt::Key_F5:
        m_player.cmdPlay_Click();
        return true;
    case Qt::Key_F6:
        m_player.cmdIndietro_Click();
        return true;
    case Qt::Key_F7:
        m_player.cmdAvanz_click();
        return true;
    case Qt::Key_F8:
        m_player.mnuBookMark_Click();
        return true;
    case Qt::Key_F9:
        m_player.mnuImpostaAudio_Click();
        return true;
    case Qt::Key_F11:
        m_player.mnuTitoloCompleto_Click();
        return true;
    default:
        return false;
    }
}

void Form2::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        m_player.mnuEsci_Click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    return QMainWindow::eventFilter(watched, event);
}
