// The recovery copies hold unsaved transcripts: who may read them, what a
// planted link or a borrowed folder does, and files in the folder that are not
// regular files.
#include "recovery/private_folder.h"
#include "recovery/recovery_journal.h"
#include "recovery/recovery_offer.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillory;
using namespace quillory::test;

namespace {

const QByteArray SampleRtf = "{\\rtf1\\ansi Hello world\\par}";

mode_t modeOf(const QString &path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The identity of a process that has ended.
ProcessIdentity endedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ProcessIdentity id;
    id.pid = child;
    ::waitpid(child, nullptr, 0);
    return id;
}

// Sets the umask for one test and puts the old one back.
class Umask {
public:
    explicit Umask(mode_t mask) : m_old(::umask(mask)) {}
    ~Umask() { ::umask(m_old); }
    Umask(const Umask &) = delete;
    Umask &operator=(const Umask &) = delete;

private:
    mode_t m_old;
};

} // namespace

class TestRecoveryPrivacy : public QObject {
    Q_OBJECT
private slots:
    void copiesAreForTheUserAlone()
    {
        const Umask mask(022);
        QTemporaryDir dir;
        const QString folder = dir.filePath("state/quillory");
        RecoveryJournal journal(folder);
        QVERIFY(journal.write(&SampleRtf, RecoveryInfo()));
        QCOMPARE(modeOf(dir.filePath("state")), mode_t(0700));
        QCOMPARE(modeOf(folder), mode_t(0700));
        for (const QString &path :
             {journal.copy().textPath(), journal.copy().infoPath(), journal.copy().lockPath()})
            QCOMPARE(modeOf(path), mode_t(0600));
    }

    void aFolderLeftOpenByAnEarlierVersionIsClosed()
    {
        const Umask mask(022);
        QTemporaryDir dir;
        const QString folder = dir.filePath("quillory");
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
        QVERIFY(RecoveryJournal::leftBehind(folder).isEmpty());
        QCOMPARE(modeOf(folder), mode_t(0700)); // closed on the look at start-up

        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
        RecoveryJournal journal(folder);
        QVERIFY(journal.write(&SampleRtf, RecoveryInfo()));
        QCOMPARE(modeOf(folder), mode_t(0700));
    }

    void aPlantedLinkIsReplacedNotWrittenThrough()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("quillory");
        QVERIFY(QDir().mkdir(folder));
        RecoveryJournal journal(folder);
        const QStringList paths = {journal.copy().textPath(), journal.copy().infoPath(),
                                   journal.copy().lockPath()};
        for (const QString &path : paths)
            QVERIFY(QFile::link(dir.filePath("caught-" + QFileInfo(path).suffix()), path));
        QVERIFY(journal.write(&SampleRtf, RecoveryInfo()));
        for (const QString &path : paths) {
            QVERIFY2(!QFileInfo(path).isSymLink(), qPrintable(path));
            QCOMPARE(modeOf(path), mode_t(0600));
        }
        QCOMPARE(readFile(journal.copy().textPath()), SampleRtf);
        QCOMPARE(QDir(dir.path()).entryList({"caught-*"}, QDir::Files | QDir::System),
                 QStringList());
    }

    void aFolderThatIsALinkIsRefused()
    {
        QTemporaryDir dir;
        const QString elsewhere = dir.filePath("open");
        QVERIFY(QDir().mkdir(elsewhere));
        QVERIFY(::chmod(QFile::encodeName(elsewhere).constData(), 0777) == 0);
        const QString folder = dir.filePath("quillory");
        QVERIFY(QFile::link(elsewhere, folder));

        RecoveryJournal journal(folder);
        const FileResult result = journal.write(&SampleRtf, RecoveryInfo());
        QVERIFY(!result);
        QVERIFY2(result.reason.contains(folder) && result.reason.contains("link"),
                 qPrintable(result.reason));
        QVERIFY(!journal.hasCopy());
        QCOMPARE(QDir(elsewhere).entryList(QDir::Files), QStringList());

        // A copy planted there is not offered either.
        RecoveryJournal planted(elsewhere, endedProcess());
        QVERIFY(planted.write(&SampleRtf, RecoveryInfo()));
        QCOMPARE(RecoveryJournal::leftBehind(elsewhere).size(), 1);
        QVERIFY(RecoveryJournal::leftBehind(folder).isEmpty());
    }

    void aFolderOfAnotherUserIsRefused()
    {
        // As root a folder is given to "nobody"; otherwise /tmp belongs to root.
        QTemporaryDir dir;
        QString foreign = QStringLiteral("/tmp");
        if (::geteuid() == 0) {
            foreign = dir.filePath("nobodys");
            QVERIFY(QDir().mkdir(foreign));
            QVERIFY(::chown(QFile::encodeName(foreign).constData(), 65534, 65534) == 0);
        }
        QCOMPARE(PrivateFolder::check(foreign).error, EPERM);
        RecoveryJournal journal(foreign);
        const FileResult result = journal.write(&SampleRtf, RecoveryInfo());
        QVERIFY(!result);
        QVERIFY2(result.reason.contains("belongs to another user") &&
                     result.reason.contains(foreign),
                 qPrintable(result.reason));
        QVERIFY(!QFile::exists(journal.copy().lockPath()));
        QVERIFY(!QFile::exists(journal.copy().textPath()));

        QFile file(dir.filePath("plain"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(PrivateFolder::check(file.fileName()).error, ENOTDIR);
        QCOMPARE(PrivateFolder::check(dir.filePath("missing")).error, ENOENT);
        QVERIFY(PrivateFolder::check(dir.path()));
    }

    void filesThatAreNotRegularNeverBlockTheOffer()
    {
        QTemporaryDir dir;
        RecoveryJournal ended(dir.path(), endedProcess());
        QVERIFY(ended.write(&SampleRtf, RecoveryInfo()));
        const RecoveryCopy copy = ended.copy();
        // The info a FIFO, the lock a link to an endless device.
        QFile::remove(copy.infoPath());
        QCOMPARE(::mkfifo(QFile::encodeName(copy.infoPath()).constData(), 0600), 0);
        QFile::remove(copy.lockPath());
        QVERIFY(QFile::link("/dev/zero", copy.lockPath()));
        QCOMPARE(copy.readInfo(), RecoveryInfo());

        FakeChoiceBoxes choices;
        FakeMessageBoxes messages;
        choices.answers = {RecoveryOffer::KeepForLater};
        QVERIFY(
            !RecoveryOffer::offer(dir.path(), {&choices, &messages, nullptr, QString()},
                                  [](const QByteArray &, const RecoveryInfo &) { return true; }));
        QCOMPARE(choices.asked.size(), 1);
    }
};

QTEST_MAIN(TestRecoveryPrivacy)
#include "test_recovery_privacy.moc"
