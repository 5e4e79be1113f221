#include "media_error.h"

namespace quillory {

QString mediaErrorText(std::uint32_t code)
{
    switch (static_cast<MediaError>(code)) {
    case MediaError::None:
        return QStringLiteral("The command completed successfully.");
    case MediaError::UnrecognizedKeyword:
        return QStringLiteral("The command contains an unrecognized keyword.");
    case MediaError::UnrecognizedCommand:
        return QStringLiteral("The command is not recognized by the media player.");
    case MediaError::InvalidDeviceName:
        return QStringLiteral("No media file is open under that name.");
    case MediaError::CannotLoadDriver:
        return QStringLiteral("No audio output could be opened for playback.");
    case MediaError::MissingParameter:
        return QStringLiteral("The command is missing a required parameter.");
    case MediaError::UnsupportedFunction:
        return QStringLiteral("The media player cannot carry out this command.");
    case MediaError::FileNotFound:
        return QStringLiteral(
            "The media file cannot be found. Make sure the path and file name are correct.");
    case MediaError::DeviceNotReady:
        return QStringLiteral("The media player is not ready.");
    case MediaError::InternalError:
        return QStringLiteral("The media player reported an internal error.");
    case MediaError::OutOfRange:
        return QStringLiteral("The position is outside the length of the media file.");
    case MediaError::DuplicateAlias:
        return QStringLiteral("A media file is already open under that name.");
    case MediaError::InvalidFile:
        return QStringLiteral(
            "The file cannot be played: it is not a media file, or its format is not supported.");
    case MediaError::FileNameTooLong:
        return QStringLiteral("The file name is too long.");
    case MediaError::PathNotValid:
        return QStringLiteral("The path of the media file cannot be used by the media player.");
    case MediaError::DeviceNotInstalled:
        return QStringLiteral("The media player is not installed: its library (libmpv) is "
                              "missing or cannot be used.");
    case MediaError::ParameterOverflow:
        return QStringLiteral("A number in the command is too large.");
    }
    return QString();
}

} // namespace quillory
