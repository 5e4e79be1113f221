#pragma once

#include "services.h"

#include <QVariant>

namespace quillory {

constexpr int OFN_ALLOWMULTISELECT = 0x200;

// The one open and save dialog function. The filter is NUL-separated pairs
// (description, pattern, ...). Returns the chosen full path as a QString, a
// QStringList when several files were chosen with OFN_ALLOWMULTISELECT, or the
// empty text when cancelled. `flags` may be null; when given it receives the
// flags the dialog returned.
QVariant ShowFileDialog(FileDialogs &dialogs, int *flags, const QString &initialFolder,
                        const QString &filter, int filterIndex, const QString &defaultExtension,
                        const QString &initialFileName, const QString &title, QWidget *owner,
                        bool openMode);

// The text before the first NUL, or the whole text when it has none.
QString StripAtNull(const QString &text);
// The path with "/" appended unless it already ends with one.
QString AddBackslash(const QString &path);

} // namespace quillory
