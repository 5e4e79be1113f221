// Replace all of a common word on a 10 MB transcript, through the dialog as the
// user runs it: the time of the click, how often the progress bar moved and was
// painted meanwhile, and the time until the editor has painted its view again.
// Usage: bench_find [megabytes] [word] [replacement] [top|end]
// ("end": the caret and the view at the end of the text, as while typing).
#include "editor/rich_text_box.h"
#include "find/frm_find.h"
#include "i18n/language_table.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QProgressBar>
#include <QTextCursor>
#include <cstdio>
#include <ctime>

namespace {

// Processor time of this thread: the figure that other load on the machine
// does not inflate.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

class SilentMessages : public quillory::MessageBoxes {
public:
    QString last;
    quillory::MsgResult show(QWidget *, const QString &text, quillory::MsgButtons,
                             quillory::MsgIcon, const QString &) override
    {
        last = text;
        return quillory::MsgResult::Ok;
    }
    void beep() override {}
};

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Paragraphs of a conversation, a bold speaker name before each, until the
// document holds about `bytes` characters. The sentences are everyday speech,
// so "the" is about one word in eighteen.
void fillTranscript(RichTextBox &box, qint64 bytes)
{
    const QStringList sentences{
        QStringLiteral("Well, I think we should start with the budget for next year. "),
        QStringLiteral("Yes, and then we can look at what happened in March, because nobody "
                       "really expected those numbers. "),
        QStringLiteral("I remember that my colleague sent me a report about it, but I haven't "
                       "read all of it yet. "),
        QStringLiteral("So the question is whether we keep going like this or change our plans "
                       "before summer. "),
        QStringLiteral("Honestly, I would rather wait a little and talk to people first, "
                       "they know their own work better than we do. "),
        QStringLiteral("OK, let's write that down and come back to it on Thursday. "),
        QStringLiteral("Could you say that again? I didn't catch the last part of what you "
                       "said about the contract. "),
        QStringLiteral("Sure, we signed it in January and it runs for two years, with an "
                       "option to extend. "),
    };
    QTextCharFormat plain, speaker;
    speaker.setFontWeight(QFont::Bold);
    // Laid out once at the end, not paragraph by paragraph.
    const QSizeF pageSize = box.document()->pageSize();
    box.document()->setPageSize(QSizeF(0, 0));
    QTextCursor cursor(box.document());
    cursor.beginEditBlock();
    qint64 written = 0;
    for (int p = 0; written < bytes; ++p) {
        if (p > 0)
            cursor.insertBlock();
        const QString name = QStringLiteral("Speaker %1: ").arg(p % 4 + 1);
        cursor.insertText(name, speaker);
        written += name.size() + 1;
        QString paragraph;
        for (int s = 0; s < 5; ++s)
            paragraph += sentences[(p * 3 + s) % sentences.size()];
        cursor.insertText(paragraph, plain);
        written += paragraph.size();
    }
    cursor.endEditBlock();
    box.document()->setPageSize(pageSize);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const double megabytes = argc > 1 ? std::max(0.1, atof(argv[1])) : 10.0;
    const QString word = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("the");
    const QString replacement = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("a");
    const bool atEnd = argc > 4 && qstrcmp(argv[4], "end") == 0;

    quillory::LanguageTable language;
    for (int i = 0; i < quillory::LanguageTable::Size; ++i)
        language.setEntry(i, QStringLiteral("T%1").arg(i));
    SilentMessages messages;
    quillory::Services services;
    services.messages = &messages;

    RichTextBox box;
    box.resize(800, 600);
    box.show();
    QElapsedTimer fill;
    fill.start();
    fillTranscript(box, static_cast<qint64>(megabytes * 1e6));
    box.moveCursor(atEnd ? QTextCursor::End : QTextCursor::Start);
    box.ensureCursorVisible();
    app.processEvents();
    box.viewport()->repaint();
    std::printf("transcript: %d characters in %d paragraphs, built in %.0f ms\n",
                box.document()->characterCount(), box.document()->blockCount(),
                fill.nsecsElapsed() / 1e6);

    frmFind dialog(
        box, [] { return QStringLiteral("1"); }, language, services);
    dialog.showFromEditor();
    app.processEvents();
    dialog.cboFind->setEditText(word);
    dialog.cboReplace->setEditText(replacement);
    int moves = 0;
    QObject::connect(dialog.ProgressBar1, &QProgressBar::valueChanged, [&moves] { ++moves; });
    PaintCounter painted;
    dialog.ProgressBar1->installEventFilter(&painted);

    QElapsedTimer t;
    t.start();
    const double cpu0 = threadCpuMs();
    dialog.cmdReplaceAll_Click();
    const double ms = t.nsecsElapsed() / 1e6;
    const double cpuMs = threadCpuMs() - cpu0;
    t.restart();
    const double cpu1 = threadCpuMs();
    app.processEvents();
    box.viewport()->repaint();
    const double paintMs = t.nsecsElapsed() / 1e6;
    const double paintCpuMs = threadCpuMs() - cpu1;
    const bool caretShown = box.viewport()->rect().intersects(box.cursorRect());
    std::printf("replace all \"%s\" -> \"%s\": %.0f ms (%.0f ms processor time)\n",
                qPrintable(word), qPrintable(replacement), ms, cpuMs);
    std::printf("then the editor's view at the %s painted in %.0f ms (%.0f ms processor time)\n",
                atEnd ? "end" : "top", paintMs, paintCpuMs);
    std::printf("%s\n", caretShown ? "the caret is still in the view"
                                   : "the caret is no longer in the view: the long text is "
                                     "laid out again as the event loop runs");
    std::printf("message: %s\n", qPrintable(QString(messages.last).replace('\n', ' ')));
    std::printf("progress bar: %d values, %d paints during the click\n", moves, painted.paints);
    return 0;
}
