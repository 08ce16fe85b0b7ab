// The installer's adapters and its steps on the real (Wine) system: files copied and told
// apart in temporary folders, shortcut files read back through the shell, the registry under
// both roots, the resident copy's window, and whole installations and removals.
#include "catalog_temp.h"

#include "core/installer/installer.h"
#include "core/language/language.h"
#include "platform/native.h"
#include "platform/native_install.h"
#include "platform/win32/registry.h"
#include "win32/wide_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace orvan::testing {
namespace {

using win32::Narrow;
using win32::Wide;

std::string Lower(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST(InstallerFiles, CopiesByteForByteAndReplacesAnExistingFile) {
    const CatalogTempFolder temp;
    const FileSystemPort& files = platform::FileSystem();
    std::string bytes = "MZ";
    for (int i = 0; i < 70000; ++i)
        bytes += char(i * 7);
    temp.WriteBytes("source.exe", bytes);
    CreateDirectoryW(temp.WidePath("target").c_str(), nullptr);
    temp.WriteBytes("target\\Orvan.exe", "older program");

    ASSERT_TRUE(files.CopyFileReplacing(temp.Path("source.exe"), temp.Path("target\\Orvan.exe")));
    EXPECT_EQ(temp.ReadBytes("target\\Orvan.exe"), bytes);

    // Nothing to copy, or nowhere to put it.
    EXPECT_FALSE(files.CopyFileReplacing(temp.Path("missing.exe"), temp.Path("target\\x.exe")));
    EXPECT_FALSE(files.CopyFileReplacing(temp.Path("source.exe"), temp.Path("none\\Orvan.exe")));
    EXPECT_FALSE(files.CopyFileReplacing("", temp.Path("target\\x.exe")));
}

TEST(InstallerFiles, AFileIsItselfWhateverTheLetterCaseOfItsPath) {
    const CatalogTempFolder temp;
    const FileSystemPort& files = platform::FileSystem();
    temp.WriteBytes("Orvan.exe", "a");
    temp.WriteBytes("Other.exe", "a");

    const std::optional<FileIdentity> file = files.IdentityOf(temp.Path("Orvan.exe"));
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(files.IdentityOf(Lower(temp.Path("Orvan.exe"))), file);
    EXPECT_EQ(files.IdentityOf(temp.Path() + "\\.\\ORVAN.EXE"), file);
    EXPECT_NE(files.IdentityOf(temp.Path("Other.exe")), file);
    EXPECT_TRUE(files.IdentityOf(temp.Path()).has_value()); // a folder has one too
    EXPECT_FALSE(files.IdentityOf(temp.Path("missing.exe")).has_value());
    EXPECT_FALSE(files.IdentityOf("").has_value());

    // A file that is open for writing without sharing, as a running program may be, is
    // still recognised.
    HANDLE open = CreateFileW(temp.WidePath("Orvan.exe").c_str(), GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(IsSameFile(files, temp.Path("Orvan.exe"), Lower(temp.Path("Orvan.exe"))));
    CloseHandle(open);
    EXPECT_FALSE(IsSameFile(files, temp.Path("Orvan.exe"), temp.Path("Other.exe")));
}

TEST(InstallerRegistry, DeletesOneValueAndCountsAnAbsentOneAsDeleted) {
    const RegistryPort& registry = platform::Registry();
    const std::string key = "Software\\Morvane\\OrvanInstallerTest";
    registry.DeleteKeyTree(RegistryRoot::CurrentUser, key);
    EXPECT_TRUE(registry.DeleteValue(RegistryRoot::CurrentUser, key, "Orvan")); // no key
    ASSERT_TRUE(registry.WriteString(RegistryRoot::CurrentUser, key, "Orvan", "C:\\x.exe"));
    ASSERT_TRUE(registry.WriteString(RegistryRoot::CurrentUser, key, "Other", "y"));
    EXPECT_TRUE(registry.DeleteValue(RegistryRoot::CurrentUser, key, "Orvan"));
    EXPECT_TRUE(registry.DeleteValue(RegistryRoot::CurrentUser, key, "Orvan")); // gone already
    EXPECT_EQ(registry.ReadString(RegistryRoot::CurrentUser, key, "Orvan"), "");
    EXPECT_EQ(registry.ReadString(RegistryRoot::CurrentUser, key, "Other"), "y");
    EXPECT_TRUE(registry.DeleteKeyTree(RegistryRoot::CurrentUser, key));
}

// The Apps & features entry's sizes and flags are numbers: Windows reads them as REG_DWORD.
TEST(InstallerRegistry, WritesNumbersAsDoubleWords) {
    const RegistryPort& registry = platform::Registry();
    const std::string key = "Software\\Morvane\\OrvanInstallerTest";
    registry.DeleteKeyTree(RegistryRoot::CurrentUser, key);
    for (const std::uint32_t value : {0u, 1u, 4096u, 0xFFFFFFFFu}) {
        ASSERT_TRUE(registry.WriteNumber(RegistryRoot::CurrentUser, key, "EstimatedSize", value));
        DWORD type = 0;
        DWORD read = 0;
        DWORD size = sizeof(read);
        ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, win32::Wide(key).c_str(), L"EstimatedSize",
                                 RRF_RT_ANY, &type, &read, &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, DWORD(REG_DWORD));
        EXPECT_EQ(read, value);
    }
    EXPECT_TRUE(registry.DeleteKeyTree(RegistryRoot::CurrentUser, key));
}

// The standalone download installs the translations from its own resources: each must be
// the shipped file byte for byte.
TEST(InstallerLanguages, TheProgramCarriesEveryShippedTranslation) {
    std::string exe = ORVAN_EXE_PATH;
    if (!exe.empty() && exe.front() == '/') { // a Unix path: Wine's drive Z:
        std::replace(exe.begin(), exe.end(), '/', '\\');
        exe = "Z:" + exe;
    }
    for (const char* name : kShippedLanguageFiles) {
        SCOPED_TRACE(name);
        std::ifstream file(std::filesystem::path(ORVAN_LANGUAGES_DIR) / name, std::ios::binary);
        const std::string shipped(std::istreambuf_iterator<char>(file), {});
        ASSERT_FALSE(shipped.empty());
        const std::optional<std::string> carried = platform::ShippedLanguage(name, exe);
        ASSERT_TRUE(carried.has_value());
        EXPECT_TRUE(*carried == shipped);
    }
    EXPECT_FALSE(platform::ShippedLanguage("Klingon.lng", exe).has_value());
}

// Reads a shortcut file back through the shell's own link object.
struct ReadLink {
    bool loaded = false;
    std::string target, arguments, workingFolder, description;
};

// The shell's link object; see the adapter for why it is not taken from uuid.lib.
constexpr CLSID kShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

ReadLink LoadShortcut(const std::string& file) {
    ReadLink result;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER,
                                   __uuidof(IShellLinkW), reinterpret_cast<void**>(&link)))) {
        IPersistFile* persist = nullptr;
        if (SUCCEEDED(
                link->QueryInterface(__uuidof(IPersistFile), reinterpret_cast<void**>(&persist)))) {
            if (SUCCEEDED(persist->Load(Wide(file).c_str(), STGM_READ))) {
                wchar_t text[1024] = {};
                result.loaded = true;
                if (SUCCEEDED(link->GetPath(text, 1024, nullptr, SLGP_RAWPATH)))
                    result.target = Narrow(text);
                text[0] = 0;
                if (SUCCEEDED(link->GetArguments(text, 1024)))
                    result.arguments = Narrow(text);
                text[0] = 0;
                if (SUCCEEDED(link->GetWorkingDirectory(text, 1024)))
                    result.workingFolder = Narrow(text);
                text[0] = 0;
                if (SUCCEEDED(link->GetDescription(text, 1024)))
                    result.description = Narrow(text);
            }
            persist->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return result;
}

TEST(InstallerShortcuts, SavesTargetArgumentsWorkingFolderAndDescription) {
    const CatalogTempFolder temp;
    temp.WriteBytes("Orvan.exe", "MZ");
    const ShellLink link{temp.Path("Orvan.exe"), "-options", temp.Path() + "\\",
                         "This will show Orvan! option dialog."};
    const std::string file = temp.Path("Orvan! Options.lnk");
    ASSERT_TRUE(platform::ShellLinks().SaveShortcut(link, file));
    ReadLink read = LoadShortcut(file);
    ASSERT_TRUE(read.loaded);
    EXPECT_EQ(Lower(read.target), Lower(link.target));
    EXPECT_EQ(read.arguments, "-options");
    EXPECT_EQ(Lower(read.workingFolder), Lower(link.workingFolder));
    EXPECT_EQ(read.description, link.description);

    // Saved again, the file holds the new shortcut only.
    ASSERT_TRUE(
        platform::ShellLinks().SaveShortcut({link.target, "", link.workingFolder, "x"}, file));
    read = LoadShortcut(file);
    EXPECT_EQ(read.arguments, "");
    EXPECT_EQ(read.description, "x");

    EXPECT_FALSE(platform::ShellLinks().SaveShortcut(link, temp.Path("none\\Orvan!.lnk")));
    EXPECT_FALSE(platform::ShellLinks().SaveShortcut(link, ""));
}

TEST(InstallerUser, NamesTheLogonUser) {
    const std::string name = platform::UserAccount().LogonName();
    EXPECT_FALSE(name.empty());
    wchar_t environment[300] = {};
    if (GetEnvironmentVariableW(L"USERNAME", environment, 300) > 0) {
        EXPECT_EQ(Lower(name), Lower(Narrow(environment)));
    }
}

// A window of the main window's class with a title, on a thread of its own that runs a
// message loop until it receives the quit message, as a resident copy does.
class ResidentCopy {
public:
    explicit ResidentCopy(const wchar_t* title) : thread_([this, title] { Run(title); }) {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return created_; });
    }
    ~ResidentCopy() {
        if (thread_.joinable()) {
            PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
            thread_.join();
        }
    }
    ResidentCopy(const ResidentCopy&) = delete;
    ResidentCopy& operator=(const ResidentCopy&) = delete;

    // Waits until the thread's loop ended; true when it did within the time.
    bool Ended(DWORD milliseconds) {
        std::unique_lock lock(mutex_);
        return ready_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                               [this] { return ended_; });
    }

