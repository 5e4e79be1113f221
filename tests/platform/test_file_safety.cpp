// Reading only regular files within a limit, decoding byte order marks, and the
// safe write: its permissions, links, and the reasons it gives when the disk is
// full or a file-size limit is reached.
#include "platform/files/preferences.h"
#include "platform/files/settings_file.h"
#include "platform/files/text_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillory;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QString makeFifo(const QTemporaryDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 ? path : QString();
}

mode_t modeOf(const QString &path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Runs `job` in a forked child (where limits and mounts can change without
// touching the test) and returns what it answered. A child that did not end
// normally answers "died:<signal>".
QByteArray inChild(const std::function<QByteArray()> &job)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return "pipe failed";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const QByteArray answer = job();
        [[maybe_unused]] const ssize_t n = ::write(fds[1], answer.constData(), answer.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray answer;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        answer.append(buffer, n);
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFSIGNALED(status))
        return "died:" + QByteArray::number(WTERMSIG(status));
    return answer;
}

// Permissions do not bind root: a child running as root gives `folder` to
// "nobody" and becomes it. False when that cannot be done.
bool becomeAnOrdinaryUser(const QByteArray &folder)
{
    if (::geteuid() != 0)
        return true;
    return ::chown(folder.constData(), 65534, 65534) == 0 && ::setgid(65534) == 0 &&
           ::setuid(65534) == 0;
}

QByteArray outcome(const FileResult &result)
{
    return result ? QByteArray("ok")
                  : "failed:" + QByteArray::number(result.error) + ":" + result.reason.toUtf8();
}

bool writeProcFile(const char *path, const QByteArray &text)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    ::close(fd);
    return ok;
}

} // namespace

class TestFileSafety : public QObject {
    Q_OBJECT
private slots:
    void readsRegularFilesUpToTheLimit()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.txt");
        put(path, QByteArray(1000, 'a'));
        QByteArray bytes;
        QVERIFY(readRegularFile(path, 1000, &bytes));
        QCOMPARE(bytes, QByteArray(1000, 'a'));

        const FileResult over = readRegularFile(path, 999, &bytes);
        QVERIFY(!over);
        QCOMPARE(over.error, EFBIG);
        QVERIFY(over.reason.contains(path));
        QVERIFY(bytes.isEmpty());

        const FileResult missing = readRegularFile(dir.filePath("none"), 1000, &bytes);
        QCOMPARE(missing.error, ENOENT);
        QVERIFY(missing.reason.contains("does not exist"));

