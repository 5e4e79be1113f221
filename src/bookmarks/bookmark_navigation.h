#pragma once

#include "bookmark_entries.h"

#include <cstdint>
#include <optional>

class PlayerCommands;

namespace quillory {

class MediaControl;

// Going to a bookmark plays from its position and then runs Play/Pause twice,
// so the player ends in the state it was in: playing again a little before the
// bookmark (by the pause rewind), or paused there.
namespace BookmarkNavigation {

constexpr double PreviousGraceMs = 2000;

// Where listening resumes after going to a bookmark: the rewind before it.
double landing(std::int64_t positionMs, double rewindMs);

// The bookmark of the smallest position whose landing lies after the current
// position, so that going to it always moves forward (and going to the next one
// twice in a row does not land on the same bookmark again).
std::optional<std::int64_t> next(const BookmarkEntries &entries, double currentMs, double rewindMs);

// The bookmark of the largest position whose landing lies more than graceMs
// before the current position: a little past a bookmark, going back starts it
// again; right after arriving, it goes on to the one before.
std::optional<std::int64_t> previous(const BookmarkEntries &entries, double currentMs,
                                     double rewindMs, double graceMs = PreviousGraceMs);

// "play wav1 from <ms>", then the player's Play/Pause twice.
void playFrom(MediaControl &media, PlayerCommands &player, std::int64_t positionMs);

} // namespace BookmarkNavigation

} // namespace quillory
