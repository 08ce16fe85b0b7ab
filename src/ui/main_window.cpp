#include "ui/main_window.h"

#include "core/app/startup.h"
#include "core/app/tray_menu.h"
#include "core/language/language.h"
#include "core/robot/version.h"
#include "ui/hot_key_registration.h"
#include "ui/pictures.h"
#include "win32/wide_text.h"

namespace orvan::ui {

namespace {

constexpr UINT kTrayCommandBase = 3000;

const wchar_t* MainClassName() {
    static const std::wstring name = win32::Wide(kMainWindowClass);
    return name.c_str();
}

} // namespace

MainWindow::MainWindow(SearchWindow& search) : search_(search) {}

MainWindow::~MainWindow() {
    if (applyListener_ >= 0)
        RemoveApplyListener(applyListener_);
    RemoveTrayIcon();
}

HWND MainWindow::Create() {
    static WindowClassRegistration registration =
        RegisterWindowClass(MainClassName(), 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr,
                            ProgramPictures().ProgramIcon(32));
    // A hidden top-level window (not message-only, so that FindWindow finds it) with no
    // taskbar button.
    const HWND hwnd = CreateWindowFor(WS_EX_TOOLWINDOW, MainClassName(), L"", WS_POPUP, 0, 0, 0, 0,
                                      nullptr, nullptr);
    if (!hwnd)
        return nullptr;
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    // A copy that runs elevated (started by the installer) still hears an ordinary start's
    // "-o" request and the taskbar's restart.
    ::ChangeWindowMessageFilterEx(hwnd, kOpenOptionsMessage, MSGFLT_ALLOW, nullptr);
    ::ChangeWindowMessageFilterEx(hwnd, taskbarCreated_, MSGFLT_ALLOW, nullptr);
    ::SetTimer(hwnd, kMainTimer, 500, nullptr);
    SetHotKeyWindow(hwnd);
    applyListener_ = AddApplyListener(
        [this](const SettingsOptions& options) { ShowTrayIcon(options.trayIcon); });
    return hwnd;
}

void MainWindow::SetTitle(const std::string& title) {
    ::SetWindowTextW(Handle(), win32::Wide(title).c_str());
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kMainTimer)
            OnTimer();
        return 0;
    case WM_HOTKEY:
        if (HotKeyId() > 0 && wParam == WPARAM(HotKeyId()))
            search_.ShowSearch();
        return 0;
    case kOpenOptionsMessage:
        if (wParam == kOpenOptionsWParam && lParam == kOpenOptionsLParam)
            OpenOptions();
        return 0;
    case WM_THEMECHANGED:
        search_.ApplyThemeColors();
        return 0;
    case kTrayMessage:
        OnTrayNotify(LOWORD(lParam));
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) >= kTrayCommandBase && LOWORD(wParam) <= kTrayCommandBase + 3)
            TrayCommand(LOWORD(wParam) - kTrayCommandBase);
        return 0;
    case WM_ENDSESSION:
        // Windows ends the process once this returns: what the pages hold goes first.
        if (wParam)
            search_.SavePages();
        return 0;
    case WM_CLOSE:
        // From now on a close request of the search window ends the program.
        search_.SetQuitRequested(true);
        ::DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        ::KillTimer(Handle(), kMainTimer);
        RemoveTrayIcon();
        ::PostQuitMessage(0);
        return 0;
    default:
        if (taskbarCreated_ && message == taskbarCreated_) {
            // The taskbar (re)started: it has no icon of ours, whether one was shown before
            // or the first attempt came too early.
            trayVisible_ = false;
            if (trayWanted_)
                trayVisible_ = AddTrayIcon();
            return 0;
        }
        return DefaultProc(message, wParam, lParam);
    }
}

void MainWindow::OnTimer() {
    // The first attempt fails when the taskbar is not there yet (a start at logon, before
    // Explorer runs): try again until the icon is shown.
    if (trayWanted_ && !trayVisible_)
        trayVisible_ = AddTrayIcon();
    if (!openOptionsPending_)
        return;
    openOptionsPending_ = false;
    OpenOptions();
}

void MainWindow::OpenOptions() {
    search_.ShowSearch();
    if (settings_.show)
        settings_.show();
}

void MainWindow::ShowTrayIcon(bool visible) {
    trayWanted_ = visible;
    if (visible == trayVisible_)
        return;
    if (visible)
        trayVisible_ = AddTrayIcon();
    else
        RemoveTrayIcon();
}

bool MainWindow::AddTrayIcon() {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = Handle();
    data.uID = kTrayIconId;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = ProgramPictures().ProgramIcon(::GetSystemMetrics(SM_CXSMICON));
    lstrcpynW(data.szTip, win32::Wide(ApplicationTitle).c_str(), ARRAYSIZE(data.szTip));
    return ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void MainWindow::RemoveTrayIcon() {
    if (!trayVisible_ || !Handle())
        return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = Handle();
    data.uID = kTrayIconId;
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    trayVisible_ = false;
}

void MainWindow::OnTrayNotify(UINT event) {
    switch (event) {
    case WM_LBUTTONUP:
        search_.ShowSearch();
        break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
        ShowTrayMenu();
        break;
    default:
        break;
    }
}

HMENU MainWindow::PrepareTrayMenu() {
    trayMenu_.Reset(::CreatePopupMenu());
    const auto items = TrayMenuItems(search_.Visible(), search_.SettingsVisible());
    for (const TrayMenuItem& item : items) {
        if (item.visible) {
            const std::wstring caption = win32::Wide(Languages::Text(item.captionId));
            ::AppendMenuW(trayMenu_.Get(), MF_STRING | (item.enabled ? 0 : MF_GRAYED),
                          kTrayCommandBase + UINT(item.tag), caption.c_str());
            if (item.isDefault)
                ::SetMenuDefaultItem(trayMenu_.Get(), kTrayCommandBase + UINT(item.tag), FALSE);
        }
        if (item.tag == TrayTag::Hide)
            ::AppendMenuW(trayMenu_.Get(), MF_SEPARATOR, 0, nullptr);
    }
    return trayMenu_.Get();
}

void MainWindow::ShowTrayMenu() {
    const HMENU menu = PrepareTrayMenu();
    POINT at{};
    ::GetCursorPos(&at);
    // Without the foreground the menu would not close when the user clicks elsewhere; the
    // window that had it gets it back unless the chosen command shows one of ours.
    const HWND previous = ::GetForegroundWindow();
    ::SetForegroundWindow(Handle());
    const UINT chosen = UINT(
        ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr));
    ::PostMessageW(Handle(), WM_NULL, 0, 0);
    const int tag = chosen >= kTrayCommandBase ? int(chosen - kTrayCommandBase) : -1;
    if (tag != TrayTag::Show && tag != TrayTag::Options && previous && previous != Handle() &&
        ::IsWindow(previous))
        ::SetForegroundWindow(previous);
    if (tag >= 0)
        TrayCommand(tag);
}

void MainWindow::TrayCommand(int tag) {
    switch (tag) {
    case TrayTag::Show:
        search_.ShowSearch();
        break;
    case TrayTag::Hide:
        search_.CloseRequest();
        break;
    case TrayTag::Options:
        OpenOptions();
        break;
    case TrayTag::Exit:
        ::SendMessageW(Handle(), WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

} // namespace orvan::ui
