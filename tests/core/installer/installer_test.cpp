#include "core/installer/installer.h"

#include "core/base/date_format.h"
#include "core/catalog/scanner.h"
#include "core/config/path_variables.h"
#include "core/installer/installer_fakes.h"
#include "core/language/language.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace orvan {
namespace {

using testing::FakeFolders;
using testing::FakeInstance;
using testing::FakeLinks;
using testing::FakeRegistry;
using testing::InstallDisk;

constexpr const char* kDownloaded = "C:\\Downloads\\Orvan.exe";
constexpr const char* kAppData = "C:\\Users\\alice\\AppData\\Roaming";
constexpr const char* kLocalAppData = "C:\\Users\\alice\\AppData\\Local";
constexpr const char* kUserMenu = "C:\\Users\\alice\\Start Menu";
constexpr const char* kCommonMenu = "C:\\ProgramData\\Start Menu";
constexpr const char* kOptionsFile =
    "C:\\Users\\alice\\AppData\\Roaming\\Morvane\\Orvan\\Orvan.ini";
constexpr const char* kCatalogFile =
    "C:\\Users\\alice\\AppData\\Roaming\\Morvane\\Orvan\\Orvan_Catalog.xml";

// The catalog is only written here, never read.
class NoXml final : public XmlReaderPort {
public:
    XmlParseResult ParseStream(const XmlSource&, XmlEventHandler&) const override { return {}; }
};

double Moment(int year, int month, int day, int hour, int minute, int second) {
    return *EncodeMoment({year, month, day, hour, minute, second, 0, 0});
}

class InstallerTest : public ::testing::Test {
public:
    InstallerTest() {
        folders.folders = {{Csidl::ProgramFiles, "C:\\Program Files"},
                           {Csidl::AppData, kAppData},
                           {Csidl::LocalAppData, kLocalAppData},
                           {Csidl::StartMenu, kUserMenu},
                           {Csidl::CommonStartMenu, kCommonMenu}};
        disk.disk.AddFile(kDownloaded, "program bytes");
        disk.disk.AddFile(std::string(kUserMenu) + "\\Notes.lnk", "notes");
        clock.now = Moment(2026, 3, 5, 14, 7, 9);
        SetCurrentLocale({});
        CurrentOptions() = {};
        CurrentInstallInfo() = {};
    }
    ~InstallerTest() override { SetCurrentLocale(savedLocale); }

    InstallerServices Services() {
        return {options, {disk, xml}, registry, links,     account,     clock,
                names,   shell,       messages, questions, programPath, {}};
    }
    static InstallChoices Choices(bool allUsers = false) {
        InstallChoices choices;
        choices.folder = "C:\\Apps\\Orvan";
        choices.language = 1031;
        choices.hotKey = 0xC071;
        choices.allUsers = allUsers;
        return choices;
    }
    std::string Value(RegistryRoot root, const std::string& key, const std::string& name) {
        return registry.ReadString(root, key, name);
    }
    InstallInfo Detected() {
        DetectInstallation({registry, options});
        return CurrentInstallInfo();
    }

    const LocaleSettings savedLocale = CurrentLocale();
    FakeFolders folders;
    InstallDisk disk;
    OptionsServices options{folders, disk, disk, "Orvan.exe"};
    NoXml xml;
    FakeRegistry registry;
    FakeLinks links{disk};
    testing::FakeAccount account;
    testing::SetClock clock;
    testing::NamesFromFiles names;
    testing::OpenRecorder shell;
    testing::MessageRecorder messages;
    testing::ScriptedQuestions questions;
    std::string programPath = kDownloaded;
    InstallChoices choice; // what a table case installs with
};

TEST_F(InstallerTest, InstallsEveryPartForTheCurrentUser) {
    const InstallResult result = InstallProgram(Choices(), Services());
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(messages.shown.empty());

    // The program file, copied beside nothing else.
    ASSERT_NE(disk.disk.Content("C:\\Apps\\Orvan\\Orvan.exe"), nullptr);
    EXPECT_EQ(*disk.disk.Content("C:\\Apps\\Orvan\\Orvan.exe"), "program bytes");

    // The record under the user's root, the path as typed.
    const RegistryRoot user = RegistryRoot::CurrentUser;
    EXPECT_EQ(Value(user, kInstallKey, "Title"), "Orvan! @ morvane.example");
    EXPECT_EQ(Value(user, kInstallKey, "Version"), "0.1 Beta 1");
    EXPECT_EQ(Value(user, kInstallKey, "Path"), "C:\\Apps\\Orvan");
    EXPECT_EQ(Value(user, kInstallKey, "Installed"), "alice @ 2026-03-05 14:07:09");
    EXPECT_EQ(Value(user, kInstallKey, "File"), "Orvan.exe");
    // Quoted, so that a folder with a blank cannot start another program at log-on.
    EXPECT_EQ(Value(user, kRunKey, "Orvan"), "\"C:\\Apps\\Orvan\\Orvan.exe\"");
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, kInstallKey));
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, kRunKey));

    // Three shortcuts to the installed file, starting in its folder.
    const std::string menu = std::string(kUserMenu) + "\\Morvane\\Orvan\\";
    const std::vector<std::pair<std::string, std::vector<std::string>>> expected = {
        {menu + "Orvan!.lnk", {"", "This will run Orvan!"}},
        {menu + "Orvan! Uninstall & Repair.lnk",
         {"-install", "This will uninstall/repair current installation of Orvan!"}},
        {menu + "Orvan! Options.lnk", {"-options", "This will show Orvan! option dialog."}},
    };
    ASSERT_EQ(links.saved.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [file, link] = links.saved[i];
        EXPECT_EQ(file, expected[i].first);
        EXPECT_EQ(link.target, "C:\\Apps\\Orvan\\Orvan.exe");
        EXPECT_EQ(link.arguments, expected[i].second[0]);
        EXPECT_EQ(link.workingFolder, "C:\\Apps\\Orvan\\");
        EXPECT_EQ(link.description, expected[i].second[1]);
    }

    // Fresh options with the chosen language and hot key, and a catalog that already holds
    // the start menu, the new shortcuts included.
    const SettingsOptions saved = LoadOptions(options);
    EXPECT_EQ(saved.fileName, kOptionsFile);
    EXPECT_EQ(saved.language, 1031);
    EXPECT_EQ(saved.hotKey, 0xC071);
    EXPECT_EQ(saved.catalog.paths.size(), DefaultCatalogPaths().size());
    EXPECT_EQ(CurrentOptions().language, 1031);
    ASSERT_NE(disk.disk.Content(kCatalogFile), nullptr);
    EXPECT_NE(disk.disk.Content(kCatalogFile)->find("Start Menu\\Notes.lnk</path>"),
              std::string::npos);
    EXPECT_NE(disk.disk.Content(kCatalogFile)->find("Orvan! Options.lnk</path>"),
              std::string::npos);

    // What the installer window then finds.
    const InstallInfo info = Detected();
    EXPECT_FALSE(info.allUsers);
    EXPECT_TRUE(info.startMenu);
    EXPECT_TRUE(info.autoStart);
    EXPECT_EQ(info.hotKey, 0xC071);
}

