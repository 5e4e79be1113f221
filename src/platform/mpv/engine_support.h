#pragma once

// What the libmpv engine's parts share: units and the open errors.

#include "platform/media/media_error.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <mpv/client.h>

namespace quillory::mpvengine {

inline std::int64_t toMilliseconds(double seconds)
{
    return std::llround(seconds * 1000.0);
}

inline std::int64_t steadyMicroseconds()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline MediaError openErrorFor(int mpvError)
{
    switch (mpvError) {
    case MPV_ERROR_LOADING_FAILED:
        return MediaError::FileNotFound;
    case MPV_ERROR_AO_INIT_FAILED:
        return MediaError::CannotLoadDriver;
    default:
        return MediaError::InvalidFile;
    }
}

} // namespace quillory::mpvengine
