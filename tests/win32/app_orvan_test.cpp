// Orvan.exe end to end under Wine: start-up modes, single instance, "-o", the quit message
// and the close command's save, with the installation record as a fixture.
#include "registry_install_record.h"
#include "ui_fixture.h"

#include "core/catalog/catalog_file.h"
#include "core/config/options.h"
#include "core/pages/notes.h"
#include "platform/native.h"
#include "win32/wide_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <string>

namespace orvan::testing {
namespace {

std::wstring ExePath() {
    std::wstring path = win32::Wide(ORVAN_EXE_PATH);
    if (!path.empty() && path.front() == L'/') { // a Unix path: Wine's drive Z:
        for (wchar_t& c : path)
            if (c == L'/')
                c = L'\\';
        path = L"Z:" + path;
    }
    return path;
}

class Process {
public:
    explicit Process(const std::wstring& arguments, const std::wstring& exe = ExePath()) {
        std::wstring command = L"\"" + exe + L"\"";
        if (!arguments.empty())
            command += L" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        started_ = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                    nullptr, &startup, &info_) != FALSE;
    }
    ~Process() {
        if (!started_)
            return;
        if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(info_.hProcess, 99);
        ::CloseHandle(info_.hThread);
        ::CloseHandle(info_.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return info_.dwProcessId; }
    // Ends it at once, as the task manager or a crash would: nothing of it runs after.
    void Kill() const {
        ::TerminateProcess(info_.hProcess, 99);
        ::WaitForSingleObject(info_.hProcess, 10000);
    }
    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD Wait(DWORD milliseconds) const {
        if (::WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0)
            return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + ULONGLONG(milliseconds);
    while (!condition()) {
        if (::GetTickCount64() > end)
            return false;
        ::Sleep(50);
    }
    return true;
}

HWND MainWindow(const wchar_t* title = L"Orvan!") {
    return ::FindWindowW(L"TzorMain", title);
}

struct Finder {
    const wchar_t* className;
    DWORD process;
    int count = 0;
    HWND found = nullptr;
};

BOOL CALLBACK Collect(HWND window, LPARAM data) {
    auto* finder = reinterpret_cast<Finder*>(data);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (lstrcmpW(name, finder->className) == 0 &&
        (!finder->process || process == finder->process)) {
        ++finder->count;
        finder->found = window;
    }
    return TRUE;
}

Finder FindWindows(const wchar_t* className, DWORD process = 0) {
    Finder finder{className, process};
    ::EnumWindows(Collect, reinterpret_cast<LPARAM>(&finder));
    return finder;
}

// The options and catalog files of the prefix's user, kept and put back.
class SavedUserFiles {
public:
    SavedUserFiles() {
        const OptionsServices options{platform::SpecialFolders(), platform::FileSystem(),
                                      platform::FileStore(), "Orvan.exe"};
        optionsFile_ = DefaultOptions(options).fileName;
        catalogFile_ = CatalogFileName(optionsFile_);
        for (const std::string* file : {&optionsFile_, &catalogFile_})
            saved_.push_back(platform::FileStore().ReadWholeFile(*file));
    }
    ~SavedUserFiles() {
        const std::string* files[] = {&optionsFile_, &catalogFile_};
        for (std::size_t i = 0; i < 2; ++i) {
            if (saved_[i].status == FileContent::Status::Read)
                platform::FileStore().ReplaceWholeFile(*files[i], saved_[i].bytes);
            else
                ::DeleteFileW(win32::Wide(*files[i]).c_str());
        }
    }
    const std::string& OptionsFile() const { return optionsFile_; }
    const std::string& CatalogFile() const { return catalogFile_; }

private:
    std::string optionsFile_;
    std::string catalogFile_;
    std::vector<FileContent> saved_;
};

class OrvanExeTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (MainWindow() || MainWindow(L"Orvan! - Install"))
            GTEST_SKIP() << "a launcher already runs in this Wine prefix";
        record_.Install();
    }
    InstallRecord record_;
    SavedUserFiles files_;
};

TEST_F(OrvanExeTest, SingleInstanceOptionsRequestAndTheQuitMessage) {
    Process resident(L"");
    ASSERT_TRUE(resident.Started());
    ASSERT_TRUE(WaitFor([] { return MainWindow() != nullptr; }, 30000));
    const HWND main = MainWindow();
    EXPECT_FALSE(::IsWindowVisible(main));
    Finder search = FindWindows(L"TSearch", resident.Id());
    ASSERT_EQ(search.count, 1);
    EXPECT_FALSE(::IsWindowVisible(search.found)); // resident: hidden

    // "-v" while it runs: the new process ends, nothing is shown.
    Process second(L"-v");
    EXPECT_EQ(second.Wait(20000), 0u);
    EXPECT_EQ(FindWindows(L"TzorMain").count, 1);
    EXPECT_FALSE(::IsWindowVisible(search.found));

    // "-o" while it runs: the running instance shows its search window.
    Process options(L"-options");
    EXPECT_EQ(options.Wait(20000), 0u);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(search.found) != FALSE; }, 5000));

    // The installer's stop: the quit message ends it with exit code 0, without saving.
    ::DeleteFileW(win32::Wide(files_.OptionsFile()).c_str());
    ::PostMessageW(main, WM_QUIT, 0, 0);
    EXPECT_EQ(resident.Wait(20000), 0u);
    EXPECT_EQ(MainWindow(), nullptr);
    EXPECT_EQ(platform::FileStore().ReadWholeFile(files_.OptionsFile()).status,
              FileContent::Status::Missing);
}

