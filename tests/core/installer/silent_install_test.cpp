#include "core/installer/silent_install.h"

#include "core/base/date_format.h"
#include "core/installer/installer_fakes.h"

#include <gtest/gtest.h>

#include <functional>

namespace orvan {
namespace {

using testing::FakeRegistry;
using testing::InstallDisk;

constexpr const char* kDownloaded = "C:\\Downloads\\Orvan-0.1.0-beta.1-win64.exe";
constexpr const char* kAppData = "C:\\Users\\alice\\AppData\\Roaming";
constexpr const char* kLocalAppData = "C:\\Users\\alice\\AppData\\Local";
constexpr const char* kUserMenu = "C:\\Users\\alice\\Start Menu";
constexpr const char* kFolder = "C:\\Users\\alice\\AppData\\Local\\Programs\\Morvane\\Orvan\\";
constexpr const char* kOptionsFile =
    "C:\\Users\\alice\\AppData\\Roaming\\Morvane\\Orvan\\Orvan.ini";

class NoXml final : public XmlReaderPort {
public:
    XmlParseResult ParseStream(const XmlSource&, XmlEventHandler&) const override { return {}; }
};

class SilentTest : public ::testing::Test {
public:
    SilentTest() {
        folders.folders = {{Csidl::ProgramFiles, "C:\\Program Files"},
                           {Csidl::AppData, kAppData},
                           {Csidl::LocalAppData, kLocalAppData},
                           {Csidl::StartMenu, kUserMenu},
                           {Csidl::CommonStartMenu, "C:\\ProgramData\\Start Menu"}};
        disk.disk.AddFile(kDownloaded, "program bytes");
        disk.disk.AddFile("C:\\Downloads\\Languages\\German.lng", "[Language]\nCode=1031\n");
        disk.disk.AddFile(std::string(kUserMenu) + "\\Notes.lnk", "notes");
        disk.disk.AddFile("C:\\Downloads\\readme.txt", "the download's neighbour");
        clock.now = *EncodeMoment({2026, 3, 5, 14, 7, 9, 0, 0});
        SetCurrentLocale({});
        CurrentOptions() = {};
        CurrentInstallInfo() = {};
        instance.quitsToEnd = 0; // no resident copy
    }
    ~SilentTest() override { SetCurrentLocale(savedLocale); }

    InstallerServices Installer() {
        return {downloaded, {disk, xml}, registry, links, account,     clock,
                names,      shell,       log,      log,   programPath, {}};
    }
    int Install(InstallChoices choices) {
        const InstallerServices installer = Installer();
        return SilentInstall(std::move(choices), {installer, instance, log});
    }
    int Install() { return Install(SilentInstallChoices(kFolder, 1031)); }
    int Remove() {
        const InstallerServices installer = Installer();
        return SilentRemove({installer, instance, log});
    }
    bool Logged(const std::string& part) const {
        for (const std::string& line : log.lines)
            if (line.find(part) != std::string::npos)
                return true;
        return false;
    }
    // Everything a per-user installation could have left behind.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> left;
        const std::pair<RegistryRoot, const char*> keys[] = {
            {RegistryRoot::CurrentUser, kInstallKey},
            {RegistryRoot::CurrentUser, kUninstallKey},
            {RegistryRoot::LocalMachine, kInstallKey},
            {RegistryRoot::LocalMachine, kUninstallKey}};
        for (const auto& [root, key] : keys)
            if (registry.KeyExists(root, key))
                left.push_back(key);
        if (registry.HasValue(RegistryRoot::CurrentUser, kRunKey, "Orvan"))
            left.push_back("Run value");
        for (const std::string& folder :
             {std::string(kFolder), std::string(kUserMenu) + "\\Morvane\\Orvan",
              std::string(kAppData) + "\\Morvane\\Orvan"})
            if (disk.disk.FolderExists(folder.back() == '\\' ? folder.substr(0, folder.size() - 1)
                                                             : folder))
                left.push_back(folder);
        return left;
    }

