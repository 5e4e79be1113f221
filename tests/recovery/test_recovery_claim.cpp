// Only one program offers a copy left behind: the claim it holds while asking,
// given up when it answers or when it dies.
#include "recovery/recovery_claim.h"
#include "recovery/recovery_journal.h"
#include "recovery/recovery_offer.h"
#include "support/fakes.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

using namespace quillory;
using namespace quillory::test;

namespace {

const QByteArray SampleRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hello\\par}";

ProcessIdentity fakeProcess(qint64 pid)
{
    ProcessIdentity id;
    id.pid = pid;
    id.startStamp = QStringLiteral("12345");
    return id;
}

// A copy as an ended program left it (a process id that cannot be running).
RecoveryCopy leaveCopy(const QString &folder, const QString &document, qint64 pid)
{
    ProcessIdentity owner = fakeProcess(pid);
    owner.startStamp = QStringLiteral("1");
    RecoveryJournal journal(folder, owner);
    RecoveryInfo info;
    info.documentPath = document;
    [&] { QVERIFY(journal.write(&SampleRtf, info)); }();
    return journal.copy();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Answers as the fake does, after running `onAsk` (another program starting
// while this one asks).
class HookedChoiceBoxes : public FakeChoiceBoxes {
public:
    std::function<void(const QString &)> onAsk;
    int choose(QWidget *owner, const QString &text, const QStringList &answerTexts,
               int defaultAnswer, int escapeAnswer, MsgIcon icon, const QString &title) override
    {
        if (onAsk)
            onAsk(text);
        return FakeChoiceBoxes::choose(owner, text, answerTexts, defaultAnswer, escapeAnswer, icon,
                                       title);
    }
};

auto restoreNothing = [](const QByteArray &, const RecoveryInfo &) { return true; };

} // namespace

class TestRecoveryClaim : public QObject {
    Q_OBJECT

private slots:
    void aClaimIsHeldByOneAtATimeUntilItIsGivenUp()
    {
        QTemporaryDir dir;
        const RecoveryCopy copy = leaveCopy(dir.path(), QStringLiteral("/a.rtf"), 999991);
        RecoveryClaim first = RecoveryClaim::take(copy, fakeProcess(101));
        QVERIFY(first.ours());
        QVERIFY(first.locked());
        QCOMPARE(ProcessIdentity::fromText(readFile(copy.claimPath())).pid, 101);
        QVERIFY(!RecoveryClaim::take(copy, fakeProcess(102)).ours());
        // A failed attempt leaves the holder's claim as it was.
        QCOMPARE(ProcessIdentity::fromText(readFile(copy.claimPath())).pid, 101);

        // Moved, the claim stays held; the moved-from one holds nothing.
        RecoveryClaim moved = std::move(first);
        QVERIFY(!first.ours());
        QVERIFY(!RecoveryClaim::take(copy, fakeProcess(102)).ours());
        moved.release();
        QVERIFY(!moved.ours());
        QVERIFY(!QFile::exists(copy.claimPath()));

        {
            const RecoveryClaim second = RecoveryClaim::take(copy, fakeProcess(102));
            QVERIFY(second.ours());
            QVERIFY(!RecoveryClaim::take(copy, fakeProcess(101)).ours());
        }
        // Given up when it goes out of scope.
        QVERIFY(RecoveryClaim::take(copy, fakeProcess(101)).ours());
        QVERIFY(QFile::exists(copy.textPath()));
    }

    void aSecondStartWhileTheFirstAsksPassesThatCopyBy()
    {
        QTemporaryDir dir;
        const QDateTime t0 = QDateTime::currentDateTime().addSecs(-600);
        QList<RecoveryCopy> copies;
        for (int i = 0; i < 3; ++i) {
            copies << leaveCopy(dir.path(), QStringLiteral("/doc%1.rtf").arg(i), 999981 + i);
            QFile file(copies.last().textPath());
            file.open(QIODevice::ReadWrite);
            file.setFileTime(t0.addSecs(60 * (3 - i)), QFileDevice::FileModificationTime);
        }
        // doc0 is the newest: the first program asks about it first. While it
        // asks, a second program starts and discards whatever it is offered.
        HookedChoiceBoxes first;
        FakeChoiceBoxes second;
        FakeMessageBoxes messages;
        second.answers = {RecoveryOffer::Discard, RecoveryOffer::Discard, RecoveryOffer::Discard};
        bool secondStarted = false;
        first.onAsk = [&](const QString &) {
            if (std::exchange(secondStarted, true))
                return;
            QVERIFY(!RecoveryOffer::offer(dir.path(), {&second, &messages, nullptr, QString()},
                                          restoreNothing));
        };
        first.answers = {RecoveryOffer::KeepForLater};
        QVERIFY(!RecoveryOffer::offer(dir.path(), {&first, &messages, nullptr, QString()},
                                      restoreNothing));

        QCOMPARE(second.asked.size(), 2);
        for (const AskedChoice &asked : second.asked)
            QVERIFY2(!asked.text.contains(QStringLiteral("/doc0.rtf")), qPrintable(asked.text));
        // The first program does not ask about the copies the second discarded
        // meanwhile, and keeps its own as answered.
        QCOMPARE(first.asked.size(), 1);
        QVERIFY(first.asked[0].text.contains(QStringLiteral("/doc0.rtf")));
        QVERIFY(QFile::exists(copies[0].textPath()));
        QVERIFY(!QFile::exists(copies[1].textPath()));
        QVERIFY(!QFile::exists(copies[2].textPath()));
        QVERIFY(messages.shown.isEmpty());
        // Nothing of the claims is left.
        for (const RecoveryCopy &copy : copies)
            QVERIFY2(!QFile::exists(copy.claimPath()), qPrintable(copy.claimPath()));
    }

    void theClaimOfAProgramThatDiedWhileAskingIsFree()
    {
        QTemporaryDir dir;
        const RecoveryCopy copy = leaveCopy(dir.path(), QStringLiteral("/a.rtf"), 999971);
        int pipeFds[2];
        QCOMPARE(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            // A program asking about the copy, until it is killed; it goes with
            // the test, also when the test stops early.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            const RecoveryClaim claim = RecoveryClaim::take(copy);
            const char held = claim.ours() && claim.locked() ? 'y' : 'n';
            [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &held, 1);
            for (;;)
                ::pause();
        }
        QVERIFY(child > 0);
        bool reaped = false;
        const auto reap = qScopeGuard([&] {
            if (!reaped) {
                ::kill(child, SIGKILL);
                ::waitpid(child, nullptr, 0);
            }
        });
        char held = 0;
        QCOMPARE(::read(pipeFds[0], &held, 1), ssize_t(1));
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        QCOMPARE(held, 'y');
        QCOMPARE(ProcessIdentity::fromText(readFile(copy.claimPath())).pid, qint64(child));

        FakeChoiceBoxes choices;
        FakeMessageBoxes messages;
        choices.answers = {RecoveryOffer::Discard};
        QVERIFY(!RecoveryOffer::offer(dir.path(), {&choices, &messages, nullptr, QString()},
                                      restoreNothing));
        QVERIFY(choices.asked.isEmpty());

        ::kill(child, SIGKILL);
        reaped = ::waitpid(child, nullptr, 0) == child;
        QVERIFY(reaped);
        // Its claim file is still there, but nothing holds it any more.
        QVERIFY(QFile::exists(copy.claimPath()));
        choices.answers = {RecoveryOffer::KeepForLater};
        QVERIFY(!RecoveryOffer::offer(dir.path(), {&choices, &messages, nullptr, QString()},
                                      restoreNothing));
        QCOMPARE(choices.asked.size(), 1);
        QVERIFY(QFile::exists(copy.textPath()));
        QVERIFY(!QFile::exists(copy.claimPath()));
    }

    void aClaimLeftWithoutItsCopyIsClearedUnlessHeld()
    {
        QTemporaryDir dir;
        RecoveryCopy gone;
        gone.base = dir.filePath(QStringLiteral("recovery-999961"));
        {
            QFile stray(gone.claimPath());
            QVERIFY(stray.open(QIODevice::WriteOnly));
            stray.write(fakeProcess(999961).toText());
        }
        RecoveryCopy going;
        going.base = dir.filePath(QStringLiteral("recovery-999962"));
        const RecoveryClaim holding = RecoveryClaim::take(going, fakeProcess(7));
        QVERIFY(holding.locked());

        QVERIFY(RecoveryJournal::leftBehind(dir.path()).isEmpty());
        QVERIFY(!QFile::exists(gone.claimPath()));
        QVERIFY(QFile::exists(going.claimPath()));
    }
};

QTEST_MAIN(TestRecoveryClaim)
#include "test_recovery_claim.moc"
