#pragma once

#include <optional>

namespace quillory {

// Audio that the sound output has already taken from the player and will play
// even if the player pauses now (a sound server's sink buffer). The player adds
// it to the position it reads so that a pause counts from the last sample heard.
class HeldAudioProbe {
public:
    virtual ~HeldAudioProbe() = default;
    // Microseconds held now; nothing when the output holds none that can be known.
    virtual std::optional<long long> heldMicroseconds() = 0;
    // The same for a stream that has just been paused: what the output still
    // plays of it. Nothing when that cannot be known.
    virtual std::optional<long long> heldAfterPauseMicroseconds() { return std::nullopt; }
    // What the server still queued of the stream, not yet taken by the output, in
    // the answer to the last of the two questions above; nothing when unknown.
    // Between a reading before a pause and one after it, the queue tells what the
    // output took meanwhile (it shrinks) or gave back unplayed (it grows).
    virtual std::optional<long long> queuedMicroseconds() const { return std::nullopt; }
};

} // namespace quillory
