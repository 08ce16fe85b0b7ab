// The resident copy of the program, found by its main window's class and title.
#include "platform/native_install.h"

#include "core/app/startup.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

#include <windows.h>

namespace orvan::platform {

namespace {

class Win32RunningInstance final : public RunningInstancePort {
public:
    bool IsRunning() const override { return Find() != nullptr; }

    bool PostQuit() const override {
        const HWND window = Find();
        if (window == nullptr)
            return false;
        // The process is taken now, while its window still names it. A window of this very
        // process (the tests make one) has no other process to wait for.
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        if (processId != processId_) {
            processId_ = processId;
            process_.Reset(processId == 0 || processId == ::GetCurrentProcessId()
                               ? nullptr
                               : ::OpenProcess(SYNCHRONIZE, FALSE, processId));
        }
        // The quit message ends the other copy's message loop and with it the program,
        // without the saving its close command would do.
        return ::PostMessageW(window, WM_QUIT, 0, 0) != FALSE;
    }

    void Pause(std::uint32_t milliseconds) const override { ::Sleep(milliseconds); }

    bool WaitForExit(std::uint32_t milliseconds) const override {
        // Without a handle (none asked, or the process could not be opened) the window's
        // being gone is all there is to go by.
        if (!process_)
            return true;
        if (::WaitForSingleObject(process_.Get(), milliseconds) != WAIT_OBJECT_0)
            return false;
        process_.Reset();
        processId_ = 0;
        return true;
    }

private:
    struct ProcessTraits {
        using Handle = HANDLE;
        static Handle Invalid() noexcept { return nullptr; }
        static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
    };

    static HWND Find() {
        static const std::wstring className = win32::Wide(kMainWindowClass);
        static const std::wstring title = win32::Wide(kMainWindowTitle);
        return ::FindWindowW(className.c_str(), title.c_str());
    }

    mutable win32::UniqueHandle<ProcessTraits> process_;
    mutable DWORD processId_ = 0;
};

} // namespace

const RunningInstancePort& RunningInstance() {
    static const Win32RunningInstance instance;
    return instance;
}

} // namespace orvan::platform