private:
    void Run(const wchar_t* title) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TzorMain";
        RegisterClassW(&windowClass); // fails harmlessly when another test registered it
        const HWND window =
            CreateWindowExW(0, L"TzorMain", title, WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
        {
            std::lock_guard lock(mutex_);
            threadId_ = GetCurrentThreadId();
            created_ = true;
        }
        ready_.notify_all();
        MSG message;
        while (window != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchMessageW(&message);
        DestroyWindow(window);
        {
            std::lock_guard lock(mutex_);
            ended_ = true;
        }
        ready_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    bool created_ = false;
    bool ended_ = false;
    DWORD threadId_ = 0;
    std::thread thread_;
};

class RecordedMessages final : public MessageDialogPort {
public:
    std::vector<std::pair<std::string, std::string>> shown;
    void ShowMessageDialog(const std::string& title, const std::string& text) override {
        shown.emplace_back(title, text);
    }
};

TEST(InstallerResidentCopy, IsFoundByClassAndTitleAndEndsOnRequest) {
    const RunningInstancePort& instance = platform::RunningInstance();
    ASSERT_FALSE(instance.IsRunning());
    EXPECT_FALSE(instance.PostQuit());
    {
        // The installer's own main window is not a resident copy.
        ResidentCopy installer(L"Orvan! - Install");
        EXPECT_FALSE(instance.IsRunning());
    }
    ResidentCopy resident(L"Orvan!");
    EXPECT_TRUE(instance.IsRunning());
    RecordedMessages messages;
    EXPECT_TRUE(StopRunningInstance(instance, messages));
    EXPECT_TRUE(resident.Ended(5000));
    EXPECT_FALSE(instance.IsRunning());
    EXPECT_TRUE(messages.shown.empty());
}

// The resident copy as another process: this test program started again with only the
// case below, which shows the main window, ends its loop on the quit message, and then,
// like a launcher saving on its way out, still runs for a while holding its file.
constexpr const wchar_t* kChildVariable = L"ORVAN_RESIDENT_CHILD";
constexpr DWORD kChildLingers = 1500;

TEST(InstallerResidentChild, ShowsTheWindowThenLingersAfterQuitting) {
    if (::GetEnvironmentVariableW(kChildVariable, nullptr, 0) == 0) {
        GTEST_SKIP() << "runs only as the resident copy of the next test";
    }
    {
        ResidentCopy resident(L"Orvan!");
        resident.Ended(INFINITE);
    }
    ::Sleep(kChildLingers);
}

TEST(InstallerResidentCopy, StopWaitsUntilTheProcessHasEnded) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command =
        L"\"" + std::wstring(self) + L"\" --gtest_filter=InstallerResidentChild.*";
    ::SetEnvironmentVariableW(kChildVariable, L"1");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const bool started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                          nullptr, nullptr, &startup, &child) != FALSE;
    ::SetEnvironmentVariableW(kChildVariable, nullptr);
    ASSERT_TRUE(started);
    ::CloseHandle(child.hThread);

    const RunningInstancePort& instance = platform::RunningInstance();
    for (int i = 0; i < 200 && !instance.IsRunning(); ++i)
        ::Sleep(50);
    ASSERT_TRUE(instance.IsRunning());
    RecordedMessages messages;
    EXPECT_TRUE(StopRunningInstance(instance, messages));
    // Stopped means the process is gone, not only its window.
    EXPECT_EQ(::WaitForSingleObject(child.hProcess, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(messages.shown.empty());
    ::WaitForSingleObject(child.hProcess, 10000);
    ::CloseHandle(child.hProcess);
}

// Special folders below a temporary folder, so that installations here never reach the
// machine's start menus or the user's options.
class TempFolders final : public SpecialFolderPort {
public:
    explicit TempFolders(const CatalogTempFolder& temp) : temp_(temp) {}
    std::string GetSpecialFolder(int folderNumber) const override {
        if (missing.count(folderNumber))
            return {};
        const std::string folder = temp_.Path("csidl" + std::to_string(folderNumber));
        CreateDirectoryW(Wide(folder).c_str(), nullptr);
        return folder;
    }
    std::map<int, bool> missing;

private:
    const CatalogTempFolder& temp_;
};

// Keeps the installation key and the Run value of both roots as they were before a test.
class RegistryGuard {
public:
    RegistryGuard() {
        for (const RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
            Saved& saved = saved_[root];
            saved.key = registry().KeyExists(root, kInstallKey);
            for (const char* name : {"Title", "Version", "Path", "Installed"})
                saved.values[name] = registry().ReadString(root, kInstallKey, name);
            saved.run = registry().ReadString(root, kRunKey, kRunValueName);
            Clear(root);
        }
    }
    ~RegistryGuard() {
        for (const auto& [root, saved] : saved_) {
            Clear(root);
            if (saved.key)
                for (const auto& [name, value] : saved.values)
                    registry().WriteString(root, kInstallKey, name, value);
            if (!saved.run.empty())
                registry().WriteString(root, kRunKey, kRunValueName, saved.run);
        }
    }
    RegistryGuard(const RegistryGuard&) = delete;
    RegistryGuard& operator=(const RegistryGuard&) = delete;

private:
    struct Saved {
        bool key = false;
        std::map<std::string, std::string> values;
        std::string run;
    };
    static const RegistryPort& registry() { return platform::Registry(); }
    static void Clear(RegistryRoot root) {
        registry().DeleteKeyTree(root, kInstallKey);
        registry().DeleteValue(root, kRunKey, kRunValueName);
    }
    std::map<RegistryRoot, Saved> saved_;
};

class NoQuestions final : public QuestionDialogPort {
public:
    int asked = 0;
    DialogAnswer AskYesNoCancel(const std::string&, const std::string&) override {
        ++asked;
        return DialogAnswer::No;
    }
};

class NoShell final : public ShellPort {
public:
    std::intptr_t Open(const std::string&, const std::string&, const std::string&,
                       int) const override {
        return 42;
    }
    bool RunAs(std::uintptr_t, const std::string&, const std::string&) const override {
        return false;
    }
};

class InstallerOnTheSystem : public ::testing::Test {
protected:
    InstallerOnTheSystem() {
        CreateDirectoryW(temp.WidePath("Downloads").c_str(), nullptr);
        program = "MZ installer";
        for (int i = 0; i < 5000; ++i)
            program += char(i);
        temp.WriteBytes("Downloads\\Orvan.exe", program);
    }

    InstallerServices Services() {
        return {options,
                {platform::FileStore(), platform::XmlReader()},
                platform::Registry(),
                platform::ShellLinks(),
                platform::UserAccount(),
                platform::Clock(),
                platform::ShellNames(),
                shell,
                messages,
                questions,
                temp.Path("Downloads\\Orvan.exe"),
                {}};
    }
    InstallChoices Choices(bool allUsers) const {
        InstallChoices choices;
        choices.folder = temp.Path("Program Files\\Morvane\\Orvan\\");
        choices.allUsers = allUsers;
        choices.hotKey = 0xC072;
        return choices;
    }
    bool Exists(const std::string& path) const {
        return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::string StartMenu(bool allUsers) const {
        return folders.GetSpecialFolder(allUsers ? Csidl::CommonStartMenu : Csidl::StartMenu) +
               "\\Morvane\\Orvan";
    }

    const RegistryGuard guard;
    const CatalogTempFolder temp;
    TempFolders folders{temp};
    OptionsServices options{folders, platform::FileSystem(), platform::FileStore(),
                            temp.Path("Downloads\\Orvan.exe")};
    NoShell shell;
    RecordedMessages messages;
    NoQuestions questions;
    std::string program;
};

TEST_F(InstallerOnTheSystem, InstallsAndRemovesForEitherScope) {
    const RegistryPort& registry = platform::Registry();
    for (const bool allUsers : {false, true}) {
        SCOPED_TRACE(allUsers ? "all users" : "current user");
        const RegistryRoot root = allUsers ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser;
        const RegistryRoot other =
            allUsers ? RegistryRoot::CurrentUser : RegistryRoot::LocalMachine;
        const InstallChoices choices = Choices(allUsers);
        const std::string target = choices.folder + "Orvan.exe";

        const InstallResult installed = InstallProgram(choices, Services());
        ASSERT_TRUE(installed.ok) << (messages.shown.empty() ? "" : messages.shown[0].second);
        EXPECT_TRUE(installed.closeWindow); // answered No
        EXPECT_EQ(temp.ReadBytes("Program Files\\Morvane\\Orvan\\Orvan.exe"), program);

        EXPECT_EQ(registry.ReadString(root, kInstallKey, "Path"), choices.folder);
        EXPECT_EQ(registry.ReadString(root, kInstallKey, "Version"), "0.1 Beta 1");
        EXPECT_EQ(registry.ReadString(root, kInstallKey, "Installed")
                      .rfind(platform::UserAccount().LogonName() + " @ ", 0),
                  0u);
        EXPECT_EQ(registry.ReadString(root, kRunKey, kRunValueName), '"' + target + '"');
        EXPECT_FALSE(registry.KeyExists(other, kInstallKey));
        EXPECT_EQ(registry.ReadString(other, kRunKey, kRunValueName), "");

        for (const StartMenuShortcut& shortcut : kStartMenuShortcuts) {
            const ReadLink link =
                LoadShortcut(StartMenu(allUsers) + "\\" + shortcut.title + ".lnk");
            ASSERT_TRUE(link.loaded) << shortcut.title;
            EXPECT_EQ(Lower(link.target), Lower(target));
            EXPECT_EQ(link.arguments, shortcut.arguments);
            EXPECT_EQ(Lower(link.workingFolder), Lower(choices.folder));
            EXPECT_EQ(link.description, shortcut.description);
        }
        const std::string appData = folders.GetSpecialFolder(Csidl::AppData);
        EXPECT_TRUE(Exists(appData + "\\Morvane\\Orvan\\Orvan.ini"));
        EXPECT_TRUE(Exists(appData + "\\Morvane\\Orvan\\Orvan_Catalog.xml"));

        ASSERT_TRUE(DetectInstallation({registry, options}));
        const InstallInfo info = CurrentInstallInfo();
        EXPECT_EQ(info.allUsers, allUsers);
        EXPECT_TRUE(info.startMenu);
        EXPECT_TRUE(info.autoStart);
        EXPECT_EQ(info.hotKey, 0xC072);

        const InstallResult removed = RemoveProgram(info, true, Services());
        EXPECT_TRUE(removed.ok);
        EXPECT_TRUE(removed.closeWindow);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].first, "Notice");
        messages.shown.clear();
        EXPECT_FALSE(Exists(target));
        EXPECT_FALSE(Exists(choices.folder));
        EXPECT_TRUE(Exists(temp.Path("Program Files\\Morvane")));
        EXPECT_FALSE(Exists(StartMenu(allUsers)));
        EXPECT_FALSE(Exists(appData + "\\Morvane\\Orvan"));
        EXPECT_FALSE(registry.KeyExists(root, kInstallKey));
        EXPECT_EQ(registry.ReadString(root, kRunKey, kRunValueName), "");
        EXPECT_FALSE(DetectInstallation({registry, options}));
    }
}

