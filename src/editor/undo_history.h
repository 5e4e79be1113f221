#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

namespace quillory {

// The editor's own history: 101 slots of whole-document snapshots. Slot 0 holds
// the empty document the window starts with; every change writes the next
// slot, and past slot 100 the oldest snapshot drops out. Undo and Redo walk the
// slots. The newest recorded slot is kept, so Redo stops there instead of
// showing slots that were never written (or that an edit after Undo left behind).
template <typename Snapshot> class UndoHistory {
public:
    static constexpr int LastSlot = 100;

    explicit UndoHistory(Snapshot empty = Snapshot())
    {
        for (Snapshot &slot : m_slots)
            slot = empty;
    }

    std::int16_t UndoIndex() const { return m_index; }
    std::int16_t newestIndex() const { return m_newest; }
    const Snapshot &slot(int index) const { return m_slots[static_cast<size_t>(index)]; }

    void record(Snapshot snapshot)
    {
        // An edit after Undo drops the slots ahead, the saved one among them.
        if (m_clean > m_index)
            m_clean = NoSlot;
        ++m_index;
        if (m_index > LastSlot) {
            for (int i = 0; i < LastSlot; ++i)
                m_slots[static_cast<size_t>(i)] = std::move(m_slots[static_cast<size_t>(i + 1)]);
            m_index = LastSlot;
            if (m_clean != NoSlot)
                --m_clean;
        }
        m_slots[static_cast<size_t>(m_index)] = std::move(snapshot);
        m_newest = m_index;
    }

    // The current slot holds the document as it was last saved, opened or
    // started; Undo and Redo back to it leave nothing unsaved.
    void markClean() { m_clean = m_index; }
    bool isClean() const { return m_clean == m_index; }

    bool canUndo() const { return m_index > 0; }
    bool canRedo() const { return m_index < m_newest; }

    // The snapshot to restore, or nothing when there is no step to take.
    std::optional<Snapshot> undo()
    {
        if (!canUndo())
            return std::nullopt;
        --m_index;
        return slot(m_index);
    }
    std::optional<Snapshot> redo()
    {
        if (!canRedo())
            return std::nullopt;
        ++m_index;
        return slot(m_index);
    }

private:
    std::array<Snapshot, LastSlot + 1> m_slots{};
    std::int16_t m_index = 0;
    std::int16_t m_newest = 0;
    static constexpr std::int16_t NoSlot = -1;
    std::int16_t m_clean = 0;
};

} // namespace quillory
