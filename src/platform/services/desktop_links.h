#pragma once

#include <QUrl>

namespace quillory {

// Opens web addresses and local pages with the user's default handler (the
// browser). Everything goes through as a URL, never as a command line, so no
// address or file name can be run as a command.
class DesktopLinks {
public:
    virtual ~DesktopLinks() = default;
    // False when the desktop has no handler or refused the URL.
    virtual bool openUrl(const QUrl &url) = 0;
};

// Through QDesktopServices.
class QtDesktopLinks : public DesktopLinks {
public:
    bool openUrl(const QUrl &url) override;
};

} // namespace quillory
