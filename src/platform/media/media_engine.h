#pragma once

#include "media_error.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace quillory {

// One playable media file, driven by the string command interface (MediaControl).
// Positions and lengths are whole milliseconds. All calls but openAsync are
// synchronous: when a call returns, a following position query reports its effect.
class MediaEngine {
public:
    using OpenDone = std::function<void(MediaError)>;

    virtual ~MediaEngine() = default;

    // Loads the file, paused at 0, and blocks until it is loaded. Fails with
    // FileNotFound, InvalidFile, CannotLoadDriver or PathNotValid; on failure
    // nothing is open.
    virtual MediaError open(const QString &path) = 0;
    // The same open without blocking: `done` is called once with open()'s result,
    // from the event loop once the device has loaded the file, or before
    // openAsync returns when the device decides at once. Until then isOpening()
    // is true and nothing is open. A close() or another open meanwhile abandons
    // it: its `done` is never called.
    virtual void openAsync(const QString &path, OpenDone done) { done(open(path)); }
    virtual bool isOpening() const { return false; }
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

    // Playback speed, 1.0 normal, with the pitch kept. Positions stay media time;
    // the speed holds for the open file and the files opened after it. A device
    // without speed control refuses with UnsupportedFunction.
    virtual MediaError setSpeed(double) { return MediaError::UnsupportedFunction; }
    virtual double speed() const { return 1.0; }
    // Plays [fromMs, toMs] over and over: playback that reaches toMs goes on at
    // fromMs. Playback that starts beyond toMs is not looped. Opening or closing a
    // file ends the loop.
    virtual MediaError setLoop(std::int64_t, std::int64_t)
    {
        return MediaError::UnsupportedFunction;
    }
    virtual void clearLoop() {}
    virtual bool isLooping() const { return false; }
};

} // namespace quillory
