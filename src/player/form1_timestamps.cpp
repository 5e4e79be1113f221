// The player's side of the transcript's timestamps: the position to write down
// and playing from a timestamp the user clicked.
#include "bookmarks/bookmark_navigation.h"
#include "form1.h"

#include <algorithm>
#include <cmath>

using namespace quillory;

bool Form1::hasMedia()
{
    double length = 0;
    return queryLength(&length);
}

qint64 Form1::mediaPositionMs()
{
    return static_cast<qint64>(std::floor(std::max(0.0, CurPos())));
}

void Form1::playFromMediaPosition(qint64 ms)
{
    double length = 0;
    // With no media open, or for a timestamp past this recording's end (one of
    // another recording), there is nothing to play. A device that reports no
    // length has no end to check.
    if (!queryLength(&length) || ms < 0 || (length > 0 && static_cast<double>(ms) > length)) {
        m_services.messages->beep();
        return;
    }
    BookmarkNavigation::playFrom(m_media, *this, ms);
}
