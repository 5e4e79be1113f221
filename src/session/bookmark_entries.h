#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace quillory {

// The current media file's bookmarks: 501 entries whose used part is a prefix
// ended by the first empty entry. Each entry is a label, 15 spaces and the
// position in milliseconds (see BookmarkLine).
class BookmarkEntries {
public:
    static constexpr int Capacity = 501;

    const QString &entry(int index) const { return m_entries[static_cast<size_t>(index)]; }
    // Number of used entries (the prefix before the first empty one).
    int count() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    bool isFull() const { return m_count >= Capacity; }
    QStringList used() const;

    // Empties every entry. Whether the table held bookmarks is remembered until
    // startFresh(): a file whose last bookmark was removed must lose its .bm file.
    void clear();
    // Empties every entry for a newly opened media file.
    void startFresh();
    // clear(), then the items from entry 0 on; empty items are skipped and
    // anything beyond the capacity is dropped.
    void assign(const QStringList &items);
    // Adds one entry after the used ones; false when the table is full or the
    // entry is empty.
    bool append(const QString &entry);

    // True when the table held at least one bookmark since startFresh().
    bool heldBookmarks() const { return m_held; }

private:
    std::array<QString, Capacity> m_entries{};
    int m_count = 0;
    bool m_held = false;
};

// One entry, as stored in the table and as one line of a .bm file:
// "<mm:ss>  <name>" + 15 spaces + the position in milliseconds.
namespace BookmarkLine {

constexpr int PositionWidth = 15;
// Longest line a .bm file may hold; longer ones are not ours and are skipped.
constexpr int MaxLineLength = 4096;
// Longest name kept from the name prompt, so that every entry reads back.
constexpr int MaxNameLength = 1000;

// "mm:ss": whole minutes, then seconds rounded half to even; 59.5 s or more
// into a minute counts as the next minute. Minutes grow past two digits.
QString timeLabel(double positionMs);
// The name prompt's text made safe for a one-line entry: control characters
// become spaces and the length is bounded.
QString cleanName(const QString &typed);
// Time label, two spaces, name.
QString label(double positionMs, const QString &name);
// Label, 15 spaces, the position as decimal digits.
QString make(const QString &label, double positionMs);

// The label as read back: the entry without its last 15 characters, trailing
// spaces removed.
QString labelOf(const QString &entry);
// The last 15 characters with spaces removed from both ends.
QString positionTextOf(const QString &entry);
// The stored position; nullopt when the entry holds no digits there.
std::optional<std::int64_t> positionOf(const QString &entry);

// A line that makes a bookmark: a label, 15 position characters of which the
// trimmed part is decimal digits, no control characters, bounded length.
bool isReadable(const QString &line);

// The lists' order: labels in the platform's text order, then position, then
// the whole entry, so the two lists of the bookmark window always agree.
bool lessThan(const QString &a, const QString &b);

} // namespace BookmarkLine

} // namespace quillory
