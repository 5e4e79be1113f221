#pragma once

#include "mixer.h"

typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

namespace quillory {

// ALSA's simple mixer on the "default" control device. On a desktop whose sound
// runs through PulseAudio or PipeWire that device is the sound server's own (ALSA's
// pulse plugin), so the volume set here is the default sink's.
class AlsaMixer : public Mixer {
public:
    explicit AlsaMixer(const char *device = "default");
    ~AlsaMixer() override;
    AlsaMixer(const AlsaMixer &) = delete;
    AlsaMixer &operator=(const AlsaMixer &) = delete;

    bool open() override;
    std::vector<MixerElement> playbackVolumes() override;
    bool setPlaybackVolume(const MixerElement &element, long value) override;
    std::optional<long> playbackVolume(const MixerElement &element) override;

    // alsa-lib prints its failed probes (no card, no server) on stderr; the program
    // reports a missing mixer itself, so they are silenced process-wide.
    static void silenceLibraryErrors();

private:
    snd_mixer_elem_t *find(const MixerElement &element);

    QByteArray m_device;
    snd_mixer_t *m_handle = nullptr;
    bool m_tried = false;
};

} // namespace quillory
