#include "ui_fixture.h"

#include "core/ports/clock.h"

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

std::wstring dialogTitle;
std::function<void(HWND)> dialogAction;

void CALLBACK WatchForDialog(HWND, UINT, UINT_PTR id, DWORD) {
    const HWND dialog = ::FindWindowW(L"#32770", dialogTitle.c_str());
    if (!dialog || !::IsWindowVisible(dialog))
        return; // not shown yet: the timer fires again
    ::KillTimer(nullptr, id);
    if (dialogAction)
        dialogAction(dialog);
}

} // namespace

UINT_PTR WhenDialogAppears(const std::wstring& title, std::function<void(HWND)> act) {
    dialogTitle = title;
    dialogAction = std::move(act);
    return ::SetTimer(nullptr, 0, 30, WatchForDialog);
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
        controls.dwICC = ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
        ::InitCommonControlsEx(&controls);
    }
    void TearDown() override { ::CoUninitialize(); }
};

[[maybe_unused]] ::testing::Environment* const uiEnvironment =
    ::testing::AddGlobalTestEnvironment(new UiEnvironment);

} // namespace