TEST_F(OrvanExeTest, ShownStartAndTheCloseCommandSaving) {
    ::DeleteFileW(win32::Wide(files_.OptionsFile()).c_str());
    ::DeleteFileW(win32::Wide(files_.CatalogFile()).c_str());
    Process shown(L"-v");
    ASSERT_TRUE(WaitFor([&] { return FindWindows(L"TSearch", shown.Id()).count == 1; }, 30000));
    const HWND search = FindWindows(L"TSearch", shown.Id()).found;
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(search) != FALSE; }, 10000));
    // Alt+F4 as the keyboard delivers it: saves options and catalog, then ends.
    ::PostMessageW(search, WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29));
    EXPECT_EQ(shown.Wait(20000), 0u);
    const FileContent ini = platform::FileStore().ReadWholeFile(files_.OptionsFile());
    ASSERT_EQ(ini.status, FileContent::Status::Read);
    EXPECT_NE(IniText(ini.bytes).find("[Form]"), std::string::npos);
    EXPECT_NE(IniText(ini.bytes).find("Top="), std::string::npos);
    EXPECT_EQ(platform::FileStore().ReadWholeFile(files_.CatalogFile()).status,
              FileContent::Status::Read);
}

TEST_F(OrvanExeTest, APortableCopyRunsWithItsFilesBesideItAndLeavesTheProfileAlone) {
    record_.Remove();
    ::DeleteFileW(win32::Wide(files_.OptionsFile()).c_str());
    ::DeleteFileW(win32::Wide(files_.CatalogFile()).c_str());
    UiTempFolder stick;
    const std::wstring exe = win32::Wide(stick.Path("Orvan.exe"));
    ASSERT_TRUE(::CopyFileW(ExePath().c_str(), exe.c_str(), FALSE));
    stick.Write(stick.Path("Orvan.ini"), "");

    // Not installed, yet it runs instead of handing over to the installer.
    Process portable(L"-v", exe);
    ASSERT_TRUE(WaitFor([&] { return FindWindows(L"TSearch", portable.Id()).count == 1; }, 30000));
    const HWND search = FindWindows(L"TSearch", portable.Id()).found;
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(search) != FALSE; }, 10000));
    ::PostMessageW(search, WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29));
    EXPECT_EQ(portable.Wait(20000), 0u);

    const std::string ini = IniText(stick.Read(stick.Path("Orvan.ini")));
    EXPECT_NE(ini.find("[Form]"), std::string::npos);
    EXPECT_NE(ini.find("[Portable]\r\nEnable=-1"), std::string::npos) << ini;
    EXPECT_FALSE(stick.Read(stick.Path("Orvan_Catalog.xml")).empty());
    EXPECT_EQ(platform::FileStore().ReadWholeFile(files_.OptionsFile()).status,
              FileContent::Status::Missing);
    EXPECT_EQ(platform::FileStore().ReadWholeFile(files_.CatalogFile()).status,
              FileContent::Status::Missing);
    EXPECT_FALSE(platform::Registry().KeyExists(RegistryRoot::CurrentUser, kInstallKey));
}

} // namespace
} // namespace orvan::testing

