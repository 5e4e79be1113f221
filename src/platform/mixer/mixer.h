#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace quillory {

// One element of the system's mixer that has a playback volume.
struct MixerElement {
    QString name;     // "Master", "PCM", ...
    int index = 0;    // tells apart elements of the same name
    long minimum = 0; // raw range as the mixer reports it
    long maximum = 0;
};

// The system's audio mixer, the one whose master volume the player's slider sets.
class Mixer {
public:
    virtual ~Mixer() = default;
    // Opens the default mixer once; false when there is none (no sound card, no
    // sound server). Later calls give the first answer again.
    virtual bool open() = 0;
    // The elements with a playback volume, in the mixer's own order; empty while
    // the mixer is not open.
    virtual std::vector<MixerElement> playbackVolumes() = 0;
    // Sets one raw value within the element's range on all its channels at once;
    // false when the mixer refuses it.
    virtual bool setPlaybackVolume(const MixerElement &element, long value) = 0;
    // The element's current raw value (its loudest channel); nothing when unreadable.
    virtual std::optional<long> playbackVolume(const MixerElement &element) = 0;
};

} // namespace quillory
