#pragma once

#include "platform/media/media_control.h"

#include <QString>

namespace quillory::testmedia {

// The reply to "status wav1 <what>", or "error <code>" when the device refuses.
inline QString statusReply(MediaControl &control, const char *what)
{
    char reply[127];
    const std::uint32_t code =
        control.sendString(QStringLiteral("status wav1 ") + what, reply, sizeof reply);
    return code == 0 ? QString::fromUtf8(reply) : QStringLiteral("error %1").arg(code);
}

} // namespace quillory::testmedia