    const LocaleSettings savedLocale = CurrentLocale();
    testing::FakeFolders folders;
    InstallDisk disk;
    // The running program is the download, as Orvan.exe's own services name it; the
    // installed copy reads the options named after "Orvan.exe".
    OptionsServices downloaded{folders, disk, disk, kDownloaded};
    OptionsServices options{folders, disk, disk, "Orvan.exe"};
    NoXml xml;
    FakeRegistry registry;
    testing::FakeLinks links{disk};
    testing::FakeAccount account;
    testing::SetClock clock;
    testing::NamesFromFiles names;
    testing::OpenRecorder shell;
    testing::FakeInstance instance;
    SilentLog log;
    std::string programPath = kDownloaded;
};

TEST(SilentInstallChoices, GoToTheUsersProgramsWithTheDefaultsAndTheLocalesLanguage) {
    testing::FakeFolders folders;
    folders.folders = {{Csidl::LocalAppData, kLocalAppData}};
    EXPECT_EQ(SilentInstallFolder(folders), kFolder);
    EXPECT_EQ(SilentInstallFolder(testing::FakeFolders{}), "");

    const InstallChoices choices = SilentInstallChoices(kFolder, 1036);
    InstallChoices expected; // what the installer window starts from
    expected.folder = kFolder;
    expected.language = 1036;
    expected.allUsers = false; // per-user programs need no elevation
    EXPECT_EQ(choices.folder, expected.folder);
    EXPECT_EQ(choices.language, expected.language);
    EXPECT_EQ(choices.hotKey, expected.hotKey);
    EXPECT_EQ(choices.allUsers, expected.allUsers);
    EXPECT_EQ(choices.createStartMenu, expected.createStartMenu);
    EXPECT_EQ(choices.autoStart, expected.autoStart);
    EXPECT_TRUE(choices.createStartMenu && choices.autoStart);

    const std::vector<LanguageFileInfo> shipped = {{1031, "Deutsch", "German.lng"},
                                                   {1036, "Français", "French.lng"}};
    const std::pair<std::int32_t, std::int32_t> locales[] = {
        {1031, 1031}, // German (Germany)
        {2055, 1031}, // German (Switzerland): the same language
        {3084, 1036}, // French (Canada)
        {1033, 1},    // English: the built-in texts
        {1049, 1},    // Russian: no file ships
        {0, 1},
    };
    for (const auto& [locale, language] : locales)
        EXPECT_EQ(LanguageForLocale(locale, shipped), language) << locale;
    EXPECT_EQ(LanguageForLocale(1031, {}), 1);
}

TEST_F(SilentTest, InstallsForTheCurrentUserWithoutAnyQuestion) {
    EXPECT_EQ(Install(), kSilentSucceeded);

    // Under the program's own name, not the download's.
    EXPECT_EQ(*disk.disk.Content(std::string(kFolder) + "Orvan.exe"), "program bytes");
    EXPECT_EQ(registry.ReadString(RegistryRoot::CurrentUser, kInstallKey, "File"), "Orvan.exe");
    EXPECT_TRUE(disk.FileExists(std::string(kFolder) + "Languages\\German.lng"));
    EXPECT_FALSE(disk.FileExists(std::string(kFolder) + "readme.txt"));
    const RegistryRoot user = RegistryRoot::CurrentUser;
    EXPECT_EQ(registry.ReadString(user, kInstallKey, "Path"), kFolder);
    EXPECT_EQ(registry.ReadString(user, kUninstallKey, "QuietUninstallString"),
              std::string("\"") + kFolder + "Orvan.exe\" -silent-remove");
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, kInstallKey));
    EXPECT_TRUE(registry.HasValue(user, kRunKey, "Orvan"));
    EXPECT_EQ(links.saved.size(), 3u);
    EXPECT_EQ(LoadOptions(options).language, 1031);
    EXPECT_EQ(LoadOptions(options).order, ResultOrder::Relevance); // a new installation's order
    EXPECT_TRUE(disk.FileExists(kOptionsFile));

    // Nothing asked, nothing started: the log says what was done.
    EXPECT_TRUE(shell.openedAsUser.empty());
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_TRUE(Logged("Installing Orvan! 0.1.0-beta.1 for the current user into \"" +
                       std::string(kFolder) + "\"."));
    EXPECT_TRUE(Logged("Installed: the program, its Apps & features entry, the start-menu "
                       "shortcuts, autostart, the options in \"" +
                       std::string(kOptionsFile) + "\""));
    EXPECT_FALSE(Logged("Question"));
}

