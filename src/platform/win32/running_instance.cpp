// The resident copy of the program, found by its main window's class and title.
#include "platform/native_install.h"

#include "core/app/startup.h"
#include "win32/wide_text.h"

#include <windows.h>

namespace orvan::platform {

namespace {

class Win32RunningInstance final : public RunningInstancePort {
public:
    bool IsRunning() const override { return Find() != nullptr; }

    bool PostQuit() const override {
        const HWND window = Find();
        // The quit message ends the other copy's message loop and with it the program,
        // without the saving its close command would do.
        return window != nullptr && ::PostMessageW(window, WM_QUIT, 0, 0) != FALSE;
    }

    void Pause(std::uint32_t milliseconds) const override { ::Sleep(milliseconds); }

private:
    static HWND Find() {
        static const std::wstring className = win32::Wide(kMainWindowClass);
        static const std::wstring title = win32::Wide(kMainWindowTitle);
        return ::FindWindowW(className.c_str(), title.c_str());
    }
};

} // namespace

const RunningInstancePort& RunningInstance() {
    static const Win32RunningInstance instance;
    return instance;
}

} // namespace orvan::platform
