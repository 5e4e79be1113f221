#pragma once

#include "platform/services/services.h"
#include "recovery/journal_writer.h"
#include "recovery/recovery_journal.h"

#include <QObject>
#include <functional>
#include <memory>

class Form1;
class Form2;
class RichTextBox;

namespace quillory {

// Ties the recovery journal to the windows: the editor's changes feed the
// writer, a save or a normal end removes the copy, and at start-up the copies
// of earlier runs are offered.
class RecoverySession : public QObject {
    Q_OBJECT
public:
    RecoverySession(Form1 &player, Form2 &editor, const Services &services,
                    const QString &folder = RecoveryJournal::defaultFolder());
    ~RecoverySession() override;

    // The playback speed written into the copy; 1.0 until the player has one.
    void setSpeedSource(std::function<double()> speed) { m_speed = std::move(speed); }
    // Runs a step that needs the media device once it has started.
    void setMediaReady(std::function<void(std::function<void()>)> whenReady)
    {
        m_whenMediaReady = std::move(whenReady);
    }

    // Offers the copies earlier runs left; true when one was restored.
    bool offerLeftCopies();

    // What the writer takes on this thread: a cheap snapshot, and the work that
    // turns it into RTF on the worker.
    static JournalWriter::RtfJob captureDocument(const RichTextBox &box);

    RecoveryJournal &journal() { return m_journal; }
    JournalWriter &writer() { return *m_writer; }

private:
    RecoveryInfo currentInfo() const;
    bool restore(const QByteArray &rtf, const RecoveryInfo &info);
    void reportWriteFailure(const QString &reason);

    Form1 &m_player;
    Form2 &m_editor;
    Services m_services;
    RecoveryJournal m_journal;
    std::unique_ptr<JournalWriter> m_writer;
    std::function<double()> m_speed;
    std::function<void(std::function<void()>)> m_whenMediaReady;
    RecoveryInfo m_pendingMedia; // restored, waiting for the media device
};

} // namespace quillory