        const QString link = dir.filePath("link.txt");
        QVERIFY(QFile::link(path, link));
        QVERIFY(readRegularFile(link, 1000, &bytes));
        QCOMPARE(bytes.size(), 1000);
    }

    void limitHoldsWhileReadingAFileThatTellsNoSize()
    {
        // Files in /proc are regular but say they are empty.
        QByteArray bytes;
        QVERIFY(readRegularFile("/proc/self/maps", 64 * 1024 * 1024, &bytes));
        QVERIFY(bytes.size() > 16);
        const FileResult small = readRegularFile("/proc/self/maps", 16, &bytes);
        QVERIFY(!small);
        QCOMPARE(small.error, EFBIG);
        QVERIFY(bytes.isEmpty());
    }

    void refusesWhatIsNotARegularFile()
    {
        QTemporaryDir dir;
        const QString fifo = makeFifo(dir, "fifo");
        QVERIFY(!fifo.isEmpty());
        const QString zeroLink = dir.filePath("zero");
        QVERIFY(QFile::link("/dev/zero", zeroLink));
        const QString fifoLink = dir.filePath("fifo-link");
        QVERIFY(QFile::link(fifo, fifoLink));
        for (const QString &path : {fifo, fifoLink, zeroLink, QString("/dev/zero")}) {
            QByteArray bytes;
            const FileResult read = readRegularFile(path, SmallTextFileLimit, &bytes);
            QVERIFY2(!read, qPrintable(path));
            QVERIFY2(read.reason.contains("not an ordinary file"), qPrintable(read.reason));
        }
        QByteArray bytes;
        QCOMPARE(readRegularFile(dir.path(), SmallTextFileLimit, &bytes).error, EISDIR);

        // What may be opened: files, hidden ones too; never a pipe, device or folder.
        for (const QString &path : {fifo, fifoLink, zeroLink, QString("/dev/zero"), dir.path()})
            QVERIFY2(!isOrdinaryFile(path), qPrintable(path));
        put(dir.filePath(".hidden.mp3"), "x");
        QVERIFY(isOrdinaryFile(dir.filePath(".hidden.mp3")));
    }

    void settingsAndPreferencesNeverWaitOnAFifo()
    {
        QTemporaryDir dir;
        const QString fifo = makeFifo(dir, "Quillory.ini");
        QVERIFY(!fifo.isEmpty());
        QStringList lines{"kept?"};
        QVERIFY(!readTextLines(fifo, &lines));
        QVERIFY(lines.isEmpty());
        QCOMPARE(SettingsFile::read(fifo), PlayerSettings());
        Preferences preferences(fifo);
        QVERIFY(!preferences.load());

        const QString zero = dir.filePath("Preferences.ini");
        QVERIFY(QFile::link("/dev/zero", zero));
        Preferences endless(zero);
        QVERIFY(!endless.load());
        QCOMPARE(endless.integer("x", 3, 0, 9), 3);
    }

    void byteOrderMarksChooseTheEncoding()
    {
        const QString text = QString::fromUtf8("Perch\xC3\xA9\r\nna\xC3\xAFve\r\n");
        QByteArray le("\xFF\xFE");
        QByteArray be("\xFE\xFF");
        for (QChar c : text) {
            le += char(c.unicode() & 0xFF);
            le += char(c.unicode() >> 8);
            be += char(c.unicode() >> 8);
            be += char(c.unicode() & 0xFF);
        }
        QCOMPARE(decodeText(le), text);
        QCOMPARE(decodeText(be), text);
        QCOMPARE(decodeText("\xEF\xBB\xBF" + text.toUtf8()), text);
        QCOMPARE(decodeText(text.toUtf8()), text);
        QCOMPARE(decodeText("Perch\xE9"), QString::fromUtf8("Perch\xC3\xA9")); // Windows-1252
        QCOMPARE(decodeText("\xFF\xFE"), QString());
        QCOMPARE(decodeByByteOrderMark(le).value_or(QString()), text);
        QVERIFY(!decodeByByteOrderMark(text.toUtf8()));
        QVERIFY(!decodeByByteOrderMark("\xFF"));

        QTemporaryDir dir;
        put(dir.filePath("notepad.txt"), le);
        QStringList lines;
        QVERIFY(readTextLines(dir.filePath("notepad.txt"), &lines));
        QCOMPARE(lines, QStringList({QString::fromUtf8("Perch\xC3\xA9"),
                                     QString::fromUtf8("na\xC3\xAFve")}));
    }

    void failureReasonsSayWhatAndWhere_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("where");
        QTest::newRow("full disk") << ENOSPC << "disk is full"
                                   << "/media/stick/Notes";
        QTest::newRow("quota") << EDQUOT << "quota"
                               << "/media/stick/Notes";
        QTest::newRow("size limit") << EFBIG << "file-size limit"
                                    << "/media/stick/Notes/talk.rtf";
        QTest::newRow("permission") << EACCES << "no permission"
                                    << "/media/stick/Notes";
        QTest::newRow("read-only disk") << EROFS << "can only be read"
                                        << "/media/stick/Notes";
        QTest::newRow("other") << EMLINK << QString::fromLocal8Bit(std::strerror(EMLINK))
                               << "/media/stick/Notes/talk.rtf";
    }

    void failureReasonsSayWhatAndWhere()
    {
        QFETCH(int, error);
        QFETCH(QString, words);
        QFETCH(QString, where);
        const QString reason = writeFailureReason(error, "/media/stick/Notes/talk.rtf");
        QVERIFY2(reason.contains(words), qPrintable(reason));
        QVERIFY2(reason.contains(where), qPrintable(reason));
        QVERIFY(!reason.contains("Unknown error"));
    }

    void sizeLimitFailsTheWriteAndKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("talk.rtf");
        put(path, "the old transcript");
        const auto writeUnderLimit = [&](qsizetype size) {
            return inChild([&] {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{8192, 8192};
                if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                    return QByteArray("setrlimit failed");
                return outcome(writeFileSafely(path, QByteArray(size, 'x')));
            });
        };
        const QByteArray refused = writeUnderLimit(64 * 1024);
        QVERIFY2(refused.startsWith("failed:" + QByteArray::number(EFBIG) + ":"),
                 refused.constData());
        QVERIFY2(refused.contains("file-size limit"), refused.constData());
        QCOMPARE(contents(path), QByteArray("the old transcript"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"talk.rtf"});

        // Within the limit the same write goes through.
        QCOMPARE(writeUnderLimit(4096), QByteArray("ok"));
        QCOMPARE(contents(path), QByteArray(4096, 'x'));
    }

    void fullDiskIsReportedAsSuch()
    {
        QTemporaryDir dir;
        const QString mountPoint = dir.filePath("small");
        QVERIFY(QDir().mkpath(mountPoint));
        const uid_t uid = ::geteuid();
        const gid_t gid = ::getegid();
        const QByteArray answer = inChild([&]() -> QByteArray {
            // A user and mount namespace of its own lets the child mount a
            // small tmpfs without privileges, where the system allows it.
            if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
                return "skip:unshare: " + QByteArray(std::strerror(errno));
            if (!writeProcFile("/proc/self/setgroups", "deny") ||
                !writeProcFile("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1") ||
                !writeProcFile("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1"))
                return "skip:cannot map the user";
            const QByteArray where = QFile::encodeName(mountPoint);
            if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount("tmpfs", where.constData(), "tmpfs", 0, "size=64k") != 0)
                return "skip:mount: " + QByteArray(std::strerror(errno));
            const QString path = mountPoint + "/talk.rtf";
            if (!writeFileSafely(path, "the old transcript"))
                return "small write failed";
            const QByteArray result = outcome(writeFileSafely(path, QByteArray(1 << 20, 'x')));
            return result + "\n" + contents(path) + "\n" +
                   QDir(mountPoint).entryList(QDir::Files).join(',').toUtf8();
        });
        if (answer.startsWith("skip:"))
            QSKIP(("no small file system can be mounted here (" + answer.mid(5) + ")").constData());
        const QList<QByteArray> parts = answer.split('\n');
        QCOMPARE(parts.size(), 3);
        QVERIFY2(parts[0].startsWith("failed:" + QByteArray::number(ENOSPC) + ":"),
                 answer.constData());
        QVERIFY2(parts[0].contains("the disk is full"), parts[0].constData());
        QVERIFY2(parts[0].contains(QFile::encodeName(mountPoint)), parts[0].constData());
        QCOMPARE(parts[1], QByteArray("the old transcript"));
        QCOMPARE(parts[2], QByteArray("talk.rtf")); // no temporary file left behind
    }

    void ownerOnlyFilesAreNotWrittenThroughLinks()
    {
        QTemporaryDir dir;
        const mode_t previous = ::umask(022);
        const QString path = dir.filePath("recovery-1.rtf");
        const QString elsewhere = dir.filePath("planted-target");
        QVERIFY(QFile::link(elsewhere, path)); // dangling
        QVERIFY(writeFileSafely(path, "unsaved words", FileAccess::OwnerOnly));
        QVERIFY(!QFileInfo(path).isSymLink());
        QVERIFY(!QFileInfo::exists(elsewhere));
        QCOMPARE(contents(path), QByteArray("unsaved words"));
        QCOMPARE(modeOf(path), mode_t(0600));

        const QString usual = dir.filePath("notes.txt");
        QVERIFY(writeFileSafely(usual, "a"));
        QCOMPARE(modeOf(usual), mode_t(0644));
        ::umask(previous);
    }

    void usualFilesKeepTheirPermissionsAndLinks()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("real.rtf");
        put(target, "old");
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0640) == 0);
        const QString link = dir.filePath("link.rtf");
        QVERIFY(QFile::link(target, link));
        QVERIFY(writeFileSafely(link, "new"));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(contents(target), QByteArray("new"));
        QCOMPARE(modeOf(target), mode_t(0640));

        const FileResult folder = writeFileSafely(dir.path(), "x");
        QCOMPARE(folder.error, EISDIR);
    }

    void failedWriteLeavesTheOldFileAndNoTemporary()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("talk.rtf");
        put(path, "old");
        // The file itself may be written: only the folder stands in the way.
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0666) == 0);
        const QByteArray folder = QFile::encodeName(dir.path());
        const QByteArray answer = inChild([&]() -> QByteArray {
            if (!becomeAnOrdinaryUser(folder))
                return "cannot become another user";
            if (::chmod(folder.constData(), 0500) != 0)
                return "chmod failed";
            return outcome(writeFileSafely(path, "new"));
        });
        QVERIFY(::chown(folder.constData(), ::geteuid(), ::getegid()) == 0);
        QVERIFY(::chmod(folder.constData(), 0700) == 0);
        QVERIFY2(answer.startsWith("failed:" + QByteArray::number(EACCES) + ":"),
                 answer.constData());
        QVERIFY2(answer.contains("no permission to write in " + folder), answer.constData());
        QCOMPARE(contents(path), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"talk.rtf"});
    }

    void aReadOnlyFileIsNotReplaced()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("talk.rtf");
        put(path, "old");
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
        const QByteArray folder = QFile::encodeName(dir.path());
        const QByteArray answer = inChild([&]() -> QByteArray {
            if (!becomeAnOrdinaryUser(folder))
                return "cannot become another user";
            return outcome(writeFileSafely(path, "new"));
        });
        QVERIFY(::chown(folder.constData(), ::geteuid(), ::getegid()) == 0);
        QVERIFY2(answer.contains(path.toUtf8() + " is read-only"), answer.constData());
        QCOMPARE(contents(path), QByteArray("old"));
    }
};

QTEST_GUILESS_MAIN(TestFileSafety)
#include "test_file_safety.moc"
