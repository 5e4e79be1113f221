// Keystroke latency in a 300-page transcript with the recovery journal writing
// and without it (p50/p99), the cost of writing the RTF on the GUI thread that
// the journal avoids, and what the journal does on the GUI thread per write.
//   bench_recovery [pages] [keystrokes] [ms between keys]
#include "app/recovery_session.h"
#include "editor/rich_text_box.h"
#include "editor/rtf/rtf_writer.h"

#include "../support/transcript_bench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTimer>
#include <algorithm>
#include <cstdio>
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

// Types `keys` characters into the middle of the text, one every `gapMs`; returns
// the time each key took to be handled (key press, release, pending events).
std::vector<double> typeKeys(RichTextBox &box, int keys, int gapMs)
{
    QTextCursor cursor(box.document());
    cursor.setPosition(box.document()->characterCount() / 2);
    box.setTextCursor(cursor);
    std::vector<double> latency;
    for (int i = 0; i < keys; ++i) {
        const QString text(QChar(QLatin1Char('a' + i % 26)));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A + i % 26, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A + i % 26, Qt::NoModifier, text);
        QElapsedTimer t;
        t.start();
        QApplication::sendEvent(&box, &press);
        QApplication::sendEvent(&box, &release);
        QCoreApplication::processEvents();
        latency.push_back(double(t.nsecsElapsed()) / 1e6);
        waitMs(gapMs);
    }
    return latency;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int pages = argc > 1 ? std::max(1, atoi(argv[1])) : 300;
    const int keys = argc > 2 ? std::max(10, atoi(argv[2])) : 400;
    const int gap = argc > 3 ? std::max(0, atoi(argv[3])) : 40;

    RichTextBox box;
    box.resize(800, 600);
    box.show();
    fillTranscript(box, pages);
    std::printf("document: %d pages, %d characters, %d paragraphs\n", pages,
                box.document()->characterCount(), box.document()->blockCount());

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

    QTemporaryDir state;
    RecoveryJournal journal(state.path());
    JournalWriter::Sources sources;
    std::vector<double> flushes;
    sources.capture = [&box, &flushes] {
        QElapsedTimer t;
        t.start();
        JournalWriter::RtfJob job = RecoverySession::captureDocument(box);
        flushes.push_back(double(t.nsecsElapsed()) / 1e6);
        return job;
    };
    sources.hasUnsavedChanges = [] { return true; };
    sources.info = [] { return RecoveryInfo(); };
    JournalWriter writer(journal, sources);

    // Off and on in turns, so that a change in the machine's load during the
    // run falls on both alike.
    std::vector<double> off, on;
    constexpr int Turns = 4;
    for (int turn = 0; turn < Turns; ++turn) {
        const std::vector<double> a = typeKeys(box, keys / (2 * Turns), gap);
        off.insert(off.end(), a.begin(), a.end());
        const QMetaObject::Connection c =
            QObject::connect(box.document(), &QTextDocument::contentsChanged, &writer,
                             &JournalWriter::documentChanged);
        const std::vector<double> b = typeKeys(box, keys / (2 * Turns), gap);
        on.insert(on.end(), b.begin(), b.end());
        QObject::disconnect(c);
        writer.waitForIdle();
    }

    std::printf("keystroke latency, %d keys every %d ms:\n", keys, gap);
    std::printf("  journal off: p50 %.3f ms  p99 %.3f ms  max %.3f ms\n", percentile(off, 0.5),
                percentile(off, 0.99), percentile(off, 1.0));
    std::printf("  journal on:  p50 %.3f ms  p99 %.3f ms  max %.3f ms  (%d copies written)\n",
                percentile(on, 0.5), percentile(on, 0.99), percentile(on, 1.0),
                writer.writesDone());
    std::printf("  journal's GUI-thread work per write: p50 %.3f ms  max %.3f ms\n",
                percentile(flushes, 0.5), percentile(flushes, 1.0));
    return 0;
}
