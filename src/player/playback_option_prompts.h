#pragma once

#include "platform/services/services.h"

class QWidget;
namespace quillory {
class LanguageTable;
class PlayerSession;
} // namespace quillory

// The Options menu's questions for the jump length (2 to 60 seconds) and the
// rewind on pause (0 to 20 seconds). An answer out of range is said and taken
// to the nearest bound; the session keeps the result.
class PlaybackOptionPrompts {
public:
    PlaybackOptionPrompts(QWidget *owner, const quillory::Services &services,
                          const quillory::LanguageTable &language,
                          quillory::PlayerSession &session);

    void askJumpSeconds();
    void askPauseRewindSeconds();

private:
    template <typename T> T clampWithWarning(T value, T low, T high) const;

    QWidget *m_owner;
    quillory::Services m_services;
    const quillory::LanguageTable &m_language;
    quillory::PlayerSession &m_session;
};
