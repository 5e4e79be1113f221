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
using quillory::bench::percentile;

namespace {

class IdlePlayer : public PlayerCommands {
public:
    void cmdPlay_Click() override {}
    void cmdAvanz_click() override {}
    void cmdIndietro_Click() override {}
    void mnuEsci_Click() override {}
    void mnuBookMark_Click() override {}
    void mnuTitoloCompleto_Click() override {}
    void mnuGuida_Click() override {}
    void mnuImpostaAudio_Click() override {}
    QString languageFile() const override { return QStringLiteral("Italiano.lng"); }
    QString editorFolder() const override { return QString(); }
    void setEditorFolder(const QString &) override {}
    bool hasMedia() override { return false; }
    qint64 mediaPositionMs() override { return 0; }
    void playFromMediaPosition(qint64) override {}
};

void typeKey(QWidget *target, QChar ch)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(target, &release);
}

// One keystroke and everything it sets off (the deferred check, the layout
// and the repaint), as the user waits for it.
double keystrokeMs(QWidget *box, int i)
{
    QElapsedTimer t;
    t.start();
    // Words of six letters and a blank: a finished word is checked.
    typeKey(box, i % 7 == 6 ? QChar(u' ') : QChar(u'a' + i % 26));
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

    IdlePlayer player;
    quillory::LanguageTable language;
    Form2 editor(player, language, quillory::Services());
    editor.Form_Load();
    editor.resize(900, 700);
    editor.show();
    RichTextBox &box = *editor.RTB;
    EditorSpelling &spelling = editor.spelling();
    QElapsedTimer dictionaryTime;
    dictionaryTime.start();
    spelling.checker().waitUntilReady();
    std::printf("dictionary %s loaded on its worker in %.0f ms\n",
                qPrintable(spelling.checker().dictionaryName()),
                double(dictionaryTime.nsecsElapsed()) / 1e6);

    fillTranscript(box, pages);
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
        while (spelling.underline().underlined().isEmpty() && u.elapsed() < 5000)
            QApplication::processEvents();
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
    box.setTextCursor(QTextCursor(box.document()->findBlockByNumber(box.document()->blockCount() / 2)));
    box.ensureCursorVisible();
    box.setFocus();
    std::vector<double> offMs, onMs;
    int typed = 0;
    for (int round = 0; round < rounds; ++round) {
        const bool on = round % 2 == 1;
        editor.mnuOrtografia->setChecked(on);
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
