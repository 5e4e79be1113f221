#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace quillory {

// Opens the system's sound settings.
class SoundSettings {
public:
    virtual ~SoundSettings() = default;
    // False when no sound-settings program exists or it could not be started.
    virtual bool open() = 0;
};

// A program and its arguments, started without a shell.
struct ProgramCommand {
    QString program; // full path
    QStringList arguments;
};

// The sound-settings programs in the order they are tried: PulseAudio's volume
// control, then GNOME's and KDE's sound panels.
QList<ProgramCommand> soundSettingsCandidates();

// The first candidate that `findExecutable` (name -> full path, empty when
// absent) finds, with the found path as its program.
std::optional<ProgramCommand>
findSoundSettings(const std::function<QString(const QString &)> &findExecutable);

// Looks the candidates up on PATH and starts the first one found, detached.
class DesktopSoundSettings : public SoundSettings {
public:
    bool open() override;
};

} // namespace quillory
