#include "ui/modal.h"

#include "ui/window.h"

namespace orvan::ui {

namespace {

// Enables the owner again however the modal loop ends. Release does it before the modal
// window hides, and activates the owner too: hiding the active window first would leave
// the program without one for a moment, which reads as the program losing the activation
// and hides an auto-hiding search window.
class DisabledOwner {
public:
    explicit DisabledOwner(HWND owner)
        : owner_(owner && ::IsWindowEnabled(owner) ? owner : nullptr) {
        if (owner_)
            ::EnableWindow(owner_, FALSE);
    }
    ~DisabledOwner() {
        if (owner_ && ::IsWindow(owner_))
            ::EnableWindow(owner_, TRUE);
    }
    void Release() {
        if (owner_ && ::IsWindow(owner_)) {
            ::EnableWindow(owner_, TRUE);
            if (::IsWindowVisible(owner_))
                ::SetActiveWindow(owner_);
        }
        owner_ = nullptr;
    }
    DisabledOwner(const DisabledOwner&) = delete;
    DisabledOwner& operator=(const DisabledOwner&) = delete;

private:
    HWND owner_;
};

} // namespace

void ModalLoop::Dispatch(MSG& message) {
    const bool ours =
        window_ && (message.hwnd == window_ || ::IsChild(window_, message.hwnd) != FALSE);
    if (ours && keys_ && (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
        keys_(message))
        return;
    if (ours && ::IsDialogMessageW(window_, &message))
        return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

bool ModalLoop::Pump() {
    if (quit_)
        return false;
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit_ = true;
            exitCode_ = int(message.wParam);
            return false;
        }
        try {
            Dispatch(message);
        } catch (...) {
            ReportCurrentException();
        }
    }
    return true;
}

bool ModalLoop::Run(HWND owner, const std::function<bool()>& done) {
    {
        DisabledOwner disabled(owner);
        ::ShowWindow(window_, SW_SHOW);
        ::SetForegroundWindow(window_);
        MSG message{};
        while (!quit_ && !done()) {
            const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
            if (got == 0 || got == -1) {
                quit_ = true;
                exitCode_ = got == 0 ? int(message.wParam) : 0;
                break;
            }
            try {
                Dispatch(message);
            } catch (...) {
                ReportCurrentException();
            }
        }
        disabled.Release();
    }
    ::ShowWindow(window_, SW_HIDE);
    if (quit_)
        ::PostQuitMessage(exitCode_);
    return !quit_;
}

} // namespace orvan::ui
