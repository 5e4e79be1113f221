// The spelling check's cost on a 300-page transcript: keystroke latency with
// the check on and off, measured in alternating rounds in one editor so both
// see the same machine load; and the time from opening the transcript to the
// shown page being underlined.
//   bench_spelling [pages] [keystrokes per round] [rounds]
#include "editor/editor_spelling.h"
#include "editor/form2.h"
#include "editor/rich_text_box.h"
#include "editor/spell_underline.h"
#include "platform/files/program_folder.h"

#include "../support/editor_bench.h"
#include "../support/transcript_bench.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextBlock>
#include <cstdio>
#include <vector>

using quillory::bench::fillTranscript;
using quillory::bench::IdlePlayer;
using quillory::bench::partOf;
using quillory::bench::percentile;
using quillory::bench::typeKey;

namespace {

// What a transcriber types: sentences with a slip now and then (one word in
// ten misspelt) and a new paragraph every few lines.
const QString &typedText()
{
    static const QString text = [] {
        const QStringList words =
            QStringLiteral(
                "allora come dicevo la trascrizione procede con calma e precisione mentre "
                "il relatore spiega il progetto ai colleghi della riunione")
                .split(QLatin1Char(' '));
        QString out;
        for (int i = 0; i < 4000; ++i) {
            QString word = words.at(i % words.size());
            if (i % 10 == 7)
                word.insert(2, word.at(1)); // "alllora"
            out += word + (i % 40 == 39 ? QStringLiteral(".\n") : QStringLiteral(" "));
        }
        return out;
    }();
    return text;
}

// One keystroke and everything it sets off (the deferred check, the layout
// and the repaint), as the user waits for it.
double keystrokeMs(QWidget *box, int i)
{
    const QChar ch = typedText().at(i % typedText().size());
    QElapsedTimer t;
    t.start();
    if (ch == QLatin1Char('\n')) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(box, &press);
    } else {
        typeKey(box, ch);
    }
    QApplication::processEvents();
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int pages = argc > 1 ? std::max(1, atoi(argv[1])) : 300;
    const int keystrokes = argc > 2 ? std::max(50, atoi(argv[2])) : 300;
    const int rounds = argc > 3 ? std::max(2, atoi(argv[3])) : 10;
    QTemporaryDir home;
    quillory::ProgramFolder::set(home.path());

    IdlePlayer player(QStringLiteral("Italiano.lng"));
    quillory::LanguageTable language;
    Form2 editor(player, language, quillory::Services());
    editor.Form_Load();
    editor.resize(900, 700);
    editor.show();
    RichTextBox &box = partOf<RichTextBox>(editor, QStringLiteral("RTB"));
    EditorSpelling &spelling = editor.spelling();
    QElapsedTimer dictionaryTime;
    dictionaryTime.start();
    spelling.checker().waitUntilReady();
    std::printf("dictionary %s loaded on its worker in %.0f ms\n",
                qPrintable(spelling.checker().dictionaryName()),
                double(dictionaryTime.nsecsElapsed()) / 1e6);

    {
        // What one new word costs the dictionary, and a refresh of the shown page.
        std::vector<double> wordMs;
        for (int i = 0; i < 200; ++i) {
            const QString word =
                QStringLiteral("qzx%1bcd").arg(QChar(u'a' + i % 26)).repeated(1 + i % 3);
            QElapsedTimer t;
            t.start();
            spelling.checker().isMisspelt(word);
            wordMs.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::printf("one new word:                           p50 %.3f ms  p99 %.3f ms\n",
                    percentile(wordMs, 0.5), percentile(wordMs, 0.99));
    }
    fillTranscript(box, pages);
    // A slip in every fifth paragraph, for the check to find on opening.
    for (int b = 0; b < box.document()->blockCount(); b += 5)
        QTextCursor(box.document()->findBlockByNumber(b)).insertText(QStringLiteral("Alllora "));
    const QString path = home.filePath(QStringLiteral("transcript.rtf"));
    if (!box.SaveFile(path).ok)
        return 1;
    std::printf("%d pages, %d paragraphs\n", pages, box.document()->blockCount());

    // Opening: LoadFile returns, then the shown page is underlined when the
    // event loop gets to it.
    std::vector<double> loadMs, underlineMs;
    for (int i = 0; i < 5; ++i) {
        box.setText(QString());
        QApplication::processEvents();
        QElapsedTimer t;
        t.start();
        box.LoadFile(path);
        loadMs.push_back(double(t.nsecsElapsed()) / 1e6);
        QElapsedTimer u;
        u.start();
        bool done = false;
        const auto c = QObject::connect(&spelling.underline(), &SpellUnderline::refreshed, [&] {
            done = spelling.underline().paragraphsShownLastTime() > 0;
        });
        while (!done && u.elapsed() < 5000)
            QApplication::processEvents();
        QObject::disconnect(c);
        underlineMs.push_back(double(u.nsecsElapsed()) / 1e6);
    }
    std::printf("open (LoadFile):                        median %.0f ms\n",
                percentile(loadMs, 0.5));
    std::printf("shown page underlined after opening:    median %.1f ms  max %.1f ms"
                "  (%d marks, %d paragraphs shown)\n",
                percentile(underlineMs, 0.5), percentile(underlineMs, 1.0),
                int(spelling.underline().underlined().size()),
                spelling.underline().paragraphsShownLastTime());

    // Keystrokes in the middle of the document, rounds alternating off / on.
    box.setTextCursor(
        QTextCursor(box.document()->findBlockByNumber(box.document()->blockCount() / 2)));
    box.ensureCursorVisible();
    box.setFocus();
    std::vector<double> offMs, onMs;
    int typed = 0;
    for (int round = 0; round < rounds; ++round) {
        const bool on = round % 2 == 1;
        partOf<QAction>(editor, QStringLiteral("mnuOrtografia")).setChecked(on);
        QApplication::processEvents();
        std::vector<double> &into = on ? onMs : offMs;
        for (int i = 0; i < keystrokes; ++i)
            into.push_back(keystrokeMs(&box, typed++));
    }
    const double offP99 = percentile(offMs, 0.99), onP99 = percentile(onMs, 0.99);
    std::printf("keystroke, check off:                   p50 %.3f ms  p99 %.3f ms  (%zu keys)\n",
                percentile(offMs, 0.5), offP99, offMs.size());
    std::printf("keystroke, check on:                    p50 %.3f ms  p99 %.3f ms  (%zu keys)\n",
                percentile(onMs, 0.5), onP99, onMs.size());
    std::printf("p99 on / off: %.2fx (goal 1.1x)\n", offP99 > 0 ? onP99 / offP99 : 0.0);
    std::printf("paragraphs checked by the last keystroke: %d of %d shown\n",
                spelling.underline().paragraphsCheckedLastTime(),
                spelling.underline().paragraphsShownLastTime());
    return 0;
}
