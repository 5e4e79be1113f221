// rtfconv: inspects and rewrites transcript files with the editor's own codec.
//   rtfconv --text FILE       the plain text, one line per paragraph, list items
//                             after their marker ("3. ", "b) ") as readers show them
//   rtfconv --runs FILE       the formatting runs, one per line
//   rtfconv --rtf FILE OUT    the document written back as RTF
//   rtfconv --to FORMAT [--timestamps N] [--offset hh:mm:ss] IN OUT
//                             IN (RTF, text, SubRip or WebVTT) converted to FORMAT:
//                             rtf, txt, srt, vtt or odt. Subtitles read become
//                             paragraphs with timestamps in format N (0..3, as the
//                             editor numbers them); the offset is the one the
//                             transcript's timestamps carry

#include "formats/transcript_file.h"
#include "platform/files/text_file.h"
#include "rtf/format_runs.h"
#include "rtf/list_numbering.h"
#include "rtf/plain_text.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <cstdio>

namespace {

constexpr int kUsageError = 2;
constexpr int kFileError = 1;

void printErr(const QString &message)
{
    std::fprintf(stderr, "rtfconv: %s\n", qPrintable(message));
}

int usage()
{
    std::fputs("usage: rtfconv --text FILE\n"
               "       rtfconv --runs FILE\n"
               "       rtfconv --rtf FILE OUT\n"
               "       rtfconv --to rtf|txt|srt|vtt|odt [--timestamps 0-3] [--offset hh:mm:ss] "
               "IN OUT\n",
               stderr);
    return kUsageError;
}

void writeOut(const QByteArray &data)
{
    std::fwrite(data.constData(), 1, std::size_t(data.size()), stdout);
}

// What a subtitle reader found wrong, in one line.
QString subtitleNotice(const quillory::SubtitleReadReport &report)
{
    return QStringLiteral("%1 cue(s) not as written, the first at line %2; read as far as "
                          "they made sense")
        .arg(report.problems)
        .arg(report.firstProblemLine);
}

int convert(QStringList args)
{
    using namespace quillory;
    if (args.size() < 3)
        return usage();
    const std::optional<DocumentFormat> to = formatFromName(args.takeFirst());
    TranscriptReadOptions reading;
    while (args.size() > 2) {
        const QString option = args.takeFirst();
        const QString value = args.takeFirst();
        bool ok = false;
        if (option == QLatin1String("--timestamps")) {
            const int n = value.toInt(&ok);
            if (!ok || n < 0 || n >= Timestamps::FormatCount)
                return usage();
            reading.timestampFormat = static_cast<Timestamps::Format>(n);
        } else if (option == QLatin1String("--offset")) {
            const std::optional<qint64> offset = Timestamps::parseOffset(value);
            if (!offset)
                return usage();
            reading.offsetMs = *offset;
        } else {
            return usage();
        }
    }
    if (!to || args.size() != 2)
        return usage();

    QByteArray data;
    if (const FileResult read = readRegularFile(args[0], TranscriptFileLimit, &data); !read) {
        printErr(QStringLiteral("cannot read %1: %2").arg(args[0], read.reason));
        return kFileError;
    }
    QTextDocument doc;
    const TranscriptReadResult result = readTranscript(args[0], data, &doc, reading);
    if (!result.ok) {
        printErr(QStringLiteral("cannot read %1: OpenDocument files are written, not read")
                     .arg(args[0]));
        return kFileError;
    }
    if (!result.damage.isEmpty())
        printErr(QStringLiteral("warning: %1: %2").arg(args[0], result.damage));
    if (result.subtitles.problems > 0)
        printErr(QStringLiteral("warning: %1: %2").arg(args[0], subtitleNotice(result.subtitles)));

    CueOptions cues;
    cues.offsetMs = reading.offsetMs;
    cues.splitUnitMs = Timestamps::unitMs(reading.timestampFormat);
    const QByteArray bytes = transcriptBytes(doc, *to, cues);
    if (bytes.isEmpty() && !doc.isEmpty()) {
        printErr(QStringLiteral("cannot write %1 as %2").arg(args[1], formatName(*to)));
        return kFileError;
    }
    if (const FileResult saved = writeFileSafely(args[1], bytes); !saved) {
        printErr(QStringLiteral("cannot write %1: %2").arg(args[1], saved.reason));
        return kFileError;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // Fonts need a GUI application; none of this needs a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && args[0] == QLatin1String("--to"))
        return convert(args.mid(1));
    if (args.size() < 2)
        return usage();
    const QString &mode = args[0];
    const bool toRtf = mode == QLatin1String("--rtf");
    if ((toRtf && args.size() != 3) || (!toRtf && args.size() != 2))
        return usage();
    if (!toRtf && mode != QLatin1String("--text") && mode != QLatin1String("--runs"))
        return usage();

    QFile input(args[1]);
    if (!input.open(QIODevice::ReadOnly)) {
        printErr(QStringLiteral("cannot open %1: %2").arg(args[1], input.errorString()));
        return kFileError;
    }
    const QByteArray data = input.readAll();
    if (input.error() != QFileDevice::NoError) {
        printErr(QStringLiteral("cannot read %1: %2").arg(args[1], input.errorString()));
        return kFileError;
    }

    QTextDocument doc;
    QString error;
    if (!quillory::readRtf(data, &doc, &error)) // damaged: go on with what could be read
        printErr(QStringLiteral("warning: %1: %2").arg(args[1], error));

    if (mode == QLatin1String("--text")) {
        quillory::ListMarkers markers;
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
            if (block.textList())
                writeOut(markers.next(block).toUtf8() + ' ');
            QString line = block.text();
            line.replace(QChar::LineSeparator, u'\n');
            line.remove(QChar::ObjectReplacementCharacter);
            writeOut(line.toUtf8() + '\n');
        }
    } else if (mode == QLatin1String("--runs")) {
        for (const quillory::FormatRun &run : quillory::formatRuns(doc))
            writeOut(quillory::describeRun(run).toUtf8() + '\n');
    } else if (const quillory::FileResult saved =
                   quillory::writeFileSafely(args[2], quillory::writeRtf(doc));
               !saved) {
        printErr(QStringLiteral("cannot write %1: %2").arg(args[2], saved.reason));
        return kFileError;
    }
    return 0;
}
