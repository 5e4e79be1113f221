#pragma once

#include <cstdint>

// Where times fall on the waveform strip, and back; no widgets, so the
// mapping is tested on its own. The strip has two rows: the detail, a few
// seconds around the playhead at a scale where words and pauses show, with
// the playhead fixed in the middle; and the overview, the whole recording.
// The detail moves in whole columns of time, so its drawing can be scrolled
// instead of redrawn.
namespace WaveformScale {

// Seconds the detail row shows across its width.
constexpr double DetailSpanMs = 8000.0;

// Milliseconds per column of the detail row (never below one).
double detailMsPerColumn(int width);
// The absolute column (counted from the recording's start) the playhead is in.
std::int64_t playheadColumn(double positionMs, int width);
// The time at the left edge of column `x` of the detail row.
double detailTimeAt(double x, double positionMs, int width);
// The column of the detail row showing `ms`; outside 0..width when off screen.
double detailXOf(double ms, double positionMs, int width);
// The time at `x` of the overview row, within 0..lengthMs.
double overviewTimeAt(double x, double lengthMs, int width);
// The column of the overview row showing `ms`.
double overviewXOf(double ms, double lengthMs, int width);
// Media time from `positionMs` until the playhead enters the next column of
// the detail row, or the overview's marks of the detail span move a pixel.
double msUntilPlayheadMoves(double positionMs, double lengthMs, int width);
// The shortest wall time between two steps of the detail row while playing.
// Each step repaints part of the player window, about half a millisecond of
// processor that is mostly the window system's fixed cost of a paint: ten
// steps a second, three or four columns at a time, keep the sound readable as
// it passes, for a tenth of a percent of a core less than twelve and a half.
constexpr double SmallestStepMs = 100;
// Media time from `positionMs` until the strip next needs drawing, playing at
// `speed` (1.0 is normal): when the playhead moves, but never sooner than
// SmallestStepMs of wall time.
double msUntilNextStep(double positionMs, double lengthMs, int width, double speed);

} // namespace WaveformScale
