#pragma once

#include "bookmark_entries.h"
#include "platform/files/text_file.h"

#include <QString>

namespace quillory {

// The .bm file of a media file: "Bookmarks/<media file name>.bm" in the program
// folder (shortened when too long, see BookmarkFileName), one entry per line. Media files of the
// same name share one file.
class BookmarkFile {
public:
    // The media file's name: the part of the path after its last "/".
    static QString mediaFileName(const QString &mediaPath);
    // The .bm file of a media path; empty when the path names no file.
    static QString pathFor(const QString &mediaPath);

    // Reads a .bm file into the table (after the entries it holds). Lines that
    // make no bookmark are skipped, reading stops at the table's capacity, and
    // only the first MaxReadBytes of the file are looked at. Returns false when
    // there is no ordinary file to read.
    static bool read(const QString &path, BookmarkEntries *entries);

    // Writes the used entries of the table, creating the Bookmarks folder.
    static FileResult write(const QString &path, const BookmarkEntries &entries);

    // Saving a media file's bookmarks: a table with bookmarks is written; an
    // empty table writes nothing, except that when it lost its last bookmark the
    // old file goes too, so removed bookmarks do not come back.
    static FileResult save(const QString &mediaPath, const BookmarkEntries &entries);

    // Loading a media file's bookmarks: the table starts afresh and takes the
    // file's bookmarks. Returns true when the media file has a .bm file.
    static bool load(const QString &mediaPath, BookmarkEntries *entries);

    static constexpr qint64 MaxReadBytes = 8 * 1024 * 1024;
};

} // namespace quillory
