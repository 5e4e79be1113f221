#include "form3.h"

#include "platform/geometry/twips.h"
#include "platform/geometry/window_stack.h"
#include "session/player_session.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

using namespace quillory;

namespace {

constexpr int CloseTimerMs = 50;
// How long after showing the window a late frame from the window manager still
// moves it and the editor into place.
constexpr int SettleMs = 2000;

// Design, in twips.
constexpr int ClientWidthTwips = 6105;
constexpr int ClientHeightTwips = 2620;
constexpr int MinimumClientWidthTwips = 1500;
constexpr int ListMarginTwips = 30;
constexpr int ButtonRightMarginTwips = 80;
constexpr int ButtonGapTwips = 60;

template <typename W> W *place(W *widget, const char *name, double l, double t, double w, double h)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(twipsRect(l, t, w, h));
    return widget;
}

} // namespace

Form3::Form3(PlayerSession &session, const Services &services, LanguageTable &language,
             BookmarkHost &host, QWidget *parent)
    : QWidget(parent, Qt::Window), m_session(session), m_services(services), m_language(language),
      m_entries(session.bookmarks()), m_host(host)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Bookmarks"));
    setAccessibleName(QStringLiteral("Bookmarks"));
    // Shown from the editor's F8 as well: the typing goes on where it was.
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(twipsToPixels(ClientWidthTwips), twipsToPixels(ClientHeightTwips));
    setMinimumSize(twipsToPixels(MinimumClientWidthTwips), twipsToPixels(ClientHeightTwips));

    List1 = place(new QListWidget(this), "List1", 30, 30, 6045, 2175);
    List1->setAccessibleName(QStringLiteral("Bookmarks"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->installEventFilter(this);
    List2 = place(new QListWidget(this), "List2", 30, 420, 6045, 1005);
    List2->setAccessibleName(QStringLiteral("Stored bookmarks"));
    List2->hide();

    QFont arial(QStringLiteral("Arial"));
    Command1 = place(new QPushButton(QStringLiteral("+"), this), "Command1", 5550, 2245, 525, 315);
    Command2 = place(new QPushButton(QStringLiteral("-"), this), "Command2", 4980, 2245, 525, 315);
    for (QPushButton *b : {Command1, Command2}) {
        b->setFont(arial);
        b->setAutoDefault(false);
        b->setAccessibleName(b->text());
    }

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setSingleShot(false);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(List1, &QListWidget::itemDoubleClicked, this, [this] { List1_DblClick(); });
    Form_Resize();
}

Form3::~Form3() = default;

// ---------------------------------------------------------------- load, unload

void Form3::Form_Load()
{
    List1->clear();
    List2->clear();
    for (int i = 0; i < m_entries.count(); ++i)
        insertEntry(m_entries.entry(i));
    m_loaded = true;
}

void Form3::copyListsToTable()
{
    QStringList items;
    items.reserve(List2->count());
    for (int i = 0; i < List1->count() && i < List2->count(); ++i)
        items << List2->item(i)->text();
    m_entries.assign(items);
    m_session.noteBookmarksEdited();
}

void Form3::Form_Unload()
{
    if (!m_loaded)
        return;
    copyListsToTable();
    m_host.bookmarkWindowUnloaded();
    m_loaded = false;
    hide();
    List1->clear();
    List2->clear();
}

void Form3::unload()
{
    Form_Unload();
}

void Form3::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void Form3::startCloseTimer()
{
    Timer1.start(CloseTimerMs);
}

void Form3::Timer1_Timer()
{
    Timer1.stop();
    Form_Unload();
    hide();
}

void Form3::clearLists()
{
    List1->clear();
    List2->clear();
}

// ---------------------------------------------------------------- placement

void Form3::showBesidePlayer()
{
    if (!m_loaded)
        Form_Load();
    placeBesidePlayer();
    show();
    // The frame is known once the window is shown (on X11 a little later, when
    // the window manager has framed it; see event()).
    placeBesidePlayer();
    pushEditorBelow();
    m_frameExtra = frameGeometry().size() - size();
    m_settling = true;
    QTimer::singleShot(SettleMs, this, [this] { m_settling = false; });
}

void Form3::pushEditorBelow()
{
    if (QWidget *editor = m_host.editorWindow()) {
        // Below whichever reaches lower: this list or the player beside it
        // (taller when its menu bar has wrapped to a second row).
        QWidget *player = m_host.playerWindow();
        const QRect above =
            player ? frameAboveEditor(player->frameGeometry(), frameGeometry()) : frameGeometry();
        editor->move(editor->x(), above.y() + above.height());
    }
}

bool Form3::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (m_settling && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        // The window manager's frame arrived: place again with its real size.
        const QSize extra = frameGeometry().size() - size();
        if (extra != m_frameExtra) {
            m_frameExtra = extra;
            placeBesidePlayer();
            pushEditorBelow();
        }
    }
    return handled;
}