TEST_F(InstallerTest, TheScopeAndTheBoxesDecideWhereTheRecordAndShortcutsGo) {
    struct Case {
        bool allUsers;
        bool startMenu;
        bool autoStart;
        bool relevance;
    };
    const Case cases[] = {
        {true, true, true, true}, {true, false, true, false}, {false, false, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.allUsers << c.startMenu << c.autoStart << c.relevance);
        registry.keys.clear();
        links.saved.clear();
        InstallChoices choices = Choices(c.allUsers);
        choices.createStartMenu = c.startMenu;
        choices.autoStart = c.autoStart;
        choices.orderByRelevance = c.relevance;
        ASSERT_TRUE(InstallProgram(choices, Services()).ok);
        EXPECT_EQ(LoadOptions(options).order,
                  c.relevance ? ResultOrder::Relevance : ResultOrder::Name);

        const RegistryRoot root =
            c.allUsers ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser;
        const RegistryRoot other =
            c.allUsers ? RegistryRoot::CurrentUser : RegistryRoot::LocalMachine;
        EXPECT_TRUE(registry.KeyExists(root, kInstallKey));
        EXPECT_FALSE(registry.KeyExists(other, kInstallKey));
        EXPECT_EQ(registry.HasValue(root, kRunKey, "Orvan"), c.autoStart);
        EXPECT_FALSE(registry.HasValue(other, kRunKey, "Orvan"));
        const std::string menu = std::string(c.allUsers ? kCommonMenu : kUserMenu);
        EXPECT_EQ(disk.FolderExists(menu + "\\Morvane\\Orvan"), c.startMenu);
        EXPECT_EQ(links.saved.size(), c.startMenu ? 3u : 0u);
        EXPECT_EQ(Detected().allUsers, c.allUsers);
        DeleteFolderTree(disk.disk, std::string(kCommonMenu) + "\\Morvane\\Orvan");
    }
}

// The installer runs elevated: Yes starts the launcher through the desktop's shell with the
// user's own rights, never with the installer's; when that cannot be done, nothing starts.
TEST_F(InstallerTest, TheFinalAnswerDecidesWhetherTheProgramStartsAndTheWindowCloses) {
    struct Case {
        DialogAnswer answer;
        bool desktopFails;
        bool asked;
        bool closes;
        std::size_t messages;
    };
    const Case cases[] = {
        {DialogAnswer::Yes, false, true, true, 0},
        {DialogAnswer::Yes, true, true, true, 1},
        {DialogAnswer::No, false, false, true, 0},
        {DialogAnswer::Cancel, false, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.answer) << " " << c.desktopFails);
        shell.opened.clear();
        shell.openedAsUser.clear();
        shell.desktopFails = c.desktopFails;
        messages.shown.clear();
        questions.asked.clear();
        questions.answer = c.answer;
        const InstallResult result = InstallProgram(Choices(), Services());
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(result.closeWindow, c.closes);
        ASSERT_EQ(questions.asked.size(), 1u);
        EXPECT_EQ(questions.asked[0].first, "Question");
        EXPECT_EQ(questions.asked[0].second,
                  "Orvan! is now successfully installed on your computer. Do you want to close "
                  "the installation process and run Orvan! now?");
        EXPECT_TRUE(shell.opened.empty()); // never with the installer's own rights
        EXPECT_EQ(shell.openedAsUser,
                  c.asked
                      ? std::vector<std::string>{"C:\\Apps\\Orvan\\Orvan.exe||C:\\Apps\\Orvan\\"}
                      : std::vector<std::string>{});
        ASSERT_EQ(messages.shown.size(), c.messages);
        if (c.messages != 0) {
            EXPECT_EQ(messages.shown[0].first, "Error");
            EXPECT_EQ(messages.shown[0].second,
                      "Orvan! is installed, but could not be started with your own rights. "
                      "Please start it yourself.");
        }
    }
}

// On a full desktop the rebuild takes a while: the window must keep painting, and shows
// how far it has come.
TEST_F(InstallerTest, TheCatalogRebuildLetsMessagesRunAndShowsItsProgress) {
    for (const char* file : {"\\Tools\\a.lnk", "\\Tools\\b.lnk", "\\Games\\c.lnk"})
        disk.disk.AddFile(std::string(kUserMenu) + file, "link");
    int pumps = 0;
    std::vector<std::string> shown;
    InstallerServices services = Services();
    services.processMessages = [&] { ++pumps; };
    services.showProgress = [&](const std::string& text) { shown.push_back(text); };
    ASSERT_TRUE(InstallProgram(Choices(), services).ok);
    EXPECT_GE(pumps, int(shown.size()));
    ASSERT_GE(shown.size(), 3u); // the start menu and its two subfolders at least
    EXPECT_EQ(shown.front(), "Building the catalog: 1 folders, 0 files");
    for (const std::string& text : shown)
        EXPECT_EQ(text.rfind("Building the catalog: ", 0), 0u) << text;
    EXPECT_NE(shown.back(), shown.front());
}

