#pragma once

#include "platform/mpv/mpv_library.h"

#include <memory>

namespace quillory {

// Owns one mpv player instance; destroying it stops playback and frees the player.
struct MpvHandleDeleter {
    const MpvLibrary *library = nullptr;
    void operator()(mpv_handle *handle) const { library->terminateDestroy(handle); }
};
using MpvHandle = std::unique_ptr<mpv_handle, MpvHandleDeleter>;

} // namespace quillory
