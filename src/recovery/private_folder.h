#pragma once

#include "platform/files/text_file.h"

#include <QString>

namespace quillory {

// A folder for copies of unsaved work: only its owner may enter it. A folder
// that is a link (it may lead to a place others can write in) or that belongs
// to someone else is refused, since they could read the copies or plant files.
namespace PrivateFolder {

// Refuses a link, anything but a folder, and a folder of another user. A
// missing folder is refused too (with ENOENT as its error).
FileResult check(const QString &path);

// Creates the folder and any missing parents readable by the user alone, or
// takes the permissions of others away from an existing one; then checks it.
FileResult make(const QString &path);

} // namespace PrivateFolder
} // namespace quillory
