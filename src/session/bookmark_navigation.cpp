#include "bookmark_navigation.h"

#include <algorithm>

namespace quillory::BookmarkNavigation {

double landing(std::int64_t positionMs, double rewindMs)
{
    return std::max(0.0, static_cast<double>(positionMs) - std::max(0.0, rewindMs));
}

std::optional<std::int64_t> next(const BookmarkEntries &entries, double currentMs, double rewindMs)
{
    std::optional<std::int64_t> best;
    for (int i = 0; i < entries.count(); ++i) {
        const std::optional<std::int64_t> p = BookmarkLine::positionOf(entries.entry(i));
        if (p && landing(*p, rewindMs) > currentMs && (!best || *p < *best))
            best = p;
    }
    return best;
}

std::optional<std::int64_t> previous(const BookmarkEntries &entries, double currentMs,
                                     double rewindMs, double graceMs)
{
    std::optional<std::int64_t> best;
    for (int i = 0; i < entries.count(); ++i) {
        const std::optional<std::int64_t> p = BookmarkLine::positionOf(entries.entry(i));
        if (p && landing(*p, rewindMs) < currentMs - graceMs && (!best || *p > *best))
            best = p;
    }
    return best;
}

} // namespace quillory::BookmarkNavigation
