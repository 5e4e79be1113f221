// Keystroke latency in a 300-page transcript with the recovery journal writing
// and without it (p50/p99), the cost of writing the RTF on the GUI thread that
// the journal avoids, what the journal does on the GUI thread per write, and
// how long after a keystroke the copy holding it is on disk.
//   bench_recovery [--bullets] [pages] [keystrokes] [ms between keys] [turns] [worker nice]
//       --bullets: every paragraph of the transcript an item of one bulleted list
//   bench_recovery --transcript OUT.rtf [pages] [--bullets]   only writes the transcript as RTF
//   bench_recovery --lists [paragraphs...]   the copy's capture and rebuild + RTF of plain
//       and bulleted transcripts of 2,000 to 32,000 paragraphs (or those given), side by side
#include "app/recovery_session.h"
#include "editor/rich_text_box.h"
#include "platform/files/text_file.h"
#include "rtf/list_append.h"
#include "rtf/rtf_writer.h"

#include "../support/transcript_bench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QMutex>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iterator>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace quillory;

using quillory::bench::fillTranscript;
using quillory::bench::percentile;

namespace {

void waitMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Key {
    qint64 start = 0, end = 0; // ns on the bench's clock
    double ms = 0;
};

// Types `keys` characters into the middle of the text, one every `gapMs`; returns
// the time each key took to be handled (key press, release, pending events).
std::vector<Key> typeKeys(RichTextBox &box, int keys, int gapMs, const QElapsedTimer &clock)
{
    QTextCursor cursor(box.document());
    cursor.setPosition(box.document()->characterCount() / 2);
    box.setTextCursor(cursor);
    std::vector<Key> latency;
    for (int i = 0; i < keys; ++i) {
        const QString text(QChar(QLatin1Char('a' + i % 26)));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A + i % 26, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A + i % 26, Qt::NoModifier, text);
        Key key;
        key.start = clock.nsecsElapsed();
        QApplication::sendEvent(&box, &press);
        QApplication::sendEvent(&box, &release);
        QCoreApplication::processEvents();
        key.end = clock.nsecsElapsed();
        key.ms = double(key.end - key.start) / 1e6;
        latency.push_back(key);
        waitMs(gapMs);
    }
    return latency;
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readLine() : QByteArray("?\n");
}

// Makes every paragraph of the document an item of one bulleted list.
void bulletEveryParagraph(QTextDocument *doc)
{
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    QTextList *list = cursor.createList(QTextListFormat::ListDisc);
    for (QTextBlock block = doc->begin().next(); block.isValid(); block = block.next())
        addListItem(list, block);
    cursor.endEditBlock();
}

