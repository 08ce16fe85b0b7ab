// The search window driven in-process: layout at 96 DPI, typing and the candidate list,
// the keys of the key table, showing and hiding, the close command's save.
#include "captions.h"
#include "ui_fixture.h"

#include "core/catalog/launch_memory.h"

#include "core/language/language.h"
#include "core/ui/search_layout.h"

#include <algorithm>
#include <future>

namespace orvan::testing {
namespace {

namespace layout = search_layout;
using layout::Tab;

std::vector<CatalogItem> SampleCatalog() {
    return {{"C:\\Windows\\notepad.exe", "", 0},
            {"C:\\Apps\\mspaint.exe", "Paint", 0},
            {"C:\\Apps\\alpha.exe", "alpha", 0},
            {"C:\\Apps\\zeta.exe", "Zeta", 0},
            {"C:\\Apps\\amp.exe", "Tom & Jerry", 0}};
}

class SearchWindowTest : public LauncherTest {
protected:
    void SetUp() override {
        WriteCatalog(SampleCatalog());
        Start();
    }
};

TEST_F(SearchWindowTest, HasTheDesignedLayoutAt96Dpi) {
    const HWND window = Search().Handle();
    if (!At96Dpi(window))
        GTEST_SKIP() << "the display is not at 96 DPI";
    RECT client;
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, 315);
    EXPECT_EQ(client.bottom, 336);
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW); // no taskbar button

    const RECT tabs = InParent(Search().PageControl());
    EXPECT_EQ(tabs.left, 8);
    EXPECT_EQ(tabs.top, 8);
    EXPECT_EQ(tabs.right - tabs.left, 299);
    EXPECT_EQ(tabs.bottom - tabs.top, 318);

    struct Case {
        HWND control;
        UiRect designed;
    };
    const Case cases[] = {
        {Run().Edit(), layout::kRunEdit.rect},
        {Run().Icon(), layout::kRunIcon.rect},
        {Run().Label(), layout::kRunLabel.rect},
        {Run().Button(layout::kTagExecute), {235, 118, 16, 16}},
        {Run().Button(layout::kTagDetails), {251, 118, 16, 16}},
        {Run().Button(layout::kTagCopy), {267, 118, 16, 16}},
        {Run().ListBox(), {6, 150, 277, 133}},
    };
    for (const Case& c : cases) {
        const RECT r = InParent(c.control);
        EXPECT_EQ(r.left, c.designed.left) << ::GetDlgCtrlID(c.control);
        EXPECT_EQ(r.top, c.designed.top) << ::GetDlgCtrlID(c.control);
        EXPECT_EQ(r.right - r.left, c.designed.width) << ::GetDlgCtrlID(c.control);
        EXPECT_EQ(r.bottom - r.top, c.designed.height) << ::GetDlgCtrlID(c.control);
    }
    EXPECT_EQ(::SendMessageW(Run().ListBox(), LB_GETITEMHEIGHT, 0, 0), 20);
    const LONG_PTR listStyle = ::GetWindowLongPtrW(Run().ListBox(), GWL_STYLE);
    EXPECT_TRUE(listStyle & LBS_NODATA);
    EXPECT_TRUE(listStyle & LBS_OWNERDRAWFIXED);

    // Anchors: a wider and taller window stretches the input line and the list and moves
    // the buttons with the right edge.
    RECT frame;
    ::GetWindowRect(window, &frame);
    ::SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + 100,
                   frame.bottom - frame.top + 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    const RECT edit = InParent(Run().Edit());
    EXPECT_EQ(edit.right - edit.left, 377);
    const RECT copy = InParent(Run().Button(layout::kTagCopy));
    EXPECT_EQ(copy.left, 367);
    const RECT list = InParent(Run().ListBox());
    EXPECT_EQ(list.right - list.left, 377);
    EXPECT_EQ(list.bottom - list.top, 183);
}

