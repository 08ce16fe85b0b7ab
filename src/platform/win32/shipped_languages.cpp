#include "platform/native_install.h"

#include "core/base/utf.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <algorithm>

namespace orvan::platform {

std::optional<std::string> ShippedLanguage(const std::string& fileName,
                                           const std::string& moduleFile) {
    // The resource script names each translation after its file: "German.lng" is GERMAN_LNG.
    std::string name = AsciiUpper(fileName);
    std::replace(name.begin(), name.end(), '.', '_');
    HMODULE module = nullptr;
    if (!moduleFile.empty()) {
        module = ::LoadLibraryExW(win32::Wide(moduleFile).c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        if (!module)
            return std::nullopt;
    }
    std::optional<std::string> bytes;
    if (const HRSRC found = ::FindResourceW(module, win32::Wide(name).c_str(), RT_RCDATA)) {
        const HGLOBAL loaded = ::LoadResource(module, found);
        const void* data = loaded ? ::LockResource(loaded) : nullptr;
        if (data)
            bytes.emplace(static_cast<const char*>(data), ::SizeofResource(module, found));
    }
    if (module)
        ::FreeLibrary(module);
    return bytes;
}

} // namespace orvan::platform
