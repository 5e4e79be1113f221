#pragma once

#include <mpv/client.h>

#include <memory>

namespace quillory {

// Owns one mpv player instance; destroying it stops playback and frees the player.
struct MpvHandleDeleter {
    void operator()(mpv_handle *handle) const { mpv_terminate_destroy(handle); }
};
using MpvHandle = std::unique_ptr<mpv_handle, MpvHandleDeleter>;

} // namespace quillory
