#include "editor/timestamp_commands.h"

#include "editor/rich_text_box.h"
#include "editor/timestamp_clicks.h"
#include "editor/timestamp_dialog.h"
#include "editor/timestamp_key.h"
#include "editor/timestamps.h"
#include "i18n/captions.h"
#include "platform/files/preferences.h"

#include <QMenu>
#include <QMenuBar>
#include <QTextBlock>
#include <QTextCursor>

using namespace quillory;

namespace {

// The paragraph around a document position and the position's index in it.
struct PlaceInParagraph {
    QString text;
    int index = -1;
};

PlaceInParagraph placeOf(const QTextDocument *document, int position)
{
    const QTextBlock block = document->findBlock(position);
    if (!block.isValid())
        return {};
    return {block.text(), position - block.position()};
}

} // namespace

TimestampCommands::TimestampCommands(RichTextBox &text, QMenuBar *menus, PlayerCommands &player,
                                     LanguageTable &language, const Services &services,
                                     QWidget *window)
    : QObject(window), m_text(text), m_player(player), m_language(language), m_services(services),
      m_window(window)
{
    // A menu of its own: the editor's other menus keep exactly their items.
    m_menu = menus->addMenu(QString());
    m_menu->setObjectName(QStringLiteral("mnuTimestamp"));
    m_insertItem = m_menu->addAction(QString());
    m_insertItem->setObjectName(QStringLiteral("mnuInserisciTimestamp"));
    m_settingsItem = m_menu->addAction(QString());
    m_settingsItem->setObjectName(QStringLiteral("mnuImpostaTimestamp"));
    connect(m_insertItem, &QAction::triggered, this, &TimestampCommands::insertTimestamp);
    connect(m_settingsItem, &QAction::triggered, this, &TimestampCommands::openSettings);

    new TimestampClicks(
        &m_text,
        [this](int position) {
            const PlaceInParagraph place = placeOf(m_text.document(), position);
            return Timestamps::findAt(place.text, place.index).has_value();
        },
        [this](int position) { return playAt(position); });
    applyLanguage();
}

void TimestampCommands::applyLanguage()
{
    m_menu->setTitle(caption(QStringLiteral("timestamp.menu"), QStringLiteral("T&imestamps")));
    m_insertItem->setText(
        caption(QStringLiteral("timestamp.insert"), QStringLiteral("Insert &Timestamp")));
    // Shown beside the item; the text area itself takes the key first.
    m_insertItem->setShortcut(QKeySequence(timestampKey(Preferences::shared())));
    m_settingsItem->setText(
        caption(QStringLiteral("timestamp.settings"), QStringLiteral("Timestamp Settings...")));
}

bool TimestampCommands::claimsKey(int key, Qt::KeyboardModifiers modifiers) const
{
    return isTimestampKey(key, modifiers, timestampKey(Preferences::shared()));
}

bool TimestampCommands::keyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (!claimsKey(key, modifiers))
        return false;
    insertTimestamp();
    return true;
}

void TimestampCommands::insertTimestamp()
{
    if (!m_player.hasMedia()) {
        m_services.messages->beep();
        return;
    }
    const TimestampSettings settings = TimestampSettings::load(Preferences::shared());
    const QString text =
        Timestamps::format(m_player.mediaPositionMs(), settings.offsetMs, settings.format);
    // Typed text's rules: it replaces a selection and takes the caret's format;
    // one edit, so one step of the undo history.
    QTextCursor cursor = m_text.textCursor();
    cursor.insertText(text);
    m_text.setTextCursor(cursor);
    m_text.ensureCursorVisible();
}

bool TimestampCommands::playAt(int position)
{
    const PlaceInParagraph place = placeOf(m_text.document(), position);
    if (!Timestamps::findAt(place.text, place.index))
        return false;
    const TimestampSettings settings = TimestampSettings::load(Preferences::shared());
    const std::optional<qint64> media =
        Timestamps::mediaPositionAt(place.text, place.index, settings.offsetMs);
    // A time before the offset lies before the recording began.
    if (!media || !m_player.hasMedia()) {
        m_services.messages->beep();
        return true;
    }
    m_player.playFromMediaPosition(*media);
    return true;
}

void TimestampCommands::openSettings()
{
    auto *dialog = new TimestampDialog(TimestampSettings::load(Preferences::shared()),
                                       m_language.T(21), m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        Preferences &preferences = Preferences::shared();
        dialog->settings().store(preferences);
        const FileResult saved = preferences.save();
        if (!saved) {
            m_services.messages->show(
                m_window,
                caption(QStringLiteral("timestamp.saveFailed"),
                        QStringLiteral("The timestamp settings could not be saved: %1"))
                    .arg(saved.reason),
                MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
        }
    });
    dialog->open();
}