// A failure leaves nothing of the new installation behind, whichever step it was, and the
// log says why; what was on the disk before stays.
TEST_F(SilentTest, AFailedInstallationIsRemovedAgain) {
    struct Case {
        const char* name;
        std::function<void(SilentTest&)> arrange;
        const char* logged;
    };
    const Case cases[] = {
        {"program folder", [](SilentTest& t) { t.disk.uncreatable = {kLocalAppData}; },
         "Error: Cannot create folder"},
        {"Apps & features entry",
         [](SilentTest& t) {
             t.registry.readOnly = {{RegistryRoot::CurrentUser, kUninstallKey}};
         },
         "Error: Cannot create/open registry key "
         "\"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvan\"."},
        {"third shortcut", [](SilentTest& t) { t.links.failAt = 2; },
         "Error: Cannot create shortcut"},
        {"Run value",
         [](SilentTest& t) {
             t.registry.readOnly = {{RegistryRoot::CurrentUser, kRunKey}};
         },
         "Error: Cannot create/open registry key"},
        {"options file", [](SilentTest& t) { t.disk.disk.failWrites = true; },
         "Error: Unable to write to C:\\Users\\alice\\AppData\\Roaming\\Morvane\\Orvan\\Orvan.ini"},
    };
    struct Fresh final : SilentTest {
        void TestBody() override {}
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh t;
        // The user's own file in the folder the installation goes to.
        t.disk.disk.AddFile(std::string(kLocalAppData) + "\\Programs\\Morvane\\Mine.txt", "x");
        c.arrange(t);
        EXPECT_EQ(t.Install(), kSilentFailed);
        t.registry.readOnly.clear();
        EXPECT_EQ(t.Leftovers(), std::vector<std::string>{});
        EXPECT_TRUE(t.Logged(c.logged)) << ::testing::PrintToString(t.log.lines);
        EXPECT_TRUE(t.Logged("The installation failed; what it had written was removed again."));
        EXPECT_TRUE(
            t.disk.FileExists(std::string(kLocalAppData) + "\\Programs\\Morvane\\Mine.txt"));
        EXPECT_TRUE(t.disk.FileExists(kDownloaded));
        EXPECT_TRUE(t.disk.FileExists(std::string(kUserMenu) + "\\Notes.lnk"));
    }
}

