#include "ui/icon_cache.h"

#include "win32/wide_text.h"

#include <shellapi.h>

namespace orvan::ui {

UniqueIcon ExtractFileIcon(const std::string& path, bool small) {
    SHFILEINFOW info{};
    const UINT flags = SHGFI_ICON | SHGFI_SHELLICONSIZE | (small ? SHGFI_SMALLICON : 0);
    const std::wstring wide = win32::Wide(path);
    if (!::SHGetFileInfoW(wide.c_str(), 0, &info, sizeof(info), flags))
        return {};
    return UniqueIcon(info.hIcon);
}

FileIconCache& FileIcons() {
    static FileIconCache cache(ExtractFileIcon);
    return cache;
}

HICON GetFileIcon(const std::string& path, bool small) {
    return FileIcons().GetFileIcon(path, small).Get();
}

CachedIcon PeekFileIcon(const std::string& path, bool small, HICON* icon) {
    const FileIconCache::CacheFile* entry = FileIcons().Find(path);
    if (!entry)
        return CachedIcon::Unknown;
    const HICON found = (small ? entry->SmallIcon : entry->LargeIcon).Get();
    if (icon)
        *icon = found;
    return found ? CachedIcon::Present : CachedIcon::None;
}

} // namespace orvan::ui
