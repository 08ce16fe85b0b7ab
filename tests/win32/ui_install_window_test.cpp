// The installer window in the test process: its controls and texts on a fresh machine, the
// folder box, a whole installation and removal through the action button, the resident
// copy's Stop, and installer mode in the application.
#include "captions.h"
#include "catalog_temp.h"
#include "ui_fixture.h"

#include "core/language/language.h"
#include "platform/native_install.h"
#include "platform/win32/registry.h"
#include "ui/install_window.h"

#include <commctrl.h>

#include <functional>
#include <map>

namespace orvan::testing {
namespace {

using namespace ui::install_ids;

class Recorder final : public MessageDialogPort, public QuestionDialogPort {
public:
    std::vector<std::string> shown;
    DialogAnswer answer = DialogAnswer::Cancel;
    int asked = 0;
    void ShowMessageDialog(const std::string& title, const std::string& text) override {
        shown.push_back(title + ": " + text);
    }
    std::function<void()> whileAsked; // runs while the question is up
    DialogAnswer AskYesNoCancel(const std::string&, const std::string&) override {
        ++asked;
        if (whileAsked)
            whileAsked();
        return answer;
    }
};

// A resident copy as the installer sees it, switched by the test.
class SwitchedInstance final : public RunningInstancePort {
public:
    bool running = false;
    mutable int quits = 0;
    bool IsRunning() const override { return running; }
    bool PostQuit() const override {
        ++quits;
        const_cast<SwitchedInstance*>(this)->running = false;
        return true;
    }
    void Pause(std::uint32_t) const override {}
    bool WaitForExit(std::uint32_t) const override { return true; }
};

// Every special folder below the test's temporary folder.
class AllTempFolders final : public SpecialFolderPort {
public:
    explicit AllTempFolders(std::string root) : root_(std::move(root)) {}
    std::string GetSpecialFolder(int number) const override {
        const std::string folder = root_ + "\\csidl" + std::to_string(number);
        ::CreateDirectoryW(win32::Wide(folder).c_str(), nullptr);
        return folder;
    }

private:
    std::string root_;
};

// The installation key and Run value of both roots, put back as they were.
class SavedRecords {
public:
    SavedRecords() {
        for (const RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
            auto& values = saved_[root];
            if (registry().KeyExists(root, kInstallKey))
                for (const char* name : {"Title", "Version", "Path", "Installed"})
                    values[name] = registry().ReadString(root, kInstallKey, name);
            runs_[root] = registry().ReadString(root, kRunKey, kRunValueName);
            registry().DeleteKeyTree(root, kInstallKey);
            registry().DeleteValue(root, kRunKey, kRunValueName);
        }
    }
    ~SavedRecords() {
        for (const auto& [root, values] : saved_) {
            registry().DeleteKeyTree(root, kInstallKey);
            registry().DeleteValue(root, kRunKey, kRunValueName);
            for (const auto& [name, value] : values)
                registry().WriteString(root, kInstallKey, name, value);
            if (!runs_[root].empty())
                registry().WriteString(root, kRunKey, kRunValueName, runs_[root]);
        }
    }
    SavedRecords(const SavedRecords&) = delete;
    SavedRecords& operator=(const SavedRecords&) = delete;

private:
    static const RegistryPort& registry() { return platform::Registry(); }
    std::map<RegistryRoot, std::map<std::string, std::string>> saved_;
    std::map<RegistryRoot, std::string> runs_;
};

class InstallWindowTest : public ::testing::Test {
protected:
    InstallWindowTest()
        : folders_(temp_.Path()),
          services_(
              WithSpecialFolders(platform::SystemServices(temp_.Path("Orvan.exe")), folders_)) {
        platform::UseSystemLocaleAndClock();
        temp_.WriteBytes("Orvan.exe", "MZ the program");
        window_ = std::make_unique<ui::InstallWindow>(ui::InstallWindowServices{
            services_, platform::ShellLinks(), platform::UserAccount(), instance_, dialogs_,
            dialogs_, temp_.Path("Orvan.exe"), [this] { ++closed_; }, nullptr});
        window_->Create();
    }

