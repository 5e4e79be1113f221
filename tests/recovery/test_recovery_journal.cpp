// The recovery copy on disk: its info lines, the lock's process identity, this
// run's copy, the copies earlier runs left, and the start-up offer of them.
#include "recovery/recovery_journal.h"
#include "recovery/recovery_offer.h"
#include "rtf/rtf_reader.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillory;
using namespace quillory::test;

namespace {

// The identity of a process that has ended (its id may be handed out again,
// but not during the test's few milliseconds).
ProcessIdentity endedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ProcessIdentity id;
    id.pid = child;
    id.startStamp = ProcessIdentity::startStampOf(child);
    ::waitpid(child, nullptr, 0);
    return id;
}

const QByteArray SampleRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hello {\\b bold} "
                             "world\\par}";

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

RecoveryInfo sampleInfo()
{
    RecoveryInfo info;
    info.documentPath = QStringLiteral("/home/u/Interview 3.rtf");
    info.mediaPath = QStringLiteral("/home/u/media/interview.mp3");
    info.positionMs = 754321;
    info.speed = 0.8;
    info.savedAt = QDateTime(QDate(2026, 3, 4), QTime(10, 11, 12, 345), Qt::UTC);
    return info;
}

// A copy as a program that has ended left it.
RecoveryCopy leaveCopy(const QString &folder, const QByteArray &rtf, const RecoveryInfo &info,
                       const QDateTime &modified = QDateTime())
{
    RecoveryJournal journal(folder, endedProcess());
    [&] { QVERIFY(journal.write(&rtf, info)); }();
    if (modified.isValid()) {
        QFile file(journal.copy().textPath());
        file.open(QIODevice::ReadWrite);
        file.setFileTime(modified, QFileDevice::FileModificationTime);
    }
    return journal.copy();
}

} // namespace

class TestRecoveryJournal : public QObject {
    Q_OBJECT

private slots:
    void infoKeepsEveryFieldThroughItsText()
    {
        RecoveryInfo info = sampleInfo();
        info.documentPath = QStringLiteral("/tmp/a=b\\c\nd\re.rtf");
        QCOMPARE(RecoveryInfo::fromText(info.toText()), info);
        // One line per field, whatever the path holds.
        QCOMPARE(info.toText().count('\n'), 6);

        RecoveryInfo untitled;
        untitled.untitledName = QStringLiteral("Senza titolo1");
        QCOMPARE(RecoveryInfo::fromText(untitled.toText()).untitledName, untitled.untitledName);
    }

    void infoSkipsBrokenValuesAndKeepsTheRest()
    {
        const RecoveryInfo info = RecoveryInfo::fromText(
            "media=/m.wav\r\nposition=-5\r\nspeed=abc\r\ntime=yesterday\r\n\x01\x02garbage\r\n"
            "document=/d.rtf\r\nnewkey=1\r\n");
        QCOMPARE(info.mediaPath, QStringLiteral("/m.wav"));
        QCOMPARE(info.documentPath, QStringLiteral("/d.rtf"));
        QCOMPARE(info.positionMs, 0);
        QCOMPARE(info.speed, 1.0);
        QVERIFY(!info.savedAt.isValid());
        QCOMPARE(RecoveryInfo::fromText(QByteArray(300, '\0')), RecoveryInfo());
    }

    void processIdentityTellsARunningProcessFromAnEndedOrReusedOne()
    {
        const ProcessIdentity me = ProcessIdentity::current();
        QCOMPARE(me.pid, qint64(::getpid()));
        QVERIFY(!me.startStamp.isEmpty());
        QVERIFY(me.isAlive());
        QCOMPARE(ProcessIdentity::fromText(me.toText()).pid, me.pid);
        QCOMPARE(ProcessIdentity::fromText(me.toText()).startStamp, me.startStamp);

        QVERIFY(!endedProcess().isAlive());
        // Our id with another start time: a process that had our id before us.
        ProcessIdentity reused = me;
        reused.startStamp = QStringLiteral("1");
        QVERIFY(!reused.isAlive());
        QCOMPARE(ProcessIdentity::fromText("nonsense").pid, 0);
        QVERIFY(!ProcessIdentity::fromText("pid=-4").isAlive());
    }

