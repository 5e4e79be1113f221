#pragma once

#include "platform/files/text_file.h"
#include "recovery/process_identity.h"
#include "recovery/recovery_info.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace quillory {

// One recovery copy on disk: "<base>.rtf" (the transcript), "<base>.info" (its
// RecoveryInfo) and "<base>.lock" (the identity of the process writing it).
struct RecoveryCopy {
    QString base; // folder + "/recovery-<pid>[-n]"
    ProcessIdentity owner;
    QDateTime modified; // of the text

    QString textPath() const { return base + QStringLiteral(".rtf"); }
    QString infoPath() const { return base + QStringLiteral(".info"); }
    QString lockPath() const { return base + QStringLiteral(".lock"); }
    // Held by the program offering the copy at start-up (RecoveryClaim).
    QString claimPath() const { return base + QStringLiteral(".claim"); }
    // The info beside the text; defaults when it is missing or unreadable.
    RecoveryInfo readInfo() const;
};

// This process's recovery copy in the per-user state folder, and the copies
// other runs left there. Each running program has its own copy, named after its
// process id; the lock file beside it says which process owns it.
class RecoveryJournal {
public:
    // `folder` is created on the first write.
    explicit RecoveryJournal(const QString &folder = defaultFolder(),
                             const ProcessIdentity &me = ProcessIdentity::current());

    // $XDG_STATE_HOME/quillory, else ~/.local/state/quillory.
    static QString defaultFolder();

    const QString &folder() const { return m_folder; }
    const RecoveryCopy &copy() const { return m_copy; }

    // Writes the text (when given) and then the info, each safely, so the info
    // on disk never describes a text that is not there yet. The lock is written
    // on the first call.
    FileResult write(const QByteArray *rtf, const RecoveryInfo &info);
    // True once a write has put this process's copy on disk (and not removed since).
    bool hasCopy() const { return m_written; }
    // Removes this process's copy and lock; nothing else.
    void remove();

    // Copies in `folder` whose process no longer runs, newest first. Locks
    // without a copy that belonged to ended processes are cleared on the way.
    static QList<RecoveryCopy> leftBehind(const QString &folder);
    static void removeCopy(const RecoveryCopy &copy);
    // Renames the copy's files with ".damaged-<time>" appended, so they are no
    // longer offered but stay for the user; returns the text's new path.
    static QString setAsideDamaged(const RecoveryCopy &copy, const QDateTime &now);

private:
    QString m_folder;
    ProcessIdentity m_me;
    RecoveryCopy m_copy;
    bool m_lockWritten = false;
    bool m_written = false;
};

} // namespace quillory
