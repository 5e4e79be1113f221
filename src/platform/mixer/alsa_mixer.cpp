#include "alsa_mixer.h"

#include <algorithm>
#include <alsa/asoundlib.h>

namespace quillory {

namespace {
void quietAlsa(const char *, int, const char *, int, const char *, ...) {}
} // namespace

AlsaMixer::AlsaMixer(const char *device) : m_device(device) {}

AlsaMixer::~AlsaMixer()
{
    finishOpening();
    if (m_handle)
        snd_mixer_close(m_handle);
}

void AlsaMixer::silenceLibraryErrors()
{
    snd_lib_error_set_handler(quietAlsa);
}

void AlsaMixer::openInBackground()
{
    // The future first: once a worker runs, it alone touches the rest.
    if (m_opening.valid() || m_tried)
        return;
    m_opening = std::async(std::launch::async, [this] { openNow(); });
}

void AlsaMixer::finishOpening()
{
    if (m_opening.valid())
        m_opening.get();
}

bool AlsaMixer::open()
{
    finishOpening();
    return openNow();
}

bool AlsaMixer::openNow()
{
    if (m_tried)
        return m_handle != nullptr;
    m_tried = true;
    snd_mixer_t *handle = nullptr;
    if (snd_mixer_open(&handle, 0) < 0)
        return false;
    if (snd_mixer_attach(handle, m_device.constData()) < 0 ||
        snd_mixer_selem_register(handle, nullptr, nullptr) < 0 || snd_mixer_load(handle) < 0) {
        snd_mixer_close(handle);
        return false;
    }
    m_handle = handle;
    return true;
}

std::vector<MixerElement> AlsaMixer::playbackVolumes()
{
    finishOpening();
    std::vector<MixerElement> elements;
    if (!m_handle)
        return elements;
    for (snd_mixer_elem_t *e = snd_mixer_first_elem(m_handle); e; e = snd_mixer_elem_next(e)) {
        if (!snd_mixer_selem_is_active(e) || !snd_mixer_selem_has_playback_volume(e))
            continue;
        MixerElement element;
        element.name = QString::fromLocal8Bit(snd_mixer_selem_get_name(e));
        element.index = static_cast<int>(snd_mixer_selem_get_index(e));
        if (snd_mixer_selem_get_playback_volume_range(e, &element.minimum, &element.maximum) < 0)
            continue;
        elements.push_back(element);
    }
    return elements;
}

snd_mixer_elem_t *AlsaMixer::find(const MixerElement &element)
{
    finishOpening();
    if (!m_handle)
        return nullptr;
    // Another program may have changed the mixer since it was loaded.
    snd_mixer_handle_events(m_handle);
    snd_mixer_selem_id_t *id = nullptr;
    if (snd_mixer_selem_id_malloc(&id) < 0)
        return nullptr;
    const QByteArray name = element.name.toLocal8Bit();
    snd_mixer_selem_id_set_name(id, name.constData());
    snd_mixer_selem_id_set_index(id, static_cast<unsigned>(element.index));
    snd_mixer_elem_t *e = snd_mixer_find_selem(m_handle, id);
    snd_mixer_selem_id_free(id);
    return e;
}

bool AlsaMixer::setPlaybackVolume(const MixerElement &element, long value)
{
    snd_mixer_elem_t *e = find(element);
    if (!e || !snd_mixer_selem_has_playback_volume(e))
        return false;
    long low = 0, high = 0;
    if (snd_mixer_selem_get_playback_volume_range(e, &low, &high) < 0 || value < low ||
        value > high)
        return false;
    return snd_mixer_selem_set_playback_volume_all(e, value) == 0;
}

std::optional<long> AlsaMixer::playbackVolume(const MixerElement &element)
{
    snd_mixer_elem_t *e = find(element);
    if (!e || !snd_mixer_selem_has_playback_volume(e))
        return std::nullopt;
    std::optional<long> loudest;
    for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
        const auto channel = static_cast<snd_mixer_selem_channel_id_t>(c);
        long v = 0;
        if (!snd_mixer_selem_has_playback_channel(e, channel) ||
            snd_mixer_selem_get_playback_volume(e, channel, &v) < 0)
            continue;
        loudest = loudest ? std::max(*loudest, v) : v;
    }
    return loudest;
}

} // namespace quillory
