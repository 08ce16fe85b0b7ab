// The Windows shell: "open" through ShellExecuteW, elevation through ShellExecuteExW, and
// a start with the desktop user's rights through the desktop's own shell window.
#include "platform/native_shell.h"
#include "win32/com.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <exdisp.h>
#include <oleauto.h>
#include <servprov.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlobj.h>

namespace orvan::platform {

namespace {

using win32::ComApartment;
using win32::ComPtr;

// The identities used, named here rather than taken from uuid.lib (see shell_links.cpp).
constexpr CLSID kShellWindowsClass = {
    0x9BA05972, 0xF6A8, 0x11CF, {0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39}};
constexpr IID kShellWindowsId = {
    0x85CB6900, 0x4D95, 0x11CF, {0x96, 0x0C, 0x00, 0x80, 0xC7, 0xF4, 0xEE, 0x85}};
constexpr IID kServiceProviderId = {
    0x6D5140C1, 0x7436, 0x11CE, {0x80, 0x34, 0x00, 0xAA, 0x00, 0x60, 0x09, 0xFA}};
constexpr GUID kTopLevelBrowserService = {
    0x4C96BE40, 0x915C, 0x11CF, {0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37}};
constexpr IID kShellBrowserId = {0x000214E2, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kDispatchId = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kShellFolderViewDualId = {
    0xE7A1AF80, 0x4D96, 0x11CF, {0x96, 0x0C, 0x00, 0x80, 0xC7, 0xF4, 0xEE, 0x85}};
constexpr IID kShellDispatch2Id = {
    0xA4C6892C, 0x3BA9, 0x11D2, {0x9D, 0xEA, 0x00, 0xC0, 0x4F, 0xB1, 0x61, 0x62}};

// A string VARIANT that frees its text.
class TextVariant {
public:
    explicit TextVariant(const std::wstring& text) {
        ::VariantInit(&value_);
        value_.vt = VT_BSTR;
        value_.bstrVal = ::SysAllocStringLen(text.data(), UINT(text.size()));
    }
    ~TextVariant() { ::VariantClear(&value_); }
    TextVariant(const TextVariant&) = delete;
    TextVariant& operator=(const TextVariant&) = delete;
    const VARIANT& Get() const { return value_; }

private:
    VARIANT value_;
};

// True when this process runs with more rights than its user's unelevated ones.
bool IsElevated() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return true; // not knowing, assume the worst
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool known =
        ::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) != FALSE;
    ::CloseHandle(token);
    return !known || elevation.TokenIsElevated != 0;
}

// The desktop's shell runs with the logged-on user's own rights, whatever this process
// has: its window's view hands out the shell's automation object, whose ShellExecute then
// starts the program from the desktop's process.
bool OpenThroughDesktop(const std::wstring& file, const std::wstring& parameters,
                        const std::wstring& directory) {
    const ComApartment apartment;
    ComPtr<IShellWindows> windows;
    if (FAILED(::CoCreateInstance(kShellWindowsClass, nullptr, CLSCTX_LOCAL_SERVER, kShellWindowsId,
                                  windows.Out())))
        return false;
    VARIANT location{};
    VARIANT root{};
    ::VariantInit(&location);
    ::VariantInit(&root);
    long desktopWindow = 0;
    ComPtr<IDispatch> desktop;
    if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &desktopWindow, SWFO_NEEDDISPATCH,
                              desktop.Address()) != S_OK ||
        !desktop)
        return false;
    ComPtr<IServiceProvider> services;
    ComPtr<IShellBrowser> browser;
    ComPtr<IShellView> view;
    ComPtr<IDispatch> background;
    ComPtr<IShellFolderViewDual> folderView;
    ComPtr<IDispatch> application;
    ComPtr<IShellDispatch2> shell;
    if (FAILED(desktop->QueryInterface(kServiceProviderId, services.Out())) ||
        FAILED(services->QueryService(kTopLevelBrowserService, kShellBrowserId, browser.Out())) ||
        FAILED(browser->QueryActiveShellView(view.Address())) ||
        FAILED(view->GetItemObject(SVGIO_BACKGROUND, kDispatchId, background.Out())) ||
        FAILED(background->QueryInterface(kShellFolderViewDualId, folderView.Out())) ||
        FAILED(folderView->get_Application(application.Address())) || !application ||
        FAILED(application->QueryInterface(kShellDispatch2Id, shell.Out())))
        return false;
    BSTR fileText = ::SysAllocStringLen(file.data(), UINT(file.size()));
    const TextVariant arguments(parameters);
    const TextVariant folder(directory);
    const TextVariant verb(L"open");
    VARIANT show{};
    ::VariantInit(&show);
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    const HRESULT started =
        shell->ShellExecute(fileText, arguments.Get(), folder.Get(), verb.Get(), show);
    ::SysFreeString(fileText);
    return SUCCEEDED(started);
}

// An empty text is passed as no text at all, as the shell expects for "none".
const wchar_t* OrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

class Win32Shell final : public ShellPort {
public:
    std::intptr_t Open(const std::string& file, const std::string& parameters,
                       const std::string& directory, int showCommand) const override {
        const std::wstring wideFile = win32::Wide(file);
        const std::wstring wideParameters = win32::Wide(parameters);
        const std::wstring wideDirectory = win32::Wide(directory);
        const HINSTANCE result =
            ShellExecuteW(nullptr, L"open", wideFile.c_str(), OrNull(wideParameters),
                          OrNull(wideDirectory), showCommand);
        return reinterpret_cast<std::intptr_t>(result);
    }

    bool OpenAsDesktopUser(const std::string& file, const std::string& parameters,
                           const std::string& directory) const override {
        const std::wstring wideFile = win32::Wide(file);
        const std::wstring wideParameters = win32::Wide(parameters);
        const std::wstring wideDirectory = win32::Wide(directory);
        // The desktop's shell reports no failure of its own (it shows it to the user), so
        // what can be known beforehand is checked here.
        const DWORD attributes = ::GetFileAttributesW(wideFile.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return false;
        if (OpenThroughDesktop(wideFile, wideParameters, wideDirectory))
            return true;
        // Where no desktop shell answers (Wine has none of its own), a process without
        // elevation starts the program with the rights it would get there anyway.
        if (IsElevated())
            return false;
        return reinterpret_cast<std::intptr_t>(
                   ShellExecuteW(nullptr, L"open", wideFile.c_str(), OrNull(wideParameters),
                                 OrNull(wideDirectory), SW_SHOWNORMAL)) > 32;
    }

    bool RunAs(std::uintptr_t ownerWindow, const std::string& file,
               const std::string& parameters) const override {
        const std::wstring wideFile = win32::Wide(file);
        const std::wstring wideParameters = win32::Wide(parameters);
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI; // 0x500
        info.hwnd = reinterpret_cast<HWND>(ownerWindow);
        info.lpVerb = L"runas";
        info.lpFile = wideFile.c_str();
        info.lpParameters = OrNull(wideParameters);
        info.lpDirectory = nullptr;
        info.nShow = SW_SHOWNORMAL;
        return ShellExecuteExW(&info) != FALSE;
    }
};

static_assert((SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI) == 0x500);

} // namespace

const ShellPort& Shell() {
    static const Win32Shell shell;
    return shell;
}

} // namespace orvan::platform