TEST_F(InstallerTest, AFailedStepIsShownAndStopsTheRestWithoutUndoingAnything) {
    struct Reached {
        bool folder, file, key;
        std::size_t shortcuts;
        bool run, options;
    };
    struct Case {
        const char* name;
        std::function<void(InstallerTest&)> arrange;
        const char* message;
        Reached reached;
    };
    const Case cases[] = {
        {"program folder",
         [](InstallerTest& t) { t.disk.uncreatable = {"C:\\Apps"}; },
         "Cannot create folder \"C:\\Apps\\Orvan\".",
         {false, false, false, 0, false, false}},
        {"copy",
         [](InstallerTest& t) { t.disk.locked = {"C:\\APPS\\ORVAN\\ORVAN.EXE"}; },
         "Cannot copy file \"C:\\Downloads\\Orvan.exe\" to \"C:\\Apps\\Orvan\\Orvan.exe\".",
         {true, false, false, 0, false, false}},
        {"language file",
         [](InstallerTest& t) {
             t.disk.disk.AddFile("C:\\Downloads\\Languages\\German.lng", "[Language]");
             t.disk.locked = {"C:\\APPS\\ORVAN\\LANGUAGES\\GERMAN.LNG"};
         },
         "Cannot copy file \"C:\\Downloads\\Languages\\German.lng\" to "
         "\"C:\\Apps\\Orvan\\Languages\\German.lng\".",
         {true, true, false, 0, false, false}},
        {"installation key",
         [](InstallerTest& t) {
             t.registry.readOnly = {{RegistryRoot::CurrentUser, kInstallKey}};
         },
         "Cannot create/open registry key \"Software\\Morvane\\Orvan\".",
         {true, true, false, 0, false, false}},
        {"start-menu folder",
         [](InstallerTest& t) { t.disk.uncreatable = {std::string(kUserMenu) + "\\Morvane"}; },
         "Cannot create shortcut \"C:\\Users\\alice\\Start Menu\\Morvane\\Orvan\".",
         {true, true, true, 0, false, false}},
        {"second shortcut",
         [](InstallerTest& t) { t.links.failAt = 1; },
         "Cannot create shortcut \"C:\\Users\\alice\\Start Menu\\Morvane\\Orvan\".",
         {true, true, true, 1, false, false}},
        {"no start menu",
         [](InstallerTest& t) { t.folders.folders.erase(Csidl::StartMenu); },
         "Cannot create shortcut \"\\Morvane\\Orvan\".",
         {true, true, true, 0, false, false}},
        {"run key",
         [](InstallerTest& t) {
             t.registry.readOnly = {{RegistryRoot::CurrentUser, kRunKey}};
         },
         "Cannot create/open registry key \"Software\\Microsoft\\Windows\\CurrentVersion\\Run\".",
         {true, true, true, 3, false, false}},
        {"relative program folder",
         [](InstallerTest& t) { t.choice.folder = "Apps\\Orvan"; },
         "Cannot create folder \"Apps\\Orvan\".",
         {false, false, false, 0, false, false}},
        {"program folder on no drive",
         [](InstallerTest& t) { t.choice.folder = "\\Apps\\Orvan"; },
         "Cannot create folder \"\\Apps\\Orvan\".",
         {false, false, false, 0, false, false}},
        {"options folder",
         [](InstallerTest& t) { t.disk.uncreatable = {kAppData}; },
         "Unable to write to C:\\Users\\alice\\AppData\\Roaming\\Morvane\\Orvan\\Orvan.ini",
         {true, true, true, 3, true, false}},
        {"no application-data folder",
         [](InstallerTest& t) { t.folders.folders.erase(Csidl::AppData); },
         "Unable to write to \\Morvane\\Orvan\\Orvan.ini",
         {true, true, true, 3, true, false}},
        {"options file",
         [](InstallerTest& t) { t.disk.disk.failWrites = true; },
         "Unable to write to C:\\Users\\alice\\AppData\\Roaming\\Morvane\\Orvan\\Orvan.ini",
         {true, true, true, 3, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InstallerTest& t = *this;
        t.disk = InstallDisk();
        t.disk.disk.AddFile(kDownloaded, "program bytes");
        t.registry = FakeRegistry();
        t.links.saved.clear();
        t.links.failAt = -1;
        t.messages.shown.clear();
        t.questions.asked.clear();
        t.folders.folders[Csidl::StartMenu] = kUserMenu;
        t.folders.folders[Csidl::AppData] = kAppData;
        t.choice = Choices();
        c.arrange(t);

        const InstallResult result = InstallProgram(t.choice, Services());
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.closeWindow);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].first, "Error");
        EXPECT_EQ(messages.shown[0].second, c.message);
        EXPECT_TRUE(questions.asked.empty());

        EXPECT_EQ(disk.FolderExists("C:\\Apps\\Orvan"), c.reached.folder);
        EXPECT_EQ(disk.FileExists("C:\\Apps\\Orvan\\Orvan.exe"), c.reached.file);
        EXPECT_EQ(registry.KeyExists(RegistryRoot::CurrentUser, kInstallKey), c.reached.key);
        EXPECT_EQ(links.saved.size(), c.reached.shortcuts);
        EXPECT_EQ(registry.HasValue(RegistryRoot::CurrentUser, kRunKey, "Orvan"), c.reached.run);
        EXPECT_EQ(disk.FileExists(kOptionsFile), c.reached.options);
        // Nothing lands at the root of the current drive.
        EXPECT_FALSE(disk.FolderExists("\\Morvane"));
    }
}

TEST_F(InstallerTest, ARunningProgramIsNotCopiedOntoItselfWhateverTheLetterCase) {
    // Windows names "C:\Apps\Orvan" and "c:\apps\orvan" the same folder, and the running
    // file is locked: a copy onto it would fail although nothing is wrong.
    disk.disk.AddFile("C:\\Apps\\Orvan\\Orvan.exe", "installed bytes");
    disk.locked = {"C:\\APPS\\ORVAN\\ORVAN.EXE"};
    programPath = "C:\\Apps\\Orvan\\Orvan.exe";
    for (const bool identities : {true, false}) {
        SCOPED_TRACE(identities);
        disk.identities = identities;
        disk.copies = 0;
        InstallChoices choices = Choices();
        choices.folder = "c:\\apps\\orvan\\";
        EXPECT_TRUE(InstallProgram(choices, Services()).ok);
        EXPECT_EQ(disk.copies, 0);
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(*disk.disk.Content("C:\\Apps\\Orvan\\Orvan.exe"), "installed bytes");
        // The path is recorded as typed.
        EXPECT_EQ(Value(RegistryRoot::CurrentUser, kInstallKey, "Path"), "c:\\apps\\orvan\\");
    }
}

