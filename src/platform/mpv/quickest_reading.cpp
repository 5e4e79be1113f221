#include "platform/mpv/quickest_reading.h"

namespace quillory {

std::optional<HeardReading>
quickestReading(const std::function<std::optional<TimedReading>()> &take, int attempts,
                std::int64_t quickUs)
{
    std::optional<TimedReading> quickest;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        std::optional<TimedReading> timed = take();
        if (!timed)
            return std::nullopt;
        if (timed->tookUs <= quickUs)
            return timed->reading;
        if (!quickest || timed->tookUs < quickest->tookUs)
            quickest = std::move(timed);
    }
    if (!quickest)
        return std::nullopt;
    return quickest->reading;
}

} // namespace quillory
