#include "settings_file.h"

#include "platform/files/program_folder.h"
#include "platform/text/numeric_text.h"

namespace quillory {

bool PlayerSettings::operator==(const PlayerSettings &o) const
{
    return languageFile == o.languageFile && volumeLevel == o.volumeLevel &&
           volumeKnobTop == o.volumeKnobTop && jumpSeconds == o.jumpSeconds &&
           pauseRewindSeconds == o.pauseRewindSeconds && showFullPath == o.showFullPath &&
           editorFolder == o.editorFolder && editorHidden == o.editorHidden;
}

QString SettingsFile::defaultPath()
{
    return ProgramFolder::file(QStringLiteral("Quillory.ini"));
}

PlayerSettings SettingsFile::read(const QString &path)
{
    QStringList lines;
    if (!readTextLines(path, &lines))
        return PlayerSettings();
    return parse(lines);
}

PlayerSettings SettingsFile::parse(const QStringList &lines)
{
    PlayerSettings s;
    const int n = lines.size();
    if (n > 0)
        s.languageFile = lines[0];
    if (n > 1)
        s.volumeLevel = lines[1];
    if (n > 2)
        s.volumeKnobTop = static_cast<float>(numericPrefix(lines[2]));
    if (n > 3)
        s.jumpSeconds = toInt32HalfEven(numericPrefix(lines[3])).value_or(s.jumpSeconds);
    if (n > 4)
        s.pauseRewindSeconds =
            toInt16HalfEven(numericPrefix(lines[4])).value_or(s.pauseRewindSeconds);
    if (n > 5) {
        // A number: exactly 1 sets the check mark, any other clears it; a text that
        // is not a number (an empty one too) sets it.
        std::optional<double> v = parseWholeNumber(lines[5]);
        s.showFullPath = !v || *v == 1.0;
    }
    if (n > 6)
        s.editorFolder = lines[6];
    if (n > 7)
        s.editorHidden = toInt16HalfEven(numericPrefix(lines[7])).value_or(1);
    return s;
}

QStringList SettingsFile::format(const PlayerSettings &s)
{
    return {s.languageFile,
            s.volumeLevel,
            invariantNumberSingle(s.volumeKnobTop),
            QString::number(s.jumpSeconds),
            QString::number(s.pauseRewindSeconds),
            s.showFullPath ? QStringLiteral("1") : QStringLiteral("0"),
            s.editorFolder,
            s.editorHidden != 0 ? QStringLiteral("1") : QStringLiteral("0")};
}

FileResult SettingsFile::write(const QString &path, const PlayerSettings &settings)
{
    return writeTextLines(path, format(settings));
}

} // namespace quillory
