#pragma once

#include "media_engine.h"

#include <QHash>
#include <QString>

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

    // Moves the clock: a playing device advances its position, up to the end.
    void advance(std::int64_t ms);

    const QString &openPath() const { return m_path; }
    int openCount() const { return m_openCount; }

    MediaError open(const QString &path) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    MediaError play() override;
    MediaError playFrom(std::int64_t ms) override;
    MediaError stop() override;
    MediaError seekTo(std::int64_t ms) override;
    bool isPlaying() const override { return m_playing; }
    std::int64_t positionMs() override { return m_position; }
    std::int64_t lengthMs() override { return m_length; }

private:
    QHash<QString, std::int64_t> m_lengths;
    QHash<QString, MediaError> m_openErrors;
    std::int64_t m_defaultLength = 60000;
    bool m_open = false;
    bool m_playing = false;
    std::int64_t m_position = 0;
    std::int64_t m_length = 0;
    QString m_path;
    int m_openCount = 0;
};

} // namespace quillory
