#pragma once
// The folder and name parts of a path in the Windows form. A file's name starts after the
// last backslash, or after the drive's colon of a path like "C:file". Windows file names
// hold no colon, so there this is the same as cutting at every colon; the Linux stand-in
// maps Linux paths into this form, and a Linux file name may hold colons
// ("Algorithm::Diff.3pm.gz"), which stay in the name.
#include <cstddef>
#include <string_view>

namespace orvan {

// Where the name part starts: after the last backslash, else after a drive's colon, else 0.
std::size_t PathNameStart(std::string_view path);

// The name part (the whole text when it has no folder part).
inline std::string_view PathNamePart(std::string_view path) {
    return path.substr(PathNameStart(path));
}

// Up to and including the last backslash or the drive's colon; "" when there is none.
inline std::string_view PathFolderPart(std::string_view path) {
    return path.substr(0, PathNameStart(path));
}

} // namespace orvan