TEST_F(SearchWindowTest, InitialisationSetsCaptionsTabsAndTheStartMessage) {
    EXPECT_TRUE(Search().Initialized());
    EXPECT_FALSE(Search().Visible()); // a resident start stays hidden
    EXPECT_EQ(Text(Search().Handle()), L"Orvan! @ morvane.example");
    EXPECT_EQ(Search().ActiveTab(), Tab::Run);
    const wchar_t* captions[] = {L"Orvan!", L"Quick", L"Notes", L"Clipboard", L"Robot", L"About"};
    for (int tab = 0; tab < 6; ++tab)
        EXPECT_EQ(TabCaption(Search().PageControl(), tab), captions[tab]);
    // The flat buttons answer WM_GETTEXT with their hints.
    EXPECT_EQ(Text(Run().Button(layout::kTagExecute)), L"Orvan!");
    EXPECT_EQ(Text(Run().Button(layout::kTagDetails)), L"View details");
    EXPECT_EQ(Text(Run().Button(layout::kTagCopy)), L"Copy details to clipboard");
    // The robot display answers with its lines: the banner, the version, the start message.
    const std::wstring robot = Text(Search().Robot().Display());
    EXPECT_EQ(
        robot.rfind(L".#B1Orvan! @ morvane.example#B0\r\nVersion 0.9 beta\r\n\r\nStarted at ", 0),
        0u)
        << win32::Narrow(robot.c_str());
    // The empty input's prompt in the details area, with nothing to start.
    EXPECT_EQ(Text(Run().Label()), win32::Wide(Languages::Text(2000010)));
    EXPECT_FALSE(::IsWindowEnabled(Run().Button(layout::kTagExecute)));
    EXPECT_FALSE(::IsWindowEnabled(Run().Button(layout::kTagDetails)));
    EXPECT_TRUE(::IsWindowEnabled(Run().Button(layout::kTagCopy)));
    EXPECT_FALSE(::IsWindowVisible(Run().ListBox()));
    // No page says it is not supported any more; the about page has its link.
    for (const Tab tab : {Tab::Quick, Tab::Notes, Tab::Clipboard})
        for (HWND child = ::GetWindow(Search().Page(tab), GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT))
            EXPECT_EQ(Text(child).find(L"not supported"), std::wstring::npos);
    EXPECT_EQ(Text(Search().About().Link()), L"morvane.example");
}

// The chosen language, when the Languages folder beside the program has a file for it, is
// shown from the start; choosing another one switches the captions at once.
TEST_F(SearchWindowTest, TheChosenLanguageShowsFromTheStartAndSwitchesAtOnce) {
    const EnglishAfterwards english;
    services_.options.programFileName = temp_.Path("Program\\Orvan.exe");
    temp_.Write(temp_.Path("Program\\Languages\\Test.lng"),
                "[Language]\r\nCode=1031\r\nName=Deutsch\r\n[Texts]\r\n1010011=Schnell\r\n"
                "2000010=Geben Sie etwas ein\r\n");
    WriteOptions("[Global]\r\nLanguage=1031\r\n");
    Start();
    const auto caption = [this](int tab) { return TabCaption(Search().PageControl(), tab); };
    EXPECT_EQ(CurrentLanguageCode(), 1031);
    EXPECT_EQ(caption(1), L"Schnell");
    EXPECT_EQ(caption(2), L"Notes"); // not translated: the English text stays
    EXPECT_EQ(Text(Run().Label()), L"Geben Sie etwas ein");

    SettingsOptions options = CurrentOptions();
    options.language = 1;
    ApplyOptions(options);
    EXPECT_EQ(CurrentLanguageCode(), 1);
    EXPECT_EQ(caption(1), L"Quick");
    EXPECT_EQ(Text(Run().Label()), win32::Wide(Languages::Text(2000010)));
}

TEST_F(SearchWindowTest, TypingFillsTheListFromTheCatalog) {
    Search().ShowSearch();
    Pump();
    Type(Run().Edit(), L"pad");
    EXPECT_EQ(Rows(), std::vector<std::wstring>{L"notepad.exe"});
    EXPECT_TRUE(::IsWindowVisible(Run().ListBox()));
    EXPECT_EQ(Run().SelectedRowNumber(), 0);

    SetInput(L"a");
    // Ordinal order: capitals first; "&" is shown as it is.
    const std::vector<std::wstring> rows = Rows();
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end())) << rows.size();
    EXPECT_NE(std::find(rows.begin(), rows.end(), L"Tom & Jerry"), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), L"Zeta"), rows.end());

    SetInput(L"windows"); // folder names never match
    EXPECT_EQ(RowCount(), 0);
    EXPECT_FALSE(::IsWindowVisible(Run().ListBox()));
    EXPECT_EQ(Text(Run().Label()), win32::Wide(Languages::Text(2000011)));

    SetInput(L"2+3");
    EXPECT_EQ(Rows(), std::vector<std::wstring>{L"Calculator"});
    const std::wstring details = Text(Run().Label());
    EXPECT_EQ(details.rfind(L"5\r\r0000000000000005 HEX16\r5 bytes", 0), 0u)
        << win32::Narrow(details.c_str());

    SetInput(L"");
    EXPECT_FALSE(::IsWindowVisible(Run().ListBox()));
}

