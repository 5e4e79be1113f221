#pragma once

#include <QString>

namespace quillory {

// The folder that holds the settings, the recent lists, Bookmarks/, Lang/, Files/
// and the temporary files. Resolved once at start:
//   1. $QUILLORY_HOME when set (tests always use this), given the shipped files it lacks;
//   2. the executable's folder when it is writable and holds Lang/;
//   3. a per-user data folder, filled with the shipped files on first start.
// The shipped files lie beside the executable (a build folder) or, for an
// installed program in <prefix>/bin, in <prefix>/share/quillory.
class ProgramFolder {
public:
    static QString resolve(const QString &executableDir);
    // Where the shipped files of the executable in `executableDir` are.
    static QString shippedFolder(const QString &executableDir);
    // Copies the shipped files (Lang/, Files/, help pages) that `target` lacks.
    static void populateFrom(const QString &shippedDir, const QString &target);

    // The resolved folder, without a trailing "/".
    static const QString &path();
    static void set(const QString &path);
    // path() + "/" + relative
    static QString file(const QString &relative);
};

} // namespace quillory
