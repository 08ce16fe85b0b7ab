#include "ui/clipboard.h"

#include <cstring>

namespace orvan::ui {

namespace {

// How often and how long to wait for a clipboard that another program has open.
constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenPauseMs = 20;

bool OpenClipboardPatiently(HWND owner, DWORD& error) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (::OpenClipboard(owner))
            return true;
        error = ::GetLastError();
        ::Sleep(kOpenPauseMs);
    }
    return false;
}

} // namespace

bool CopyTextToClipboard(HWND owner, const std::wstring& text, DWORD* error) {
    auto fail = [error](DWORD code) {
        if (error)
            *error = code ? code : ERROR_ACCESS_DENIED;
        return false;
    };
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory)
        return fail(::GetLastError());
    void* target = ::GlobalLock(memory);
    if (!target) {
        const DWORD code = ::GetLastError();
        ::GlobalFree(memory);
        return fail(code);
    }
    std::memcpy(target, text.c_str(), bytes);
    ::GlobalUnlock(memory);
    DWORD code = 0;
    if (!OpenClipboardPatiently(owner, code)) {
        ::GlobalFree(memory);
        return fail(code);
    }
    ::EmptyClipboard();
    // Once set, the memory belongs to the clipboard.
    const bool set = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    code = set ? 0 : ::GetLastError();
    if (!set)
        ::GlobalFree(memory);
    ::CloseClipboard();
    return set || fail(code);
}

} // namespace orvan::ui