TEST_F(SearchWindowTest, UpAndDownMoveTheSelectionInTheInputLine) {
    Search().ShowSearch();
    Pump();
    SetInput(L"e"); // every catalog entry
    ASSERT_EQ(RowCount(), 5);
    const HWND edit = Run().Edit();
    EXPECT_EQ(Run().SelectedRowNumber(), 0);
    Press(edit, VK_UP); // on row 0 nothing moves
    EXPECT_EQ(Run().SelectedRowNumber(), 0);
    Press(edit, VK_DOWN);
    Press(edit, VK_DOWN);
    EXPECT_EQ(Run().SelectedRowNumber(), 2);
    Press(edit, VK_DOWN);
    Press(edit, VK_DOWN);
    Press(edit, VK_DOWN); // the last row stays
    EXPECT_EQ(Run().SelectedRowNumber(), 4);
    Press(edit, VK_UP);
    EXPECT_EQ(Run().SelectedRowNumber(), 3);
    // The caret did not move: the keys never reached the edit.
    ::SendMessageW(edit, EM_SETSEL, 1, 1);
    Press(edit, VK_UP);
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 1u);
    // A refill keeps the row number; beyond the end there is none, then Down takes row 0.
    Type(edit, L"x");
    EXPECT_EQ(RowCount(), 5); // every key holds ".EXE"
    EXPECT_EQ(Run().SelectedRowNumber(), 2);
    SetInput(L"paint");
    EXPECT_EQ(RowCount(), 1);
    EXPECT_EQ(Run().SelectedRowNumber(), -1);
    Press(edit, VK_DOWN);
    EXPECT_EQ(Run().SelectedRowNumber(), 0);
    Press(edit, VK_DOWN);
    EXPECT_EQ(Run().SelectedRowNumber(), 0);
}

TEST_F(SearchWindowTest, TabCompletesAndCtrlBackspaceCutsBack) {
    Search().ShowSearch();
    Pump();
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH); // C:\windows
    const std::wstring folder(windows);
    const std::wstring parent = folder.substr(0, folder.find_last_of(L'\\') + 1); // C:\ .
    const std::wstring name = folder.substr(parent.size());
    SetInput(parent + name);
    const std::vector<std::wstring> rows = Rows();
    ASSERT_FALSE(rows.empty());
    // The folder row of the listing comes first only if no other name sorts before it.
    const auto found = std::find(rows.begin(), rows.end(), name);
    ASSERT_NE(found, rows.end());
    ::SendMessageW(Run().ListBox(), LB_SETCURSEL, WPARAM(found - rows.begin()), 0);
    Press(Run().Edit(), VK_TAB);
    EXPECT_EQ(Text(Run().Edit()), parent + name + L"\\");
    EXPECT_GT(RowCount(), 0);              // the folder's contents
    EXPECT_EQ(::GetFocus(), Run().Edit()); // Tab never moves the focus

    Press(Run().Edit(), VK_BACK, true);
    EXPECT_EQ(Text(Run().Edit()), parent);
    Press(Run().Edit(), VK_BACK, true);
    EXPECT_EQ(Text(Run().Edit()), L"");
}

