#include "sound_settings.h"

#include <QProcess>
#include <QStandardPaths>

namespace quillory {

QList<ProgramCommand> soundSettingsCandidates()
{
    return {
        {QStringLiteral("pavucontrol"), {}},
        {QStringLiteral("pavucontrol-qt"), {}},
        {QStringLiteral("gnome-control-center"), {QStringLiteral("sound")}},
        {QStringLiteral("systemsettings"), {QStringLiteral("kcm_pulseaudio")}},
        {QStringLiteral("kcmshell6"), {QStringLiteral("kcm_pulseaudio")}},
        {QStringLiteral("kcmshell5"), {QStringLiteral("kcm_pulseaudio")}},
    };
}

std::optional<ProgramCommand>
findSoundSettings(const std::function<QString(const QString &)> &findExecutable)
{
    for (const ProgramCommand &candidate : soundSettingsCandidates()) {
        const QString found = findExecutable(candidate.program);
        if (!found.isEmpty())
            return ProgramCommand{found, candidate.arguments};
    }
    return std::nullopt;
}

bool DesktopSoundSettings::open()
{
    const auto command =
        findSoundSettings([](const QString &name) { return QStandardPaths::findExecutable(name); });
    return command && QProcess::startDetached(command->program, command->arguments);
}

} // namespace quillory