namespace orvan::testing {
namespace {

std::wstring RemoteText(HWND window) {
    wchar_t text[512] = {};
    ::SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

HWND ChildWithId(HWND parent, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (::GetDlgCtrlID(child) == s->id) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(OrvanExeTest, AnOutsideClientReadsTheWholeWindow) {
    Process shown(L"-v");
    ASSERT_TRUE(WaitFor([&] { return FindWindows(L"TSearch", shown.Id()).count == 1; }, 30000));
    const HWND search = FindWindows(L"TSearch", shown.Id()).found;
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(search) != FALSE; }, 10000));
    const HWND edit = ChildWithId(search, 1001);
    const HWND label = ChildWithId(search, 1003);
    const HWND list = ChildWithId(search, 1005);
    const HWND robot = ChildWithId(search, 1020);
    ASSERT_TRUE(edit && label && list && robot);

    EXPECT_EQ(RemoteText(ChildWithId(search, 1013)), L"Orvan!"); // the run button's hint
    EXPECT_EQ(RemoteText(ChildWithId(search, 1011)), L"View details");
    EXPECT_EQ(RemoteText(ChildWithId(search, 1012)), L"Copy details to clipboard");
    EXPECT_EQ(RemoteText(robot).rfind(L".#B1Orvan! @ morvane.example#B0\r\n", 0), 0u);

    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"2+3"));
    ASSERT_TRUE(WaitFor([&] { return ::SendMessageW(list, LB_GETCOUNT, 0, 0) == 1; }, 5000));
    EXPECT_EQ(RemoteText(label).rfind(L"5\r\r0000000000000005 HEX16", 0), 0u);
    // The rows answer with their names' lengths. Their texts travel between processes
    // through Active Accessibility (the rows' accessible names); a list box without strings
    // of its own cannot hand them over by LB_GETTEXT, and Wine has no proxy for
    // IAccessible, so under Wine the names are checked in-process (ui_list_access_test).
    EXPECT_EQ(::SendMessageW(list, LB_GETTEXTLEN, 0, 0), 10); // "Calculator"
    EXPECT_EQ(::SendMessageW(list, LB_GETCURSEL, 0, 0), 0);

    ::PostMessageW(FindWindows(L"TzorMain", shown.Id()).found, WM_QUIT, 0, 0);
    EXPECT_EQ(shown.Wait(20000), 0u);
}

// The notes file of the prefix's user, kept and put back.
class SavedNotes {
public:
    explicit SavedNotes(std::string file)
        : file_(std::move(file)), saved_(platform::FileStore().ReadWholeFile(file_)) {
        ::DeleteFileW(win32::Wide(file_).c_str());
    }
    ~SavedNotes() {
        if (saved_.status == FileContent::Status::Read)
            platform::FileStore().ReplaceWholeFile(file_, saved_.bytes);
        else
            ::DeleteFileW(win32::Wide(file_).c_str());
    }
    const std::string& File() const { return file_; }

private:
    std::string file_;
    FileContent saved_;
};

TEST_F(OrvanExeTest, ANoteTypedAMomentBeforeTheProgramIsKilledIsThereAtTheNextStart) {
    const SavedNotes notes(NotesFileName(files_.OptionsFile()));
    const std::wstring typed = L"typed, then killed \x20AC";
    {
        Process shown(L"-v");
        ASSERT_TRUE(WaitFor([&] { return FindWindows(L"TSearch", shown.Id()).count == 1; }, 30000));
        const HWND search = FindWindows(L"TSearch", shown.Id()).found;
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(search) != FALSE; }, 10000));
        const HWND edit = ChildWithId(search, 1060); // the notes page's edit
        ASSERT_TRUE(edit);
        for (const wchar_t c : typed)
            ::PostMessageW(edit, WM_CHAR, c, 1);
        ASSERT_TRUE(WaitFor([&] { return RemoteText(edit) == typed; }, 5000));
        ::Sleep(2500); // two seconds after the last keystroke, then no chance to save
        shown.Kill();
    }
    EXPECT_EQ(platform::FileStore().ReadWholeFile(notes.File()).bytes,
              "typed, then killed \xE2\x82\xAC");

    Process again(L"-v");
    ASSERT_TRUE(WaitFor([&] { return FindWindows(L"TSearch", again.Id()).count == 1; }, 30000));
    const HWND search = FindWindows(L"TSearch", again.Id()).found;
    // The window is found as soon as it exists, before its pages are made.
    HWND edit = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (edit = ChildWithId(search, 1060)) != nullptr; }, 10000));
    EXPECT_TRUE(WaitFor([&] { return RemoteText(edit) == typed; }, 10000))
        << win32::Narrow(RemoteText(edit).c_str());
    ::PostMessageW(FindWindows(L"TzorMain", again.Id()).found, WM_QUIT, 0, 0);
    EXPECT_EQ(again.Wait(20000), 0u);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