TEST_F(InstallerTest, SamenessGoesByIdentityAndElseByThePathWithoutLetterCase) {
    disk.disk.AddFile("C:\\Program Files\\Orvan\\Orvan.exe");
    disk.disk.AddFile("C:\\Other\\Orvan.exe");
    disk.Alias("C:\\PROGRA~1\\Orvan\\Orvan.exe", "C:\\Program Files\\Orvan\\Orvan.exe");
    struct Case {
        bool identities;
        const char* a;
        const char* b;
        bool same;
    };
    const Case cases[] = {
        {true, "C:\\Program Files\\Orvan\\Orvan.exe", "c:\\program files\\orvan\\ORVAN.EXE", true},
        {true, "C:\\PROGRA~1\\Orvan\\Orvan.exe", "C:\\Program Files\\Orvan\\Orvan.exe", true},
        {true, "C:\\Other\\Orvan.exe", "C:\\Program Files\\Orvan\\Orvan.exe", false},
        {true, "C:\\Program Files\\Orvan\\Orvan.exe", "C:\\Missing\\Orvan.exe", false},
        {false, "C:\\Program Files\\Orvan\\Orvan.exe", "c:/program files/orvan/orvan.exe", true},
        {false, "C:\\Program Files\\Orvan\\Orvan.exe", "C:\\Other\\Orvan.exe", false},
        {false, "C:\\Ärger\\Orvan.exe", "c:\\ärger\\orvan.exe", true},
    };
    for (const Case& c : cases) {
        disk.identities = c.identities;
        EXPECT_EQ(IsSameFile(disk, c.a, c.b), c.same) << c.a << " / " << c.b;
    }
}

// The standalone download has no "Languages" folder beside it: the translations it carries
// inside are installed instead. A folder beside the program wins.
TEST_F(InstallerTest, TheTranslationsInsideTheProgramAreInstalledWhenNoneLieBesideIt) {
    struct Case {
        const char* name;
        bool folderBeside;
        bool carried;
        bool writable;
        const char* german; // what the installed German.lng holds; nullptr: none
    };
    const Case cases[] = {
        {"a folder beside the program", true, true, true, "de beside"},
        {"only the carried ones", false, true, true, "de carried"},
        {"none at all", false, false, true, nullptr},
        {"a Languages folder that cannot be written", false, true, false, nullptr},
    };
    struct Fresh final : InstallerTest {
        void TestBody() override {}
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh t;
        if (c.folderBeside)
            t.disk.disk.AddFile("C:\\Downloads\\Languages\\German.lng", "de beside");
        if (!c.writable)
            t.disk.uncreatable = {"C:\\Apps\\Orvan\\Languages"};
        InstallerServices services = t.Services();
        std::vector<std::string> asked;
        services.shippedLanguage = [&](const std::string& name) -> std::optional<std::string> {
            asked.push_back(name);
            if (!c.carried)
                return std::nullopt;
            return name == "German.lng" ? "de carried" : "fr carried";
        };
        EXPECT_EQ(InstallProgram(Choices(), services).ok, c.writable);
        const std::string* german = t.disk.disk.Content("C:\\Apps\\Orvan\\Languages\\German.lng");
        EXPECT_EQ(german ? *german : "(none)", c.german ? c.german : "(none)");
        EXPECT_EQ(t.disk.FileExists("C:\\Apps\\Orvan\\Languages\\French.lng"),
                  c.carried && !c.folderBeside && c.writable);
        EXPECT_EQ(asked.empty(), c.folderBeside);
        if (!c.writable) {
            ASSERT_EQ(t.messages.shown.size(), 1u);
            EXPECT_EQ(t.messages.shown[0].second,
                      "Cannot create folder \"C:\\Apps\\Orvan\\Languages\".");
        }
    }
}

TEST_F(InstallerTest, LanguageFilesGoWithTheProgramAndLeaveWithIt) {
    disk.disk.AddFile("C:\\Downloads\\Languages\\German.lng", "de");
    disk.disk.AddFile("C:\\Downloads\\Languages\\French.lng", "fr");
    disk.disk.AddFile("C:\\Downloads\\Languages\\notes.txt", "not a language");
    ASSERT_TRUE(InstallProgram(Choices(), Services()).ok);
    EXPECT_TRUE(messages.shown.empty());
    const std::string installed = "C:\\Apps\\Orvan\\Languages\\";
    ASSERT_NE(disk.disk.Content(installed + "German.lng"), nullptr);
    EXPECT_EQ(*disk.disk.Content(installed + "German.lng"), "de");
    EXPECT_TRUE(disk.FileExists(installed + "French.lng"));
    EXPECT_FALSE(disk.FileExists(installed + "notes.txt"));

    // A repair started from the installed copy finds its files where they belong already.
    const InstallInfo info = Detected();
    programPath = "C:\\Apps\\Orvan\\Orvan.exe";
    disk.copies = 0;
    ASSERT_TRUE(RepairProgram(info, Choices(), Services()).ok);
    EXPECT_EQ(disk.copies, 0);
    EXPECT_TRUE(disk.FileExists(installed + "German.lng"));

    // Removal takes them along; a file of the user's own keeps its folder.
    programPath = kDownloaded;
    disk.disk.AddFile(installed + "mine.txt", "mine");
    ASSERT_TRUE(RemoveProgram(Detected(), false, Services()).ok);
    EXPECT_FALSE(disk.FileExists(installed + "German.lng"));
    EXPECT_TRUE(disk.FileExists(installed + "mine.txt"));
    disk.disk.RemoveFile(installed + "mine.txt");
    ASSERT_TRUE(InstallProgram(Choices(), Services()).ok);
    ASSERT_TRUE(RemoveProgram(Detected(), false, Services()).ok);
    EXPECT_FALSE(disk.FolderExists("C:\\Apps\\Orvan"));
}

