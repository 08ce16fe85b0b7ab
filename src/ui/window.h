#pragma once
// The base of every window class of the program: one C++ object per window. The static
// entry procedure takes the object from the creation parameters, keeps it in the window's
// user data and forwards every message to the object's HandleMessage; nothing it does may
// throw across into the system, so errors are caught at this edge and reported to the
// program's error handler.
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

class Window {
public:
    Window() = default;
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

private:
    friend LRESULT CALLBACK WindowEntryProc(HWND, UINT, WPARAM, LPARAM) noexcept;
    HWND hwnd_ = nullptr;
};

LRESULT CALLBACK WindowEntryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// The DPI a window is shown at (96 before it exists).
int WindowDpi(HWND window) noexcept;

std::wstring WindowText(HWND window);

} // namespace orvan::ui