bool PutOnClipboard(const std::wstring& text, const wchar_t* marker = nullptr) {
    if (!::OpenClipboard(nullptr))
        return false;
    ::EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(::GlobalLock(memory), text.c_str(), bytes);
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_UNICODETEXT, memory);
    if (marker) {
        const DWORD zero = 0;
        HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
        std::memcpy(::GlobalLock(data), &zero, sizeof(DWORD));
        ::GlobalUnlock(data);
        ::SetClipboardData(::RegisterClipboardFormatW(marker), data);
    }
    ::CloseClipboard();
    return true;
}

TEST_F(OrvanExeTest, AnOutsideProgramDrivesTheQuickNotesAndClipboardPages) {
    platform::FileStore().ReplaceWholeFile(files_.OptionsFile(),
                                           "[Form]\r\nAutoHide=False\r\n[Quick]\r\nCount=2\r\n"
                                           "Item_1=C:\\nowhere-at-all\\ghost.exe|Ghost\r\n"
                                           "Item_2=C:\\nowhere-at-all\\|\r\n");
    Process shown(L"-v");
    ASSERT_TRUE(WaitFor([&] { return FindWindows(L"TSearch", shown.Id()).count == 1; }, 30000));
    const HWND search = FindWindows(L"TSearch", shown.Id()).found;
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(search) != FALSE; }, 10000));
    const HWND tabs = ChildWithId(search, 1000);
    const HWND quick = ChildWithId(search, 1052);
    const HWND notes = ChildWithId(search, 1060);
    const HWND clipboard = ChildWithId(search, 1072);
    ASSERT_TRUE(tabs && quick && notes && clipboard);

    // A tab chosen from outside shows its page with the focus in its main control.
    ::SendMessageW(tabs, TCM_SETCURSEL, 1, 0);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(quick) != FALSE; }, 5000));
    EXPECT_EQ(FocusOf(search), quick);
    EXPECT_EQ(RemoteText(quick), L"Ghost\r\nnowhere-at-all\r\n");
    EXPECT_EQ(::SendMessageW(quick, LB_GETCURSEL, 0, 0), 0);
    // Enter on the pinned entry: the shell's failure in the message dialog.
    ::PostMessageW(quick, WM_KEYDOWN, VK_RETURN, 1);
    HWND error = nullptr;
    EXPECT_TRUE(WaitFor(
        [&] {
            error = ::FindWindowW(L"#32770", L"Error");
            return error != nullptr;
        },
        10000));
    if (error)
        ::PostMessageW(error, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([] { return ::FindWindowW(L"#32770", L"Error") == nullptr; }, 5000));

    ::SendMessageW(tabs, TCM_SETCURSEL, 2, 0);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(notes) != FALSE; }, 5000));
    EXPECT_EQ(FocusOf(search), notes);

    // Texts another program copies are listed newest first; private ones never.
    ::SendMessageW(tabs, TCM_SETCURSEL, 3, 0);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(clipboard) != FALSE; }, 5000));
    EXPECT_EQ(FocusOf(search), clipboard);
    ASSERT_TRUE(PutOnClipboard(L"copied elsewhere"));
    ::Sleep(300);
    ASSERT_TRUE(PutOnClipboard(L"a password", L"ExcludeClipboardContentFromMonitorProcessing"));
    ::Sleep(300);
    ASSERT_TRUE(PutOnClipboard(L"another password", L"CanIncludeInClipboardHistory"));
    ::Sleep(300);
    ASSERT_TRUE(PutOnClipboard(L"copied again"));
    EXPECT_TRUE(WaitFor(
        [&] { return RemoteText(clipboard) == L"copied again\r\ncopied elsewhere\r\n"; }, 5000))
        << win32::Narrow(RemoteText(clipboard).c_str());

    ::PostMessageW(FindWindows(L"TzorMain", shown.Id()).found, WM_QUIT, 0, 0);
    EXPECT_EQ(shown.Wait(20000), 0u);
}