TEST(InstalledStamp, NamesTheUserAndTheMomentWithoutAMidnightTime) {
    LocaleSettings german;
    german.shortDateFormat = "dd.MM.yyyy";
    german.longTimeFormat = "HH:mm:ss";
    struct Case {
        const char* user;
        double moment;
        LocaleSettings locale;
        const char* text;
    };
    const Case cases[] = {
        {"alice", Moment(2026, 3, 5, 14, 7, 9), {}, "alice @ 2026-03-05 14:07:09"},
        {"alice", Moment(2026, 3, 5, 0, 0, 0), {}, "alice @ 2026-03-05"},
        {"", Moment(2026, 3, 5, 0, 0, 1), {}, "<unknown> @ 2026-03-05 0:00:01"},
        {"Jörg", Moment(2026, 3, 5, 9, 5, 0), german, "Jörg @ 05.03.2026 09:05:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InstalledStamp(c.user, c.moment, c.locale), c.text);
}

class RemoveTest : public InstallerTest {
public:
    // An installation for all users from the downloaded file, with options in both
    // application-data folders and a Run value under both roots.
    InstallInfo Installed() {
        InstallChoices choices = Choices(true);
        EXPECT_TRUE(InstallProgram(choices, Services()).ok);
        disk.disk.AddFile(std::string(kLocalAppData) + "\\Morvane\\Orvan\\Orvan.ini", "x");
        disk.disk.AddFile(std::string(kUserMenu) + "\\Morvane\\Orvan\\Old.lnk", "x");
        registry.WriteString(RegistryRoot::CurrentUser, kRunKey, "Orvan", "C:\\Old\\Orvan.exe");
        registry.WriteString(RegistryRoot::LocalMachine, kRunKey, "Other", "C:\\Other.exe");
        messages.shown.clear();
        questions.asked.clear();
        return Detected();
    }
};

TEST_F(RemoveTest, RemovesEveryPartAndSaysGoodbye) {
    const InstallInfo info = Installed();
    ASSERT_TRUE(info.allUsers);
    const InstallResult result = RemoveProgram(info, true, Services());
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.closeWindow);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, "Notice");
    EXPECT_EQ(messages.shown[0].second,
              "Orvan! is now uninstalled. The installation process will be close. Bye!");

    EXPECT_FALSE(disk.FileExists("C:\\Apps\\Orvan\\Orvan.exe"));
    EXPECT_FALSE(disk.FolderExists("C:\\Apps\\Orvan"));
    EXPECT_FALSE(disk.FolderExists(std::string(kAppData) + "\\Morvane\\Orvan"));
    EXPECT_FALSE(disk.FolderExists(std::string(kLocalAppData) + "\\Morvane\\Orvan"));
    EXPECT_FALSE(disk.FolderExists(std::string(kCommonMenu) + "\\Morvane\\Orvan"));
    // Of a start-menu folder only the three shortcuts go; one of the user's keeps it.
    EXPECT_TRUE(disk.FileExists(std::string(kUserMenu) + "\\Morvane\\Orvan\\Old.lnk"));
    // The parents named "Morvane" stay, as do other Run values.
    EXPECT_TRUE(disk.FolderExists(std::string(kCommonMenu) + "\\Morvane"));
    EXPECT_TRUE(disk.FolderExists("C:\\Apps"));
    EXPECT_FALSE(registry.HasValue(RegistryRoot::LocalMachine, kRunKey, "Orvan"));
    EXPECT_FALSE(registry.HasValue(RegistryRoot::CurrentUser, kRunKey, "Orvan"));
    EXPECT_TRUE(registry.HasValue(RegistryRoot::LocalMachine, kRunKey, "Other"));
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, kInstallKey));
    EXPECT_EQ(Detected().title, "");
}

TEST_F(RemoveTest, WithoutTheFarewellNothingIsShownAndTheWindowStays) {
    const InstallResult result = RemoveProgram(Installed(), false, Services());
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(result.closeWindow);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RemoveTest, AKeyThatStaysFailsTheRemovalAfterEveryOtherStepRan) {
    const InstallInfo info = Installed();
    registry.readOnly = {{RegistryRoot::LocalMachine, kInstallKey}};
    const InstallResult result = RemoveProgram(info, true, Services());
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.closeWindow);
    ASSERT_EQ(messages.shown.size(), 1u); // no farewell
    EXPECT_EQ(messages.shown[0].first, "Error");
    EXPECT_EQ(messages.shown[0].second,
              "Cannot create/open registry key \"Software\\Morvane\\Orvan\".");
    EXPECT_FALSE(disk.FileExists("C:\\Apps\\Orvan\\Orvan.exe"));
    EXPECT_FALSE(disk.FolderExists(std::string(kAppData) + "\\Morvane\\Orvan"));
    EXPECT_FALSE(registry.HasValue(RegistryRoot::CurrentUser, kRunKey, "Orvan"));
}

TEST_F(RemoveTest, TheRunningProgramFileAndAFolderWithOtherFilesStay) {
    const InstallInfo info = Installed();
    disk.disk.AddFile("C:\\Apps\\Orvan\\readme.txt", "mine");
    // Started through the repair shortcut, the remover is the installed file itself.
    programPath = "C:\\Apps\\Orvan\\Orvan.exe";
    disk.locked = {"C:\\APPS\\ORVAN\\ORVAN.EXE"};
    const InstallResult result = RemoveProgram(info, true, Services());
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(messages.shown.size(), 1u); // the farewell
    EXPECT_TRUE(disk.FileExists("C:\\Apps\\Orvan\\Orvan.exe"));
    EXPECT_TRUE(disk.FileExists("C:\\Apps\\Orvan\\readme.txt"));
    EXPECT_FALSE(disk.FolderExists(std::string(kAppData) + "\\Morvane\\Orvan"));

    // Once the file is free, the folder holding only other files still stays.
    disk.locked.clear();
    RemoveProgram(info, false, Services());
    EXPECT_FALSE(disk.FileExists("C:\\Apps\\Orvan\\Orvan.exe"));
    EXPECT_TRUE(disk.FileExists("C:\\Apps\\Orvan\\readme.txt"));
}

// Removed from the installed copy, the running file cannot go at once; the farewell says
// what becomes of it. Only the machine's installation, in a folder the user cannot turn
// into a link meanwhile, is left to the system to delete at its next start.
TEST_F(RemoveTest, TheFarewellSaysWhatBecomesOfTheRunningProgramFile) {
    struct Case {
        const char* name;
        bool allUsers;
        bool fromInstalledCopy;
        std::vector<std::string> deletedAtRestart;
        std::string farewell;
        bool helperOffered = false; // a helper can delete the file once the process ends
        bool helperStarts = true;
        std::vector<std::string> leftToHelper = {};
    };
    const std::string file = "C:\\Apps\\Orvan\\Orvan.exe";
    const std::string bye =
        "Orvan! is now uninstalled. The installation process will be close. Bye!";
    const Case cases[] = {
        {"from the download", true, false, {}, bye},
        {"from the download, with a helper", false, false, {}, bye, true, true, {}},
        {"the user's, from the installed copy, with a helper",
         false,
         true,
         {},
         bye,
         true,
         true,
         {file}},
        {"the user's, from the installed copy, with a helper that cannot start",
         false,
         true,
         {},
         "Orvan! is now uninstalled, but its program file is in use and stays: " + file +
             ". Please delete it once Orvan! has ended. The installation process will be "
             "close. Bye!",
         true,
         false,
         {file}},
        {"the machine's, from the installed copy",
         true,
         true,
         {file},
         "Orvan! is now uninstalled. Its program file is in use and will be deleted when "
         "Windows restarts. The installation process will be close. Bye!"},
        {"the user's, from the installed copy",
         false,
         true,
         {},
         "Orvan! is now uninstalled, but its program file is in use and stays: " + file +
             ". Please delete it once Orvan! has ended. The installation process will be "
             "close. Bye!"},
    };
    struct Fresh final : RemoveTest {
        void TestBody() override {}
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh t;
        ASSERT_TRUE(InstallProgram(Choices(c.allUsers), t.Services()).ok);
        const InstallInfo info = t.Detected();
        t.messages.shown.clear();
        if (c.fromInstalledCopy) {
            t.programPath = file;
            t.disk.locked = {"C:\\APPS\\ORVAN\\ORVAN.EXE"};
        }
        InstallerServices services = t.Services();
        std::vector<std::string> leftToHelper;
        if (c.helperOffered)
            services.deleteAfterExit = [&](const std::string& program) {
                leftToHelper.push_back(program);
                return c.helperStarts;
            };
        EXPECT_TRUE(RemoveProgram(info, true, services).ok);
        EXPECT_EQ(t.disk.deletedAtRestart, c.deletedAtRestart);
        EXPECT_EQ(leftToHelper, c.leftToHelper);
        ASSERT_EQ(t.messages.shown.size(), 1u);
        EXPECT_EQ(t.messages.shown[0].second, c.farewell);
    }
}