TEST_F(InstallerOnTheSystem, InstallingFromTheTargetItselfCopiesNothing) {
    // Started from the installed file through a path in other letters: the copy would
    // fail on the running file, which here stays open without sharing.
    InstallChoices choices = Choices(false);
    choices.createStartMenu = false;
    choices.autoStart = false;
    CreateDirectoryW(temp.WidePath("Program Files").c_str(), nullptr);
    CreateDirectoryW(temp.WidePath("Program Files\\Morvane").c_str(), nullptr);
    CreateDirectoryW(temp.WidePath("Program Files\\Morvane\\Orvan").c_str(), nullptr);
    temp.WriteBytes("Program Files\\Morvane\\Orvan\\Orvan.exe", "running");
    choices.folder = Lower(choices.folder);
    InstallerServices services = Services();
    services.programPath = temp.Path("Program Files\\Morvane\\Orvan\\Orvan.exe");
    HANDLE running = CreateFileW(Wide(services.programPath).c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(running, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(InstallProgram(choices, services).ok);
    CloseHandle(running);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(temp.ReadBytes("Program Files\\Morvane\\Orvan\\Orvan.exe"), "running");
    EXPECT_EQ(platform::Registry().ReadString(RegistryRoot::CurrentUser, kInstallKey, "Path"),
              choices.folder);
    EXPECT_FALSE(Exists(StartMenu(false)));
    EXPECT_EQ(platform::Registry().ReadString(RegistryRoot::CurrentUser, kRunKey, kRunValueName),
              "");
}

TEST_F(InstallerOnTheSystem, AProgramFolderThatCannotBeCreatedStopsBeforeAnythingElse) {
    temp.WriteBytes("occupied", "a file where the folder would go");
    InstallChoices choices = Choices(false);
    choices.folder = temp.Path("occupied\\Orvan");
    EXPECT_FALSE(InstallProgram(choices, Services()).ok);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, "Error");
    EXPECT_EQ(messages.shown[0].second, "Cannot create folder \"" + choices.folder + "\".");
    EXPECT_FALSE(platform::Registry().KeyExists(RegistryRoot::CurrentUser, kInstallKey));
    EXPECT_FALSE(Exists(StartMenu(false)));
    EXPECT_EQ(questions.asked, 0);
}

// Lets everyone read the key but nobody write it, the way an administrator may have locked
// it; gives full access back at the end so that it can be deleted.
class LockedKey {
public:
    explicit LockedKey(const wchar_t* path) : path_(path) {
        RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr);
        Apply(KEY_READ);
    }
    ~LockedKey() {
        Apply(KEY_ALL_ACCESS);
        RegCloseKey(key_);
        RegDeleteTreeW(HKEY_CURRENT_USER, path_);
        RegDeleteKeyW(HKEY_CURRENT_USER, path_);
    }
    LockedKey(const LockedKey&) = delete;
    LockedKey& operator=(const LockedKey&) = delete;

    // Whether the system refuses a write now.
    bool Locked() const {
        HKEY opened = nullptr;
        const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path_, 0, nullptr, 0, KEY_WRITE,
                                               nullptr, &opened, nullptr);
        if (status == ERROR_SUCCESS)
            RegCloseKey(opened);
        return status != ERROR_SUCCESS;
    }