// The journal's work on transcripts of growing length, plain and bulleted:
// the capture on the GUI thread and the worker's rebuild + RTF (medians of 5).
void compareLists(const std::vector<int> &sizes)
{
    std::printf("load average before: %s", loadAverage().constData());
    std::printf("paragraphs  capture plain/bullets (ms)  rebuild + RTF plain/bullets (ms)\n");
    for (int paragraphs : sizes) {
        double capture[2], worker[2];
        for (int bullets = 0; bullets < 2; ++bullets) {
            RichTextBox box;
            fillTranscript(box, paragraphs / 10);
            if (bullets)
                bulletEveryParagraph(box.document());
            std::vector<double> captureMs, workerMs;
            for (int i = 0; i < 5; ++i) {
                QElapsedTimer t;
                t.start();
                const JournalWriter::RtfJob job = RecoverySession::captureDocument(box);
                captureMs.push_back(double(t.nsecsElapsed()) / 1e6);
                t.restart();
                const QByteArray rtf = job();
                workerMs.push_back(double(t.nsecsElapsed()) / 1e6);
                if (i == 0 && rtf != writeRtf(*box.document()))
                    std::printf("WARNING: the copy differs from the editor's RTF\n");
            }
            capture[bullets] = percentile(captureMs, 0.5);
            worker[bullets] = percentile(workerMs, 0.5);
        }
        std::printf("%10d  %8.3f / %8.3f            %8.1f / %8.1f (%.2fx)\n", paragraphs,
                    capture[0], capture[1], worker[0], worker[1], worker[1] / worker[0]);
    }
    std::printf("load average after:  %s", loadAverage().constData());
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "--lists") {
        std::vector<int> sizes;
        for (int i = 2; i < argc; ++i)
            sizes.push_back(std::max(10, atoi(argv[i])));
        if (sizes.empty())
            sizes = {2000, 4000, 8000, 16000, 32000};
        compareLists(sizes);
        return 0;
    }
    if (argc > 2 && QByteArray(argv[1]) == "--transcript") {
        // The same transcript as an RTF file, for kill_restore.sh.
        RichTextBox box;
        fillTranscript(box, argc > 3 ? std::max(1, atoi(argv[3])) : 300);
        if (argc > 4 && QByteArray(argv[4]) == "--bullets")
            bulletEveryParagraph(box.document());
        const FileResult written =
            writeFileSafely(QFile::decodeName(argv[2]), writeRtf(*box.document()));
        if (!written)
            std::fprintf(stderr, "%s\n", qPrintable(written.reason));
        return written ? 0 : 1;
    }
    const bool bullets = argc > 1 && QByteArray(argv[1]) == "--bullets";
    if (bullets) {
        --argc;
        ++argv;
    }
    const int pages = argc > 1 ? std::max(1, atoi(argv[1])) : 300;
    const int keys = argc > 2 ? std::max(10, atoi(argv[2])) : 400;
    const int gap = argc > 3 ? std::max(0, atoi(argv[3])) : 40;
    const int turns = argc > 4 ? std::max(1, atoi(argv[4])) : 4;

    RichTextBox box;
    box.resize(800, 600);
    box.show();
    fillTranscript(box, pages);
    if (bullets)
        bulletEveryParagraph(box.document());
    std::printf("document: %d pages, %d characters, %d paragraphs%s\n", pages,
                box.document()->characterCount(), box.document()->blockCount(),
                bullets ? ", every one a bullet" : "");

    // What serialising on the GUI thread would cost per write.
    std::vector<double> direct, capture, worker;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        const QByteArray rtf = writeRtf(*box.document());
        direct.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        const JournalWriter::RtfJob job = RecoverySession::captureDocument(box);
        capture.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        const QByteArray fromSnapshot = job();
        worker.push_back(double(t.nsecsElapsed()) / 1e6);
        if (fromSnapshot != rtf)
            std::printf("WARNING: the copy differs from the editor's RTF\n");
    }
    std::printf("RTF on the GUI thread: %.1f ms (median of 5), %lld bytes\n",
                percentile(direct, 0.5), static_cast<long long>(writeRtf(*box.document()).size()));
    std::printf("journal on the GUI thread (snapshot): %.3f ms; on the worker (rebuild + RTF): "
                "%.1f ms\n",
                percentile(capture, 0.5), percentile(worker, 0.5));

    // Each journal writes into a folder of its own; the keys are typed in turns
    // with no journal (twice, so that the spread between two runs of the same
    // thing shows the noise), with the journal's worker at its usual lowest
    // priority, and with it at normal priority.
    QElapsedTimer clock;
    clock.start();
    QMutex busyMutex;
    struct Span {
        qint64 captured, from, to; // ns on `clock`: capture, then the worker's rebuild + RTF
        const JournalWriter *writer;
    };
    std::vector<Span> busy; // the workers' rebuild + RTF
    std::vector<double> flushes;
    auto sourcesFor = [&](const JournalWriter *const *writer) {
        JournalWriter::Sources sources;
        sources.capture = [&, writer] {
            const qint64 captured = clock.nsecsElapsed();
            QElapsedTimer t;
            t.start();
            JournalWriter::RtfJob job = RecoverySession::captureDocument(box);
            flushes.push_back(double(t.nsecsElapsed()) / 1e6);
            return JournalWriter::RtfJob([&, job, writer, captured] {
                const qint64 from = clock.nsecsElapsed();
                QByteArray rtf = job();
                const QMutexLocker lock(&busyMutex);
                busy.push_back({captured, from, clock.nsecsElapsed(), *writer});
                return rtf;
            });
        };
        sources.hasUnsavedChanges = [] { return true; };
        sources.info = [] { return RecoveryInfo(); };
        return sources;
    };
    QTemporaryDir stateLow, stateNormal;
    RecoveryJournal journalLow(stateLow.path()), journalNormal(stateNormal.path());
    const JournalWriter *lowTag = nullptr, *normalTag = nullptr;
    JournalWriter low(journalLow, sourcesFor(&lowTag));
    JournalWriter normal(journalNormal, sourcesFor(&normalTag));
    lowTag = &low;
    normalTag = &normal;
    if (argc > 5)
        low.setWorkerNice(atoi(argv[5]));
    normal.setWorkerNice(0);
    const QByteArray lowName = "journal on, worker nice " + QByteArray::number(low.workerNice());

    struct Group {
        const char *name;
        JournalWriter *writer;
        std::vector<Key> keys;
    };
    Group groups[] = {{"journal off (a)", nullptr, {}},
                      {lowName.constData(), &low, {}},
                      {"journal off (b)", nullptr, {}},
                      {"journal on, worker nice 0", &normal, {}}};
    const int perTurn = std::max(1, keys / (int(std::size(groups)) * turns));
    std::printf("load average before: %s", loadAverage().constData());
    for (int turn = 0; turn < turns; ++turn) {
        for (Group &group : groups) {
            QMetaObject::Connection c;
            if (group.writer)
                c = QObject::connect(box.document(), &QTextDocument::contentsChanged, group.writer,
                                     &JournalWriter::documentChanged);
            const std::vector<Key> typed = typeKeys(box, perTurn, gap, clock);
            group.keys.insert(group.keys.end(), typed.begin(), typed.end());
            if (group.writer) {
                QObject::disconnect(c);
                // Let the last change be written before the next group types.
                waitMs(1100);
                group.writer->waitForIdle();
            }
        }
    }
    std::printf("load average after:  %s", loadAverage().constData());

    auto duringAWrite = [&](const Key &key, const JournalWriter *writer) {
        const QMutexLocker lock(&busyMutex);
        for (const Span &span : busy)
            if (span.writer == writer && key.start < span.to && key.end > span.from)
                return true;
        return false;
    };
    std::printf("keystroke latency, %d keys every %d ms, %d turns:\n", perTurn * turns, gap, turns);
    for (const Group &group : groups) {
        std::vector<double> all, overlapping;
        for (const Key &key : group.keys) {
            all.push_back(key.ms);
            if (group.writer && duringAWrite(key, group.writer))
                overlapping.push_back(key.ms);
        }
        std::printf("  %-27s p50 %.3f ms  p99 %.3f ms  max %.3f ms", group.name,
                    percentile(all, 0.5), percentile(all, 0.99), percentile(all, 1.0));
        if (group.writer)
            std::printf("  (%d copies; %zu keys during a write: p50 %.3f  max %.3f ms)",
                        group.writer->writesDone(), overlapping.size(),
                        percentile(overlapping, 0.5), percentile(overlapping, 1.0));
        std::printf("\n");
    }
    for (const JournalWriter *writer : {&low, &normal}) {
        std::vector<double> took;
        const QMutexLocker lock(&busyMutex);
        for (const Span &span : busy)
            if (span.writer == writer)
                took.push_back(double(span.to - span.from) / 1e6);
        std::printf("  worker nice %2d, rebuild + RTF, wall time: p50 %.1f ms  max %.1f ms (%zu "
                    "writes)\n",
                    writer->workerNice(), percentile(took, 0.5), percentile(took, 1.0),
                    took.size());
    }
    // The promise: a keystroke is in the copy about a second later at most. A
    // key's copy is the first captured after it; it holds the key once its RTF
    // is made (the file is written right after, in a few milliseconds).
    for (const Group &group : groups) {
        if (!group.writer)
            continue;
        std::vector<double> behind;
        const QMutexLocker lock(&busyMutex);
        for (const Key &key : group.keys) {
            const Span *copy = nullptr;
            for (const Span &span : busy)
                if (span.writer == group.writer && span.captured >= key.end &&
                    (!copy || span.captured < copy->captured))
                    copy = &span;
            if (copy)
                behind.push_back(double(copy->to - key.start) / 1e6);
        }
        std::printf("  %-27s keystroke to its copy: p50 %.0f ms  p99 %.0f ms  max %.0f ms (%zu of "
                    "%zu keys)\n",
                    group.name, percentile(behind, 0.5), percentile(behind, 0.99),
                    percentile(behind, 1.0), behind.size(), group.keys.size());
    }
    std::printf("  journal's GUI-thread work per write: p50 %.3f ms  max %.3f ms\n",
                percentile(flushes, 0.5), percentile(flushes, 1.0));
    {
        // What every change costs the GUI thread besides the writes: the timers.
        QTemporaryDir dir;
        RecoveryJournal idleJournal(dir.path());
        const JournalWriter *idleTag = nullptr;
        JournalWriter idle(idleJournal, sourcesFor(&idleTag));
        constexpr int Calls = 20000;
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < Calls; ++i)
            idle.documentChanged();
        std::printf("  journal's work per change (timers): %.3f us\n",
                    double(t.nsecsElapsed()) / 1e3 / Calls);
        idle.stop();
    }

    // The worst case, for telling scheduling from other sharing (caches, memory,
    // locks): keys typed while a worker rebuilds and serialises without pause.
    std::printf("keys while a worker rebuilds without pause (%d keys a turn):\n", perTurn);
    struct Busy {
        const char *name;
        int nice; // -1: no worker
        std::vector<double> ms;
    };
    const QByteArray busyLowName = "worker nice " + QByteArray::number(low.workerNice());
    Busy busyGroups[] = {{"no worker", -1, {}},
                         {busyLowName.constData(), low.workerNice(), {}},
                         {"worker nice 19", 19, {}},
                         {"worker nice 0", 0, {}}};
    for (int turn = 0; turn < turns; ++turn) {
        for (Busy &group : busyGroups) {
            std::atomic<bool> running{group.nice >= 0};
            const JournalWriter::RtfJob job = RecoverySession::captureDocument(box);
            std::thread worker;
            if (running)
                worker = std::thread([&running, &job, nice = group.nice] {
                    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), nice);
                    while (running)
                        job();
                });
            for (const Key &key : typeKeys(box, perTurn, gap, clock))
                group.ms.push_back(key.ms);
            running = false;
            if (worker.joinable())
                worker.join();
        }
    }
    for (const Busy &group : busyGroups)
        std::printf("  %-27s p50 %.3f ms  p99 %.3f ms  max %.3f ms\n", group.name,
                    percentile(group.ms, 0.5), percentile(group.ms, 0.99),
                    percentile(group.ms, 1.0));
    return 0;
}