TEST_F(RemoveTest, AProgramFileNamedOtherwiseIsRemovedToo) {
    programPath = "C:\\Downloads\\orvan-setup.exe";
    disk.disk.AddFile(programPath, "program bytes");
    const InstallInfo info = Installed();
    ASSERT_TRUE(disk.FileExists("C:\\Apps\\Orvan\\orvan-setup.exe"));
    EXPECT_TRUE(RemoveProgram(info, false, Services()).ok);
    EXPECT_FALSE(disk.FolderExists("C:\\Apps\\Orvan"));
}

// The removal runs with administrator rights; the current user's record, the program
// folder and the data folders can all be changed by the user without them.
TEST_F(RemoveTest, DeletesOnlyWhatTheInstallationWroteAndNothingThroughALink) {
    struct Case {
        const char* name;
        std::function<void(RemoveTest&, InstallInfo&)> arrange;
        std::vector<std::string> kept;
        std::vector<std::string> gone;
    };
    const std::string data = std::string(kAppData) + "\\Morvane\\Orvan";
    const std::string languages = "C:\\Apps\\Orvan\\Languages\\";
    const Case cases[] = {
        {"a translation of the user's and a file with the installer's name",
         [](RemoveTest& t, InstallInfo&) {
             t.disk.disk.AddFile("C:\\Apps\\Orvan\\Languages\\Spanish.lng", "mine");
             t.disk.disk.AddFile("C:\\Apps\\Orvan\\setup.exe", "mine");
             t.programPath = "C:\\Downloads\\setup.exe";
         },
         {languages + "Spanish.lng", "C:\\Apps\\Orvan\\setup.exe"},
         {languages + "German.lng", "C:\\Apps\\Orvan\\Orvan.exe"}},
        {"a user's record that names another file",
         [](RemoveTest& t, InstallInfo& info) {
             t.disk.disk.AddFile("C:\\Apps\\Orvan\\notes.exe", "mine");
             info.allUsers = false;
             info.programFile = "notes.exe";
         },
         {"C:\\Apps\\Orvan\\notes.exe"},
         {"C:\\Apps\\Orvan\\Orvan.exe"}},
        {"a machine's record that names a path instead of a file",
         [](RemoveTest& t, InstallInfo& info) {
             t.disk.disk.AddFile("C:\\Apps\\Other\\x.exe", "someone else's");
             info.programFile = "..\\Other\\x.exe";
         },
         {"C:\\Apps\\Other\\x.exe"},
         {"C:\\Apps\\Orvan\\Orvan.exe"}},
        {"a record whose folder is reached through a link",
         [](RemoveTest& t, InstallInfo& info) {
             t.disk.disk.AddFolder("C:\\Link", FileAttribute::ReparsePoint);
             t.disk.disk.AddFile("C:\\Link\\Orvan\\Orvan.exe", "someone else's");
             info.path = "C:\\Link\\Orvan\\";
         },
         {"C:\\Link\\Orvan\\Orvan.exe"},
         {}},
        {"a data folder turned into a link",
         [&](RemoveTest& t, InstallInfo&) {
             t.disk.disk.RemoveFile(data + "\\Orvan.ini");
             t.disk.disk.RemoveFile(data + "\\Orvan_Catalog.xml");
             t.disk.disk.RemoveFolder(data);
             t.disk.disk.AddFolder(data, FileAttribute::ReparsePoint);
             t.disk.disk.AddFile(data + "\\precious.doc", "someone else's");
         },
         {data + "\\precious.doc"},
         {std::string(kLocalAppData) + "\\Morvane\\Orvan\\Orvan.ini"}},
        {"a start-menu folder turned into a link",
         [](RemoveTest& t, InstallInfo&) {
             const std::string menu = std::string(kCommonMenu) + "\\Morvane\\Orvan";
             for (const StartMenuShortcut& shortcut : kStartMenuShortcuts)
                 t.disk.disk.RemoveFile(menu + "\\" + shortcut.title + ".lnk");
             t.disk.disk.RemoveFolder(menu);
             t.disk.disk.AddFolder(menu, FileAttribute::ReparsePoint);
             t.disk.disk.AddFile(menu + "\\Orvan!.lnk", "someone else's");
         },
         {std::string(kCommonMenu) + "\\Morvane\\Orvan\\Orvan!.lnk"},
         {}},
    };
    struct Fresh final : RemoveTest {
        void TestBody() override {}
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh t;
        t.disk.disk.AddFile("C:\\Downloads\\Languages\\German.lng", "de");
        InstallInfo info = t.Installed();
        c.arrange(t, info);
        EXPECT_TRUE(RemoveProgram(info, false, t.Services()).ok);
        for (const std::string& path : c.kept)
            EXPECT_TRUE(t.disk.disk.Exists(path)) << path;
        for (const std::string& path : c.gone)
            EXPECT_FALSE(t.disk.disk.Exists(path)) << path;
    }
}

