#include "platform/native.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <shlobj.h>

namespace orvan::platform {

namespace {

class Win32SpecialFolders final : public SpecialFolderPort {
public:
    std::string GetSpecialFolder(int folderNumber) const override {
        // 261 characters plus terminator; the folder is never created here.
        wchar_t buffer[262] = {};
        if (!SHGetSpecialFolderPathW(nullptr, buffer, folderNumber, FALSE))
            return {};
        buffer[261] = L'\0';
        return win32::Narrow(buffer, wcsnlen(buffer, 262));
    }
};

} // namespace

const SpecialFolderPort& SpecialFolders() {
    static const Win32SpecialFolders folders;
    return folders;
}

} // namespace orvan::platform