TEST_F(SearchWindowTest, EscHidesAndShowSearchCentresAndSelectsTheInput) {
    Search().ShowSearch();
    Pump();
    EXPECT_TRUE(Search().Visible());
    Type(Run().Edit(), L"pad");
    Press(Run().Edit(), VK_ESCAPE);
    EXPECT_FALSE(Search().Visible());
    EXPECT_FALSE(QuitPosted());
    // The window is only hidden: input and list survive.
    EXPECT_EQ(Text(Run().Edit()), L"pad");

    // Moved away, then called again: centred on the work area, input selected.
    ::SetWindowPos(Search().Handle(), nullptr, 3, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Search().ShowSearch();
    Pump();
    EXPECT_TRUE(Search().Visible());
    RECT window;
    ::GetWindowRect(Search().Handle(), &window);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(Search().Handle(), MONITOR_DEFAULTTONEAREST), &info);
    const RECT& work = info.rcWork;
    EXPECT_EQ(window.left,
              work.left + ((work.right - work.left) - (window.right - window.left)) / 2);
    EXPECT_EQ(window.top, work.top + ((work.bottom - work.top) - (window.bottom - window.top)) / 2);
    DWORD start = 0, end = 0;
    ::SendMessageW(Run().Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);
    EXPECT_EQ(Rows(), std::vector<std::wstring>{L"notepad.exe"});

    // Closing the window any other way only hides it too.
    ::SendMessageW(Search().Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(Search().Visible());
    EXPECT_TRUE(::IsWindow(Search().Handle()));
    Pump();
    EXPECT_FALSE(QuitPosted());
}

TEST_F(SearchWindowTest, AutoHideHidesWhenTheApplicationLosesTheActivation) {
    Search().ShowSearch();
    Pump();
    ::SendMessageW(Search().Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(Search().Visible());

    bool settingsOpen = true;
    App().Settings().visible = [&] { return settingsOpen; };
    Search().ShowSearch();
    Pump();
    ::SendMessageW(Search().Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_TRUE(Search().Visible()); // the settings dialog keeps it
    settingsOpen = false;
    CurrentOptions().autoHide = false;
    ::SendMessageW(Search().Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_TRUE(Search().Visible()); // without AutoHide it stays
}

TEST_F(SearchWindowTest, CloseCommandSavesOptionsAndCatalogAndEnds) {
    Search().ShowSearch();
    Pump();
    const std::string catalogFile = CatalogFileName(OptionsFile());
    ::DeleteFileW(win32::Wide(catalogFile).c_str());
    Press(Run().Edit(), VK_F4, false, true);
    EXPECT_TRUE(QuitPosted());
    const std::string ini = IniText(temp_.Read(OptionsFile()));
    EXPECT_NE(ini.find("[Form]"), std::string::npos);
    EXPECT_NE(ini.find("Width="), std::string::npos);
    EXPECT_NE(temp_.Read(catalogFile).find("notepad.exe"), std::string::npos);
}

TEST_F(SearchWindowTest, ACloseCommandThatCannotSaveKeepsTheProgramAndSaysSo) {
    Search().ShowSearch();
    Pump();
    // A folder where the options file belongs: the options cannot be written.
    ::DeleteFileW(win32::Wide(OptionsFile()).c_str());
    ASSERT_TRUE(::CreateDirectoryW(win32::Wide(OptionsFile()).c_str(), nullptr));
    std::wstring shown;
    const UINT_PTR timer = WhenDialogAppears(L"Error", [&](HWND dialog) {
        wchar_t text[512] = {};
        ::GetDlgItemTextW(dialog, 100, text, 512);
        shown = text;
        ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    Press(Run().Edit(), VK_F4, false, true);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(shown, L"Unable to write to " + win32::Wide(OptionsFile()));
    EXPECT_FALSE(QuitPosted());
    EXPECT_TRUE(::IsWindow(Main().Handle()));
    EXPECT_FALSE(Search().QuitRequested()); // the next Esc only hides again
    // The robot display keeps the reason too.
    const std::vector<std::string>& lines = Search().Robot().Memo().Lines();
    const bool logged = std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("Application error raised! [Unable to write to", 0) == 0;
    });
    EXPECT_TRUE(logged);
    // Once the file can be written, the close command ends the program.
    ::RemoveDirectoryW(win32::Wide(OptionsFile()).c_str());
    Search().ShowSearch();
    Pump();
    Press(Run().Edit(), VK_F4, false, true);
    EXPECT_TRUE(QuitPosted());
}

TEST_F(SearchWindowTest, ReactivationGivesTheFocusBackAndCtrlTabSwitchesPages) {
    // Without a window manager the activation wanders; the window must stay up meanwhile.
    CurrentOptions().autoHide = false;
    Search().ShowSearch();
    Pump();
    // On the robot page, showing the window focuses the robot's line.
    Search().ShowPage(int(Tab::Robot));
    Search().CloseRequest();
    Pump(100);
    Search().ShowSearch();
    Pump();
    EXPECT_EQ(::GetFocus(), Search().Robot().Edit());
    // Another window takes the activation; when ours gets it back, so does the control.
    const HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                         50, nullptr, nullptr, nullptr, nullptr);
    ::SetActiveWindow(other);
    Pump();
    EXPECT_NE(::GetFocus(), Search().Robot().Edit());
    ::SetActiveWindow(Search().Handle());
    Pump();
    EXPECT_EQ(::GetFocus(), Search().Robot().Edit());
    ::DestroyWindow(other);

    // Ctrl+Tab and Ctrl+PageDown go forward, wrapping; Ctrl+Shift+Tab and Ctrl+PageUp back.
    Press(Search().Robot().Edit(), VK_TAB, true);
    EXPECT_EQ(Search().ActiveTab(), Tab::About);
    EXPECT_EQ(::GetFocus(), Search().PageControl()); // a page without an input line
    Press(Search().PageControl(), VK_NEXT, true);
    EXPECT_EQ(Search().ActiveTab(), Tab::Run);
    EXPECT_EQ(::GetFocus(), Run().Edit());
    Press(Run().Edit(), VK_TAB, true, false, true);
    EXPECT_EQ(Search().ActiveTab(), Tab::About);
    Press(Search().PageControl(), VK_PRIOR, true);
    EXPECT_EQ(Search().ActiveTab(), Tab::Robot);
    EXPECT_EQ(::GetFocus(), Search().Robot().Edit());
}

// The system's file store, except that opening the catalog file waits until the test opens
// the gate: the window comes up while its catalog is still being read.
class GatedFileStore final : public FileStorePort {
public:
    std::unique_ptr<FileReader> OpenFile(const std::string& path,
                                         FileContent::Status& status) const override {
        if (path.size() >= 12 && path.compare(path.size() - 12, 12, "_Catalog.xml") == 0)
            gate_.wait();
        return platform::FileStore().OpenFile(path, status);
    }
    bool ReplaceFileWith(const std::string& path,
                         const std::function<bool(FileWriter&)>& produce) const override {
        return platform::FileStore().ReplaceFileWith(path, produce);
    }
    bool CreateFolders(const std::string& path) const override {
        return platform::FileStore().CreateFolders(path);
    }
    void Open() {
        if (!open_)
            opened_.set_value();
        open_ = true;
    }

private:
    bool open_ = false;
    std::promise<void> opened_;
    std::shared_future<void> gate_ = opened_.get_future().share();
};

TEST_F(SearchWindowTest, TheWindowWorksWhileTheCatalogLoadsAndListsItsRowsWhenItArrives) {
    app_.reset();
    GatedFileStore gated;
    const ProgramServices system = services_;
    const ProgramServices services{system.options,  {gated, system.catalog.xml},
                                   system.build,    system.fileInfo,
                                   system.shell,    system.shellNames,
                                   system.clock,    system.locale,
                                   system.registry, system.textFiles};
    app_ = std::make_unique<ui::Application>(services);
    // Whatever happens below, the loading thread is let go and the windows end before the
    // gate does.
    struct Release {
        GatedFileStore& gated;
        std::unique_ptr<ui::Application>& app;
        ~Release() {
            gated.Open();
            app.reset();
        }
    } release{gated, app_};
    ASSERT_TRUE(app_->CreateStartupObjects());
    app_->Start(StartMode::ShowSearch);
    Pump();
    CurrentOptions().autoHide = false;
    // The window answers at once: the input steps' rows, no catalog rows yet.
    SetInput(L"2+3");
    EXPECT_EQ(Rows(), std::vector<std::wstring>{L"Calculator"});
    SetInput(L"pad");
    EXPECT_EQ(RowCount(), 0);
    gated.Open();
    for (int i = 0; i < 200 && RowCount() == 0; ++i)
        Pump(10);
    // The typed text gets its catalog rows without another keystroke.
    EXPECT_EQ(Rows(), std::vector<std::wstring>{L"notepad.exe"});
    EXPECT_EQ(Text(Run().Edit()), L"pad");
}

TEST_F(SearchWindowTest, TrayExitEndsWithoutSaving) {
    ::DeleteFileW(win32::Wide(OptionsFile()).c_str());
    Main().TrayCommand(3); // exit
    Pump();
    EXPECT_TRUE(QuitPosted());
    EXPECT_TRUE(temp_.Read(OptionsFile()).empty());
    EXPECT_TRUE(Search().QuitRequested());
}

TEST_F(SearchWindowTest, RobotPageAnswersRecallsAndSwitchesPages) {
    Search().ShowSearch();
    Pump();
    Search().ShowPage(int(Tab::Robot));
    Pump();
    const HWND edit = Search().Robot().Edit();
    ::SetFocus(edit);
    Type(edit, L"calc 2+3");
    Press(edit, VK_RETURN);
    EXPECT_EQ(Text(edit), L"");
    const std::wstring display = Text(Search().Robot().Display());
    EXPECT_NE(display.find(L"\r\n2+3=5"), std::wstring::npos);
    Press(edit, VK_UP);
    EXPECT_EQ(Text(edit), L"calc 2+3");
    // Esc hides on the robot tab as well.
    Press(edit, VK_ESCAPE);
    EXPECT_FALSE(Search().Visible());
    // Page switching works only while the window is visible.
    ::SetWindowTextW(edit, L"about");
    Press(edit, VK_RETURN);
    EXPECT_EQ(Search().ActiveTab(), Tab::Robot);
    Search().ShowSearch();
    Pump();
    ::SetFocus(edit);
    ::SetWindowTextW(edit, L"about");
    Press(edit, VK_RETURN);
    EXPECT_EQ(Search().ActiveTab(), Tab::About);
    // Enter on the about tab does nothing; "exit" ends the program.
    Press(Search().About().Link(), VK_RETURN);
    EXPECT_FALSE(QuitPosted());
    Search().ShowPage(int(Tab::Robot));
    ::SetFocus(edit);
    ::SetWindowTextW(edit, L"exit");
    Press(edit, VK_RETURN);
    EXPECT_TRUE(QuitPosted());
}

TEST_F(SearchWindowTest, UnexpectedErrorsGoToTheRobotDisplay) {
    ui::ReportCurrentException(); // nothing is being handled: no crash
    try {
        throw std::runtime_error("List index out of bounds (0)");
    } catch (...) {
        ui::ReportCurrentException();
    }
    // The display wraps a long line into several where the font makes it too wide, and the
    // fonts differ between machines: compare the message with its wrapped rows joined again.
    const std::vector<std::string>& lines = Search().Robot().Memo().Lines();
    const auto first = std::find_if(lines.rbegin(), lines.rend(), [](const std::string& line) {
        return line.rfind("Application error raised! [", 0) == 0;
    });
    ASSERT_NE(first, lines.rend());
    const auto start = first.base() - 1;
    ASSERT_NE(start, lines.begin());
    EXPECT_EQ(*(start - 1), ""); // an empty line before the message
    std::string message;
    for (auto line = start; line != lines.end(); ++line)
        message += (line == start ? "" : " ") + *line;
    EXPECT_EQ(message, "Application error raised! [List index out of bounds (0)]");
    // WM_GETTEXT answers with the same rows.
    EXPECT_NE(Text(Search().Robot().Display()).find(L"\r\n\r\nApplication error raised! ["),
              std::wstring::npos);
}

} // namespace
} // namespace orvan::testing

namespace orvan::testing {
namespace {

class LaunchTest : public LauncherTest {
protected:
    void SetUp() override {
        WriteCatalog({{"C:\\nowhere-at-all\\ghost.exe", "Ghost", 0}});
        Start(StartMode::ShowSearch);
    }
};

TEST_F(LaunchTest, AShellFailureIsShownInTheMessageDialog) {
    SetInput(L"ghost");
    ASSERT_EQ(Rows(), std::vector<std::wstring>{L"Ghost"});
    std::wstring shown;
    const UINT_PTR timer = WhenDialogAppears(L"Error", [&](HWND dialog) {
        wchar_t text[256] = {};
        ::GetDlgItemTextW(dialog, 100, text, 256);
        shown = text;
        ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    Press(Run().Edit(), VK_RETURN);
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(shown == L"The specified file was not found." ||
                shown == L"The specified path was not found.")
        << win32::Narrow(shown.c_str());
    EXPECT_FALSE(Search().Visible()); // AutoHide
    EXPECT_EQ(Text(Run().Edit()), L"");
    EXPECT_EQ(CurrentOptions().runHistory,
              std::vector<std::string>{"C:\\nowhere-at-all\\ghost.exe"});
    // A catalog entry started from the list is learned: counted, and chosen for the text.
    const LaunchMemory& learned = App().Catalog().Memory();
    EXPECT_EQ(learned.CountOf("C:\\nowhere-at-all\\ghost.exe"), 1);
    ASSERT_EQ(learned.Texts().size(), 1u);
    EXPECT_EQ(learned.Texts()[0], (TypedChoice{"ghost", "Ghost", "C:\\nowhere-at-all\\ghost.exe"}));
    // Ctrl+Down brings the started path back.
    Search().ShowSearch();
    Pump();
    Press(Run().Edit(), VK_DOWN, true);
    EXPECT_EQ(Text(Run().Edit()), L"C:\\nowhere-at-all\\ghost.exe");
}

TEST_F(LaunchTest, EnterOnACalculationStartsNothingButClearsTheInput) {
    SetInput(L"2+3");
    Press(Run().Edit(), VK_RETURN);
    EXPECT_EQ(Text(Run().Edit()), L"");
    EXPECT_TRUE(Search().Visible());
    EXPECT_TRUE(CurrentOptions().runHistory.empty());
    // Enter with no candidate keeps the input.
    SetInput(L"no such thing at all");
    Press(Run().Edit(), VK_RETURN);
    EXPECT_EQ(Text(Run().Edit()), L"no such thing at all");
}

} // namespace
} // namespace orvan::testing

namespace orvan::testing {
namespace {

class CommandsTest : public LauncherTest {
protected:
    void SetUp() override {
        WriteCatalog({{"C:\\Apps\\alpha.exe", "Alpha", 0}});
        Start(StartMode::ShowSearch);
    }
};

std::wstring ClipboardText() {
    std::wstring text;
    if (!::OpenClipboard(nullptr))
        return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = chars;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

TEST_F(CommandsTest, ButtonsCopyTheDetailsAndCallTheDetailsCommand) {
    SetInput(L"2+3");
    ::SendMessageW(Run().Button(layout::kTagCopy), BM_CLICK, 0, 0);
    EXPECT_EQ(ClipboardText().rfind(L"5\r\n\r\n0000000000000005 HEX16\r\n5 bytes", 0), 0u);

    std::string shownText;
    HICON shownPicture = nullptr;
    Run().SetDetailsSlot({[&](const std::string& text, HICON picture) {
                              shownText = text;
                              shownPicture = picture;
                          },
                          [] { return false; }});
    // Disabled for a calculation: a click does nothing.
    ::SendMessageW(Run().Button(layout::kTagDetails), BM_CLICK, 0, 0);
    EXPECT_TRUE(shownText.empty());
    SetInput(L"alpha");
    ASSERT_TRUE(::IsWindowEnabled(Run().Button(layout::kTagDetails)));
    ::SendMessageW(Run().Button(layout::kTagDetails), BM_CLICK, 0, 0);
    EXPECT_EQ(shownText, win32::Narrow(Text(Run().Label()).c_str()));
    EXPECT_EQ(shownPicture, Run().IconPicture());
    EXPECT_NE(shownPicture, nullptr);
}

TEST_F(CommandsTest, F12RunsTheSettingsCommandWithoutBorderIcons) {
    bool hadSystemMenu = true;
    int calls = 0;
    App().Settings().show = [&] {
        ++calls;
        hadSystemMenu = (::GetWindowLongPtrW(Search().Handle(), GWL_STYLE) & WS_SYSMENU) != 0;
    };
    Press(Run().Edit(), VK_F12);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(hadSystemMenu);
    EXPECT_TRUE(::GetWindowLongPtrW(Search().Handle(), GWL_STYLE) & WS_SYSMENU);
    // The popup menu carries the same commands with their shortcuts.
    const HMENU menu = Search().PopupMenu();
    EXPECT_EQ(MenuItems(menu),
              (std::vector<std::wstring>{L"Pin to Quick\tCtrl+D", L"-", L"Options\tF12", L"-",
                                         L"Hide\tEsc", L"Exit\tAlt+F4"}));
}

TEST_F(CommandsTest, CtrlUpAndDownScrollTheRobotDisplay) {
    Search().ShowPage(int(Tab::Robot));
    Pump();
    for (int i = 0; i < 5; ++i)
        Search().Robot().Memo().AddLine("line " + std::to_string(i));
    const HWND edit = Search().Robot().Edit();
    ::SetFocus(edit);
    Press(edit, VK_DOWN, true);
    Press(edit, VK_DOWN, true);
    EXPECT_EQ(Search().Robot().Memo().FromLine(), 2);
    Press(edit, VK_UP, true);
    EXPECT_EQ(Search().Robot().Memo().FromLine(), 1);
    Press(edit, VK_UP, true);
    Press(edit, VK_UP, true); // below 0 is ignored
    EXPECT_EQ(Search().Robot().Memo().FromLine(), 0);
}

TEST_F(CommandsTest, TheDetailsLabelIsDraggedWithinItsText) {
    std::string lines;
    for (int i = 0; i < 30; ++i)
        lines += "line " + std::to_string(i) + "\r";
    ::SetWindowTextW(Run().Label(), win32::Wide(lines).c_str());
    auto* label = dynamic_cast<ui::ScrollLabel*>(
        reinterpret_cast<ui::Window*>(::GetWindowLongPtrW(Run().Label(), GWLP_USERDATA)));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->Model().HiddenBelow());
    const HWND window = Run().Label();
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 60));
    ::SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 20));
    EXPECT_EQ(label->Model().Offset().y, -40);
    EXPECT_TRUE(label->Model().HiddenAbove());
    ::SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 900));
    EXPECT_EQ(label->Model().Offset().y, 0); // the top edge stops it
    ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(10, 900));
    ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(10, 0));
    EXPECT_EQ(label->Model().Offset().y, 0); // no button held
    // The same text again keeps the place; a new one starts at the top.
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 60));
    ::SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 20));
    ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(10, 20));
    ::SetWindowTextW(window, win32::Wide(lines).c_str());
    EXPECT_EQ(label->Model().Offset().y, -40);
    ::SetWindowTextW(window, L"short");
    EXPECT_EQ(label->Model().Offset().y, 0);
}

} // namespace
} // namespace orvan::testing

