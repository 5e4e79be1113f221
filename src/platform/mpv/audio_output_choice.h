#pragma once

#include <QByteArray>
#include <QString>

namespace quillory {

// The sound output chosen in the preferences ("audio.output"): one of the
// outputs the player knows ("pulse", "pipewire", "alsa", "jack", "sdl"), in any
// letter case and with surrounding blanks. Anything else, "auto" included,
// gives an empty choice: the player then takes the first output that works.
QByteArray audioOutputChoice(const QString &preference);

} // namespace quillory
