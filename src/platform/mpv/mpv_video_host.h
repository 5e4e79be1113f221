#pragma once

#include "platform/mpv/mpv_library.h"

namespace quillory {

// What shows the picture of the media device's player. The device hands over its
// player once started, before any file is loaded (libmpv's render output must
// exist before a video opens), and takes it back before destroying it. Both
// calls come on the device's (UI) thread.
class MpvVideoHost {
public:
    virtual ~MpvVideoHost() = default;
    virtual void attachPlayer(const MpvLibrary &library, mpv_handle *player) = 0;
    // Everything bound to the player (render context, clients) is freed here.
    virtual void detachPlayer() = 0;
};

} // namespace quillory
