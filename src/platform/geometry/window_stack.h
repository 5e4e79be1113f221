#pragma once

#include <QRect>
#include <algorithm>
#include <optional>

namespace quillory {

// Where the editor's frame goes: directly under the player's frame, or under
// the bookmark list beside it when that reaches lower, so that neither is
// covered. The player's frame holds its whole menu bar, however many rows it
// has wrapped to. Returns the rectangle the editor is placed below: the
// player's left and top, down to the lower of the two bottoms.
inline QRect frameAboveEditor(const QRect &playerFrame, const std::optional<QRect> &besideFrame)
{
    QRect above = playerFrame;
    if (besideFrame && besideFrame->isValid()) {
        const int bottom = std::max(playerFrame.y() + playerFrame.height(),
                                    besideFrame->y() + besideFrame->height());
        above.setHeight(bottom - playerFrame.y());
    }
    return above;
}

} // namespace quillory