// Package managers run the new version's installer over the old one: the user's choices and
// options stay; the program file is replaced.
TEST_F(SilentTest, AnInstallationOfTheUserIsUpdatedInPlaceKeepingItsOptions) {
    InstallChoices earlier = SilentInstallChoices("D:\\Tools\\Orvan\\", 1036);
    earlier.hotKey = 0xC071;
    earlier.autoStart = false;
    ASSERT_EQ(Install(earlier), kSilentSucceeded);
    SettingsOptions changed = LoadOptions(options);
    changed.catalog.paths.resize(1);
    changed.autoHide = false;
    ASSERT_TRUE(SaveOptions(changed, options).Ok());
    disk.disk.AddFile(kDownloaded, "new program bytes");
    log.lines.clear();

    EXPECT_EQ(Install(), kSilentSucceeded);
    EXPECT_EQ(*disk.disk.Content("D:\\Tools\\Orvan\\Orvan.exe"), "new program bytes");
    EXPECT_FALSE(
        disk.FolderExists(std::string(kFolder).substr(0, std::string(kFolder).size() - 1)));
    const SettingsOptions kept = LoadOptions(options);
    EXPECT_EQ(kept.language, 1036);
    EXPECT_EQ(kept.hotKey, 0xC071);
    EXPECT_FALSE(kept.autoHide);
    EXPECT_EQ(kept.catalog.paths.size(), 1u);
    EXPECT_FALSE(registry.HasValue(RegistryRoot::CurrentUser, kRunKey, "Orvan"));
    EXPECT_TRUE(Logged("Updating the installation for the current user in \"D:\\Tools\\Orvan\\\""));
}

TEST_F(SilentTest, AMachineWideInstallationOrAResidentCopyThatStaysChangesNothing) {
    struct Case {
        const char* name;
        bool machineWide;
        int quitsToEnd;
        bool processLingers;
        int exitCode;
        const char* logged;
    };
    const Case cases[] = {
        {"installed for all users", true, 0, false, kSilentFailed,
         "Orvan! is installed for all users in \"C:\\Program Files\\Morvane\\Orvan\\\": remove "
         "that installation first. Nothing was changed."},
        {"a resident copy that stays", false, -1, false, kSilentFailed, "Nothing was changed."},
        {"a resident process that stays", false, 1, true, kSilentFailed, "Nothing was changed."},
        {"a resident copy that ends", false, 2, false, kSilentSucceeded, "Installed:"},
    };
    struct Fresh final : SilentTest {
        void TestBody() override {}
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh t;
        if (c.machineWide)
            t.registry.WriteString(RegistryRoot::LocalMachine, kInstallKey, "Path",
                                   "C:\\Program Files\\Morvane\\Orvan\\");
        t.instance.quitsToEnd = c.quitsToEnd;
        t.instance.processLingers = c.processLingers;
        EXPECT_EQ(t.Install(), c.exitCode);
        EXPECT_TRUE(t.Logged(c.logged)) << ::testing::PrintToString(t.log.lines);
        EXPECT_EQ(t.registry.KeyExists(RegistryRoot::CurrentUser, kInstallKey),
                  c.exitCode == kSilentSucceeded);
        EXPECT_EQ(
            t.disk.FolderExists(std::string(kFolder).substr(0, std::string(kFolder).size() - 1)),
            c.exitCode == kSilentSucceeded);
    }
}

TEST_F(SilentTest, RemovesWhatDetectionFindsAndSucceedsWhenNothingIsInstalled) {
    EXPECT_EQ(Remove(), kSilentSucceeded);
    EXPECT_TRUE(Logged("Orvan! is not installed: nothing to remove."));

    ASSERT_EQ(Install(), kSilentSucceeded);
    log.lines.clear();
    instance.quitsToEnd = 1; // the installed launcher runs
    EXPECT_EQ(Remove(), kSilentSucceeded);
    EXPECT_EQ(instance.quits, 1);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    EXPECT_TRUE(Logged("Removing the installation for the current user in \"" +
                       std::string(kFolder) + "\"."));
    EXPECT_TRUE(Logged("Removed."));
    EXPECT_FALSE(Logged("Notice")); // no farewell

    // A record that cannot be deleted fails the removal.
    ASSERT_EQ(Install(), kSilentSucceeded);
    registry.readOnly = {{RegistryRoot::CurrentUser, kInstallKey}};
    log.lines.clear();
    EXPECT_EQ(Remove(), kSilentFailed);
    EXPECT_TRUE(Logged("Error: Cannot create/open registry key \"Software\\Morvane\\Orvan\"."));
    EXPECT_TRUE(Logged("The removal failed."));
}

} // namespace
} // namespace orvan
