#include "desktop_links.h"

#include <QDesktopServices>

namespace quillory {

bool QtDesktopLinks::openUrl(const QUrl &url)
{
    if (!url.isValid() || url.isEmpty())
        return false;
    return QDesktopServices::openUrl(url);
}

} // namespace quillory
