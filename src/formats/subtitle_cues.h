#pragma once

#include "formats/styled_text.h"
#include "formats/timestamps.h"

#include <QList>

class QTextDocument;

namespace quillory {

// One subtitle: shown from startMs to endMs of the media, its text in lines.
struct Cue {
    qint64 startMs = 0;
    qint64 endMs = 0;
    QList<StyledText> lines;
};

struct CueOptions {
    // The offset the transcript's timestamps carry (they show media time plus it).
    qint64 offsetMs = 0;
    // The media's length, which the last cue runs to; 0 when unknown, and then
    // the last cue lasts lastCueMs.
    qint64 mediaLengthMs = 0;
    qint64 lastCueMs = 5000;
    int maxLineChars = 42;
    qint64 maxCueMs = 7000;
    // A cue split at a sentence end starts on a multiple of this, so that the
    // timestamp the reader writes for it stands for the same moment.
    qint64 splitUnitMs = 1000;
};

// The cues of a transcript. Each timestamp (in any format; one before the
// offset is text) starts a cue that runs to the next timestamp; text before the
// first one is shown from the start. A cue longer than maxCueMs is split at
// sentence ends, each part timed by its share of the characters; a timestamp
// with no text after it only ends the cue before it.
QList<Cue> cuesFromDocument(const QTextDocument &doc, const CueOptions &options);

// The raw cues before splitting and wrapping, one text per timestamp (for tests
// and the splitter).
struct TimedText {
    qint64 startMs = 0;
    qint64 endMs = 0;
    StyledText text;
};
QList<TimedText> timedTextsFromDocument(const QTextDocument &doc, const CueOptions &options);

// One timed text as cues: split at sentence ends when too long, then wrapped.
QList<Cue> splitIntoCues(const TimedText &timed, const CueOptions &options);

} // namespace quillory