    void journalWritesTextInfoAndLockAndRemovesOnlyItsOwn()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("state/quillory"));
        RecoveryJournal journal(folder);
        QVERIFY(!journal.hasCopy());
        // The info alone is not a copy.
        QVERIFY(journal.write(nullptr, sampleInfo()));
        QVERIFY(!QFile::exists(journal.copy().infoPath()));

        QVERIFY(journal.write(&SampleRtf, sampleInfo()));
        QVERIFY(journal.hasCopy());
        QCOMPARE(journal.copy().base,
                 folder + QStringLiteral("/recovery-") + QString::number(::getpid()));
        QCOMPARE(readFile(journal.copy().textPath()), SampleRtf);
        QCOMPARE(journal.copy().readInfo(), sampleInfo());
        QCOMPARE(ProcessIdentity::fromText(readFile(journal.copy().lockPath())).pid,
                 qint64(::getpid()));
        // A running program's copy is never offered.
        QVERIFY(RecoveryJournal::leftBehind(folder).isEmpty());

        // The info follows the media without rewriting the text.
        RecoveryInfo later = sampleInfo();
        later.positionMs = 800000;
        QVERIFY(journal.write(nullptr, later));
        QCOMPARE(journal.copy().readInfo().positionMs, 800000);
        QCOMPARE(readFile(journal.copy().textPath()), SampleRtf);

        const RecoveryCopy other = leaveCopy(folder, SampleRtf, sampleInfo());
        journal.remove();
        QVERIFY(!journal.hasCopy());
        for (const QString &path :
             {journal.copy().textPath(), journal.copy().infoPath(), journal.copy().lockPath()})
            QVERIFY2(!QFile::exists(path), qPrintable(path));
        QVERIFY(QFile::exists(other.textPath()));
    }

    void aCopyKeptUnderTheSameProcessIdIsNotOverwritten()
    {
        QTemporaryDir dir;
        const ProcessIdentity me = ProcessIdentity::current();
        ProcessIdentity before = me;
        before.startStamp = QStringLiteral("1"); // an earlier program with our id
        RecoveryJournal earlier(dir.path(), before);
        QVERIFY(earlier.write(&SampleRtf, sampleInfo()));

        RecoveryJournal journal(dir.path(), me);
        QCOMPARE(journal.copy().base, earlier.copy().base + QStringLiteral("-2"));
        const QByteArray mine = "{\\rtf1 mine\\par}";
        QVERIFY(journal.write(&mine, RecoveryInfo()));
        QCOMPARE(readFile(earlier.copy().textPath()), SampleRtf);
        const QList<RecoveryCopy> left = RecoveryJournal::leftBehind(dir.path());
        QCOMPARE(left.size(), 1);
        QCOMPARE(left[0].base, earlier.copy().base);
    }

    void leftBehindListsEndedCopiesNewestFirstAndClearsStaleLocks()
    {
        QTemporaryDir dir;
        const QDateTime t0 = QDateTime::currentDateTime().addSecs(-3600);
        const RecoveryCopy old = leaveCopy(dir.path(), SampleRtf, sampleInfo(), t0);
        const RecoveryCopy newer = leaveCopy(dir.path(), SampleRtf, sampleInfo(), t0.addSecs(60));
        // A lock without a copy from an ended program holds nothing of the user's.
        const QString staleLock = dir.filePath(QStringLiteral("recovery-999999.lock"));
        writeFile(staleLock, endedProcess().toText());
        // A copy without a lock (never happens with the journal) is still offered.
        const QString lockless = dir.filePath(QStringLiteral("recovery-888888.rtf"));
        writeFile(lockless, SampleRtf);
        QFile(lockless).open(QIODevice::ReadWrite);
        {
            QFile f(lockless);
            f.open(QIODevice::ReadWrite);
            f.setFileTime(t0.addSecs(-60), QFileDevice::FileModificationTime);
        }
        // Another running program's copy (ours stands in for it).
        RecoveryJournal running(dir.path());
        QVERIFY(running.write(&SampleRtf, sampleInfo()));

        const QList<RecoveryCopy> left = RecoveryJournal::leftBehind(dir.path());
        QCOMPARE(left.size(), 3);
        QCOMPARE(left[0].base, newer.base);
        QCOMPARE(left[1].base, old.base);
        QCOMPARE(left[2].textPath(), lockless);
        QVERIFY(!QFile::exists(staleLock));
        QVERIFY(QFile::exists(running.copy().lockPath()));
    }

    void aWriteThatCannotHappenSaysWhyAndLeavesTheOldCopyWhole()
    {
        QTemporaryDir dir;
        // A folder that cannot be made: its parent is a file.
        writeFile(dir.filePath(QStringLiteral("file")), "x");
        RecoveryJournal nowhere(dir.filePath(QStringLiteral("file/quillory")));
        const FileResult r = nowhere.write(&SampleRtf, sampleInfo());
        QVERIFY(!r.ok);
        QVERIFY(!r.reason.isEmpty());
        QVERIFY(!nowhere.hasCopy());

        RecoveryJournal journal(dir.path());
        QVERIFY(journal.write(&SampleRtf, sampleInfo()));
        // The text's place taken by a folder: the write fails, the info stays as it was.
        QFile::remove(journal.copy().textPath());
        QVERIFY(QDir().mkdir(journal.copy().textPath()));
        RecoveryInfo later = sampleInfo();
        later.positionMs = 1;
        const QByteArray newer = "{\\rtf1 newer\\par}";
        QVERIFY(!journal.write(&newer, later));
        QCOMPARE(journal.copy().readInfo(), sampleInfo());
    }

    void offerRestoresKeepsOrDiscardsByTheAnswer()
    {
        QTemporaryDir dir;
        FakeChoiceBoxes choices;
        FakeMessageBoxes messages;
        RecoveryOffer::Prompts prompts{&choices, &messages, nullptr, QStringLiteral("Title")};
        const RecoveryCopy copy = leaveCopy(dir.path(), SampleRtf, sampleInfo());
        QList<QByteArray> restored;
        bool restoredIsSafe = false;
        auto restore = [&](const QByteArray &rtf, const RecoveryInfo &info) {
            restored << rtf;
            [&] { QCOMPARE(info, sampleInfo()); }();
            return restoredIsSafe;
        };

        // Closing the box keeps the copy: nothing goes without an answer.
        QVERIFY(!RecoveryOffer::offer(dir.path(), prompts, restore));
        QCOMPARE(choices.asked.size(), 1);
        QCOMPARE(choices.asked[0].answers.size(), 3);
        QCOMPARE(choices.asked[0].defaultAnswer, int(RecoveryOffer::Restore));
        QCOMPARE(choices.asked[0].escapeAnswer, int(RecoveryOffer::KeepForLater));
        QCOMPARE(choices.asked[0].title, QStringLiteral("Title"));
        QVERIFY(choices.asked[0].text.contains(sampleInfo().documentPath));
        QVERIFY(choices.asked[0].text.contains(sampleInfo().mediaPath));
        QVERIFY(choices.asked[0].text.contains(QStringLiteral("12:34")));
        QVERIFY(QFile::exists(copy.textPath()));

        choices.answers = {RecoveryOffer::KeepForLater};
        QVERIFY(!RecoveryOffer::offer(dir.path(), prompts, restore));
        QVERIFY(QFile::exists(copy.textPath()));

        // Restored, but this run could not write its own copy: the old one stays.
        choices.answers = {RecoveryOffer::Restore};
        QVERIFY(RecoveryOffer::offer(dir.path(), prompts, restore));
        QCOMPARE(restored, QList<QByteArray>{SampleRtf});
        QVERIFY(QFile::exists(copy.textPath()));

        restoredIsSafe = true;
        choices.answers = {RecoveryOffer::Restore};
        QVERIFY(RecoveryOffer::offer(dir.path(), prompts, restore));
        for (const QString &path : {copy.textPath(), copy.infoPath(), copy.lockPath()})
            QVERIFY2(!QFile::exists(path), qPrintable(path));

        const RecoveryCopy second = leaveCopy(dir.path(), SampleRtf, sampleInfo());
        choices.answers = {RecoveryOffer::Discard};
        QVERIFY(!RecoveryOffer::offer(dir.path(), prompts, restore));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        QVERIFY(messages.shown.isEmpty());
    }

    void severalCopiesAreOfferedNewestFirstUntilOneIsRestored()
    {
        QTemporaryDir dir;
        const QDateTime t0 = QDateTime::currentDateTime().addSecs(-600);
        RecoveryInfo a = sampleInfo(), b = sampleInfo(), c = sampleInfo();
        a.documentPath = QStringLiteral("/a.rtf");
        b.documentPath = QStringLiteral("/b.rtf");
        c.documentPath = QStringLiteral("/c.rtf");
        const RecoveryCopy ca = leaveCopy(dir.path(), SampleRtf, a, t0);
        const RecoveryCopy cb = leaveCopy(dir.path(), SampleRtf, b, t0.addSecs(20));
        const RecoveryCopy cc = leaveCopy(dir.path(), SampleRtf, c, t0.addSecs(10));
        FakeChoiceBoxes choices;
        FakeMessageBoxes messages;
        choices.answers = {RecoveryOffer::Discard, RecoveryOffer::Restore};
        QStringList restoredPaths;
        QVERIFY(RecoveryOffer::offer(dir.path(), {&choices, &messages, nullptr, QString()},
                                     [&](const QByteArray &, const RecoveryInfo &info) {
                                         restoredPaths << info.documentPath;
                                         return true;
                                     }));
        QCOMPARE(choices.asked.size(), 2);
        QVERIFY(choices.asked[0].text.contains(QStringLiteral("/b.rtf")));
        QCOMPARE(restoredPaths, QStringList{QStringLiteral("/c.rtf")});
        QVERIFY(!QFile::exists(cb.textPath()));
        QVERIFY(!QFile::exists(cc.textPath()));
        // The oldest stays for the next start.
        QVERIFY(QFile::exists(ca.textPath()));
        QCOMPARE(RecoveryJournal::leftBehind(dir.path()).size(), 1);
    }

    void aTruncatedCopyIsOfferedAsFarAsItReadsWithAWarning()
    {
        QTemporaryDir dir;
        const QByteArray truncated = SampleRtf.left(SampleRtf.indexOf("world") + 3);
        leaveCopy(dir.path(), truncated, sampleInfo());
        FakeChoiceBoxes choices;
        FakeMessageBoxes messages;
        choices.answers = {RecoveryOffer::Restore};
        QByteArray given;
        QVERIFY(RecoveryOffer::offer(dir.path(), {&choices, &messages, nullptr, QString()},
                                     [&](const QByteArray &rtf, const RecoveryInfo &) {
                                         given = rtf;
                                         return true;
                                     }));
        QCOMPARE(given, truncated);
        QCOMPARE(choices.asked.size(), 1);
        QVERIFY(choices.asked[0].text.contains(QStringLiteral("damaged")));
        QTextDocument doc;
        readRtf(given, &doc);
        QVERIFY(doc.toPlainText().startsWith(QStringLiteral("Hello bold wor")));
        const RecoveryInfo whole = sampleInfo();
        QVERIFY(!RecoveryOffer::question(RecoveryCopy(), whole, QString())
                     .contains(QStringLiteral("damaged")));
    }

    void aCopyThatIsNotATranscriptIsSetAsideWithAMessage()
    {
        QTemporaryDir dir;
        QByteArray binary(4096, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char((i * 37) & 0xff);
        const RecoveryCopy copy = leaveCopy(dir.path(), binary, sampleInfo());
        FakeChoiceBoxes choices;
        FakeMessageBoxes messages;
        int restores = 0;
        const QDateTime now(QDate(2026, 12, 9), QTime(5, 6, 7));
        QVERIFY(!RecoveryOffer::offer(
            dir.path(), {&choices, &messages, nullptr, QString()},
            [&](const QByteArray &, const RecoveryInfo &) {
                ++restores;
                return true;
            },
            now));
        QCOMPARE(restores, 0);
        QVERIFY(choices.asked.isEmpty());
        QCOMPARE(messages.shown.size(), 1);
        const QString keptAs = copy.textPath() + QStringLiteral(".damaged-20261209-050607");
        QVERIFY(messages.shown[0].text.contains(keptAs));
        QCOMPARE(readFile(keptAs), binary);
        QVERIFY(QFile::exists(copy.infoPath() + QStringLiteral(".damaged-20261209-050607")));
        QVERIFY(!QFile::exists(copy.textPath()));
        // Set aside, it is not offered again.
        QVERIFY(
            !RecoveryOffer::offer(dir.path(), {&choices, &messages, nullptr, QString()},
                                  [](const QByteArray &, const RecoveryInfo &) { return true; }));
        QCOMPARE(messages.shown.size(), 1);
    }

    void aCopyOfARunningProgramIsNeverTouched()
    {
        QTemporaryDir dir;
        RecoveryJournal running(dir.path());
        QVERIFY(running.write(&SampleRtf, sampleInfo()));
        FakeChoiceBoxes choices;
        FakeMessageBoxes messages;
        choices.answers = {RecoveryOffer::Discard};
        QVERIFY(
            !RecoveryOffer::offer(dir.path(), {&choices, &messages, nullptr, QString()},
                                  [](const QByteArray &, const RecoveryInfo &) { return true; }));
        QVERIFY(choices.asked.isEmpty());
        QCOMPARE(readFile(running.copy().textPath()), SampleRtf);
    }
};

QTEST_MAIN(TestRecoveryJournal)
#include "test_recovery_journal.moc"
