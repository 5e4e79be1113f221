#include "recovery/recovery_journal.h"

#include "recovery/private_folder.h"
#include "recovery/recovery_claim.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <algorithm>

namespace quillory {

namespace {

QByteArray readSmallFile(const QString &path)
{
    // Lock and info files are a few lines; anything larger is not ours.
    QByteArray bytes;
    readRegularFile(path, 64 * 1024, &bytes);
    return bytes;
}

bool anyExists(const QString &base)
{
    for (const char *suffix : {".rtf", ".info", ".lock"})
        if (QFileInfo::exists(base + QLatin1String(suffix)))
            return true;
    return false;
}

} // namespace

RecoveryInfo RecoveryCopy::readInfo() const
{
    return RecoveryInfo::fromText(readSmallFile(infoPath()));
}

RecoveryJournal::RecoveryJournal(const QString &folder, const ProcessIdentity &me)
    : m_folder(folder), m_me(me)
{
    // A copy kept for later may carry the id this process has been given again:
    // it gets a name of its own instead of being overwritten.
    const QString stem = m_folder + QStringLiteral("/recovery-") + QString::number(me.pid);
    QString base = stem;
    for (int n = 2; anyExists(base) && n < 1000; ++n)
        base = stem + QLatin1Char('-') + QString::number(n);
    m_copy.base = base;
    m_copy.owner = me;
}

QString RecoveryJournal::defaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // XDG base directories are honoured only when absolute.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/quillory");
}

FileResult RecoveryJournal::write(const QByteArray *rtf, const RecoveryInfo &info)
{
    // Checked on every write: the folder may be replaced while the program runs.
    const FileResult folder = PrivateFolder::make(m_folder);
    if (!folder)
        return folder;
    if (!m_lockWritten) {
        const FileResult lock =
            writeFileSafely(m_copy.lockPath(), m_me.toText(), FileAccess::OwnerOnly);
        if (!lock)
            return lock;
        m_lockWritten = true;
    }
    if (rtf) {
        const FileResult text = writeFileSafely(m_copy.textPath(), *rtf, FileAccess::OwnerOnly);
        if (!text)
            return text;
    } else if (!m_written) {
        // The info alone describes nothing.
        return FileResult::success();
    }
    const FileResult result =
        writeFileSafely(m_copy.infoPath(), info.toText(), FileAccess::OwnerOnly);
    if (result)
        m_written = true;
    return result;
}

void RecoveryJournal::remove()
{
    QFile::remove(m_copy.infoPath());
    QFile::remove(m_copy.textPath());
    QFile::remove(m_copy.lockPath());
    m_lockWritten = false;
    m_written = false;
}

QList<RecoveryCopy> RecoveryJournal::leftBehind(const QString &folder)
{
    // Copies in a folder others control are not offered: they may have been
    // planted there.
    if (!QFileInfo::exists(folder) || !PrivateFolder::make(folder))
        return {};
    const QDir dir(folder);
    QHash<QString, bool> bases; // base -> has text
    const QStringList names =
        dir.entryList({QStringLiteral("recovery-*.rtf"), QStringLiteral("recovery-*.lock"),
                       QStringLiteral("recovery-*.claim")},
                      QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        const bool text = name.endsWith(QLatin1String(".rtf"));
        const QString base = dir.filePath(name.left(name.lastIndexOf(QLatin1Char('.'))));
        bases[base] = bases.value(base) || text;
    }
    QList<RecoveryCopy> copies;
    for (auto it = bases.cbegin(); it != bases.cend(); ++it) {
        RecoveryCopy copy;
        copy.base = it.key();
        if (!it.value() && QFileInfo::exists(copy.claimPath())) {
            // A claim whose copy has gone: its holder died before removing it.
            // Taken and given up at once it goes, unless a program still holds it.
            RecoveryClaim::take(copy).release();
        }
        copy.owner = ProcessIdentity::fromText(readSmallFile(copy.lockPath()));
        if (copy.owner.pid != 0 && copy.owner.isAlive())
            continue; // still being written by a running program
        if (!it.value()) {
            QFile::remove(copy.lockPath());
            continue;
        }
        copy.modified = QFileInfo(copy.textPath()).lastModified();
        copies.append(copy);
    }
    std::sort(copies.begin(), copies.end(), [](const RecoveryCopy &a, const RecoveryCopy &b) {
        return a.modified != b.modified ? a.modified > b.modified : a.base < b.base;
    });
    return copies;
}

void RecoveryJournal::removeCopy(const RecoveryCopy &copy)
{
    QFile::remove(copy.infoPath());
    QFile::remove(copy.textPath());
    QFile::remove(copy.lockPath());
}

QString RecoveryJournal::setAsideDamaged(const RecoveryCopy &copy, const QDateTime &now)
{
    const QString suffix =
        QStringLiteral(".damaged-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = copy.textPath() + suffix;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = copy.textPath() + suffix + QLatin1Char('-') + QString::number(n);
    if (!QFile::rename(copy.textPath(), target))
        return copy.textPath();
    QFile::rename(copy.infoPath(), copy.infoPath() + target.mid(copy.textPath().size()));
    QFile::remove(copy.lockPath());
    return target;
}

} // namespace quillory
