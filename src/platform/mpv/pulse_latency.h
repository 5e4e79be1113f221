#pragma once

#include "platform/mpv/held_audio.h"

#include <memory>

namespace quillory {

// How much sound a PulseAudio (or PipeWire's PulseAudio interface) sink has
// already taken from this process's playback stream but not yet played: that
// audio is heard even after the stream is paused. libpulse is loaded at run
// time, on the first query, and only when a server answers; without one every
// query returns nothing.
class PulseSinkLatency : public HeldAudioProbe {
public:
    PulseSinkLatency();
    ~PulseSinkLatency() override;
    PulseSinkLatency(const PulseSinkLatency &) = delete;
    PulseSinkLatency &operator=(const PulseSinkLatency &) = delete;

    // Microseconds of audio the sink of this process's running playback stream
    // holds now; nothing when no server, no such stream or no answer in time.
    std::optional<long long> heldMicroseconds() override;
    // The sink's latency still applies to a corked stream: the sink plays out
    // what it took before the cork.
    std::optional<long long> heldAfterPauseMicroseconds() override;
    std::optional<long long> queuedMicroseconds() const override { return m_queuedUs; }

private:
    std::optional<long long> query(bool corked);
    struct Connection;
    std::unique_ptr<Connection> m_connection;
    bool m_failed = false;
    std::optional<long long> m_queuedUs;
};

} // namespace quillory