    std::wstring Text(int id) const { return ui::WindowText(window_->Control(id)); }
    bool Visible(int id) const { return ::IsWindowVisible(window_->Control(id)) != FALSE; }
    bool Enabled(int id) const { return ::IsWindowEnabled(window_->Control(id)) != FALSE; }
    bool Checked(int id) const {
        return ::SendMessageW(window_->Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    int Count(int id) const { return int(::SendMessageW(window_->Control(id), CB_GETCOUNT, 0, 0)); }
    std::wstring Selected(int id) const {
        const HWND list = window_->Control(id);
        const LRESULT index = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
        wchar_t text[256] = {};
        ::SendMessageW(list, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text));
        return text;
    }
    void Click(int id) { ::SendMessageW(window_->Control(id), BM_CLICK, 0, 0); }
    // Chooses the drop-down's item with the value, as the user does.
    void Pick(int id, LPARAM value) {
        const HWND list = window_->Control(id);
        for (int i = 0; i < Count(id); ++i)
            if (::SendMessageW(list, CB_GETITEMDATA, WPARAM(i), 0) == value)
                ::SendMessageW(list, CB_SETCURSEL, WPARAM(i), 0);
        ::SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list));
    }

    const SavedRecords records_;
    const CatalogTempFolder temp_;
    AllTempFolders folders_;
    ProgramServices services_;
    SwitchedInstance instance_;
    Recorder dialogs_;
    int closed_ = 0;
    std::unique_ptr<ui::InstallWindow> window_;
};

TEST_F(InstallWindowTest, AFreshMachineOffersInstallWithTheDefaults) {
    window_->Show();
    EXPECT_EQ(ui::WindowText(window_->Handle()), L"Install of Orvan! @ morvane.example");
    RECT client{};
    ::GetClientRect(window_->Handle(), &client);
    if (At96Dpi(window_->Handle())) {
        EXPECT_EQ(client.right, 409);
        EXPECT_EQ(client.bottom, 428); // room for the order box
    }
    const std::pair<int, const wchar_t*> texts[] = {
        {OperationLabel, L"Operation:"},
        {InstallRadio, L"Install new instance of Orvan!"},
        {RepairRadio, L"Repair existing installation"},
        {RemoveRadio, L"Remove all installed files from your computer"},
        {LanguageLabel, L"Language:"},
        {HotKeyLabel, L"Hot Key:"},
        {PathLabel, L"Program directory:"},
        {ScopeLabel, L"Install for:"},
        {StartMenu, L"Create ShortCut in start menu"},
        {AutoStart, L"Launch Orvan! on startup"},
        {OrderByRelevance, L"Order results by relevance"},
        {ActionButton, L"Install"},
        {CloseButton, L"Close"},
        {DetailsFirst, L"Title:"},
        {DetailsFirst + 10, L"Run on startup:"},
    };
    for (const auto& [id, text] : texts)
        EXPECT_EQ(Text(id), text) << id;
    EXPECT_EQ(Text(Status).rfind(L"Orvan! is ready to install on your computer.", 0), 0u);

    EXPECT_TRUE(Enabled(InstallRadio));
    EXPECT_TRUE(Checked(InstallRadio));
    EXPECT_FALSE(Enabled(RepairRadio));
    EXPECT_FALSE(Enabled(RemoveRadio));
    EXPECT_EQ(::GetFocus(), window_->Control(InstallRadio));
    // The options page, not the details.
    EXPECT_TRUE(Visible(Path));
    EXPECT_FALSE(Visible(DetailsFirst + 1));

    EXPECT_EQ(Count(Path), 4);
    EXPECT_EQ(Text(Path), win32::Wide(temp_.Path("csidl38\\Morvane\\Orvan\\")));
    EXPECT_EQ(Count(Language), 204);
    EXPECT_EQ(Selected(Language), L"Default");
    EXPECT_EQ(Count(HotKey), 9);
    EXPECT_EQ(Selected(HotKey).rfind(L"Alt+", 0), 0u);
    EXPECT_EQ(Selected(Scope), L"All users");
    EXPECT_TRUE(Checked(StartMenu));
    EXPECT_TRUE(Checked(AutoStart));
    EXPECT_TRUE(Checked(OrderByRelevance)); // a new installation orders by relevance
}

// Under a pseudo-language in which every table text reads "[[Text]]", a text without the
// brackets bypasses the table. Picking a language switches the window at once and keeps
// what the user has chosen so far.
TEST_F(InstallWindowTest, PickingALanguageShowsEveryTextInItAtOnce) {
    const EnglishAfterwards english;
    WritePseudoLanguage(temp_.Path("Orvan.exe"), 1031);
    window_->Show();
    Pick(Scope, 1);
    Click(StartMenu);
    ::SetWindowTextW(window_->Control(Path), L"D:\\Chosen");
    Pick(Language, 1031);

    const std::vector<ShownText> texts = WindowTexts(window_->Handle(), L"installer");
    const auto keyNames = [&](const ShownText& shown) {
        return shown.window == window_->Control(HotKey);
    };
    EXPECT_EQ(Untranslated(texts, keyNames), std::vector<std::wstring>{});
    EXPECT_EQ(Text(InstallRadio), L"[[Install new instance of Orvan!]]");
    EXPECT_EQ(Selected(Language), L"[[German]] ([[Pseudo]])");
    EXPECT_EQ(Selected(Scope), L"[[Current user]]");
    EXPECT_FALSE(Checked(StartMenu));
    EXPECT_EQ(Text(Path), L"D:\\Chosen");

    Pick(Language, 1);
    EXPECT_EQ(Text(InstallRadio), L"Install new instance of Orvan!");
    EXPECT_EQ(Selected(Scope), L"Current user");
}

// The shipped translations run longer than English; the installer shows every caption whole
// in each.
TEST_F(InstallWindowTest, TheShippedLanguagesFitTheWindow) {
    const EnglishAfterwards english;
    ::CreateDirectoryW(temp_.WidePath("Languages").c_str(), nullptr);
    for (const ShippedLanguage& language : kShippedLanguages) {
        const std::string bytes = ShippedLanguageBytes(language);
        ASSERT_FALSE(bytes.empty()) << language.file;
        temp_.WriteBytes(std::string("Languages\\") + language.file, bytes);
    }
    window_->Show();
    for (const auto& [file, code] : kShippedLanguages) {
        SCOPED_TRACE(file);
        Pick(Language, code);
        ASSERT_EQ(CurrentLanguageCode(), code);
        const std::vector<std::wstring> clipped = ClippedCaptions(window_->Handle(), L"installer");
        EXPECT_EQ(clipped, std::vector<std::wstring>{});
    }
}

TEST_F(InstallWindowTest, TheFolderBoxRefusesTheSeparator) {
    window_->Show();
    const HWND edit = ::FindWindowExW(window_->Control(Path), nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    ::SetWindowTextW(window_->Control(Path), L"C:\\Apps");
    ::SendMessageW(edit, EM_SETSEL, 7, 7);
    for (const wchar_t c : std::wstring(L"|x|"))
        ::SendMessageW(edit, WM_CHAR, c, 1);
    EXPECT_EQ(Text(Path), L"C:\\Appsx");
    // Choosing a suggestion puts it into the box.
    ::SendMessageW(window_->Control(Path), CB_SETCURSEL, 2, 0);
    EXPECT_EQ(Text(Path), win32::Wide(temp_.Path("csidl40\\Morvane\\Orvan\\")));
}

TEST_F(InstallWindowTest, InstallsThenShowsTheInstallationAndRemovesIt) {
    window_->Show();
    const std::wstring folder = win32::Wide(temp_.Path("Apps\\Orvan"));
    ::SetWindowTextW(window_->Control(Path), folder.c_str());
    ::SendMessageW(window_->Control(Scope), CB_SETCURSEL, 1, 0); // current user
    ::SendMessageW(window_->Control(AutoStart), BM_SETCHECK, BST_UNCHECKED, 0);
    dialogs_.answer = DialogAnswer::Cancel; // stay in the window
    Click(ActionButton);
    ASSERT_EQ(dialogs_.shown, std::vector<std::string>{});
    EXPECT_EQ(dialogs_.asked, 1);
    EXPECT_EQ(closed_, 0);
    EXPECT_EQ(temp_.ReadBytes("Apps\\Orvan\\Orvan.exe"), "MZ the program");
    EXPECT_EQ(platform::Registry().ReadString(RegistryRoot::CurrentUser, kInstallKey, "Path"),
              win32::Narrow(folder.c_str()));

    // Installed: Repair is offered, with the options page.
    EXPECT_FALSE(Enabled(InstallRadio));
    EXPECT_TRUE(Checked(RepairRadio));
    EXPECT_EQ(Text(ActionButton), L"Repair");
    EXPECT_EQ(Text(Status).rfind(L"Orvan! is already installed", 0), 0u);
    // The user's entries stay.
    EXPECT_EQ(Text(Path), folder);

    // Remove shows what is installed.
    Click(RemoveRadio);
    EXPECT_EQ(Text(ActionButton), L"Remove");
    EXPECT_FALSE(Visible(Path));
    EXPECT_TRUE(Visible(DetailsFirst + 5));
    EXPECT_EQ(Text(DetailsFirst + 5), folder);
    EXPECT_EQ(Text(DetailsFirst + 9), L"Yes"); // start menu
    EXPECT_EQ(Text(DetailsFirst + 11), L"No"); // run on startup

    Click(ActionButton);
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0],
              "Notice: Orvan! is now uninstalled. The installation process will be close. Bye!");
    EXPECT_EQ(closed_, 1);
    EXPECT_FALSE(::IsWindowVisible(window_->Handle()));
    EXPECT_FALSE(platform::Registry().KeyExists(RegistryRoot::CurrentUser, kInstallKey));
    EXPECT_TRUE(temp_.ReadBytes("Apps\\Orvan\\Orvan.exe").empty());
}

