// The Windows shell: "open" through ShellExecuteW, elevation through ShellExecuteExW.
#include "platform/native_shell.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <shellapi.h>

namespace orvan::platform {

namespace {

// An empty text is passed as no text at all, as the shell expects for "none".
const wchar_t* OrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

class Win32Shell final : public ShellPort {
public:
    std::intptr_t Open(const std::string& file, const std::string& parameters,
                       const std::string& directory, int showCommand) const override {
        const std::wstring wideFile = win32::Wide(file);
        const std::wstring wideParameters = win32::Wide(parameters);
        const std::wstring wideDirectory = win32::Wide(directory);
        const HINSTANCE result =
            ShellExecuteW(nullptr, L"open", wideFile.c_str(), OrNull(wideParameters),
                          OrNull(wideDirectory), showCommand);
        return reinterpret_cast<std::intptr_t>(result);
    }

    bool RunAs(std::uintptr_t ownerWindow, const std::string& file,
               const std::string& parameters) const override {
        const std::wstring wideFile = win32::Wide(file);
        const std::wstring wideParameters = win32::Wide(parameters);
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI; // 0x500
        info.hwnd = reinterpret_cast<HWND>(ownerWindow);
        info.lpVerb = L"runas";
        info.lpFile = wideFile.c_str();
        info.lpParameters = OrNull(wideParameters);
        info.lpDirectory = nullptr;
        info.nShow = SW_SHOWNORMAL;
        return ShellExecuteExW(&info) != FALSE;
    }
};

static_assert((SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI) == 0x500);

} // namespace

const ShellPort& Shell() {
    static const Win32Shell shell;
    return shell;
}

} // namespace orvan::platform
