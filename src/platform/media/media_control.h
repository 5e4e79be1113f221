#pragma once

#include "media_engine.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace quillory {

// The media control string interface: the player sends the same command strings
// ("open \"path\" ALIAS wav1", "status wav1 position", "play wav1 from 1234", ...)
// and gets decimal millisecond replies in a caller-supplied buffer. One engine
// holds the one device the program may have open.
class MediaControl {
public:
    explicit MediaControl(std::unique_ptr<MediaEngine> engine);
    ~MediaControl();

    // Runs one command. The reply (if any) is written NUL-terminated into `reply`
    // and cut to `replyLength` - 1 characters; pass nullptr / 0 when no reply is
    // wanted. Returns 0 on success or a MediaError code.
    std::uint32_t sendString(const QString &command, char *reply = nullptr, int replyLength = 0);

    // Writes the text of `code` into `buffer` (NUL-terminated, cut to `length`).
    // Returns true when the code is known.
    bool errorString(std::uint32_t code, char *buffer, int length) const;

    // Convenience for callers that do not need the buffer form.
    QString errorText(std::uint32_t code) const { return mediaErrorText(code); }

    MediaEngine &engine() { return *m_engine; }
    const QString &alias() const { return m_alias; }

private:
    std::uint32_t dispatch(const QString &command, QString *reply);
    std::uint32_t openCommand(const QString &command);
    bool isOurAlias(const QString &word) const;

    std::unique_ptr<MediaEngine> m_engine;
    QString m_alias; // empty while nothing is open
};

} // namespace quillory
