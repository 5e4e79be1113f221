#include "platform/instance/local_channel.h"
#include "platform/instance/running_instance.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace quillory;

class TestRunningInstance : public QObject {
    Q_OBJECT

    QTemporaryDir m_runtime;

    // A later start runs in its own process; its blocking hand-over is played
    // here on a worker thread while this thread's event loop serves the first.
    static bool handOverFromAnotherStart(const QString &folder, const QString &request)
    {
        bool taken = false;
        QSemaphore finished;
        std::thread start([&] {
            taken = RunningInstance(folder).handOver(request);
            finished.release();
        });
        // The hand-over's own timeouts end the wait; the event loop runs meanwhile.
        while (!finished.tryAcquire(1, 5))
            QCoreApplication::processEvents();
        // Joined, not only signalled: the thread sanitizer sees the hand-back.
        start.join();
        return taken;
    }

    // What making a channel left in the runtime folder besides the channel.
    QStringList madeBeside() const
    {
        return QDir(m_runtime.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
            .filter(QStringLiteral(".quillory-"));
    }

    // Qt's own local socket on the channel of a program folder.
    static bool connectToChannel(QLocalSocket &socket, const QString &folder)
    {
        socket.connectToServer(RunningInstance::channelPath(folder));
        return socket.waitForConnected(2000);
    }

private slots:
    void initTestCase()
    {
        // The channel lives in the user's runtime folder; a test must not meet
        // a program the user runs.
        QVERIFY(m_runtime.isValid());
        QFile::setPermissions(m_runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    }

    void aLaterStartHandsItsFileToTheRunningProgram()
    {
        RunningInstance running(QStringLiteral("/opt/quillory-a"));
        QVERIFY(running.listen());
        QSignalSpy requests(&running, &RunningInstance::requested);

        // Any path reaches it whole: blanks, a line break, non-ASCII letters.
        const QString odd = QStringLiteral("/home/u/Interviste 2026/caffè\nbar %20.mp3");
        QVERIFY(handOverFromAnotherStart(QStringLiteral("/opt/quillory-a"), odd));
        QTRY_COMPARE(requests.size(), 1);
        QCOMPARE(requests.at(0).at(0).toString(), odd);

        QVERIFY(handOverFromAnotherStart(QStringLiteral("/opt/quillory-a"), QString()));
        QTRY_COMPARE(requests.size(), 2);
        QCOMPARE(requests.at(1).at(0).toString(), QString());

        // A program on another program folder is a program of its own.
        QVERIFY(
            !RunningInstance(QStringLiteral("/opt/quillory-b")).handOver(QStringLiteral("/x.mp3")));
        QVERIFY(RunningInstance::channelPath(QStringLiteral("/opt/quillory-a")) !=
                RunningInstance::channelPath(QStringLiteral("/opt/quillory-b")));
    }

    void whatIsNotARequestIsDroppedAndTheChannelGoesOn()
    {
        RunningInstance running(QStringLiteral("/opt/quillory-c"));
        QVERIFY(running.listen());
        QSignalSpy requests(&running, &RunningInstance::requested);
        QLocalSocket stranger;
        QVERIFY(connectToChannel(stranger, QStringLiteral("/opt/quillory-c")));
        stranger.write("GET / HTTP/1.0\n\n");
        stranger.flush();
        QTRY_COMPARE(stranger.state(), QLocalSocket::UnconnectedState);
        QVERIFY(
            handOverFromAnotherStart(QStringLiteral("/opt/quillory-c"), QStringLiteral("/y.mp3")));
        QTRY_COMPARE(requests.size(), 1);
        QCOMPARE(requests.at(0).at(0).toString(), QStringLiteral("/y.mp3"));
    }

    void aRequestWrittenWholeIsTakenAlsoWhenItsWriterLeaves()
    {
        RunningInstance running(QStringLiteral("/opt/quillory-f"));
        QVERIFY(running.listen());
        QSignalSpy requests(&running, &RunningInstance::requested);
        QLocalSocket writer;
        QVERIFY(connectToChannel(writer, QStringLiteral("/opt/quillory-f")));
        writer.write("quillory-open 1\n/v%20w.mp3\n");
        writer.disconnectFromServer();
        QTRY_COMPARE(requests.size(), 1);
        QCOMPARE(requests.at(0).at(0).toString(), QStringLiteral("/v w.mp3"));
    }

    void aProgramThatNeverAnswersIsGivenUpOnInTime()
    {
        // A channel whose program hangs: connections are queued, never read.
        const QString path = RunningInstance::channelPath(QStringLiteral("/opt/quillory-g"));
        const localchannel::Fd hung = localchannel::listenAt(QFile::encodeName(path), 1);
        QVERIFY(hung.valid());
        QElapsedTimer waited;
        waited.start();
        QVERIFY(!RunningInstance(QStringLiteral("/opt/quillory-g"))
                     .handOver(QStringLiteral("/a"), 300));
        // Given up after the timeout, not hanging with the other program.
        QVERIFY2(waited.elapsed() < 5000, qPrintable(QString::number(waited.elapsed())));
        // Nor is a hung channel taken over.
        QVERIFY(!RunningInstance(QStringLiteral("/opt/quillory-g")).listen());
        ::unlink(QFile::encodeName(path).constData());
    }

    void whatCannotBeASocketNameIsRefused()
    {
        const QByteArray tooLong = QFile::encodeName(m_runtime.path()) + '/' + QByteArray(120, 'x');
        QVERIFY(!localchannel::listenAt(tooLong, 1).valid());
        QVERIFY(!localchannel::connectTo(tooLong, QDeadlineTimer(100)).valid());
        QVERIFY(
            !localchannel::listenAt(QFile::encodeName(m_runtime.path()) + "/none/s", 1).valid());
        QVERIFY(!localchannel::connectTo(QByteArray(), QDeadlineTimer(100)).valid());
        // Nothing of the failed attempts is left in the folder.
        QCOMPARE(madeBeside(), QStringList());
    }

    void anAnswerLongerThanALineIsNoAnswer()
    {
        const QByteArray path = QFile::encodeName(m_runtime.path()) + "/answer.socket";
        const localchannel::Fd server = localchannel::listenAt(path, 1);
        QVERIFY(server.valid());
        const localchannel::Fd client = localchannel::connectTo(path, QDeadlineTimer(1000));
        QVERIFY(client.valid());
        const localchannel::Fd served(::accept(server.get(), nullptr, nullptr));
        QVERIFY(served.valid());
        QVERIFY(localchannel::sendAll(served.get(), QByteArray(100, 'y'), QDeadlineTimer(1000)));
        QCOMPARE(localchannel::receiveLine(client.get(), 64, QDeadlineTimer(1000)), std::nullopt);
        QVERIFY(localchannel::sendAll(served.get(), "ok\n", QDeadlineTimer(1000)));
        // The rest of the long one, then the line; silence ends at the deadline.
        QCOMPARE(localchannel::receiveLine(client.get(), 64, QDeadlineTimer(1000)),
                 std::optional<QByteArray>(QByteArray(36, 'y') + "ok\n"));
        QCOMPARE(localchannel::receiveLine(client.get(), 64, QDeadlineTimer(50)), std::nullopt);
        ::unlink(path.constData());
    }

    void onlyThisUserMayOpenTheChannelAndItGoesWithTheProgram()
    {
        const QString folder = QStringLiteral("/opt/quillory-e");
        const QString path = RunningInstance::channelPath(folder);
        {
            RunningInstance running(folder);
            QVERIFY(running.listen());
            const QFileInfo channel(path);
            QVERIFY(channel.exists());
            QCOMPARE(channel.permissions() &
                         (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
                     QFile::Permissions());
            // The empty folder it was made in stays until removed; nothing
            // else of its making is left beside it.
            const QStringList left = madeBeside();
            QCOMPARE(left.size(), 1);
            QCOMPARE(QDir(m_runtime.path() + '/' + left.first())
                         .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                     QStringList());
            running.removeEmptyFolder();
            QCOMPARE(madeBeside(), QStringList());
        }
        QVERIFY(!QFileInfo::exists(path));
        // Not removed by the program, the folder goes with it too.
        {
            RunningInstance running(folder);
            QVERIFY(running.listen());
            QCOMPARE(madeBeside().size(), 1);
        }
        QCOMPARE(madeBeside(), QStringList());
        // The next program finds no channel: nobody takes its request.
        QVERIFY(!RunningInstance(folder).handOver(QStringLiteral("/w.mp3"), 200));
    }

    void aChannelLeftBehindIsReplacedAndALiveOneKept()
    {
        const QString folder = QStringLiteral("/opt/quillory-d");
        // What a crashed program leaves: the name, with nobody answering.
        QFile stale(RunningInstance::channelPath(folder));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        RunningInstance first(folder);
        QVERIFY(first.listen());
        QVERIFY(first.isListening());
        // A second program that could not hand over must not take the live channel.
        RunningInstance second(folder);
        QVERIFY(!second.listen());
        QVERIFY(handOverFromAnotherStart(folder, QStringLiteral("/z.mp3")));
    }
};

QTEST_MAIN(TestRunningInstance)
#include "test_running_instance.moc"