namespace orvan::testing {
namespace {

class OptionsTest : public LauncherTest {};

TEST_F(OptionsTest, StoredGeometryAndStayOnTopApplyToTheWindow) {
    WriteOptions("[Form]\r\nAutoCenter=False\r\nAlwaysOnTop=True\r\nTop=50\r\nLeft=60\r\n"
                 "Width=400\r\nHeight=420\r\n");
    Start(StartMode::ShowSearch);
    RECT window;
    ::GetWindowRect(Search().Handle(), &window);
    EXPECT_EQ(window.left, 60);
    EXPECT_EQ(window.top, 50);
    EXPECT_EQ(window.right - window.left, 400);
    EXPECT_EQ(window.bottom - window.top, 420);
    EXPECT_TRUE(::GetWindowLongPtrW(Search().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    SettingsOptions options = CurrentOptions();
    options.alwaysOnTop = false;
    ApplyOptions(options);
    EXPECT_FALSE(::GetWindowLongPtrW(Search().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Without AutoCenter the window stays where it is when shown again; the save writes
    // where it is.
    ::SetWindowPos(Search().Handle(), nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Press(Run().Edit(), VK_ESCAPE);
    Search().ShowSearch();
    Pump();
    ::GetWindowRect(Search().Handle(), &window);
    EXPECT_EQ(window.left, 70);
    EXPECT_EQ(window.top, 80);
    ASSERT_TRUE(SaveOptions(CurrentOptions(), services_.options).Ok());
    const std::string ini = IniText(temp_.Read(OptionsFile()));
    EXPECT_NE(ini.find("Top=80"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Left=70"), std::string::npos);
    EXPECT_NE(ini.find("Width=400"), std::string::npos);
}

} // namespace
} // namespace orvan::testing
