// The editor's cost per keystroke on a 300-page transcript, including the undo
// snapshot every change records, the memory the 101 history slots hold, and the
// cost of Undo; next to the RTF round trip that a snapshot as RTF text would cost.
//   bench_editor [pages] [keystrokes]
#include "editor/form2.h"
#include "editor/rich_text_box.h"
#include "editor/undo_history.h"

#include "../support/editor_bench.h"
#include "../support/transcript_bench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

using quillory::bench::fillTranscript;
using quillory::bench::IdlePlayer;
using quillory::bench::partOf;
using quillory::bench::percentile;
using quillory::bench::typeKey;

namespace {

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 / 1e6 : 0;
}

// Bytes the history holds: each distinct paragraph once, plus each slot's list.
double historyMb(const Form2 &editor)
{
    std::set<const quillory::ParagraphState *> seen;
    std::set<const QChar *> texts; // paragraphs of one text share its characters
    double bytes = 0;
    for (int i = 0; i <= 100; ++i) {
        const auto &slot = editor.undoHistory().slot(i);
        bytes += double(slot.paragraphs.size()) * 16;
        for (const auto &p : slot.paragraphs) {
            if (!seen.insert(p.get()).second)
                continue;
            bytes += sizeof(quillory::ParagraphState) + double(p->runs.size()) * 40;
            if (texts.insert(p->text.constData()).second)
                bytes += double(p->text.capacity()) * 2;
        }
    }
    return bytes / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int pages = argc > 1 ? std::max(1, atoi(argv[1])) : 300;
    const int keystrokes = argc > 2 ? std::max(200, atoi(argv[2])) : 2000;

    IdlePlayer player;
    quillory::LanguageTable language;
    Form2 editor(player, language, quillory::Services());
    editor.Form_Load();
    editor.resize(900, 700);
    editor.show();
    RichTextBox &box = partOf<RichTextBox>(editor, QStringLiteral("RTB"));
    fillTranscript(box, pages);
    QApplication::processEvents();
    const QByteArray rtf = box.TextRTF();
    std::printf("%d pages, %.2f MB of RTF, %d characters, %d paragraphs\n", pages, rtf.size() / 1e6,
                box.document()->characterCount(), box.document()->blockCount());

    // What a snapshot as RTF text would cost (the earlier representation).
    std::vector<double> rtfMs;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        const QByteArray again = box.TextRTF();
        rtfMs.push_back(double(t.nsecsElapsed()) / 1e6);
        Q_UNUSED(again);
    }
    std::printf("RTF text of the whole document:        median %.2f ms\n", percentile(rtfMs, 0.5));

    // Keystrokes in the middle of the document, each recording its snapshot.
    QTextCursor middle(box.document()->findBlockByNumber(box.document()->blockCount() / 2));
    box.setTextCursor(middle);
    box.setFocus();
    const double rssBefore = residentMb();
    std::vector<double> keyMs, keyPaintMs;
    for (int i = 0; i < keystrokes; ++i) {
        QElapsedTimer t;
        t.start();
        typeKey(&box, QChar(u'a' + i % 26));
        keyMs.push_back(double(t.nsecsElapsed()) / 1e6);
        QApplication::processEvents(); // layout and paint of the change
        keyPaintMs.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("keystroke + snapshot:                  p50 %.3f ms  p99 %.3f ms  max %.3f ms\n",
                percentile(keyMs, 0.5), percentile(keyMs, 0.99), percentile(keyMs, 1.0));
    std::printf("keystroke + snapshot + repaint:        p50 %.3f ms  p99 %.3f ms\n",
                percentile(keyPaintMs, 0.5), percentile(keyPaintMs, 0.99));
    // The same keystrokes in a plain text control holding the same document:
    // what the control costs before anything of ours runs.
    {
        QTextEdit bare;
        QTextDocument *copy = box.document()->clone(&bare);
        bare.setDocument(copy);
        bare.resize(900, 700);
        bare.show();
        QApplication::processEvents();
        bare.setTextCursor(QTextCursor(copy->findBlockByNumber(copy->blockCount() / 2)));
        bare.setFocus();
        std::vector<double> bareMs;
        for (int i = 0; i < keystrokes; ++i) {
            QElapsedTimer t;
            t.start();
            typeKey(&bare, QChar(u'a' + i % 26));
            bareMs.push_back(double(t.nsecsElapsed()) / 1e6);
            QApplication::processEvents();
        }
        std::printf(
            "keystroke in a plain text control:     p50 %.3f ms  p99 %.3f ms  max %.3f ms\n",
            percentile(bareMs, 0.5), percentile(bareMs, 0.99), percentile(bareMs, 1.0));
        box.setFocus();
    }
    std::printf("history after typing: %.2f MB held by 101 slots (RSS +%.1f MB)\n",
                historyMb(editor), residentMb() - rssBefore);

    std::vector<double> undoMs;
    for (int i = 0; i < 100; ++i) {
        QElapsedTimer t;
        t.start();
        editor.mnuAnnulla_Click();
        undoMs.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("Undo of one keystroke:                 p50 %.3f ms  p99 %.3f ms\n",
                percentile(undoMs, 0.5), percentile(undoMs, 0.99));
    for (int i = 0; i < 100; ++i)
        editor.mnuRipeti_Click();

    // The worst case for memory: 101 changes that each touch every paragraph.
    std::vector<double> wholeMs;
    for (int i = 0; i < 101; ++i) {
        box.selectAll();
        QElapsedTimer t;
        t.start();
        editor.Label2_Click(i % 2 ? 4 : 5); // bold or italic over everything
        wholeMs.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("format whole document + snapshot:      p50 %.1f ms\n", percentile(wholeMs, 0.5));
    std::printf("history after 101 whole-document changes: %.2f MB (RSS +%.1f MB)\n",
                historyMb(editor), residentMb() - rssBefore);
    std::vector<double> bigUndoMs;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer t;
        t.start();
        editor.mnuAnnulla_Click();
        bigUndoMs.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("Undo of a whole-document change:       p50 %.1f ms\n", percentile(bigUndoMs, 0.5));
    // The snapshot's own share of a keystroke: the mirror's update and the
    // history slot, measured apart from the text control's editing and layout.
    {
        quillory::DocumentMirror mirror(box.document());
        quillory::UndoHistory<quillory::DocumentSnapshot> history(
            quillory::DocumentSnapshot::empty());
        QTextCursor at(box.document()->findBlockByNumber(box.document()->blockCount() / 3));
        std::vector<double> ownMs;
        // The control's own mirror and the editor's history stop following.
        QObject::disconnect(box.document(), nullptr, &box, nullptr);
        for (int i = 0; i < keystrokes; ++i) {
            const int position = at.position();
            at.insertText(QStringLiteral("b"));
            QElapsedTimer t;
            t.start();
            mirror.contentsChanged(position, 0, 1);
            history.record(mirror.snapshot());
            ownMs.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::printf("snapshot share of a keystroke:         p50 %.3f ms  p99 %.3f ms\n",
                    percentile(ownMs, 0.5), percentile(ownMs, 0.99));
    }
    return 0;
}
