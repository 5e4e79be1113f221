#pragma once

#include <cstdint>
#include <optional>

namespace quillory {

// One reading of the heard position while playing: the output clock's sample
// and what the sound server's sink holds beyond it, with the steady-clock
// moments (us) they were read.
struct HeardReading {
    double playingSeconds = 0;
    std::int64_t playingAtUs = 0;
    std::optional<long long> heldUs;
    std::optional<long long> queuedUs; // the server's queue of the stream, same answer
    // The most the server has queued of the stream while it played: the player
    // keeps the queue full, refilling what the sink takes.
    std::optional<long long> fullQueueUs;
    std::int64_t heldAtUs = 0;
    // Held wall-clock time holds speed times as much media.
    double speed = 1.0;
    // The last sample the sink has taken, carried back to playingAtUs.
    double seconds() const;
};

// What is read once the output has been paused.
struct AfterPause {
    std::int64_t pauseBeganUs = 0; // the pause was asked for
    std::int64_t pauseEndedUs = 0; // the output had stopped
    // The output's own reading as it stopped (mpv reads the server's delay
    // just before it stops the stream).
    std::optional<double> outputStoppedSeconds;
    // What the sink still plays of the paused stream, and the server's queue.
    std::optional<long long> heldUs;
    std::optional<long long> queuedUs;
    std::int64_t heldAskedUs = 0;
    std::int64_t heldAnsweredUs = 0;
};

// Of three readings, the one whose error is in the middle. mpv's own delay is
// now and then a millisecond or more off, when the server's answer was slow one
// way.
const HeardReading &medianReading(const HeardReading &a, const HeardReading &b,
                                  const HeardReading &c);

// Whether the sink must be asked after the pause: it may have taken a block of
// the stream between the reading and the stop, or the queue may tell a change.
bool needsAfterPause(const HeardReading &before, std::int64_t pauseEndedUs);

// The position of the last sample the listener hears after a pause that
// followed `before`.
double heardEndSeconds(const HeardReading &before, const AfterPause &after);

} // namespace quillory
