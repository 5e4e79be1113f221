#include "frm_find.h"

#include "contracts/searchable_text.h"
#include "find/find_rules.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace quillory;

namespace {

QString withoutMnemonic(QString caption)
{
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption;
}

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(QLatin1String(name));
    return widget;
}

QComboBox *historyBox(QWidget *parent, const char *name)
{
    auto *box = named(new QComboBox(parent), name);
    box->setEditable(true);
    // The history is kept by the dialog's own rule, not by the box.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(220);
    return box;
}

} // namespace

frmFind::frmFind(SearchableText &rtb, std::function<QString()> editorTag,
                 const LanguageTable &language, const Services &services, QWidget *parent)
    : QDialog(parent), m_rtb(rtb), m_editorTag(std::move(editorTag)), m_language(language),
      m_services(services)
{
    setObjectName(QStringLiteral("frmFind"));
    setModal(false);
    setWindowTitle(QStringLiteral("Trova e sostituisci"));
    buildControls();
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setSingleShot(false);
    connect(&Timer1, &QTimer::timeout, this, &frmFind::Timer1_Timer);
}

frmFind::~frmFind() = default;

void frmFind::buildControls()
{
    lblFind = named(new QLabel(QStringLiteral("Fin&d What:"), this), "lblFind");
    lblReplace = named(new QLabel(QStringLiteral("Replace &With:"), this), "lblReplace");
    cboFind = historyBox(this, "cboFind");
    cboReplace = historyBox(this, "cboReplace");
    lblFind->setBuddy(cboFind);
    lblReplace->setBuddy(cboReplace);

    Frame1 = named(new QGroupBox(QStringLiteral("Search Options"), this), "Frame1");
    chkWholeWord =
        named(new QCheckBox(QStringLiteral("Find Whole Word &Only"), Frame1), "chkWholeWord");
    chkMatchCase = named(new QCheckBox(QStringLiteral("Match Ca&se"), Frame1), "chkMatchCase");
    auto *options = new QVBoxLayout(Frame1);
    options->addWidget(chkWholeWord);
    options->addWidget(chkMatchCase);

    cmdFind = named(new QPushButton(QStringLiteral("&Find"), this), "cmdFind");
    cmdReplace = named(new QPushButton(QStringLiteral("&Replace..."), this), "cmdReplace");
    cmdReplaceAll = named(new QPushButton(QStringLiteral("Replace &All"), this), "cmdReplaceAll");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    cmdFind->setDefault(true);

    picBar = named(new QWidget(this), "picBar");
    ProgressBar1 = named(new QProgressBar(picBar), "ProgressBar1");
    ProgressBar1->setTextVisible(false);
    auto *bar = new QHBoxLayout(picBar);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(ProgressBar1);

    auto *grid = new QGridLayout(this);
    grid->addWidget(lblFind, 0, 0);
    grid->addWidget(cboFind, 0, 1);
    grid->addWidget(cmdFind, 0, 2);
    grid->addWidget(lblReplace, 1, 0);
    grid->addWidget(cboReplace, 1, 1);
    grid->addWidget(cmdReplace, 1, 2);
    grid->addWidget(Frame1, 2, 0, 2, 2);
    grid->addWidget(cmdReplaceAll, 2, 2);
    grid->addWidget(cmdCancel, 3, 2, Qt::AlignTop);
    grid->addWidget(picBar, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    // The bar's room is kept while it is hidden: it appears during a replace
    // all, when the dialog cannot be laid out again until the work is done.
    QSizePolicy barPolicy = picBar->sizePolicy();
    barPolicy.setRetainSizeWhenHidden(true);
    picBar->setSizePolicy(barPolicy);
    picBar->hide();

    connect(cmdFind, &QPushButton::clicked, this, &frmFind::cmdFind_Click);
    connect(cmdReplace, &QPushButton::clicked, this, &frmFind::cmdReplace_Click);
    connect(cmdReplaceAll, &QPushButton::clicked, this, &frmFind::cmdReplaceAll_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmFind::cmdCancel_Click);
    // A choice from the list (Return in the text field is the Find button's).
    connect(cboFind, &QComboBox::activated, this, &frmFind::cboFind_Click);
    cboFind->lineEdit()->installEventFilter(this);
    cboReplace->lineEdit()->installEventFilter(this);
}

// ---------------------------------------------------------------- loading and captions

void frmFind::showFromEditor()
{
    if (!m_loaded)
        Form_Load();
    else
        applyMode();
    show();
    raise();
    activateWindow();
}

void frmFind::Form_Load()
{
    m_loaded = true;
    m_lineBreakCut = false;
    m_findState = FindState::FirstSearch;
    m_replaceState = ReplaceState::FirstClick;
    QString findText = trimBlanks(m_rtb.SelText());
    applyCaptions();
    bool cut = false;
    findText = firstLine(findText, &cut);
    if (cut)
        m_lineBreakCut = true;
    cboFind->setEditText(findText);
    if (!findText.isEmpty())
        cboFind->addItem(findText);
    applyMode();
}

void frmFind::applyCaptions()
{
    const LanguageTable &L = m_language;
    const auto caption = [](QAbstractButton *button, const QString &text) {
        button->setText(text);
        button->setAccessibleName(withoutMnemonic(text));
    };
    setFindState(m_findState);
    setReplaceState(m_replaceState);
    caption(cmdCancel, L.T(21));
    caption(cmdReplaceAll, L.T(61));
    caption(chkWholeWord, L.T(63));
    caption(chkMatchCase, L.T(64));
    lblFind->setText(L.T(56));
    lblReplace->setText(L.T(60));
    Frame1->setTitle(L.T(62));
    for (QWidget *w : {static_cast<QWidget *>(lblFind), static_cast<QWidget *>(cboFind)})
        w->setAccessibleName(withoutMnemonic(L.T(56)));
    for (QWidget *w : {static_cast<QWidget *>(lblReplace), static_cast<QWidget *>(cboReplace)})
        w->setAccessibleName(withoutMnemonic(L.T(60)));
    Frame1->setAccessibleName(withoutMnemonic(L.T(62)));
}

void frmFind::applyMode()
{
    m_replaceMode = m_editorTag && !m_editorTag().isEmpty();
    setWindowTitle(m_language.T(m_replaceMode ? 59 : 56) + QStringLiteral("..."));
    for (QWidget *w : {static_cast<QWidget *>(cmdReplace), static_cast<QWidget *>(cmdReplaceAll),
                       static_cast<QWidget *>(lblReplace), static_cast<QWidget *>(cboReplace)})
        w->setEnabled(m_replaceMode);
}

void frmFind::setFindState(FindState state)
{
    m_findState = state;
    const QString text =
        state == FindState::FirstSearch ? QStringLiteral("&") + m_language.T(56) : m_language.T(57);
    cmdFind->setText(text);
    cmdFind->setAccessibleName(withoutMnemonic(text));
}

void frmFind::setReplaceState(ReplaceState state)
{
    m_replaceState = state;
    const QString text = state == ReplaceState::FirstClick
                             ? m_language.T(59) + QStringLiteral("...")
                             : m_language.T(59);
    cmdReplace->setText(text);
    cmdReplace->setAccessibleName(withoutMnemonic(text));
}

void frmFind::Form_Activate()
{
    picBar->hide();
}

// ---------------------------------------------------------------- closing

void frmFind::Form_Unload()
{
    Timer1.stop();
    hide();
    m_loaded = false;
    m_lineBreakCut = false;
    cboFind->clear();
    cboReplace->clear();
    cboFind->clearEditText();
    cboReplace->clearEditText();
    chkWholeWord->setChecked(false);
    chkMatchCase->setChecked(false);
    picBar->hide();
    m_findState = FindState::FirstSearch;
    m_replaceState = ReplaceState::FirstClick;
}

void frmFind::cmdCancel_Click()
{
    Form_Unload();
}

void frmFind::Timer1_Timer()
{
    Timer1.stop();
    Form_Unload();
}

void frmFind::hideWithPlayer()
{
    hide();
}

void frmFind::startCloseTimer()
{
    Timer1.start(100);
}

void frmFind::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmFind::reject()
{
    Form_Unload();
}

bool frmFind::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QDialog::event(event);
}