TEST_F(OrvanExeTest, AnOptionsStartOpensTheSettingsDialogOfTheRunningCopy) {
    Process resident(L"");
    ASSERT_TRUE(resident.Started());
    ASSERT_TRUE(WaitFor([] { return MainWindow() != nullptr; }, 30000));
    EXPECT_EQ(FindWindows(L"TSettings", resident.Id()).count, 1); // made at start-up, hidden
    EXPECT_EQ(::FindWindowW(L"TSettings", L"Options"), nullptr);

    Process options(L"-o");
    EXPECT_EQ(options.Wait(20000), 0u);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            dialog = ::FindWindowW(L"TSettings", L"Options");
            return dialog && ::IsWindowVisible(dialog);
        },
        10000));
    // Its controls are standard windows that another process reads.
    EXPECT_EQ(RemoteText(ChildWithId(dialog, IDOK)), L"Ok");
    EXPECT_EQ(RemoteText(ChildWithId(dialog, IDCANCEL)), L"Cancel");
    EXPECT_EQ(RemoteText(ChildWithId(dialog, 110)), L"Always visible");
    EXPECT_EQ(RemoteText(ChildWithId(dialog, 142)), L"Rebuild");
    EXPECT_EQ(RemoteText(ChildWithId(dialog, 121)), L"Language:");
    EXPECT_EQ(RemoteText(ChildWithId(dialog, 122)), L"Default");
    EXPECT_TRUE(RemoteText(ChildWithId(dialog, 140)).rfind(L"Catalog has ", 0) == 0);
    // The search window came up first; the dialog is its owned window.
    const Finder search = FindWindows(L"TSearch", resident.Id());
    EXPECT_TRUE(::IsWindowVisible(search.found));
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), search.found);

    // A second "-o" while it is open changes nothing.
    Process again(L"-o");
    EXPECT_EQ(again.Wait(20000), 0u);
    ::Sleep(700);
    EXPECT_EQ(::FindWindowW(L"TSettings", L"Options"), dialog);

    // Its close box: Cancel.
    ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(dialog); }, 5000));
    ::PostMessageW(MainWindow(), WM_QUIT, 0, 0);
    EXPECT_EQ(resident.Wait(20000), 0u);
}

TEST_F(OrvanExeTest, InstallerModeShowsTheInstallerAndClosingItEndsTheProgram) {
    Process installer(L"-i2");
    ASSERT_TRUE(
        WaitFor([&] { return FindWindows(L"TInstall", installer.Id()).count == 1; }, 30000));
    const HWND window = FindWindows(L"TInstall", installer.Id()).found;
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(window) != FALSE; }, 10000));
    EXPECT_NE(MainWindow(L"Orvan! - Install"), nullptr);
    EXPECT_EQ(MainWindow(), nullptr);
    // Every control is a window of its own that an outside client can read.
    EXPECT_EQ(RemoteText(window), L"Install of Orvan! @ morvane.example");
    EXPECT_EQ(RemoteText(ChildWithId(window, 101)), L"Operation:");
    EXPECT_EQ(RemoteText(ChildWithId(window, 103)), L"Repair existing installation");
    EXPECT_EQ(RemoteText(ChildWithId(window, 140)).rfind(L"Orvan! is already installed", 0), 0u);
    EXPECT_EQ(RemoteText(ChildWithId(window, IDOK)), L"Repair");
    EXPECT_EQ(RemoteText(ChildWithId(window, IDCANCEL)), L"Close");
    // A second installer start ends at once.
    Process second(L"-i2");
    EXPECT_EQ(second.Wait(20000), 0u);
    EXPECT_EQ(FindWindows(L"TInstall").count, 1);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(installer.Wait(20000), 0u);
    EXPECT_EQ(MainWindow(L"Orvan! - Install"), nullptr);
}

TEST_F(OrvanExeTest, AnUninstalledCopyHandsOverToTheInstaller) {
    record_.Remove();
    Process uninstalled(L"-v");
    EXPECT_EQ(uninstalled.Wait(20000), 0u);
    // Under Wine the elevated start is an ordinary one: the installer shows, nothing else.
    ASSERT_TRUE(WaitFor([] { return FindWindows(L"TInstall").count == 1; }, 30000));
    const HWND window = FindWindows(L"TInstall").found;
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(window) != FALSE; }, 10000));
    EXPECT_EQ(RemoteText(ChildWithId(window, 140)).rfind(L"Orvan! is ready to install", 0), 0u);
    EXPECT_EQ(RemoteText(ChildWithId(window, IDOK)), L"Install");
    EXPECT_EQ(MainWindow(), nullptr);
    EXPECT_EQ(FindWindows(L"TSearch").count, 1); // the installer's own, hidden
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([] { return MainWindow(L"Orvan! - Install") == nullptr; }, 20000));
}

} // namespace
} // namespace orvan::testing
