#pragma once

#include "platform/mpv/pause_end.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace quillory {

// One reading of the heard position and how long its questions took (us).
struct TimedReading {
    HeardReading reading;
    std::int64_t tookUs = 0;
};

// Each moment of a reading is known only to within the call that read it, so
// readings are taken until one takes at most `quickUs`, `attempts` at most; of
// readings that all took long, the quickest counts. Nothing when `take` cannot
// read at all.
std::optional<HeardReading>
quickestReading(const std::function<std::optional<TimedReading>()> &take, int attempts,
                std::int64_t quickUs);

} // namespace quillory
