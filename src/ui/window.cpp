#include "ui/window.h"

#include "core/ui/layout.h"
#include "win32/wide_text.h"

#include <exception>
#include <string>

namespace orvan::ui {

namespace {

UnexpectedErrorHandler& ErrorHandler() {
    static UnexpectedErrorHandler handler;
    return handler;
}

} // namespace

HINSTANCE ModuleInstance() {
    return ::GetModuleHandleW(nullptr);
}

void SetUnexpectedErrorHandler(UnexpectedErrorHandler handler) {
    ErrorHandler() = std::move(handler);
}

void ReportCurrentException() noexcept {
    const std::exception_ptr current = std::current_exception();
    if (!current)
        return;
    try {
        std::string message;
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& error) {
            message = error.what();
        } catch (...) {
            message = "Unknown exception";
        }
        if (ErrorHandler())
            ErrorHandler()(message);
    } catch (...) {
        // The report itself failed (out of memory, or the handler threw): nothing more can
        // be done without risking the program.
    }
}

WindowClassRegistration RegisterWindowClass(const wchar_t* name, UINT style, HCURSOR cursor,
                                            HBRUSH background, HICON icon) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = WindowEntryProc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    return WindowClassRegistration(::RegisterClassExW(&wc), ModuleInstance());
}

Window::~Window() {
    if (hwnd_) {
        // The object goes first: detach it so that the messages of the destruction no
        // longer reach it.
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

HWND Window::CreateWindowFor(DWORD exStyle, const wchar_t* className, const wchar_t* title,
                             DWORD style, int x, int y, int width, int height, HWND parent,
                             HMENU menuOrId) {
    return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                             menuOrId, ModuleInstance(), this);
}

LRESULT Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Window::Paint(HDC, const RECT&) {}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (painting_ == Painting::Self) {
        switch (message) {
        case WM_PAINT: {
            PaintDc paint(hwnd_);
            RECT client;
            ::GetClientRect(hwnd_, &client);
            BackBuffer buffer(paint.Get(), client);
            Paint(buffer.Get(), client);
            return 0;
        }
        case WM_PRINTCLIENT: {
            RECT client;
            ::GetClientRect(hwnd_, &client);
            Paint(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1; // the painting fills the whole area itself
        default:
            break;
        }
    }
    return HandleMessage(message, wParam, lParam);
}

LRESULT CALLBACK WindowEntryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<Window*>(create->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    try {
        result = self->Dispatch(message, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
        result = ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnFinalMessage();
    }
    return result;
}

int WindowDpi(HWND window) noexcept {
    const UINT dpi = window ? ::GetDpiForWindow(window) : 0;
    if (dpi)
        return int(dpi);
    return int(::GetDpiForSystem());
}

void SetDesignedClientSize(HWND window, UiSize designed, int dpi) {
    RECT frame{0, 0, ScaleForDpi(designed.width, dpi), ScaleForDpi(designed.height, dpi)};
    ::AdjustWindowRectExForDpi(&frame, DWORD(::GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                               DWORD(::GetWindowLongPtrW(window, GWL_EXSTYLE)), UINT(dpi));
    ::SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void MoveToSuggested(HWND window, const RECT& suggested) {
    ::SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CenterWindow(HWND window, CenterOn area) {
    RECT frame;
    ::GetWindowRect(window, &frame);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    const RECT& screen = area == CenterOn::WorkArea ? info.rcWork : info.rcMonitor;
    const UiPoint at = CenterOnWorkArea(
        {screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top},
        frame.right - frame.left, frame.bottom - frame.top);
    ::SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(std::size_t(length) + 1, L'\0');
    const int got = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(std::size_t(got > 0 ? got : 0));
    return text;
}

} // namespace orvan::ui
