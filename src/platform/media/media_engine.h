#pragma once

#include "media_error.h"

#include <QString>
#include <cstdint>

namespace quillory {

// One playable media file, driven by the string command interface (MediaControl).
// Positions and lengths are whole milliseconds. All calls are synchronous: when a
// call returns, a following position query reports its effect.
class MediaEngine {
public:
    virtual ~MediaEngine() = default;

    // Loads the file, paused at 0. Fails with FileNotFound, InvalidFile,
    // CannotLoadDriver or PathNotValid; on failure nothing is open.
    virtual MediaError open(const QString &path) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Plays from the current position.
    virtual MediaError play() = 0;
    // Plays from `ms`; a target beyond the length is refused with OutOfRange and
    // changes nothing.
    virtual MediaError playFrom(std::int64_t ms) = 0;
    // Stops (pauses) where playback is.
    virtual MediaError stop() = 0;
    // Stops at `ms` (0 for "seek ... to start").
    virtual MediaError seekTo(std::int64_t ms) = 0;

    virtual bool isPlaying() const = 0;
    // Current position in [0, length]; at the end of the media exactly the length.
    virtual std::int64_t positionMs() = 0;
    virtual std::int64_t lengthMs() = 0;
};

} // namespace quillory
