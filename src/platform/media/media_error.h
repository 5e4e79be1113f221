#pragma once

#include <QString>
#include <cstdint>

namespace quillory {

// Return codes of the media control string interface. 0 is success; the other
// values follow the numbering of the classic media control interface so that
// codes shown to users stay recognisable.
enum class MediaError : std::uint32_t {
    None = 0,
    UnrecognizedKeyword = 259,
    UnrecognizedCommand = 261,
    InvalidDeviceName = 263, // alias not open
    CannotLoadDriver = 266,  // no audio output could be opened
    MissingParameter = 273,
    UnsupportedFunction = 274,
    FileNotFound = 275,
    DeviceNotReady = 276,
    InternalError = 277,
    OutOfRange = 282,
    DuplicateAlias = 289,
    InvalidFile = 296, // not a media file the engine can play
    FileNameTooLong = 304,
    PathNotValid = 305,       // a path that cannot be expressed
    DeviceNotInstalled = 306, // the media engine's library is missing or unusable
    ParameterOverflow = 300,
};

inline std::uint32_t toCode(MediaError e)
{
    return static_cast<std::uint32_t>(e);
}

// The user-facing text of a return code, as the error report shows it.
QString mediaErrorText(std::uint32_t code);

} // namespace quillory
