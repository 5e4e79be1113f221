#pragma once

#include "platform/files/text_file.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace quillory {

// What a program folder was last given of the shipped files: for each file, its
// path relative to the folder and the SHA-256 of the content put there. A file
// whose content still has that hash was never touched by the user, so a newer
// shipped version may replace it. Stored in the `sha256sum` format, so
// `sha256sum -c ShippedFiles.sha256` in the folder lists what the user changed.
class ShippedRecord {
public:
    static constexpr const char *FileName = "ShippedFiles.sha256";
    // Beside the record, after a fill that left every file as shipped: the
    // shipped files' names, sizes and times, so that a start finding them
    // unchanged trusts the record without reading and hashing them again.
    static constexpr const char *StampFileName = "ShippedFiles.stamp";

    enum class State { Read, Missing, Damaged };
    // A missing or damaged record reads as empty: nothing is known to be unchanged.
    static ShippedRecord read(const QString &path, State *state = nullptr);
    static ShippedRecord parse(const QByteArray &bytes, bool *ok);
    QByteArray format() const;

    // The hex hash last shipped to `relative`, empty when none is known.
    QByteArray hash(const QString &relative) const { return m_hashes.value(relative); }
    void set(const QString &relative, const QByteArray &hash) { m_hashes.insert(relative, hash); }
    void remove(const QString &relative) { m_hashes.remove(relative); }
    int size() const { return m_hashes.size(); }

private:
    QMap<QString, QByteArray> m_hashes;
};

// What bringing the shipped files into a program folder did, by relative path.
struct ShippedUpdate {
    QStringList added;    // missing in the folder
    QStringList replaced; // an older shipped version the user never changed
    QStringList kept;     // changed or made by the user, left as it is
    bool recordDamaged = false;
    QStringList errors; // files or the record that could not be written
};

// The folder that holds the settings, the recent lists, Bookmarks/, Lang/, Files/
// and the temporary files. Resolved once at start:
//   1. $QUILLORY_HOME when set (tests always use this), given the shipped files;
//   2. the executable's folder when it is writable and holds Lang/;
//   3. a per-user data folder, given the shipped files.
// The shipped files lie beside the executable (a build folder) or, for an
// installed program in <prefix>/bin, in <prefix>/share/quillory.
class ProgramFolder {
public:
    static QString resolve(const QString &executableDir);
    // Where the shipped files of the executable in `executableDir` are.
    static QString shippedFolder(const QString &executableDir);
    // The shipped files (Lang/, Files/, help pages), relative to `shippedDir`.
    static QStringList shippedFiles(const QString &shippedDir);
    // Brings the shipped files into `target`: adds the missing ones and replaces
    // those the user never changed since they were shipped (see ShippedRecord);
    // every other file in `target` stays as it is.
    static ShippedUpdate populateFrom(const QString &shippedDir, const QString &target);

    // The resolved folder, without a trailing "/".
    static const QString &path();
    static void set(const QString &path);
    // path() + "/" + relative
    static QString file(const QString &relative);
};

} // namespace quillory