TEST_F(RemoveTest, NothingOutsideTheKnownFoldersIsTouched) {
    // Without a roaming application-data folder, "%APPDATA%\Morvane\Orvan" would become
    // "\Morvane\Orvan" on the current drive; an empty recorded path would name its root.
    const InstallInfo info = Installed();
    folders.folders.erase(Csidl::AppData);
    folders.folders.erase(Csidl::CommonStartMenu);
    InstallInfo emptyPath = info;
    emptyPath.path = "";
    disk.disk.AddFile(std::string(kUserMenu) + "\\Morvane\\Orvan\\Orvan!.lnk", "x");
    disk.touched.clear();
    EXPECT_TRUE(RemoveProgram(emptyPath, false, Services()).ok);
    for (const std::string& path : disk.touched)
        EXPECT_NE(path.substr(0, 1), "\\") << path;
    EXPECT_FALSE(disk.FolderExists(std::string(kLocalAppData) + "\\Morvane\\Orvan"));
    EXPECT_FALSE(disk.FileExists(std::string(kUserMenu) + "\\Morvane\\Orvan\\Orvan!.lnk"));
    EXPECT_TRUE(disk.FolderExists(std::string(kAppData) + "\\Morvane\\Orvan"));
    EXPECT_TRUE(disk.FileExists("C:\\Apps\\Orvan\\Orvan.exe"));
}

TEST_F(RemoveTest, RepairInstallsAfreshOnlyAfterASuccessfulRemoval) {
    const InstallInfo info = Installed();
    // Options changed since: the repair starts from the defaults again.
    SettingsOptions changed = LoadOptions(options);
    changed.catalog.paths.resize(1);
    changed.autoHide = false;
    ASSERT_TRUE(SaveOptions(changed, options).Ok());

    registry.readOnly = {{RegistryRoot::LocalMachine, kInstallKey}};
    InstallChoices choices = Choices(false);
    choices.language = 1036;
    EXPECT_FALSE(RepairProgram(info, choices, Services()).ok);
    EXPECT_TRUE(questions.asked.empty());
    EXPECT_FALSE(disk.FileExists("C:\\Apps\\Orvan\\Orvan.exe"));

    registry.readOnly.clear();
    programPath = "C:\\Apps\\Orvan\\Orvan.exe"; // the repair shortcut starts the installed copy
    disk.disk.AddFile(programPath, "installed bytes");
    disk.locked = {"C:\\APPS\\ORVAN\\ORVAN.EXE"};
    // The file the repair installs from must not be left to the helper of a removal.
    InstallerServices services = Services();
    std::vector<std::string> leftToHelper;
    services.deleteAfterExit = [&](const std::string& program) {
        leftToHelper.push_back(program);
        return true;
    };
    const InstallResult result = RepairProgram(Detected(), choices, services);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(leftToHelper.empty());
    // The Apps & features entry moves with the installation to the new scope.
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, kUninstallKey));
    EXPECT_EQ(Value(RegistryRoot::CurrentUser, kUninstallKey, "DisplayName"), "Orvan!");
    EXPECT_EQ(questions.asked.size(), 1u);
    const SettingsOptions fresh = LoadOptions(options);
    EXPECT_EQ(fresh.language, 1036);
    EXPECT_TRUE(fresh.autoHide);
    EXPECT_EQ(fresh.catalog.paths.size(), DefaultCatalogPaths().size());
    EXPECT_TRUE(registry.KeyExists(RegistryRoot::CurrentUser, kInstallKey));
    EXPECT_EQ(*disk.disk.Content(programPath), "installed bytes");
}

// Apps & features lists the installation, and package managers find, update and remove it
// through this entry; it lives under the installation's root and goes with it.
TEST_F(InstallerTest, TheAppsAndFeaturesEntryNamesTheInstalledProgram) {
    // 3000 bytes of program and 100 of translation: 4 KiB, rounded up.
    disk.disk.AddFile(kDownloaded, std::string(3000, 'p'));
    disk.disk.AddFile("C:\\Downloads\\Languages\\German.lng", std::string(100, 'g'));
    for (const bool allUsers : {false, true}) {
        SCOPED_TRACE(allUsers);
        registry.keys.clear();
        registry.numbers.clear();
        ASSERT_TRUE(InstallProgram(Choices(allUsers), Services()).ok);
        const RegistryRoot root = allUsers ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser;
        const RegistryRoot other =
            allUsers ? RegistryRoot::CurrentUser : RegistryRoot::LocalMachine;
        const std::map<std::string, std::string> texts = {
            {"DisplayName", "Orvan!"},
            {"DisplayVersion", "0.1.0-beta.1"},
            {"Publisher", "Morvane"},
            {"DisplayIcon", "C:\\Apps\\Orvan\\Orvan.exe"},
            {"InstallLocation", "C:\\Apps\\Orvan\\"},
            {"UninstallString", "\"C:\\Apps\\Orvan\\Orvan.exe\" -install"},
            {"QuietUninstallString", "\"C:\\Apps\\Orvan\\Orvan.exe\" -silent-remove"},
        };
        EXPECT_EQ(registry.keys[std::pair(root, std::string(kUninstallKey))], texts);
        const std::map<std::string, std::uint32_t> numbers = {
            {"EstimatedSize", 4}, {"NoModify", 1}, {"NoRepair", 1}};
        EXPECT_EQ(registry.numbers[std::pair(root, std::string(kUninstallKey))], numbers);
        EXPECT_FALSE(registry.KeyExists(other, kUninstallKey));
        // The installation record keeps exactly its own values.
        EXPECT_EQ(registry.keys[std::pair(root, std::string(kInstallKey))].size(), 5u);

        ASSERT_TRUE(RemoveProgram(Detected(), false, Services()).ok);
        EXPECT_FALSE(registry.KeyExists(root, kUninstallKey));
    }

    // An entry that cannot be written fails the installation, as the record would.
    registry.readOnly = {{RegistryRoot::CurrentUser, kUninstallKey}};
    EXPECT_FALSE(InstallProgram(Choices(), Services()).ok);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].second,
              "Cannot create/open registry key "
              "\"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvan\".");
    EXPECT_FALSE(registry.HasValue(RegistryRoot::CurrentUser, kRunKey, "Orvan"));
}

