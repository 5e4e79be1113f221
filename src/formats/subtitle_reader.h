#pragma once

#include "formats/styled_text.h"
#include "formats/timestamps.h"

#include <QByteArray>
#include <QList>
#include <optional>

class QTextDocument;

namespace quillory {

// What was wrong with a subtitle file that was read anyway.
enum class SubtitleProblem {
    None,
    BadTime,          // a timing line that does not read, or ends before it starts
    MissingBlankLine, // a cue runs straight into the next one
    NumberOutOfOrder, // a SubRip cue number that does not follow the one before
    TextOutsideCue,   // lines that belong to no cue
    NoCues,           // nothing that looks like a subtitle at all
};

struct SubtitleReadReport {
    int cues = 0;
    int problems = 0;
    SubtitleProblem firstProblem = SubtitleProblem::None;
    int firstProblemLine = 0; // 1-based line of the file
};

// One cue as read: its start (nothing when its times did not read) and its
// text, styled by its <b>, <i> and <u> tags, the lines joined by spaces.
struct ReadCue {
    std::optional<qint64> startMs;
    qint64 endMs = 0;
    StyledText text;
};

// The start and end of a timing line ("00:01:02,345 --> 00:01:04,000", with
// "." or "," before the milliseconds, the hours optional, cue settings after);
// nothing for a line that is not one.
std::optional<std::pair<qint64, qint64>> parseTimingLine(QStringView line);

// A cue's text line with its tags read: <b>, <i>, <u> style the text, a WebVTT
// voice (<v Name>) becomes "Name: ", other tags and {\...} overrides are
// dropped. `webVtt` decodes &amp; and the like and takes every tag as markup;
// in SubRip a tag it does not know (<why>) is text.
StyledText parseCueLine(QStringView line, bool webVtt);

// Reads a SubRip or WebVTT file (the format is told by a "WEBVTT" header),
// with or without a byte order mark, CR LF or LF line ends, as far as it makes
// sense: a cue whose times do not read keeps its text, untimed.
QList<ReadCue> readSubtitleCues(const QByteArray &data, SubtitleReadReport *report = nullptr);

// Replaces the content of `doc` with one paragraph per cue, each starting with
// the cue's start as a timestamp in `format` with `offsetMs` added.
void readSubtitles(const QByteArray &data, QTextDocument *doc, Timestamps::Format format,
                   qint64 offsetMs, SubtitleReadReport *report = nullptr);

} // namespace quillory
