#include "qt_text_gaps.h"

#include "i18n/captions.h"

#include <cstring>

namespace quillory {

namespace {
struct Gap {
    const char *context;
    const char *source;
    const char *key;
};

// The file icon provider names a row's type; files get their MIME type's own
// (already translated) description, everything else one of these words.
constexpr Gap gaps[] = {
    {"QAbstractFileIconProvider", "Drive", "qt.drive"},
    {"QAbstractFileIconProvider", "Folder", "qt.folder"},
    {"QAbstractFileIconProvider", "Shortcut", "qt.shortcut"},
    {"QAbstractFileIconProvider", "Unknown", "qt.unknown"},
};
} // namespace

QString QtTextGaps::translate(const char *context, const char *sourceText, const char *, int) const
{
    if (context == nullptr || sourceText == nullptr)
        return QString();
    for (const Gap &gap : gaps)
        if (std::strcmp(context, gap.context) == 0 && std::strcmp(sourceText, gap.source) == 0)
            return caption(QString::fromLatin1(gap.key), QString::fromLatin1(gap.source));
    return QString();
}

} // namespace quillory