void Form3::placeBesidePlayer()
{
    QWidget *player = m_host.playerWindow();
    if (!player)
        return;
    QWidget *editor = m_host.editorWindow();
    const QRect p = player->frameGeometry();
    // The room the editor leaves right of the player; the design width when the
    // editor is not usefully wider than the player.
    const int frameExtra = frameGeometry().width() - width();
    int outerWidth = editor ? editor->frameGeometry().width() - p.width() : 0;
    if (outerWidth - frameExtra < minimumWidth())
        outerWidth = twipsToPixels(ClientWidthTwips) + frameExtra;
    resize(outerWidth - frameExtra, height());
    move(p.x() + p.width(), p.y());
}

void Form3::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Form3::Form_Resize()
{
    // The list keeps its design margins on both sides; the buttons stay at the
    // right edge. Tops and heights do not change.
    const int client = width();
    const int margin = twipsToPixels(ListMarginTwips);
    List1->resize(std::max(0, client - 2 * margin), List1->height());
    const int left1 = client - Command1->width() - twipsToPixels(ButtonRightMarginTwips);
    Command1->move(left1, Command1->y());
    Command2->move(left1 - Command2->width() - twipsToPixels(ButtonGapTwips), Command2->y());
}

void Form3::applyLanguage()
{
    Command1->setToolTip(QStringLiteral(" ") + m_language.T(93) + QStringLiteral(" "));
    Command2->setToolTip(QStringLiteral(" ") + m_language.T(100) + QStringLiteral(" "));
    Command1->setAccessibleName(m_language.T(93).isEmpty() ? QStringLiteral("+")
                                                           : m_language.T(93));
    Command2->setAccessibleName(m_language.T(100).isEmpty() ? QStringLiteral("-")
                                                            : m_language.T(100));
}

// ---------------------------------------------------------------- the player

double Form3::CurPos()
{
    return m_session.position();
}

// ---------------------------------------------------------------- commands

void Form3::insertEntry(const QString &entry)
{
    // Both lists take the same place, found in List2's order.
    int low = 0;
    int high = List2->count();
    while (low < high) {
        const int mid = (low + high) / 2;
        if (BookmarkLine::lessThan(List2->item(mid)->text(), entry))
            low = mid + 1;
        else
            high = mid;
    }
    List1->insertItem(low, BookmarkLine::labelOf(entry));
    List2->insertItem(low, entry);
}

bool Form3::hasLabel(const QString &label) const
{
    // Compared as it reads back from the file, where trailing spaces are gone.
    const QString wanted =
        BookmarkLine::labelOf(label + QString(BookmarkLine::PositionWidth, QLatin1Char(' ')));
    for (int i = 0; i < List1->count(); ++i)
        if (List1->item(i)->text() == wanted)
            return true;
    return false;
}

void Form3::Command1_Click()
{
    const std::optional<double> length = m_session.length();
    if (!length)
        return;
    if (List1->count() >= BookmarkEntries::Capacity) {
        // The table is full; what it holds stays as it is.
        m_services.messages->beep();
        return;
    }
    m_session.rewindAtEnd(*length);
    const QString time = BookmarkLine::timeLabel(CurPos());
    const QString name = m_services.inputs->ask(this, m_language.T(88), m_host.programTitle(),
                                                QStringLiteral("BookMark"));
    const QString label = time + QStringLiteral("  ") + BookmarkLine::cleanName(name);
    if (hasLabel(label)) {
        m_services.messages->show(this, m_language.T(89), MsgButtons::Ok, MsgIcon::Exclamation,
                                  m_language.T(1));
        return;
    }
    // The position is read again now: the media played on while the name was typed.
    insertEntry(BookmarkLine::make(label, CurPos()));
    copyListsToTable();
}

void Form3::Command2_Click()
{
    const int row = List1->currentRow();
    if (row < 0 || !List1->item(row)->isSelected())
        return;
    delete List1->takeItem(row);
    delete List2->takeItem(row);
    copyListsToTable();
}

void Form3::List1_DblClick()
{
    const int row = List1->currentRow();
    if (row < 0 || row >= List2->count())
        return;
    const std::optional<std::int64_t> position = BookmarkLine::positionOf(List2->item(row)->text());
    // With no media open there is nothing to play, and Play/Pause must not
    // wake the transport of a closed device.
    if (!position || !m_session.hasMedia())
        return;
    m_session.playFromMark(*position);
}

bool Form3::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            List1_DblClick();
            return true;
        }
        if (key == Qt::Key_Delete) {
            Command2_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
