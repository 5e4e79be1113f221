#pragma once

#include "media_engine.h"

#include <QString>
#include <cstdint>
#include <functional>
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

    // An "open" command that does not wait for the device: `done` gets the code
    // sendString would return, once the device has loaded the file (or before
    // this returns, for a command refused at once). Until then the alias is not
    // open; closing it (or "close all") or another open abandons this one, and
    // its `done` is never called.
    void sendOpenAsync(const QString &command, std::function<void(std::uint32_t)> done);
    bool isOpening() const { return !m_openingAlias.isEmpty(); }

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
    std::uint32_t parseOpen(const QString &command, QString *path, QString *alias) const;
    void closeDevice();
    bool isOurAlias(QStringView word) const;

    std::unique_ptr<MediaEngine> m_engine;
    QString m_alias;        // empty while nothing is open
    QString m_openingAlias; // the alias of an asynchronous open under way
};

} // namespace quillory
