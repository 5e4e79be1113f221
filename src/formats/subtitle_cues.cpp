#include "formats/subtitle_cues.h"

#include "rtf/format_runs.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace quillory {

namespace {

quint8 styleOf(const QTextCharFormat &format)
{
    quint8 style = 0;
    if (isBoldWeight(format.fontWeight()))
        style |= CueBold;
    if (format.fontItalic())
        style |= CueItalic;
    if (format.fontUnderline())
        style |= CueUnderline;
    return style;
}

// The block's text with the style of each character; line breaks, tabs and
// objects are spaces.
StyledText styledBlock(const QTextBlock &block)
{
    StyledText out;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const quint8 style = styleOf(fragment.charFormat());
        for (QChar c : fragment.text()) {
            const bool blank = c == QChar::LineSeparator ||
                               c == QChar::ObjectReplacementCharacter || c == QChar::Tabulation ||
                               c == QChar::Nbsp;
            out.append(blank ? QChar(QLatin1Char(' ')) : c, style);
        }
    }
    return out;
}

struct Pending {
    bool timed = false;
    qint64 startMs = 0;
    StyledText text;
};

} // namespace

QList<TimedText> timedTextsFromDocument(const QTextDocument &doc, const CueOptions &options)
{
    QList<Pending> pieces{Pending{}};
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const StyledText line = styledBlock(block);
        int from = 0;
        for (const Timestamps::Found &stamp : Timestamps::findAll(line.text)) {
            if (stamp.shownMs < options.offsetMs)
                continue; // before the recording: text like any other
            pieces.last().text.append(line.mid(from, stamp.start - from));
            pieces.append(Pending{true, stamp.shownMs - options.offsetMs, {}});
            from = stamp.start + stamp.length;
        }
        StyledText &text = pieces.last().text;
        text.append(line.mid(from));
        text.append(QLatin1Char(' '), 0); // paragraph end
    }

    QList<TimedText> timed;
    for (int i = 0; i < pieces.size(); ++i) {
        StyledText text = pieces[i].text.simplified();
        if (text.isEmpty())
            continue;
        TimedText cue;
        cue.startMs = pieces[i].startMs;
        cue.text = std::move(text);
        // Untimed text at the head that the first timestamp leaves no time
        // for is shown with the first cue.
        if (!pieces[i].timed && i + 1 < pieces.size() && pieces[i + 1].startMs <= 0) {
            StyledText &next = pieces[i + 1].text;
            StyledText joined = cue.text;
            joined.append(QLatin1Char(' '), 0);
            joined.append(next);
            next = joined;
            continue;
        }
        const qint64 next = i + 1 < pieces.size()       ? pieces[i + 1].startMs
                            : options.mediaLengthMs > 0 ? options.mediaLengthMs
                                                        : -1;
        cue.endMs = next > cue.startMs ? next : cue.startMs + options.lastCueMs;
        timed.append(cue);
    }
    return timed;
}

QList<Cue> splitIntoCues(const TimedText &timed, const CueOptions &options)
{
    const qint64 duration = timed.endMs - timed.startMs;
    const int length = timed.text.size();
    QList<int> starts{0};
    if (duration > options.maxCueMs && length > 0) {
        // Sentences gathered while the part stays within the longest cue, each
        // part's time its share of the characters.
        const double msPerChar = double(duration) / length;
        int partStart = 0;
        int lastBreak = -1;
        for (int cut : sentenceBreaks(timed.text.text)) {
            if (lastBreak > partStart && (cut - partStart) * msPerChar > options.maxCueMs) {
                starts.append(lastBreak + 1);
                partStart = lastBreak + 1;
            }
            lastBreak = cut;
        }
        if (lastBreak > partStart && (length - partStart) * msPerChar > options.maxCueMs)
            starts.append(lastBreak + 1);
    }

    QList<Cue> cues;
    const qint64 unit = std::max<qint64>(1, options.splitUnitMs);
    for (int p = 0; p < starts.size(); ++p) {
        const int from = starts[p];
        const int to = p + 1 < starts.size() ? starts[p + 1] : length;
        Cue cue;
        if (p == 0) {
            cue.startMs = timed.startMs;
        } else {
            const qint64 at = timed.startMs + qint64(double(duration) * from / length);
            cue.startMs = std::max(cues.last().startMs + 1, at / unit * unit);
        }
        cue.endMs = timed.endMs;
        if (!cues.isEmpty())
            cues.last().endMs = cue.startMs;
        cue.lines = wrapLines(timed.text.mid(from, to - from), options.maxLineChars);
        cues.append(cue);
    }
    return cues;
}

QList<Cue> cuesFromDocument(const QTextDocument &doc, const CueOptions &options)
{
    QList<Cue> cues;
    for (const TimedText &timed : timedTextsFromDocument(doc, options))
        cues.append(splitIntoCues(timed, options));
    return cues;
}

} // namespace quillory
