#include "platform/mpv/pause_end.h"

#include <algorithm>
#include <cmath>

namespace quillory {

double HeardReading::seconds() const
{
    if (!heldUs)
        return playingSeconds;
    return playingSeconds + double(*heldUs + (heldAtUs - playingAtUs)) / 1e6 * speed;
}

namespace {

// A queue this far beyond full is still taken for a full one.
constexpr long long QueueSlackUs = 500;

// A server that tells neither a sink latency nor a queue (PipeWire's).
bool tellsNothing(const HeardReading &before)
{
    return before.heldUs && *before.heldUs == 0 && before.queuedUs == 0;
}

// About when the stream stopped taking audio. mpv reads the output's delay just
// before it stops the stream, and its clock runs in step with ours, so its
// reading tells when that was; the stop reaches the server a little later, on
// the way back of the call.
std::int64_t stoppedAtUs(const HeardReading &before, const AfterPause &after)
{
    std::int64_t readUs = after.pauseBeganUs;
    if (after.outputStoppedSeconds && before.speed > 0) {
        const double us =
            double(before.playingAtUs) +
            (*after.outputStoppedSeconds - before.playingSeconds) / before.speed * 1e6;
        if (std::isfinite(us))
            readUs = std::llround(
                std::clamp(us, double(after.pauseBeganUs), double(after.pauseEndedUs)));
    }
    return (readUs + after.pauseEndedUs) / 2;
}

} // namespace

const HeardReading &medianReading(const HeardReading &a, const HeardReading &b,
                                  const HeardReading &c)
{
    // Each is carried to the first one's moment, so that what is compared is
    // how far off they are: taken far apart (a busy machine), the middle in
    // value would otherwise be the middle in time, whatever its error.
    const auto carried = [&a](const HeardReading &r) {
        return r.seconds() - double(r.playingAtUs - a.playingAtUs) / 1e6 * r.speed;
    };
    const double x = carried(a), y = carried(b), z = carried(c);
    if ((x <= y && y <= z) || (z <= y && y <= x))
        return b;
    if ((y <= x && x <= z) || (z <= x && x <= y))
        return a;
    return c;
}

bool needsAfterPause(const HeardReading &before, std::int64_t pauseEndedUs)
{
    if (!before.heldUs || tellsNothing(before))
        return false;
    if (before.queuedUs)
        return true;
    // Without a queue to compare, only a block due before the stop matters.
    return before.heldAtUs + *before.heldUs <= pauseEndedUs;
}

double heardEndSeconds(const HeardReading &before, const AfterPause &after)
{
    if (!before.heldUs)
        return before.playingSeconds; // no server: the output's own clock
    // Such a server moves the stream's position only when its output takes a
    // block. mpv's reading just before the output stopped taking data is the
    // closest to the end; it leaves out only a block taken in between.
    if (tellsNothing(before))
        return after.outputStoppedSeconds.value_or(before.seconds());
    const double seconds = before.seconds();
    if (!after.heldUs)
        return seconds;
    // A sink that rewinds on a pause gives back what it had not played, and the
    // queue grows beyond full by that much, with no clock involved. (Below full
    // it only waits for the player's refill.)
    if (before.queuedUs && after.queuedUs) {
        const long long fullUs = std::max(*before.queuedUs, before.fullQueueUs.value_or(0));
        const long long gaveBackUs = *after.queuedUs - fullUs;
        if (gaveBackUs > QueueSlackUs)
            return seconds - double(gaveBackUs) / 1e6 * before.speed;
    }
    // The refills hide what the sink takes from the queue. What the sink holds
    // drains in real time; holding more than that after the pause means it took
    // a further block meanwhile.
    const std::int64_t answeredAtUs = (after.heldAskedUs + after.heldAnsweredUs) / 2;
    const long long takenUs = *after.heldUs + (answeredAtUs - before.heldAtUs) - *before.heldUs;
    // Each moment is known to within half the call that read it.
    const long long uncertainUs = 1000 + (before.heldAtUs - before.playingAtUs) +
                                  (after.heldAnsweredUs - after.heldAskedUs) / 2;
    if (takenUs <= uncertainUs)
        return seconds;
    // The sink takes its next block when what it held runs out. A block taken
    // after the stream had stopped was silence for it. A queue still short of
    // that block shows it came from the stream all the same.
    const std::int64_t dueUs = before.heldAtUs + *before.heldUs;
    const bool queueGaveIt =
        before.queuedUs && after.queuedUs && *after.queuedUs < *before.queuedUs - QueueSlackUs;
    if (!queueGaveIt && dueUs >= stoppedAtUs(before, after))
        return seconds;
    return seconds + double(takenUs) / 1e6 * before.speed;
}

} // namespace quillory
