// Opening and writing a long subtitle file, beside the same transcript in RTF.
//   bench_formats [cues] [runs]   10,000 cues and 5 runs by default; prints the
//                                 median time of each step in milliseconds
// Opening is what the editor does: the file read into a document, then that
// document copied into the editor's as one fragment.

#include "formats/subtitle_reader.h"
#include "formats/subtitle_writer.h"
#include "formats/transcript_file.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace quillory;

namespace {

// A subtitle file as other programs write them: numbered cues of one or two
// lines, some italic or bold, about 2.5 s each.
QByteArray generatedSubRip(int cues)
{
    static const char *const lines[] = {
        "We talked about the harvest that year,",
        "and then about <i>nothing</i> at all.",
        "<b>ANN:</b> Where were you?",
        "I was at the caf\xc3\xa9 by the station.",
        "It rained for a week.",
    };
    QByteArray out;
    for (int i = 0; i < cues; ++i) {
        const qint64 start = qint64(i) * 2500;
        out += QByteArray::number(i + 1) + "\r\n" + subRipTime(start).toLatin1() + " --> " +
               subRipTime(start + 2300).toLatin1() + "\r\n" + lines[i % 5] + "\r\n";
        if (i % 2)
            out += QByteArray(lines[(i + 2) % 5]) + "\r\n";
        out += "\r\n";
    }
    return out;
}

double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The median wall time of a step, and the median processor time: on a shared
// machine the second tells what the step costs when it has a core to itself.
struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

Timing medianMs(int runs, const std::function<void()> &step)
{
    std::vector<double> wall, cpu;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer timer;
        const double cpuStart = cpuMs();
        timer.start();
        step();
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs() - cpuStart);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

// The editor's open: read aside, then put in as one fragment.
void openInto(QTextDocument &editor, const QTextDocument &read)
{
    QTextCursor cursor(&editor);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.insertFragment(QTextDocumentFragment(&read));
    cursor.endEditBlock();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int cues = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    const QByteArray srt = generatedSubRip(cues);

    QTextDocument sample;
    readSubtitles(srt, &sample, Timestamps::Format::WithTenths, 0);
    const QByteArray rtf = writeRtf(sample);
    const QByteArray vtt = transcriptBytes(sample, DocumentFormat::WebVtt, CueOptions{});
    std::printf("%d cues: SubRip %.1f MB, WebVTT %.1f MB, RTF %.1f MB; median of %d runs\n", cues,
                srt.size() / 1048576.0, vtt.size() / 1048576.0, rtf.size() / 1048576.0, runs);

    std::printf("  %-34s %8s %8s\n", "", "wall ms", "cpu ms");
    const auto report = [](const char *what, Timing t) {
        std::printf("  %-34s %8.1f %8.1f\n", what, t.wallMs, t.cpuMs);
    };
    report("parse SubRip cues", medianMs(runs, [&] { readSubtitleCues(srt); }));
    report("read SubRip into a document", medianMs(runs, [&] {
               QTextDocument read;
               readSubtitles(srt, &read, Timestamps::Format::WithTenths, 0);
           }));
    const auto openStep = [&](const QByteArray &bytes, const QString &name) {
        return medianMs(runs, [&] {
            QTextDocument read, editor;
            readTranscript(name, bytes, &read, {Timestamps::Format::WithTenths, 0});
            openInto(editor, read);
        });
    };
    report("open SubRip (read + into editor)", openStep(srt, QStringLiteral("a.srt")));
    report("open WebVTT (read + into editor)", openStep(vtt, QStringLiteral("a.vtt")));
    report("open same transcript as RTF", openStep(rtf, QStringLiteral("a.rtf")));
    report("find timed texts", medianMs(runs, [&] { timedTextsFromDocument(sample, {}); }));
    const QList<Cue> cueList = cuesFromDocument(sample, CueOptions{});
    report("cues to SubRip text", medianMs(runs, [&] { writeSubRip(cueList); }));
    report("write SubRip",
           medianMs(runs, [&] { transcriptBytes(sample, DocumentFormat::SubRip, CueOptions{}); }));
    report("write RTF", medianMs(runs, [&] { writeRtf(sample); }));
    return 0;
}