// ---------------------------------------------------------------- history and dropped text

void frmFind::addToHistory(QComboBox *box)
{
    const QString text = box->currentText();
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    if (joinsHistory(items, text)) {
        box->addItem(text);
        // Adding to an empty list would make the new item current; the typed
        // text is already that.
        box->setEditText(text);
    }
}

void frmFind::takeDroppedText(QComboBox *box, const QString &dropped, bool setsLineBreakFlag)
{
    bool cut = false;
    const QString line = firstLine(dropped, &cut);
    if (cut && setsLineBreakFlag)
        m_lineBreakCut = true;
    box->setEditText(trimBlanks(line));
    addToFindHistory();
    addToReplaceHistory();
}

void frmFind::cboFind_OLEDragDrop(const QString &dropped)
{
    takeDroppedText(cboFind, dropped, true);
}

void frmFind::cboReplace_OLEDragDrop(const QString &dropped)
{
    takeDroppedText(cboReplace, dropped, false);
}

void frmFind::cboFind_Click()
{
    m_rtb.setSelStart(0);
}

bool frmFind::eventFilter(QObject *watched, QEvent *event)
{
    const bool findBox = watched == cboFind->lineEdit();
    const bool replaceBox = watched == cboReplace->lineEdit();
    if (!findBox && !replaceBox)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::Drop) {
        auto *drop = static_cast<QDropEvent *>(event);
        if (drop->mimeData() && drop->mimeData()->hasText()) {
            if (findBox)
                cboFind_OLEDragDrop(drop->mimeData()->text());
            else
                cboReplace_OLEDragDrop(drop->mimeData()->text());
            drop->acceptProposedAction();
        } else {
            drop->ignore();
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
