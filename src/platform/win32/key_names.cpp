#include "platform/native.h"
#include "win32/wide_text.h"

#include <windows.h>

namespace orvan::platform {

namespace {

// Keys that share their scan code with a numeric-keypad key and are told apart by the
// extended-key flag.
bool IsExtendedKey(UINT virtualKey) {
    switch (virtualKey) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_DIVIDE:
    case VK_NUMLOCK:
    case VK_RCONTROL:
    case VK_RMENU:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
    case VK_SNAPSHOT:
        return true;
    default:
        return false;
    }
}

// Pause and Num Lock share scan code 0x45, and MapVirtualKey gives Print Screen the scan
// code of SysRq; these keys are named by their own codes.
UINT ScanCode(UINT virtualKey) {
    switch (virtualKey) {
    case VK_PAUSE:
    case VK_NUMLOCK:
        return 0x45;
    case VK_SNAPSHOT:
        return 0x37;
    default:
        return MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC) & 0xFF;
    }
}

class Win32KeyNames final : public KeyNamePort {
public:
    std::string KeyName(std::uint32_t virtualKey) const override {
        if (virtualKey == 0 || virtualKey > 0xFF)
            return {};
        const UINT key = static_cast<UINT>(virtualKey);
        const UINT scanCode = ScanCode(key);
        if (scanCode != 0) {
            const LONG keyData =
                static_cast<LONG>((scanCode << 16) | (IsExtendedKey(key) ? 1u << 24 : 0u));
            wchar_t buffer[64] = {};
            const int length = GetKeyNameTextW(keyData, buffer, 64);
            if (length > 0)
                return win32::Narrow(buffer, static_cast<std::size_t>(length));
        }
        return EnglishKeyNames().KeyName(virtualKey);
    }
};

} // namespace

const KeyNamePort& KeyNames() {
    static const Win32KeyNames names;
    return names;
}

} // namespace orvan::platform
