#include "ui/modal.h"

#include "ui/window.h"

namespace orvan::ui {

namespace {

// Enables the owner again however the modal loop ends; before the modal window goes, so
// that the activation returns to the owner rather than to another program.
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
        const DisabledOwner disabled(owner);
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
    }
    ::ShowWindow(window_, SW_HIDE);
    if (quit_)
        ::PostQuitMessage(exitCode_);
    return !quit_;
}

} // namespace orvan::ui
