#pragma once
// Owners for the GDI objects, icons, menus and other handles the windows use. Every owner
// is move-only (a copy would free twice); handles that are only borrowed stay plain.
#include "win32/unique_handle.h"

#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <utility>

namespace orvan::ui {

template <typename H, BOOL(WINAPI* Free)(H)> struct GdiTraits {
    using Handle = H;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { Free(handle); }
};

template <typename H> struct GdiObjectTraits {
    using Handle = H;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { ::DeleteObject(handle); }
};

using UniqueFont = win32::UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBrush = win32::UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniquePen = win32::UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueBitmap = win32::UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueIcon = win32::UniqueHandle<GdiTraits<HICON, ::DestroyIcon>>;
using UniqueMenu = win32::UniqueHandle<GdiTraits<HMENU, ::DestroyMenu>>;
using UniqueMemoryDc = win32::UniqueHandle<GdiTraits<HDC, ::DeleteDC>>;
using UniqueWindow = win32::UniqueHandle<GdiTraits<HWND, ::DestroyWindow>>;

struct ThemeTraits {
    using Handle = HTHEME;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { ::CloseThemeData(handle); }
};
using UniqueTheme = win32::UniqueHandle<ThemeTraits>;

struct AtomTraits {
    using Handle = ATOM;
    static Handle Invalid() noexcept { return 0; }
    static void Close(Handle atom) noexcept { ::GlobalDeleteAtom(atom); }
};
using UniqueGlobalAtom = win32::UniqueHandle<AtomTraits>;

// A window class registered for this module; unregistered when the owner goes.
class WindowClassRegistration {
public:
    WindowClassRegistration() = default;
    WindowClassRegistration(ATOM atom, HINSTANCE instance) noexcept
        : atom_(atom), instance_(instance) {}
    ~WindowClassRegistration() { Reset(); }
    WindowClassRegistration(const WindowClassRegistration&) = delete;
    WindowClassRegistration& operator=(const WindowClassRegistration&) = delete;
    WindowClassRegistration(WindowClassRegistration&& other) noexcept
        : atom_(std::exchange(other.atom_, ATOM(0))), instance_(other.instance_) {}
    WindowClassRegistration& operator=(WindowClassRegistration&& other) noexcept {
        if (this != &other) {
            Reset();
            atom_ = std::exchange(other.atom_, ATOM(0));
            instance_ = other.instance_;
        }
        return *this;
    }
    ATOM Atom() const noexcept { return atom_; }
    explicit operator bool() const noexcept { return atom_ != 0; }
    void Reset() noexcept {
        // Fails while windows of the class still exist; the class then lives until the
        // process ends, which is harmless.
        if (atom_)
            ::UnregisterClassW(MAKEINTATOM(atom_), instance_);
        atom_ = 0;
    }

private:
    ATOM atom_ = 0;
    HINSTANCE instance_ = nullptr;
};

// A device context borrowed from a window with GetDC; released on the same window.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_)
            ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : window_(window) { dc_ = ::BeginPaint(window, &ps_); }
    ~PaintDc() { ::EndPaint(window_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const noexcept { return dc_; }
    const RECT& Dirty() const noexcept { return ps_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

// Selects an object into a device context and puts the previous one back, on the same DC.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~SelectGuard() {
        if (old_ && old_ != HGDI_ERROR)
            ::SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Text colour, background colour and background mode, restored on the same DC.
class TextStateGuard {
public:
    explicit TextStateGuard(HDC dc) noexcept
        : dc_(dc), color_(::GetTextColor(dc)), back_(::GetBkColor(dc)), mode_(::GetBkMode(dc)) {}
    ~TextStateGuard() {
        ::SetTextColor(dc_, color_);
        ::SetBkColor(dc_, back_);
        ::SetBkMode(dc_, mode_);
    }
    TextStateGuard(const TextStateGuard&) = delete;
    TextStateGuard& operator=(const TextStateGuard&) = delete;

private:
    HDC dc_;
    COLORREF color_;
    COLORREF back_;
    int mode_;
};

// An off-screen copy of a window area: painting goes into the bitmap, which is copied to
// the target in one step when the buffer ends, so that nothing flickers.
class BackBuffer {
public:
    BackBuffer(HDC target, const RECT& area) noexcept;
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;
    HDC Get() const noexcept { return memory_ ? memory_.Get() : target_; }

private:
    HDC target_;
    RECT area_;
    UniqueMemoryDc memory_;
    UniqueBitmap bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
};

// The cursor shown while something slow runs; the previous one comes back at the end,
// also when an exception passes.
class WaitCursor {
public:
    WaitCursor() noexcept : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

// A font of the given face and size in points for a DPI.
UniqueFont CreatePointFont(const wchar_t* face, int points, int dpi, bool bold = false,
                           bool underline = false);

inline RECT ToRect(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

} // namespace orvan::ui
