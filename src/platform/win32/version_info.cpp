// The shell's names for a file and its version resource, loaded once and asked for every
// string and the fixed part.
#include "platform/native_shell.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>
#include <cwchar>
#include <vector>

namespace orvan::platform {

namespace {

// One string of the resource in the language and code page given; "" when missing.
std::string VersionString(const std::vector<unsigned char>& block, unsigned language,
                          unsigned codePage, const char* key) {
    wchar_t query[128];
    std::swprintf(query, std::size(query), L"\\StringFileInfo\\%04X%04X\\%hs", language, codePage,
                  key);
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query, &value, &length) || value == nullptr || length == 0)
        return {};
    const auto* text = static_cast<const wchar_t*>(value);
    return win32::Narrow(text, wcsnlen(text, length));
}

class Win32VersionInfo final : public VersionInfoPort {
public:
    ShellFileFacts ShellFacts(const std::string& path) const override {
        const std::wstring wide = win32::Wide(path);
        ShellFileFacts facts;
        SHFILEINFOW info{};
        // The executable type is asked on its own: the shell answers SHGFI_EXETYPE alone
        // and fills no names when it is combined with other requests.
        if (SHGetFileInfoW(wide.c_str(), 0, &info, sizeof info,
                           SHGFI_DISPLAYNAME | SHGFI_TYPENAME) != 0) {
            facts.displayName =
                win32::Narrow(info.szDisplayName, wcsnlen(info.szDisplayName, MAX_PATH));
            facts.typeName = win32::Narrow(info.szTypeName, wcsnlen(info.szTypeName, 80));
        }
        facts.executable = SHGetFileInfoW(wide.c_str(), 0, nullptr, 0, SHGFI_EXETYPE) != 0;
        return facts;
    }

    std::optional<VersionResource> ReadVersionResource(const std::string& path) const override {
        const std::wstring wide = win32::Wide(path);
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &handle);
        if (size == 0)
            return std::nullopt;
        VersionResource resource;
        std::vector<unsigned char> block(size);
        if (!GetFileVersionInfoW(wide.c_str(), 0, size, block.data()))
            return resource;

        void* value = nullptr;
        UINT length = 0;
        if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) &&
            value != nullptr && length >= sizeof(DWORD)) {
            DWORD translation = 0;
            std::memcpy(&translation, value, sizeof translation);
            const unsigned language = LOWORD(translation);
            const unsigned codePage = HIWORD(translation);
            for (std::size_t i = 0; i < kVersionStringKeys.size(); ++i)
                resource.strings[i] =
                    VersionString(block, language, codePage, kVersionStringKeys[i]);
        }

        if (VerQueryValueW(block.data(), L"\\", &value, &length) && value != nullptr &&
            length >= sizeof(VS_FIXEDFILEINFO)) {
            VS_FIXEDFILEINFO fixed{};
            std::memcpy(&fixed, value, sizeof fixed);
            resource.fixed = FixedVersionInfo{fixed.dwFileFlagsMask, fixed.dwFileFlags,
                                              fixed.dwFileType, fixed.dwFileSubtype};
        }
        return resource;
    }
};

} // namespace

const VersionInfoPort& VersionInfo() {
    static const Win32VersionInfo info;
    return info;
}

} // namespace orvan::platform
