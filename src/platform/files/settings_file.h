#pragma once

#include "platform/files/text_file.h"

#include <QString>
#include <cstdint>

namespace quillory {

// The player's eight settings, as held in "Quillory.ini" in the program folder.
struct PlayerSettings {
    QString languageFile;         // line 1: file name inside Lang/, empty = choose from the country
    QString volumeLevel;          // line 2: the volume knob's value text, kept as read
    float volumeKnobTop = 0;      // line 3: twips
    std::int32_t jumpSeconds = 0; // line 4: 0 means "use 2" at the next jump
    std::int16_t pauseRewindSeconds = 0; // line 5
    bool showFullPath = true;            // line 6
    QString editorFolder;                // line 7
    std::int16_t editorHidden = 0;       // line 8: 0 = editor shown at start

    bool operator==(const PlayerSettings &o) const;
};

// Reader and writer of the settings file; exact counterparts in line order.
// Every line is read whole, so a folder name with a comma survives.
class SettingsFile {
public:
    static QString defaultPath(); // program folder + "/Quillory.ini"

    // Missing file: the defaults above. A short file: the lines it has, the
    // defaults for the rest. A value out of range keeps its default.
    static PlayerSettings read(const QString &path);
    static PlayerSettings parse(const QStringList &lines);

    static QStringList format(const PlayerSettings &settings);
    // Writes safely: a failure (read-only folder, full disk) leaves the old file.
    static FileResult write(const QString &path, const PlayerSettings &settings);
};

} // namespace quillory
