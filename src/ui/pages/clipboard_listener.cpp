#include "ui/pages/clipboard_listener.h"

#include "core/pages/clipboard_history.h"
#include "win32/wide_text.h"

#include <cstring>

namespace orvan::ui {

namespace {

constexpr const wchar_t* kClass = L"OrvanClipboardListener";

// The program that just wrote the clipboard may still hold it open for a moment.
constexpr int kOpenAttempts = 5;
constexpr DWORD kOpenPauseMs = 10;

bool OpenPatiently(HWND owner) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (::OpenClipboard(owner))
            return true;
        ::Sleep(kOpenPauseMs);
    }
    return false;
}

struct ClipboardGuard {
    ~ClipboardGuard() { ::CloseClipboard(); }
};

ClipboardMarkers ReadMarkers() {
    static const UINT exclude =
        ::RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
    static const UINT canInclude = ::RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
    ClipboardMarkers markers;
    markers.excludeFromMonitoring = exclude != 0 && ::IsClipboardFormatAvailable(exclude);
    if (canInclude != 0 && ::IsClipboardFormatAvailable(canInclude)) {
        if (HANDLE data = ::GetClipboardData(canInclude)) {
            if (::GlobalSize(data) >= sizeof(DWORD)) {
                if (const void* bytes = ::GlobalLock(data)) {
                    DWORD value = 0;
                    std::memcpy(&value, bytes, sizeof value);
                    markers.canIncludeInHistory = value;
                    ::GlobalUnlock(data);
                }
            }
        }
    }
    return markers;
}

} // namespace

std::optional<std::string> ReadRecordableClipboardText(HWND owner, std::size_t limit) {
    if (!::IsClipboardFormatAvailable(CF_UNICODETEXT))
        return std::nullopt;
    // A program that renders its text only when asked would be asked through its window: a
    // hung one would hold the launcher, so its copy is passed over.
    if (const HWND source = ::GetClipboardOwner(); source && ::IsHungAppWindow(source))
        return std::nullopt;
    if (!OpenPatiently(owner))
        return std::nullopt;
    const ClipboardGuard close;
    if (!ClipboardTextRecordable(ReadMarkers()))
        return std::nullopt;
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data)
        return std::nullopt;
    const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data));
    if (!chars)
        return std::nullopt;
    // Never past the memory block, whether or not the text ends in it; a UTF-16 unit takes
    // at least a byte of UTF-8, so limit + 1 units tell a longer text from one at the limit.
    const std::size_t units = ::GlobalSize(data) / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < units && length <= limit && chars[length] != L'\0')
        ++length;
    std::string text = win32::Narrow(chars, length);
    ::GlobalUnlock(data);
    return text;
}

ClipboardListener::~ClipboardListener() {
    if (listening_ && Handle())
        ::RemoveClipboardFormatListener(Handle());
}

bool ClipboardListener::Start(std::function<void(const std::string&)> copied) {
    copied_ = std::move(copied);
    if (!Handle()) {
        static WindowClassRegistration registration =
            RegisterWindowClass(kClass, 0, nullptr, nullptr);
        if (!CreateWindowFor(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr))
            return false;
    }
    if (!listening_)
        listening_ = ::AddClipboardFormatListener(Handle()) != FALSE;
    return listening_;
}

LRESULT ClipboardListener::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLIPBOARDUPDATE) {
        if (copied_)
            if (const std::optional<std::string> text =
                    ReadRecordableClipboardText(Handle(), kClipboardTextLimit))
                copied_(*text);
        return 0;
    }
    return DefaultProc(message, wParam, lParam);
}

} // namespace orvan::ui
