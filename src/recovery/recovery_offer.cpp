#include "recovery/recovery_offer.h"

#include "i18n/captions.h"
#include "recovery/recovery_claim.h"
#include "rtf/rtf_reader.h"

#include <QFileInfo>
#include <QLocale>
#include <QTextDocument>

namespace quillory {

namespace {

enum class Reading { Whole, Damaged, Unreadable };

// Far above any transcript, pictures included; a copy this size is not ours.
constexpr qint64 MaxCopyBytes = 512 * 1024 * 1024;

Reading readCopy(const QString &path, QByteArray *bytes, QString *damage)
{
    const FileResult read = readRegularFile(path, MaxCopyBytes, bytes);
    if (!read) {
        *damage = read.reason;
        return Reading::Unreadable;
    }
    // The journal writes RTF only: anything else is not a transcript of ours.
    if (!isRtf(*bytes))
        return Reading::Unreadable;
    QTextDocument probe;
    if (!readRtf(*bytes, &probe, damage))
        return Reading::Damaged;
    return Reading::Whole;
}

} // namespace

QString RecoveryOffer::minutesSeconds(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    return QString::number(seconds / 60) + QLatin1Char(':') +
           QString::number(seconds % 60).rightJustified(2, QLatin1Char('0'));
}

QString RecoveryOffer::question(const RecoveryCopy &copy, const RecoveryInfo &info,
                                const QString &damage)
{
    const QString name =
        info.documentPath.isEmpty()
            ? (info.untitledName.isEmpty() ? QStringLiteral("?") : info.untitledName)
            : info.documentPath;
    const QDateTime when = info.savedAt.isValid() ? info.savedAt.toLocalTime() : copy.modified;
    QString text = caption(QStringLiteral("recovery.offer"),
                           QStringLiteral("The program did not end normally. A recovery copy of "
                                          "the transcript %1, written %2, was found."))
                       .arg(name, QLocale().toString(when, QLocale::ShortFormat));
    if (!info.mediaPath.isEmpty())
        text += QStringLiteral("\n") +
                caption(QStringLiteral("recovery.media"), QStringLiteral("Media file: %1, at %2."))
                    .arg(info.mediaPath, minutesSeconds(info.positionMs));
    if (!damage.isEmpty())
        text += QStringLiteral("\n\n") +
                caption(QStringLiteral("recovery.damaged"),
                        QStringLiteral("The copy is damaged (%1): only the part that could be "
                                       "read will be restored."))
                    .arg(damage);
    return text;
}

bool RecoveryOffer::offer(const QString &folder, const Prompts &prompts, const RestoreCopy &restore,
                          const QDateTime &now)
{
    const QStringList answers = {
        caption(QStringLiteral("recovery.restore"), QStringLiteral("&Restore")),
        caption(QStringLiteral("recovery.keep"), QStringLiteral("&Keep for later")),
        caption(QStringLiteral("recovery.discard"), QStringLiteral("&Discard"))};
    for (const RecoveryCopy &copy : RecoveryJournal::leftBehind(folder)) {
        // Held until this copy is answered for; another program starting now
        // passes it by instead of asking about it too.
        const RecoveryClaim claim = RecoveryClaim::take(copy);
        if (!claim.ours())
            continue;
        // Restored or discarded by one that held the claim a moment ago.
        if (!QFileInfo::exists(copy.textPath()))
            continue;
        QByteArray bytes;
        QString damage;
        const Reading reading = readCopy(copy.textPath(), &bytes, &damage);
        if (reading == Reading::Unreadable) {
            const QString keptAs = RecoveryJournal::setAsideDamaged(copy, now);
            prompts.messages->show(
                prompts.owner,
                caption(QStringLiteral("recovery.unreadable"),
                        QStringLiteral("A recovery copy cannot be read as a transcript. It is "
                                       "kept for you as %1."))
                    .arg(keptAs),
                MsgButtons::Ok, MsgIcon::Exclamation, prompts.title);
            continue;
        }
        const RecoveryInfo info = copy.readInfo();
        const int answer = prompts.choices->choose(
            prompts.owner, question(copy, info, reading == Reading::Damaged ? damage : QString()),
            answers, Restore, KeepForLater, MsgIcon::Question, prompts.title);
        if (answer == Discard) {
            RecoveryJournal::removeCopy(copy);
        } else if (answer == Restore) {
            // The old copy goes only once the text is safe in ours; the
            // others stay for the next start (the editor holds one transcript).
            if (restore(bytes, info))
                RecoveryJournal::removeCopy(copy);
            return true;
        }
    }
    return false;
}

} // namespace quillory
