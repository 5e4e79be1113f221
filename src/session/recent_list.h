#pragma once

#include "platform/files/text_file.h"

#include <QString>
#include <QStringList>
#include <array>

namespace quillory {

// Four most recent paths, newest first. An empty slot holds its placeholder
// caption "mnuRecentN", and the stored file keeps the placeholders so it always
// has four lines.
class RecentList {
public:
    static constexpr int Size = 4;
    RecentList();

    static QString placeholder(int slot); // slot 0..3 -> "mnuRecent1".."mnuRecent4"
    // A slot is shown exactly when its first nine characters differ from "mnuRecent".
    static bool isShown(const QString &caption);

    const QString &caption(int slot) const { return m_captions[static_cast<size_t>(slot)]; }
    QStringList captions() const;
    bool anyShown() const;

    // Moves `path` to the front; an exact, case-sensitive match (the last one, if
    // the list holds it twice) moves up, a new path pushes the oldest out. A
    // path with a line break cannot be stored and is left out.
    void moveToFront(const QString &path);

    // Start-up load: each non-empty line n becomes slot n's caption. Returns true
    // when at least one line was not empty. A missing file loads nothing.
    bool load(const QString &path);
    FileResult save(const QString &path) const;

private:
    std::array<QString, Size> m_captions;
};

} // namespace quillory
