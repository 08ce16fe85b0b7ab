#pragma once
// The process-wide icon cache with the shell's icons: both sizes of a path fetched on the
// first request, kept for the rest of the run.
#include "core/catalog/icon_cache.h"
#include "ui/gdi.h"

#include <string>

namespace orvan::ui {

using FileIconCache = IconCache<UniqueIcon>;

// Asks the shell once (SHGetFileInfoW with flags 0x105 for small, 0x104 for large; no
// attributes, so the path must exist for an icon of its own).
UniqueIcon ExtractFileIcon(const std::string& path, bool small);

FileIconCache& FileIcons();

// The icon of the cache, or nullptr when the shell has none for the path.
HICON GetFileIcon(const std::string& path, bool small);

// What the cache knows of a path without asking the shell.
enum class CachedIcon { Unknown, None, Present };
CachedIcon PeekFileIcon(const std::string& path, bool small, HICON* icon = nullptr);

} // namespace orvan::ui
