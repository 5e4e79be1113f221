#pragma once

#include "formats/subtitle_cues.h"

#include <QByteArray>

namespace quillory {

// "00:01:02,345": a SubRip time (hours grow past 99 if they must).
QString subRipTime(qint64 ms);
// "00:01:02.345": a WebVTT time.
QString webVttTime(qint64 ms);

// A line with <b>, <i> and <u> around its styled parts, each tag closed on the
// line it opens on. `escapeMarkup` writes &, < and > as entities (WebVTT).
QString taggedLine(const StyledText &line, bool escapeMarkup);

// The cues as a SubRip file: numbered from 1, CR LF line ends, UTF-8.
QByteArray writeSubRip(const QList<Cue> &cues);
// The cues as a WebVTT file: the "WEBVTT" header, LF line ends, UTF-8.
QByteArray writeWebVtt(const QList<Cue> &cues);

} // namespace quillory