// The question after an installation comes while the operation still runs: until it ends,
// the close box, Esc and Close do nothing, and the status showed the rebuild's progress.
TEST_F(InstallWindowTest, WhileAnOperationRunsTheWindowStaysAndShowsTheRebuild) {
    window_->Show();
    ::SetWindowTextW(window_->Control(Path), win32::Wide(temp_.Path("Apps\\Orvan")).c_str());
    ::SendMessageW(window_->Control(Scope), CB_SETCURSEL, 1, 0); // current user
    ::SendMessageW(window_->Control(AutoStart), BM_SETCHECK, BST_UNCHECKED, 0);
    std::wstring statusWhileAsked;
    dialogs_.whileAsked = [&] {
        ::SendMessageW(window_->Handle(), WM_CLOSE, 0, 0);
        ::SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        Click(CloseButton);
        statusWhileAsked = Text(Status);
    };
    dialogs_.answer = DialogAnswer::Cancel; // stay in the window
    Click(ActionButton);
    EXPECT_EQ(dialogs_.asked, 1);
    EXPECT_EQ(closed_, 0);
    EXPECT_TRUE(::IsWindowVisible(window_->Handle()));
    EXPECT_EQ(statusWhileAsked.rfind(L"Building the catalog: ", 0), 0u) << statusWhileAsked;
    // Once it is over, Close works again.
    Click(CloseButton);
    EXPECT_EQ(closed_, 1);
}

