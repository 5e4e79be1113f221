#pragma once

#include "platform/services/choice_boxes.h"
#include "platform/services/services.h"
#include "recovery/recovery_journal.h"

#include <QDateTime>
#include <functional>

class QWidget;

namespace quillory {

// At start-up: the copies that earlier runs left behind are offered one at a
// time, newest first, until one is restored; the user restores it, keeps it for
// the next start, or discards it. Nothing is removed without that answer, and a
// copy whose program still runs is not looked at.
class RecoveryOffer {
public:
    enum Answer { Restore = 0, KeepForLater = 1, Discard = 2 };

    // Puts the copy into the editor and the player. Returns true once the text
    // is safe in this process's own copy, so the old one may go.
    using RestoreCopy = std::function<bool(const QByteArray &rtf, const RecoveryInfo &info)>;

    struct Prompts {
        ChoiceBoxes *choices = nullptr;
        MessageBoxes *messages = nullptr;
        QWidget *owner = nullptr;
        QString title;
    };

    // Returns true when a copy was restored.
    static bool offer(const QString &folder, const Prompts &prompts, const RestoreCopy &restore,
                      const QDateTime &now = QDateTime::currentDateTime());

    // The question for one copy; `damage` is empty for a whole copy.
    static QString question(const RecoveryCopy &copy, const RecoveryInfo &info,
                            const QString &damage);
    // m:ss, as the player shows times.
    static QString minutesSeconds(qint64 ms);
};

} // namespace quillory
