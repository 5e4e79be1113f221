#pragma once

#include "bookmark_entries.h"

#include <cstdint>
#include <optional>

namespace quillory {

// Which bookmark the next and previous commands go to.
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

} // namespace BookmarkNavigation

} // namespace quillory