TEST_F(InstallWindowTest, WhileAResidentCopyRunsOnlyStopIsOffered) {
    instance_.running = true;
    window_->Show();
    EXPECT_FALSE(Enabled(InstallRadio));
    EXPECT_FALSE(Enabled(RepairRadio));
    EXPECT_FALSE(Enabled(RemoveRadio));
    EXPECT_EQ(Text(ActionButton), L"Stop");
    EXPECT_EQ(Text(Status).rfind(L"Orvan! is running on your computer now.", 0), 0u);
    EXPECT_FALSE(Visible(Path)); // the empty page
    EXPECT_FALSE(Visible(DetailsFirst + 1));

    Click(ActionButton);
    EXPECT_EQ(instance_.quits, 1);
    EXPECT_EQ(Text(ActionButton), L"Install");
    EXPECT_TRUE(Visible(Path));
    EXPECT_EQ(closed_, 0);
}

TEST_F(InstallWindowTest, TheTimerNoticesAResidentCopyOnlyWhileTheWindowIsVisible) {
    window_->Show();
    instance_.running = true;
    ::SendMessageW(window_->Handle(), WM_TIMER, ui::kInstallTimer, 0);
    EXPECT_EQ(Text(ActionButton), L"Stop");
    ::ShowWindow(window_->Handle(), SW_HIDE);
    instance_.running = false;
    ::SendMessageW(window_->Handle(), WM_TIMER, ui::kInstallTimer, 0);
    EXPECT_EQ(Text(ActionButton), L"Stop");
}

class InstallerModeTest : public LauncherTest {
protected:
    const SavedRecords records_;
};

TEST_F(InstallerModeTest, ShowsTheInstallerUnderItsMainWindowAndEscEndsTheProgram) {
    Start(StartMode::Installer);
    ui::InstallWindow& install = App().Install();
    EXPECT_TRUE(::IsWindowVisible(install.Handle()));
    EXPECT_EQ(ui::WindowText(Main().Handle()), L"Orvan! - Install");
    EXPECT_FALSE(::IsWindowVisible(Search().Handle()));
    Press(install.Control(InstallRadio), VK_ESCAPE);
    Pump(200);
    EXPECT_TRUE(QuitPosted());
    EXPECT_FALSE(::IsWindowVisible(install.Handle()));
}

} // namespace
} // namespace orvan::testing
