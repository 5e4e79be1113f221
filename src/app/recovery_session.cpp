#include "app/recovery_session.h"

#include "editor/document_snapshot.h"
#include "editor/form2.h"
#include "editor/rich_text_box.h"
#include "i18n/captions.h"
#include "platform/files/preferences.h"
#include "player/form1.h"
#include "recovery/recovery_offer.h"
#include "rtf/rtf_writer.h"
#include "session/player_session.h"

#include <QTextDocument>

namespace quillory {

namespace {

// Formats share their data with the editor's; reading one the first time fills
// caches inside that shared data (its hash, its resolved font), which the GUI
// thread may be doing at the same moment. The worker therefore works on copies
// made from the properties alone, which only reads.
template <typename Format> Format detached(const Format &format)
{
    Format fresh;
    const QMap<int, QVariant> properties = format.properties();
    for (auto it = properties.cbegin(); it != properties.cend(); ++it)
        fresh.setProperty(it.key(), it.value());
    return fresh;
}

DocumentSnapshot detached(const DocumentSnapshot &snapshot)
{
    DocumentSnapshot copy;
    copy.paragraphs.reserve(snapshot.paragraphs.size());
    for (const ParagraphPtr &p : snapshot.paragraphs) {
        auto own = std::make_shared<ParagraphState>();
        own->text = p->text;
        own->runs.reserve(p->runs.size());
        for (const ParagraphState::Run &run : p->runs)
            own->runs.append({run.length, detached(run.format)});
        own->blockFormat = detached(p->blockFormat);
        own->blockCharFormat = detached(p->blockCharFormat);
        own->inList = p->inList;
        own->listFormat = detached(p->listFormat);
        own->listId = p->listId;
        copy.paragraphs.append(std::move(own));
    }
    return copy;
}

} // namespace

// The snapshot shares its paragraphs with the editor's undo history and costs
// microseconds; the document is rebuilt from it and written on the worker.
JournalWriter::RtfJob RecoverySession::captureDocument(const RichTextBox &box)
{
    DocumentSnapshot snapshot = box.Snapshot();
    // A font of its own, not one sharing the editor's caches.
    QFont font;
    font.fromString(box.document()->defaultFont().toString());
    return [snapshot = std::move(snapshot), font = std::move(font)] {
        QTextDocument document;
        document.setDefaultFont(font);
        DocumentMirror::restore(&document, DocumentSnapshot::empty(), detached(snapshot));
        return writeRtf(document);
    };
}

RecoverySession::RecoverySession(Form1 &player, Form2 &editor, const Services &services,
                                 const QString &folder)
    : m_player(player), m_editor(editor), m_services(services), m_journal(folder)
{
    m_speed = [] {
        return Preferences::shared().number(QStringLiteral("speed.value"), 1.0, 0.1, 16.0);
    };
    m_whenMediaReady = [](std::function<void()> step) { step(); };
    JournalWriter::Sources sources;
    sources.capture = [&editor] { return captureDocument(editor.textBox()); };
    sources.hasUnsavedChanges = [&editor] { return editor.DocumentModified(); };
    sources.info = [this] { return currentInfo(); };
    m_writer = std::make_unique<JournalWriter>(m_journal, std::move(sources));
    connect(editor.textBox().document(), &QTextDocument::contentsChanged, m_writer.get(),
            &JournalWriter::documentChanged);
    connect(&editor, &Form2::unsavedChangesCleared, m_writer.get(), &JournalWriter::removeCopy);
    connect(&player, &Form1::programEnded, m_writer.get(), [this] {
        if (m_player.endedWithUnaskedText())
            m_writer->keepAndStop();
        else
            m_writer->stop();
    });
    connect(m_writer.get(), &JournalWriter::writeFailed, this,
            &RecoverySession::reportWriteFailure);
    // The copy's media position follows playback, and every move while paused.
    PlayerSession &playback = player.session();
    JournalWriter *writer = m_writer.get();
    connect(&playback, &PlayerSession::playStateChanged, writer,
            [writer](PlayState state) { writer->followPlayback(state == PlayState::Playing); });
    connect(&playback, &PlayerSession::positionShown, writer, [writer, &playback] {
        if (playback.playState() != PlayState::Playing)
            writer->followPlayback(false);
    });
    writer->followPlayback(playback.playState() == PlayState::Playing);
}

RecoverySession::~RecoverySession() = default;

RecoveryInfo RecoverySession::currentInfo() const
{
    RecoveryInfo info;
    info.documentPath = m_editor.DocumentPath();
    if (info.documentPath.isEmpty())
        info.untitledName = m_editor.untitledTitle();
    info.mediaPath = m_player.mediaPath();
    if (!info.mediaPath.isEmpty()) {
        info.positionMs = static_cast<qint64>(m_player.CurPos());
    } else {
        // A restored session whose media device has not started yet.
        info.mediaPath = m_pendingMedia.mediaPath;
        info.positionMs = m_pendingMedia.positionMs;
    }
    info.speed = m_speed ? m_speed() : 1.0;
    return info;
}

void RecoverySession::reportWriteFailure(const QString &reason)
{
    m_services.messages->show(
        &m_editor,
        caption(QStringLiteral("recovery.cannotWrite"),
                QStringLiteral("The recovery copy of the transcript cannot be written in %1 "
                               "(%2).\nYou can go on typing; save the transcript to keep it."))
            .arg(m_journal.folder(), reason),
        MsgButtons::Ok, MsgIcon::Exclamation, m_player.languageTable().T(1));
}

bool RecoverySession::restore(const QByteArray &rtf, const RecoveryInfo &info)
{
    m_editor.takeRecoveredDocument(rtf, info.documentPath);
    if (!info.mediaPath.isEmpty()) {
        Form1 *player = &m_player;
        const QString media = info.mediaPath;
        const qint64 position = info.positionMs;
        m_pendingMedia = info;
        m_whenMediaReady([this, player, media, position] {
            m_pendingMedia = RecoveryInfo();
            if (player->mediaPath().isEmpty())
                player->resumeRecoveredMedia(media, position);
        });
    }
    // The restored text is written into this run's copy before the old one may go.
    return m_writer->writeNow();
}

bool RecoverySession::offerLeftCopies()
{
    RecoveryOffer::Prompts prompts;
    prompts.choices = m_services.choices;
    prompts.messages = m_services.messages;
    prompts.owner = m_editor.isVisible() ? static_cast<QWidget *>(&m_editor)
                                         : static_cast<QWidget *>(&m_player);
    prompts.title = m_player.languageTable().T(1);
    if (!prompts.choices || !prompts.messages)
        return false;
    return RecoveryOffer::offer(
        m_journal.folder(), prompts,
        [this](const QByteArray &rtf, const RecoveryInfo &info) { return restore(rtf, info); });
}

} // namespace quillory
