// Timestamps in the transcript: the key that writes the media position at the
// caret, Ctrl+click on a timestamp to play from there, and the settings dialog.
#include "form2.h"

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

void Form2::setUpTimestamps()
{
    // A menu of its own: the editor's other menus keep exactly their items.
    mnuTimestamp = menuBar()->addMenu(QString());
    mnuTimestamp->setObjectName(QStringLiteral("mnuTimestamp"));
    mnuInserisciTimestamp = mnuTimestamp->addAction(QString());
    mnuInserisciTimestamp->setObjectName(QStringLiteral("mnuInserisciTimestamp"));
    mnuImpostaTimestamp = mnuTimestamp->addAction(QString());
    mnuImpostaTimestamp->setObjectName(QStringLiteral("mnuImpostaTimestamp"));
    connect(mnuInserisciTimestamp, &QAction::triggered, this, &Form2::insertTimestamp);
    connect(mnuImpostaTimestamp, &QAction::triggered, this, &Form2::mnuImpostaTimestamp_Click);

    new TimestampClicks(
        RTB,
        [this](int position) {
            const PlaceInParagraph place = placeOf(RTB->document(), position);
            return Timestamps::findAt(place.text, place.index).has_value();
        },
        [this](int position) { return playTimestampAt(position); });
    applyTimestampLanguage();
}

void Form2::applyTimestampLanguage()
{
    mnuTimestamp->setTitle(
        caption(QStringLiteral("timestamp.menu"), QStringLiteral("T&imestamps")));
    mnuInserisciTimestamp->setText(
        caption(QStringLiteral("timestamp.insert"), QStringLiteral("Insert &Timestamp")));
    // Shown beside the item; the text area itself takes the key first.
    mnuInserisciTimestamp->setShortcut(QKeySequence(timestampKey(Preferences::shared())));
    mnuImpostaTimestamp->setText(
        caption(QStringLiteral("timestamp.settings"), QStringLiteral("Timestamp Settings...")));
}

bool Form2::claimsTimestampKey(int key, Qt::KeyboardModifiers modifiers) const
{
    return isTimestampKey(key, modifiers, timestampKey(Preferences::shared()));
}

bool Form2::timestampKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (!claimsTimestampKey(key, modifiers))
        return false;
    insertTimestamp();
    return true;
}

void Form2::insertTimestamp()
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
    QTextCursor cursor = RTB->textCursor();
    cursor.insertText(text);
    RTB->setTextCursor(cursor);
    RTB->ensureCursorVisible();
}

bool Form2::playTimestampAt(int position)
{
    const PlaceInParagraph place = placeOf(RTB->document(), position);
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

void Form2::mnuImpostaTimestamp_Click()
{
    auto *dialog =
        new TimestampDialog(TimestampSettings::load(Preferences::shared()), m_language.T(21), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        Preferences &preferences = Preferences::shared();
        dialog->settings().store(preferences);
        const FileResult saved = preferences.save();
        if (!saved) {
            m_services.messages->show(
                this,
                caption(QStringLiteral("timestamp.saveFailed"),
                        QStringLiteral("The timestamp settings could not be saved: %1"))
                    .arg(saved.reason),
                MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
        }
    });
    dialog->open();
}
