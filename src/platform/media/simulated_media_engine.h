#pragma once

#include "media_engine.h"

#include <QHash>
#include <QString>
#include <optional>

namespace quillory {

// A media device whose clock moves only when advance() is called, so timing
// rules can be tested exactly. Any existing file opens with defaultLength()
// unless a length or an open error was set for its path.
class SimulatedMediaEngine : public MediaEngine {
public:
    void setLength(const QString &path, std::int64_t ms) { m_lengths.insert(path, ms); }
    void setOpenError(const QString &path, MediaError error) { m_openErrors.insert(path, error); }
    void setDefaultLength(std::int64_t ms) { m_defaultLength = ms; }
    std::int64_t defaultLength() const { return m_defaultLength; }

    // How long an asynchronous open takes on the clock; 0 (the default) opens at
    // once, before openAsync returns.
    void setOpenDelay(std::int64_t ms) { m_openDelay = ms; }

    // Moves the clock by `ms` of wall time: a playing device advances its position
    // by ms x speed of media, up to the end, going round a loop it reaches. An
    // asynchronous open whose delay has passed is completed.
    void advance(std::int64_t ms);
    // Times playback has gone from the loop's end back to its start.
    int loopPasses() const { return m_loopPasses; }

    const QString &openPath() const { return m_path; }
    int openCount() const { return m_openCount; }

    MediaError open(const QString &path) override;
    void openAsync(const QString &path, OpenDone done) override;
    bool isOpening() const override { return m_pendingOpen.has_value(); }
    void close() override;
    bool isOpen() const override { return m_open; }
    MediaError play() override;
    MediaError playFrom(std::int64_t ms) override;
    MediaError stop() override;
    MediaError seekTo(std::int64_t ms) override;
    bool isPlaying() const override { return m_playing; }
    std::int64_t positionMs() override;
    std::int64_t lengthMs() override { return m_length; }
    MediaError setSpeed(double factor) override;
    double speed() const override { return m_speed; }
    MediaError setLoop(std::int64_t fromMs, std::int64_t toMs) override;
    void clearLoop() override;
    bool isLooping() const override { return m_looping; }

private:
    struct PendingOpen {
        QString path;
        OpenDone done;
        std::int64_t remainingMs = 0;
    };
    std::optional<PendingOpen> m_pendingOpen;
    std::int64_t m_openDelay = 0;
    QHash<QString, std::int64_t> m_lengths;
    QHash<QString, MediaError> m_openErrors;
    std::int64_t m_defaultLength = 60000;
    bool m_open = false;
    bool m_playing = false;
    double m_position = 0; // media milliseconds, fractional at speeds other than 1
    std::int64_t m_length = 0;
    double m_speed = 1.0;
    bool m_looping = false;
    std::int64_t m_loopFrom = 0;
    std::int64_t m_loopTo = 0;
    int m_loopPasses = 0;
    QString m_path;
    int m_openCount = 0;
};

} // namespace quillory
