// Display names from the shell, as Explorer shows them (a shortcut without ".lnk", known
// extensions hidden when the user hides them).
#include "platform/native.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <shellapi.h>

namespace orvan::platform {

namespace {

class Win32ShellNames final : public ShellNamePort {
public:
    std::string DisplayName(const std::string& path) const override {
        SHFILEINFOW info{};
        if (SHGetFileInfoW(win32::Wide(path).c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) ==
            0)
            return {};
        info.szDisplayName[MAX_PATH - 1] = L'\0';
        return win32::Narrow(info.szDisplayName);
    }
};

} // namespace

const ShellNamePort& ShellNames() {
    static const Win32ShellNames names;
    return names;
}

} // namespace orvan::platform
