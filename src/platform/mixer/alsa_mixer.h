#pragma once

#include "mixer.h"

#include <atomic>
#include <future>

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
    // Starts open() on a worker thread: connecting to a sound server through
    // ALSA's plugin takes a while, which the window can spend being built. Every
    // other call waits for that open to end first.
    void openInBackground();
    std::vector<MixerElement> playbackVolumes() override;
    bool setPlaybackVolume(const MixerElement &element, long value) override;
    std::optional<long> playbackVolume(const MixerElement &element) override;

    // alsa-lib prints its failed probes (no card, no server) on stderr; the program
    // reports a missing mixer itself, so they are silenced process-wide.
    static void silenceLibraryErrors();

private:
    snd_mixer_elem_t *find(const MixerElement &element);
    bool openNow();
    void finishOpening();

    QByteArray m_device;
    snd_mixer_t *m_handle = nullptr;
    std::atomic<bool> m_tried{false}; // written by the opening worker
    std::future<void> m_opening;
};

} // namespace quillory
