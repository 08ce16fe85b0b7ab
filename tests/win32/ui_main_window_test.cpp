// The hidden main window: identity, tray menu, the messages of other processes, the timer
// of the "-o" start and the global hot key.
#include "ui_fixture.h"

#include "core/app/startup.h"
#include "ui/hot_key_registration.h"

namespace orvan::testing {
namespace {

class MainWindowTest : public LauncherTest {
protected:
    int settingsShown_ = 0;
    bool settingsOpen_ = false;
    void StartWithSettings(StartMode mode = StartMode::Resident) {
        Start(mode);
        App().Settings().show = [this] { ++settingsShown_; };
        App().Settings().visible = [this] { return settingsOpen_; };
    }
};

TEST_F(MainWindowTest, IsFoundByClassAndTitleAndNeverShown) {
    StartWithSettings();
    const HWND found = ::FindWindowW(L"TzorMain", L"Orvan!");
    EXPECT_EQ(found, Main().Handle());
    EXPECT_FALSE(::IsWindowVisible(found));
    EXPECT_TRUE(::GetWindowLongPtrW(found, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

TEST_F(MainWindowTest, TheTrayMenuFollowsTheSearchWindowAndTheSettings) {
    StartWithSettings();
    EXPECT_EQ(MenuItems(Main().PrepareTrayMenu()),
              (std::vector<std::wstring>{L"Show", L"-", L"Options", L"Exit"}));
    Search().ShowSearch();
    Pump();
    EXPECT_EQ(MenuItems(Main().PrepareTrayMenu()),
              (std::vector<std::wstring>{L"Hide", L"-", L"Options", L"Exit"}));
    settingsOpen_ = true;
    EXPECT_EQ(MenuItems(Main().PrepareTrayMenu()),
              (std::vector<std::wstring>{L"Hide", L"-", L"Options (grey)", L"Exit"}));
    Main().TrayCommand(1); // hide
    EXPECT_FALSE(Search().Visible());
    Main().TrayCommand(2); // options: show, then the settings command
    EXPECT_TRUE(Search().Visible());
    EXPECT_EQ(settingsShown_, 1);
    // A click on the tray icon shows the window as well.
    Main().TrayCommand(1);
    ::SendMessageW(Main().Handle(), ui::kTrayMessage, ui::kTrayIconId, WM_LBUTTONUP);
    EXPECT_TRUE(Search().Visible());
}

TEST_F(MainWindowTest, ShowOrHideIsTheTrayMenusDefaultItem) {
    StartWithSettings();
    const auto defaultItem = [this] {
        const HMENU menu = Main().PrepareTrayMenu();
        wchar_t text[64] = {};
        const UINT id = ::GetMenuDefaultItem(menu, FALSE, 0);
        ::GetMenuStringW(menu, id, text, 64, MF_BYCOMMAND);
        return std::wstring(text);
    };
    EXPECT_EQ(defaultItem(), L"Show");
    Search().ShowSearch();
    Pump();
    EXPECT_EQ(defaultItem(), L"Hide");
}

TEST_F(MainWindowTest, ARestartedTaskbarGetsTheWantedIconAgain) {
    WriteOptions("[TrayIcon]\r\nEnabled=-1\r\n");
    StartWithSettings();
    ASSERT_TRUE(Main().TrayIconVisible());
    // The taskbar went away and took the icon with it; when it is back it says so.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = Main().Handle();
    data.uID = ui::kTrayIconId;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &data));
    ::SendMessageW(Main().Handle(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Main().TrayIconVisible());
    EXPECT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &data)) << "the icon is there again";
    // Without the option nothing comes back.
    SettingsOptions options = CurrentOptions();
    options.trayIcon = false;
    ApplyOptions(options);
    ::SendMessageW(Main().Handle(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_FALSE(Main().TrayIconVisible());
    EXPECT_FALSE(Main().TrayIconWanted());
}

TEST_F(MainWindowTest, TheTrayIconFollowsTheOption) {
    WriteOptions("[TrayIcon]\r\nEnabled=-1\r\n");
    StartWithSettings();
    EXPECT_TRUE(Main().TrayIconVisible());
    SettingsOptions options = CurrentOptions();
    options.trayIcon = false;
    ApplyOptions(options);
    EXPECT_FALSE(Main().TrayIconVisible());
}

TEST_F(MainWindowTest, OpenOptionsMessageNeedsItsExactParameters) {
    StartWithSettings();
    ::PostMessageW(Main().Handle(), kOpenOptionsMessage, 13, 0);
    Pump();
    EXPECT_FALSE(Search().Visible());
    EXPECT_EQ(settingsShown_, 0);
    ::PostMessageW(Main().Handle(), kOpenOptionsMessage, kOpenOptionsWParam, kOpenOptionsLParam);
    Pump();
    EXPECT_TRUE(Search().Visible());
    EXPECT_EQ(settingsShown_, 1);
}

TEST_F(MainWindowTest, TheTimerOpensTheSettingsOfAnOptionsStartOnce) {
    StartWithSettings(StartMode::OpenOptions);
    EXPECT_TRUE(Main().OpenOptionsPending());
    EXPECT_FALSE(Search().Visible());
    Pump(1300);
    EXPECT_FALSE(Main().OpenOptionsPending());
    EXPECT_TRUE(Search().Visible());
    EXPECT_EQ(settingsShown_, 1);
}

TEST_F(MainWindowTest, TheQuitMessageEndsTheLoopWithoutSaving) {
    StartWithSettings();
    ::DeleteFileW(win32::Wide(OptionsFile()).c_str());
    ::PostMessageW(Main().Handle(), WM_QUIT, 0, 0);
    Pump();
    EXPECT_TRUE(QuitPosted());
    EXPECT_TRUE(temp_.Read(OptionsFile()).empty());
}

TEST_F(MainWindowTest, TheHotKeyIsRegisteredUnderTheAtomAndShowsTheWindow) {
    WriteOptions("[Global]\r\nHotKey=16416\r\n"); // Ctrl+Space
    StartWithSettings();
    const int id = ui::HotKeyId();
    EXPECT_GT(id, 0);
    EXPECT_EQ(ATOM(id), ::GlobalFindAtomW(L"zorMainHotKey1"));
    EXPECT_EQ(ui::HotKeyShortCut(), 16416);

    // The combination is taken: another window cannot have it.
    const HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                         nullptr, nullptr);
    EXPECT_FALSE(::RegisterHotKey(other, 1, MOD_CONTROL, VK_SPACE));

    // A hot-key message with the identifier shows the window; another identifier does not.
    ::SendMessageW(Main().Handle(), WM_HOTKEY, WPARAM(id + 1), 0);
    EXPECT_FALSE(Search().Visible());
    ::SendMessageW(Main().Handle(), WM_HOTKEY, WPARAM(id), 0);
    EXPECT_TRUE(Search().Visible());

    // Applying 0 keeps the combination; a new value replaces it.
    SettingsOptions options = CurrentOptions();
    options.hotKey = 0;
    ApplyOptions(options);
    EXPECT_EQ(ui::HotKeyShortCut(), 16416);
    EXPECT_FALSE(::RegisterHotKey(other, 1, MOD_CONTROL, VK_SPACE));
    options.hotKey = 0xC020; // Ctrl+Alt+Space
    ApplyOptions(options);
    EXPECT_TRUE(::RegisterHotKey(other, 1, MOD_CONTROL, VK_SPACE)); // the old one is free
    ::UnregisterHotKey(other, 1);
    EXPECT_FALSE(::RegisterHotKey(other, 2, MOD_CONTROL | MOD_ALT, VK_SPACE));
    EXPECT_TRUE(ui::MainHotKeyRegistered());

    // A combination another program holds is kept as the choice and reported as not taken.
    ASSERT_TRUE(::RegisterHotKey(other, 3, MOD_CONTROL | MOD_SHIFT, VK_SPACE));
    options.hotKey = 0x6020; // Shift+Ctrl+Space
    ApplyOptions(options);
    EXPECT_FALSE(ui::MainHotKeyRegistered());
    EXPECT_EQ(ui::HotKeyShortCut(), 0x6020);
    EXPECT_EQ(CurrentOptions().hotKey, 0x6020);
    ::UnregisterHotKey(other, 3);
    options.hotKey = 0xC020;
    ApplyOptions(options);
    EXPECT_TRUE(ui::MainHotKeyRegistered());

    ui::UnregisterMainHotKey();
    EXPECT_FALSE(ui::MainHotKeyRegistered());
    EXPECT_EQ(ui::HotKeyId(), 0);
    EXPECT_TRUE(::RegisterHotKey(other, 2, MOD_CONTROL | MOD_ALT, VK_SPACE));
    ::UnregisterHotKey(other, 2);
    ::DestroyWindow(other);
}

TEST_F(MainWindowTest, AKeyboardHotKeyReachesTheMainWindow) {
    // Wine has no global key grab on X11: a hot key fires only for input that reaches a
    // Wine window. Input sent into the program's own input queue does.
    WriteOptions("[Global]\r\nHotKey=49227\r\n"); // Ctrl+Alt+K, unlikely to be taken
    StartWithSettings();
    const HWND focus = ::CreateWindowExW(0, L"STATIC", L"focus", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                         50, nullptr, nullptr, nullptr, nullptr);
    ::SetForegroundWindow(focus);
    Pump(100);
    INPUT inputs[6] = {};
    const WORD keys[3] = {VK_CONTROL, VK_MENU, 'K'};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[5 - i].type = INPUT_KEYBOARD;
        inputs[5 - i].ki.wVk = keys[i];
        inputs[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    ::SendInput(6, inputs, sizeof(INPUT));
    Pump(300);
    EXPECT_TRUE(Search().Visible());
    ::DestroyWindow(focus);
}

} // namespace
} // namespace orvan::testing
