#include "ui/clipboard.h"

#include <cstring>

namespace orvan::ui {

namespace {

// How often and how long to wait for a clipboard that another program has open.
constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenPauseMs = 20;

bool OpenClipboardPatiently(HWND owner) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (::OpenClipboard(owner))
            return true;
        ::Sleep(kOpenPauseMs);
    }
    return false;
}

} // namespace

bool CopyTextToClipboard(HWND owner, const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory)
        return false;
    void* target = ::GlobalLock(memory);
    if (!target) {
        ::GlobalFree(memory);
        return false;
    }
    std::memcpy(target, text.c_str(), bytes);
    ::GlobalUnlock(memory);
    if (!OpenClipboardPatiently(owner)) {
        ::GlobalFree(memory);
        return false;
    }
    ::EmptyClipboard();
    // Once set, the memory belongs to the clipboard.
    const bool set = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!set)
        ::GlobalFree(memory);
    ::CloseClipboard();
    return set;
}

} // namespace orvan::ui
