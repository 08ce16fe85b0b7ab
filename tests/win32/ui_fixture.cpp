#include "ui_fixture.h"

#include "core/catalog/scanner.h"
#include "core/ports/clock.h"
#include "ui/settings_window.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

namespace orvan::testing {

UiTempFolder::UiTempFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    root_ = win32::Narrow(temp) + "orvan-ui-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(::GetTickCount64()) + "-" + std::to_string(++counter);
    ::CreateDirectoryW(win32::Wide(root_).c_str(), nullptr);
}

UiTempFolder::~UiTempFolder() {
    // SHFileOperation wants a double-terminated list.
    std::wstring from = win32::Wide(root_);
    from.push_back(L'\0');
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&operation);
}

void UiTempFolder::Write(const std::string& path, const std::string& bytes) const {
    const std::string folder = path.substr(0, path.find_last_of('\\'));
    platform::FileStore().CreateFolders(folder);
    HANDLE file = ::CreateFileW(win32::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::string UiTempFolder::Read(const std::string& path) const {
    const FileContent content = platform::FileStore().ReadWholeFile(path);
    return content.status == FileContent::Status::Read ? content.bytes : std::string();
}

std::string TestFolders::GetSpecialFolder(int folderNumber) const {
    if (folderNumber == Csidl::AppData || folderNumber == Csidl::LocalAppData)
        return appData_;
    return platform::SpecialFolders().GetSpecialFolder(folderNumber);
}

LauncherTest::LauncherTest()
    : folders_(temp_.Path("AppData")),
      services_(WithSpecialFolders(platform::SystemServices(), folders_)) {
    platform::UseSystemLocaleAndClock();
}

LauncherTest::~LauncherTest() {
    app_.reset();
    // Leave no quit message behind for the next test.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

std::string LauncherTest::OptionsFile() const {
    return temp_.Path("AppData\\Morvane\\Orvan\\Orvan.ini");
}

void LauncherTest::WriteOptions(const std::string& ini) const {
    temp_.Write(OptionsFile(), ini);
}

void LauncherTest::WriteCatalog(const std::vector<CatalogItem>& items) const {
    temp_.Write(CatalogFileName(OptionsFile()), SerializeCatalog(items));
}

void LauncherTest::Start(StartMode mode) {
    app_ = std::make_unique<ui::Application>(services_);
    ASSERT_TRUE(app_->CreateStartupObjects());
    app_->Start(mode);
    // The catalog is read on a thread of its own; the tests start with it in place.
    app_->Search().WaitForCatalog();
    Pump();
}

bool LauncherTest::Pump(int milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + ULONGLONG(milliseconds);
    do {
        // Twice: handling a message often posts the next one.
        for (int round = 0; round < 3; ++round)
            if (!app_->PumpPending()) {
                quit_ = true;
                return false;
            }
        if (milliseconds > 0)
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (::GetTickCount64() < end);
    return true;
}

void LauncherTest::Type(HWND edit, const std::wstring& text) {
    for (const wchar_t c : text)
        ::PostMessageW(edit, WM_CHAR, c, 1);
    Pump();
}

void LauncherTest::SetInput(const std::wstring& text) {
    ::SetWindowTextW(Run().Edit(), text.c_str());
    Pump();
}

void LauncherTest::Press(HWND target, UINT virtualKey, bool ctrl, bool alt, bool shift) {
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    BYTE held[256];
    std::copy(std::begin(state), std::end(state), held);
    held[VK_CONTROL] = ctrl ? 0x80 : 0;
    held[VK_MENU] = alt ? 0x80 : 0;
    held[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(held);
    const LPARAM lParam = 1 | (alt ? (1 << 29) : 0);
    ::PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, lParam);
    Pump();
    ::SetKeyboardState(state);
}

std::wstring LauncherTest::Text(HWND window) const {
    const LRESULT length = ::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(std::size_t(length) + 1, L'\0');
    const LRESULT got = ::SendMessageW(window, WM_GETTEXT, WPARAM(text.size()),
                                       reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::size_t(got));
    return text;
}

std::vector<std::wstring> LauncherTest::Rows() const {
    std::vector<std::wstring> rows;
    const HWND list = app_->Search().Run().ListBox();
    const int count = RowCount();
    for (int i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0);
        std::wstring row(std::size_t(length) + 1, L'\0');
        ::SendMessageW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(row.data()));
        row.resize(std::size_t(length));
        rows.push_back(row);
    }
    return rows;
}

int LauncherTest::RowCount() const {
    return int(::SendMessageW(app_->Search().Run().ListBox(), LB_GETCOUNT, 0, 0));
}

RECT LauncherTest::InParent(HWND window) const {
    RECT rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

namespace {

std::wstring watchedClass;
std::wstring dialogTitle;
std::function<void(HWND)> dialogAction;

void CALLBACK WatchForDialog(HWND, UINT, UINT_PTR id, DWORD) {
    const HWND dialog =
        ::FindWindowW(watchedClass.c_str(), dialogTitle.empty() ? nullptr : dialogTitle.c_str());
    if (!dialog || !::IsWindowVisible(dialog))
        return; // not shown yet: the timer fires again
    ::KillTimer(nullptr, id);
    // Moved out first: the action may arm the next watch.
    const std::function<void(HWND)> act = std::move(dialogAction);
    dialogAction = nullptr;
    if (act)
        act(dialog);
}

} // namespace

UINT_PTR WhenWindowAppears(const std::wstring& className, const std::wstring& title,
                           std::function<void(HWND)> act) {
    watchedClass = className;
    dialogTitle = title;
    dialogAction = std::move(act);
    return ::SetTimer(nullptr, 0, 30, WatchForDialog);
}

UINT_PTR WhenDialogAppears(const std::wstring& title, std::function<void(HWND)> act) {
    return WhenWindowAppears(L"#32770", title, std::move(act));
}

namespace {

ModalScript* activeScript = nullptr;

BOOL CALLBACK CloseProgramDialog(HWND window, LPARAM count) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId() || !::IsWindowVisible(window))
        return TRUE;
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    const std::wstring kind = name;
    if (kind == L"#32768") {
        ::EndMenu();
    } else if (kind == L"#32770") {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    } else if (kind == L"TSettingsPath" || kind == L"TSettings") {
        // A rebuild that would not let the dialog close is stopped first, with its button,
        // which reads "Stop" while a rebuild runs.
        if (kind == L"TSettings")
            ::EnumChildWindows(
                window,
                [](HWND child, LPARAM) -> BOOL {
                    wchar_t text[16] = {};
                    ::GetWindowTextW(child, text, 16);
                    if (::GetDlgCtrlID(child) == ui::SettingsId::Rescan &&
                        lstrcmpW(text, L"Stop") == 0)
                        ::SendMessageW(child, BM_CLICK, 0, 0);
                    return TRUE;
                },
                0);
        ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    } else {
        return TRUE;
    }
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

} // namespace

ModalScript::ModalScript(std::vector<Step> steps, int deadlineMilliseconds)
    : steps_(std::move(steps)), deadline_(::GetTickCount64() + ULONGLONG(deadlineMilliseconds)) {
    activeScript = this;
    timer_ = ::SetTimer(nullptr, 0, 30, &ModalScript::Tick);
}

ModalScript::~ModalScript() {
    ::KillTimer(nullptr, timer_);
    if (activeScript == this)
        activeScript = nullptr;
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* script = activeScript;
    if (!script)
        return;
    if (::GetTickCount64() > script->deadline_) {
        int open = 0;
        ::EnumWindows(CloseProgramDialog, reinterpret_cast<LPARAM>(&open));
        if (!script->Finished() || open > 0)
            ADD_FAILURE() << "the script did not finish in time: it was at step "
                          << script->next_ + 1 << " of " << script->steps_.size() << ", " << open
                          << " dialogs were open";
        script->next_ = script->steps_.size();
        return;
    }
    if (script->Finished())
        return;
    // A step may open a modal loop of its own, in which this timer keeps ticking: the steps
    // after it run there. So the script moves on before the step runs.
    const std::size_t step = script->next_++;
    if (!script->steps_[step]() && script->next_ == step + 1)
        script->next_ = step; // not yet: again on the next tick
}

ModalScript::Step Do(std::function<void()> action) {
    return [action = std::move(action)] {
        action();
        return true;
    };
}

HWND VisibleWindow(const wchar_t* className, const wchar_t* title) {
    struct Search {
        const wchar_t* className;
        const wchar_t* title;
        HWND found;
    } search{className, title, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD process = 0;
            ::GetWindowThreadProcessId(window, &process);
            wchar_t name[64] = {};
            ::GetClassNameW(window, name, 64);
            wchar_t text[256] = {};
            ::GetWindowTextW(window, text, 256);
            if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
                lstrcmpW(name, s->className) == 0 && (!s->title || lstrcmpW(text, s->title) == 0)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string IniText(const std::string& bytes) {
    if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE')
        return bytes;
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += bytes[i + 1] == 0 ? bytes[i] : '?';
    return text;
}

bool At96Dpi(HWND window) {
    return ui::WindowDpi(window) == 96;
}

std::vector<std::wstring> MenuItems(HMENU menu) {
    std::vector<std::wstring> items;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = 64;
        ::GetMenuItemInfoW(menu, UINT(i), TRUE, &info);
        if (info.fType & MFT_SEPARATOR)
            items.push_back(L"-");
        else
            items.push_back(std::wstring(text) + ((info.fState & MFS_GRAYED) ? L" (grey)" : L""));
    }
    return items;
}

std::wstring TabCaption(HWND tabs, int index) {
    wchar_t text[256] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 256;
    ::SendMessageW(tabs, TCM_GETITEMW, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

} // namespace orvan::testing

namespace {

// The windows need COM (the shell's icons, accessibility) and the common controls.
class UiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // Without a window manager (Xvfb) Wine waits two seconds on every hidden window for
        // the manager to confirm it. Windows of this test program are left unmanaged; the
        // setting is read when the first window is made, so it applies from this run on.
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER,
                              L"Software\\Wine\\AppDefaults\\orvan_win32_tests.exe\\X11 Driver", 0,
                              nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
            const wchar_t no[] = L"N";
            ::RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(no),
                             sizeof(no));
            ::RegCloseKey(key);
        }
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof(controls);
        controls.dwICC =
            ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
        ::InitCommonControlsEx(&controls);
    }
    void TearDown() override { ::CoUninitialize(); }
};

[[maybe_unused]] ::testing::Environment* const uiEnvironment =
    ::testing::AddGlobalTestEnvironment(new UiEnvironment);

} // namespace
