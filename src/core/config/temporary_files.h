#pragma once
// The temporary files of crash-safe saves (FileStorePort::ReplaceFileWith), named in one
// place for the adapters that make them and for the clean-up that removes what a crash left.
#include "core/ports/file_system.h"

#include <cstddef>
#include <string_view>

namespace orvan {

// A save writes its new content to a file in the target's folder named "orv", a unique part
// and ".tmp". On Windows GetTempFileNameW makes the unique part of one to four hexadecimal
// digits ("orv1A2B.tmp"; Wine writes them small and without leading zeros, "orv3f.tmp"), on
// Linux mkostemps of six letters or digits ("orvk3Zq9x.tmp"). The move puts the file in
// place of the target; a crash before the move leaves it behind.
inline constexpr std::string_view kTemporaryFilePrefix = "orv";
inline constexpr std::string_view kTemporaryFileSuffix = ".tmp";

// Whether a file name is one a save gives its temporary file, exactly: the prefix, one to
// four hexadecimal digits or six ASCII letters or digits, the suffix (letter case ignored,
// as Windows does with file names).
bool IsTemporaryFileName(std::string_view name);

// How old, in days, a temporary file must be before it counts as left by a crash: far longer
// than any save writes, and longer than a clock shift (summer time) can make a file look
// older than it is.
inline constexpr double kStaleTemporaryFileAge = 3.0 / 24.0;

// Removes the temporary files that crashed saves left in folder: files named as above whose
// last write lies at least kStaleTemporaryFileAge before now (local days, as the clock
// gives them). A save running now, in this program or in another copy, wrote its file more
// recently, so it is never taken; nor is any other file. Returns how many were removed.
std::size_t RemoveStaleTemporaryFiles(const FileSystemPort& fileSystem, std::string_view folder,
                                      double now);

} // namespace orvan