// The language lists of the standalone download, which has no folder beside it: what the
// program carries, by the files' own headers, without those that name no language.
TEST(CarriedLanguageFiles, ListTheCarriedTranslationsThatNameALanguage) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> carried;
        std::vector<std::pair<int, std::string>> listed; // code, name
    };
    const std::string german = "[Language]\nCode=1031\nName=Deutsch\n[Texts]\n0=Fehler\n";
    const std::string french = "\xEF\xBB\xBF[Language]\r\nCode=1036\r\nName=Fran\xC3\xA7"
                               "ais\r\n";
    const Case cases[] = {
        {"both",
         {{"German.lng", german}, {"French.lng", french}},
         {{1031, "Deutsch"},
          {1036, "Fran\xC3\xA7"
                 "ais"}}},
        {"one",
         {{"French.lng", french}},
         {{1036, "Fran\xC3\xA7"
                 "ais"}}},
        {"a file without a code",
         {{"German.lng", "[Language]\nName=Deutsch\n"}, {"French.lng", french}},
         {{1036, "Fran\xC3\xA7"
                 "ais"}}},
        {"none", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<LanguageFileInfo> files =
            CarriedLanguageFiles([&](const std::string& file) -> std::optional<std::string> {
                const auto found = c.carried.find(file);
                return found == c.carried.end() ? std::nullopt : std::optional(found->second);
            });
        std::vector<std::pair<int, std::string>> listed;
        for (const LanguageFileInfo& file : files)
            listed.emplace_back(file.code, file.name);
        EXPECT_EQ(listed, c.listed);
    }
    EXPECT_TRUE(CarriedLanguageFiles({}).empty());
}

// The helper of a removal from the installed copy deletes what the running file kept in
// place, and nothing the user put beside it.
TEST(FinishRemovalAfterExit, DeletesTheProgramItsTranslationsAndTheFoldersLeftEmpty) {
    const std::string folder = "C:\\Users\\alice\\AppData\\Local\\Programs\\Morvane\\Orvan";
    struct Case {
        const char* name;
        std::string programFile;
        std::vector<std::string> userFiles; // below the program folder
        bool gone;
        bool folderGone;
    };
    const Case cases[] = {
        {"nothing else inside", folder + "\\Orvan.exe", {}, true, true},
        {"a file of the user's", folder + "\\Orvan.exe", {"notes.txt"}, true, false},
        {"a translation of the user's",
         folder + "\\Orvan.exe",
         {"Languages\\Mine.lng"},
         true,
         false},
        {"not a program", folder + "\\Orvan.ini", {}, false, false},
        {"at a drive's root", "C:\\Orvan.exe", {}, false, false},
        {"a relative name", "Orvan\\Orvan.exe", {}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::InstallDisk disk;
        disk.disk.AddFile(folder + "\\Orvan.exe", "program");
        disk.disk.AddFile(folder + "\\Orvan.ini", "options");
        disk.disk.AddFile("C:\\Orvan.exe", "program");
        disk.disk.AddFile(folder + "\\Languages\\German.lng", "de");
        disk.disk.AddFile(folder + "\\Languages\\French.lng", "fr");
        for (const std::string& file : c.userFiles)
            disk.disk.AddFile(folder + "\\" + file, "mine");
        if (c.folderGone)
            disk.disk.RemoveFile(folder + "\\Orvan.ini");

        EXPECT_EQ(FinishRemovalAfterExit(disk, c.programFile), c.gone);
        EXPECT_EQ(disk.FileExists(folder + "\\Orvan.exe"), !c.gone);
        EXPECT_EQ(disk.FileExists(folder + "\\Languages\\German.lng"), !c.gone);
        EXPECT_EQ(disk.FolderExists(folder), !c.folderGone);
        for (const std::string& file : c.userFiles)
            EXPECT_TRUE(disk.FileExists(folder + "\\" + file)) << file;
        // Refused names delete nothing at all.
        EXPECT_TRUE(disk.FileExists("C:\\Orvan.exe"));
        EXPECT_EQ(disk.FileExists(folder + "\\Orvan.ini"), !c.folderGone);
    }
}

TEST(StopRunningInstance, AsksUntilTheResidentCopyEndsAndGivesUpAfterAFewSeconds) {
    struct Case {
        int quitsToEnd; // -1: never ends
        bool stopped;
        int quits;
    };
    const Case cases[] = {{0, true, 0}, {1, true, 1}, {3, true, 3}, {-1, false, kStopAttempts}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.quitsToEnd);
        FakeInstance instance;
        instance.quitsToEnd = c.quitsToEnd;
        testing::MessageRecorder messages;
        EXPECT_EQ(StopRunningInstance(instance, messages), c.stopped);
        EXPECT_EQ(instance.quits, c.quits);
        // A pause after every request, so that the other copy gets time to end.
        EXPECT_EQ(instance.pauses, std::vector<std::uint32_t>(c.quits, kStopPauseMilliseconds));
        if (c.stopped) {
            EXPECT_TRUE(messages.shown.empty());
        } else {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].first, "Error");
            EXPECT_EQ(messages.shown[0].second, "Orvan! did not stop within 5 seconds. Please "
                                                "end it yourself, then try again.");
        }
    }
}

TEST(StopRunningInstance, SaysThatTheCopyStaysInTheLanguageShown) {
    struct EnglishAfterwards {
        ~EnglishAfterwards() { ClearTranslations(); }
    } english;
    const std::vector<TranslatedText> german{{0, "Fehler"}, {kTextStopTimeout, "Nicht beendet."}};
    SetTranslations(1031, german);
    FakeInstance instance;
    instance.quitsToEnd = -1;
    testing::MessageRecorder messages;
    EXPECT_FALSE(StopRunningInstance(instance, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0],
              std::make_pair(std::string("Fehler"), std::string("Nicht beendet.")));
}

// At exit the launcher's main window goes before its process lets go of the program file;
// the installer waits for the process too, within the same few seconds.
TEST(StopRunningInstance, WaitsForTheProcessAfterItsWindowIsGone) {
    struct Case {
        int quitsToEnd;
        bool processLingers;
        bool stopped;
        std::vector<std::uint32_t> waits;
    };
    const std::uint32_t all = kStopAttempts * kStopPauseMilliseconds;
    const Case cases[] = {
        {0, false, true, {all}},
        {2, false, true, {all - 2 * kStopPauseMilliseconds}},
        {2, true, false, {all - 2 * kStopPauseMilliseconds}},
        {-1, false, false, {}}, // the window never went: nothing to wait for
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.quitsToEnd << " " << c.processLingers);
        FakeInstance instance;
        instance.quitsToEnd = c.quitsToEnd;
        instance.processLingers = c.processLingers;
        testing::MessageRecorder messages;
        EXPECT_EQ(StopRunningInstance(instance, messages), c.stopped);
        EXPECT_EQ(instance.waits, c.waits);
        EXPECT_EQ(messages.shown.size(), c.stopped ? 0u : 1u);
    }
}

} // namespace
} // namespace orvan
