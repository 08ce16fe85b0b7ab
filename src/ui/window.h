#pragma once
// The base of every window class of the program: one C++ object per window. The static
// entry procedure takes the object from the creation parameters, keeps it in the window's
// user data and forwards every message to the object's HandleMessage; nothing it does may
// throw across into the system, so errors are caught at this edge and reported to the
// program's error handler.
#include "core/ui/layout.h"
#include "ui/gdi.h"

#include <windows.h>

#include <functional>
#include <string>

namespace orvan::ui {

HINSTANCE ModuleInstance();

// Where errors go that would otherwise cross a window procedure: the search window writes
// them into the robot display. Without a handler they are dropped.
using UnexpectedErrorHandler = std::function<void(const std::string& message)>;
void SetUnexpectedErrorHandler(UnexpectedErrorHandler handler);
// Reports the exception being handled (call from a catch block only).
void ReportCurrentException() noexcept;

// Registers a window class whose procedure forwards to Window objects. Returns an owner
// that unregisters it.
WindowClassRegistration RegisterWindowClass(const wchar_t* name, UINT style, HCURSOR cursor,
                                            HBRUSH background, HICON icon = nullptr);

// Whether a window draws its client area itself. Such a window overrides Paint; the base
// answers WM_PAINT through a back buffer, WM_PRINTCLIENT and WM_ERASEBKGND with it, so
// that no window repeats that block.
enum class Painting { System, Self };

class Window {
public:
    explicit Window(Painting painting = Painting::System) : painting_(painting) {}
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const noexcept { return hwnd_; }

protected:
    // Creates the window of a class registered with RegisterWindowClass.
    HWND CreateWindowFor(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                         int x, int y, int width, int height, HWND parent, HMENU menuOrId);

    // Unhandled messages go to DefaultProc.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after WM_NCDESTROY, when the handle is no longer valid.
    virtual void OnFinalMessage() {}
    // Draws the whole client area (windows made with Painting::Self).
    virtual void Paint(HDC dc, const RECT& client);

private:
    friend LRESULT CALLBACK WindowEntryProc(HWND, UINT, WPARAM, LPARAM) noexcept;
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    Painting painting_;
};

LRESULT CALLBACK WindowEntryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// The DPI a window is shown at (96 before it exists).
int WindowDpi(HWND window) noexcept;

std::wstring WindowText(HWND window);

// Moves a top-level window to the middle of the work area (without the taskbar) of the
// monitor it is on, or of the whole monitor.
enum class CenterOn { WorkArea, Monitor };
void CenterWindow(HWND window, CenterOn area = CenterOn::WorkArea);

// Sizes a window so that its client area has the designed size at the DPI, the frame of its
// own styles added; it stays where it is.
void SetDesignedClientSize(HWND window, UiSize designed, int dpi);

// Moves and sizes a window to the rectangle that WM_DPICHANGED suggests.
void MoveToSuggested(HWND window, const RECT& suggested);

} // namespace orvan::ui