private:
    void Apply(DWORD rights) {
        wchar_t everyone[] = L"EVERYONE";
        EXPLICIT_ACCESSW access{};
        access.grfAccessPermissions = rights;
        access.grfAccessMode = SET_ACCESS;
        access.grfInheritance = NO_INHERITANCE;
        access.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
        access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
        access.Trustee.ptstrName = everyone;
        PACL acl = nullptr;
        if (SetEntriesInAclW(1, &access, nullptr, &acl) != ERROR_SUCCESS)
            return;
        SetSecurityInfo(key_, SE_REGISTRY_KEY,
                        DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                        nullptr, acl, nullptr);
        LocalFree(acl);
    }

    const wchar_t* path_;
    HKEY key_ = nullptr;
};

TEST_F(InstallerOnTheSystem, ARegistryKeyThatCannotBeWrittenStopsAndKeepsWhatWasDone) {
    const LockedKey locked(L"Software\\Morvane\\Orvan");
    if (!locked.Locked())
        GTEST_SKIP() << "this system does not enforce registry key permissions";
    const InstallChoices choices = Choices(false);
    EXPECT_FALSE(InstallProgram(choices, Services()).ok);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].second,
              "Cannot create/open registry key \"Software\\Morvane\\Orvan\".");
    // The folder and the copied file stay; nothing after the key was made.
    EXPECT_EQ(temp.ReadBytes("Program Files\\Morvane\\Orvan\\Orvan.exe"), program);
    EXPECT_FALSE(Exists(StartMenu(false)));
    EXPECT_EQ(platform::Registry().ReadString(RegistryRoot::CurrentUser, kRunKey, kRunValueName),
              "");
}

} // namespace
} // namespace orvan::testing
