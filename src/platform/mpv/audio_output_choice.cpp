#include "platform/mpv/audio_output_choice.h"

#include <array>

namespace quillory {

QByteArray audioOutputChoice(const QString &preference)
{
    // A fixed list: the value goes to the media engine as an option, so nothing
    // else (a list, a sub-option, a file name) may pass through.
    static constexpr std::array<const char *, 5> Known = {"pulse", "pipewire", "alsa", "jack",
                                                          "sdl"};
    const QString wanted = preference.trimmed().toLower();
    for (const char *name : Known) {
        if (wanted == QLatin1String(name))
            return QByteArray(name);
    }
    return QByteArray();
}

} // namespace quillory
