#include "core/installer/install_form.h"
#include "core/settings/hot_key_choice.h"

#include "fakes/fixed_folders.h"
#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orvan {
namespace {

using Op = InstallOperation;
constexpr std::optional<Op> kNone = std::nullopt;

TEST(RefreshInstallState, OffersWhatTheSituationAllowsAndMovesTheSelection) {
    struct Case {
        bool running;
        bool installed;
        std::optional<Op> selected;
        const char* statusStart;
        bool install, repair, remove;
        std::optional<Op> newSelection;
        const char* button;
        InstallPage page;
    };
    const char* kRunning = "Orvan! is running on your computer now.";
    const char* kInstalled = "Orvan! is already installed on your computer.";
    const char* kReady = "Orvan! is ready to install on your computer.";
    const Case cases[] = {
        // A resident copy: nothing but Stop, on the empty page; the selection stays.
        {true, true, Op::Install, kRunning, false, false, false, Op::Install, "Stop",
         InstallPage::Empty},
        {true, false, Op::Remove, kRunning, false, false, false, Op::Remove, "Stop",
         InstallPage::Empty},
        {true, false, kNone, kRunning, false, false, false, kNone, "Stop", InstallPage::Empty},
        // Installed: Install moves to Repair; Remove shows the details page.
        {false, true, Op::Install, kInstalled, false, true, true, Op::Repair, "Repair",
         InstallPage::Options},
        {false, true, Op::Repair, kInstalled, false, true, true, Op::Repair, "Repair",
         InstallPage::Options},
        {false, true, Op::Remove, kInstalled, false, true, true, Op::Remove, "Remove",
         InstallPage::Details},
        {false, true, kNone, kInstalled, false, true, true, Op::Repair, "Repair",
         InstallPage::Options},
        // Not installed: Repair and Remove move to Install.
        {false, false, Op::Install, kReady, true, false, false, Op::Install, "Install",
         InstallPage::Options},
        {false, false, Op::Repair, kReady, true, false, false, Op::Install, "Install",
         InstallPage::Options},
        {false, false, Op::Remove, kReady, true, false, false, Op::Install, "Install",
         InstallPage::Options},
        {false, false, kNone, kReady, true, false, false, Op::Install, "Install",
         InstallPage::Options},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "running " << c.running << ", installed " << c.installed << ", selected "
                     << (c.selected ? int(*c.selected) : -1));
        const InstallState state = RefreshInstallState(c.running, c.installed, c.selected);
        EXPECT_EQ(state.status.rfind(c.statusStart, 0), 0u) << state.status;
        EXPECT_EQ(state.installEnabled, c.install);
        EXPECT_EQ(state.repairEnabled, c.repair);
        EXPECT_EQ(state.removeEnabled, c.remove);
        EXPECT_EQ(state.selected, c.newSelection);
        // The button acts on the selection unless it stops a resident copy.
        EXPECT_EQ(state.action, c.running ? kNone : c.newSelection);
        EXPECT_EQ(state.buttonCaption, c.button);
        EXPECT_EQ(state.page, c.page);
    }
}

TEST(InstalledDetails, CaptionsWithColonsAndTheRecordsValues) {
    InstallInfo info;
    info.title = "Orvan! @ morvane.example";
    info.version = "0.1 Beta 1";
    info.path = "C:\\Apps\\Orvan\\";
    info.installed = "alice @ 2026-03-05";
    info.startMenu = false;
    info.autoStart = true;
    const auto details = InstalledDetails(info);
    const std::pair<std::string, std::string> expected[] = {
        {"Title:", "Orvan! @ morvane.example"},
        {"Version:", "0.1 Beta 1"},
        {"Path:", "C:\\Apps\\Orvan\\"},
        {"Installed:", "alice @ 2026-03-05"},
        {"Start menu:", "No"},
        {"Run on startup:", "Yes"},
    };
    for (std::size_t i = 0; i < details.size(); ++i)
        EXPECT_EQ(details[i], expected[i]);
}

class FillInstallFormTest : public ::testing::Test {
protected:
    FillInstallFormTest() {
        folders.folders = {{Csidl::ProgramFiles, "C:\\Program Files"},
                           {Csidl::ProgramFilesCommon, "C:\\Program Files\\Common Files"},
                           {Csidl::Profile, "C:\\Users\\alice"},
                           {Csidl::Desktop, "C:\\Users\\alice\\Desktop"}};
    }
    testing::FakeFolders folders;
};

TEST_F(FillInstallFormTest, AFreshMachineGetsTheSuggestionsAndTheDefaults) {
    InstallInfo info = DefaultInstallInfo(folders);
    info.language = 1;
    const InstallForm form = FillInstallForm(info, folders);

    EXPECT_EQ(form.folderSuggestions,
              (std::vector<std::string>{"C:\\Program Files\\Morvane\\Orvan\\",
                                        "C:\\Program Files\\Common Files\\Morvane\\Orvan\\",
                                        "C:\\Users\\alice\\Morvane\\Orvan\\",
                                        "C:\\Users\\alice\\Desktop\\Morvane\\Orvan\\"}));
    EXPECT_EQ(form.path, "C:\\Program Files\\Morvane\\Orvan\\");

    // The language list without "None", "Default" first and selected.
    ASSERT_EQ(form.languages.size(), 204u);
    EXPECT_EQ(form.languages.front(), (InstallListItem{"Default", 1}));
    EXPECT_EQ(form.languages.back(), (InstallListItem{"Zulu", 1077}));
    EXPECT_EQ(form.language, 0u);

    const std::vector<InstallListItem> hotKeys = {
        {"Alt+Space", 0x8020},   {"Ctrl+Space", 0x4020},  {"Ctrl+Alt+Space", 0xC020},
        {"Ctrl+Alt+F1", 0xC070}, {"Ctrl+Alt+F2", 0xC071}, {"Ctrl+Alt+F3", 0xC072},
        {"Ctrl+Alt+F4", 0xC073}, {"Ctrl+Num *", 0x406A},  {"Ctrl+Num -", 0x406D},
    };
    EXPECT_EQ(form.hotKeys, hotKeys);
    EXPECT_EQ(form.hotKey, 0u);

    EXPECT_EQ(form.scopes, (std::vector<InstallListItem>{{"All users", 0}, {"Current user", 1}}));
    EXPECT_EQ(form.scope, 0u);
    EXPECT_TRUE(form.createStartMenu);
    EXPECT_TRUE(form.autoStart);
}

TEST_F(FillInstallFormTest, TheHotKeysAreNamedAsTheSettingsDialogNamesThem) {
    const InstallForm form = FillInstallForm(InstallInfo{}, folders);
    for (const HotKeyPreset& preset : HotKeyPresets()) {
        const auto item =
            std::find_if(form.hotKeys.begin(), form.hotKeys.end(),
                         [&](const InstallListItem& it) { return it.value == preset.shortCut; });
        ASSERT_NE(item, form.hotKeys.end()) << preset.caption;
        EXPECT_EQ(item->text, preset.caption);
    }
}

TEST_F(FillInstallFormTest, TheRecordsChoicesAreSelected) {
    InstallInfo info;
    info.path = "D:\\Tools\\Orvan";
    info.language = 1031;
    info.hotKey = 0xC072;
    info.allUsers = false;
    info.startMenu = false;
    info.autoStart = false;
    const InstallForm form = FillInstallForm(info, folders);
    EXPECT_EQ(form.path, "D:\\Tools\\Orvan");
    EXPECT_EQ(form.languages[form.language], (InstallListItem{"German", 1031}));
    // A language whose file lies beside the installer is marked.
    const InstallForm marked = FillInstallForm(info, folders, {{1031, "Deutsch", "de.lng"}});
    EXPECT_EQ(marked.languages[marked.language], (InstallListItem{"German (Deutsch)", 1031}));
    EXPECT_EQ(form.hotKeys.size(), 9u);
    EXPECT_EQ(form.hotKeys[form.hotKey].text, "Ctrl+Alt+F3");
    EXPECT_EQ(form.scope, 1u);
    EXPECT_FALSE(form.createStartMenu);
    EXPECT_FALSE(form.autoStart);
}

TEST_F(FillInstallFormTest, AStoredHotKeyOutsideTheChoicesIsAddedAndSelected) {
    InstallInfo info;
    info.hotKey = 0x2000 | 0x7B; // Shift+F12
    const InstallForm form = FillInstallForm(info, folders);
    ASSERT_EQ(form.hotKeys.size(), 10u);
    EXPECT_EQ(form.hotKeys.back(), (InstallListItem{"Shift+F12", 0x207B}));
    EXPECT_EQ(form.hotKey, 9u);
}

TEST_F(FillInstallFormTest, ALanguageOutsideTheListSelectsDefault) {
    struct Case {
        std::int32_t language;
        const char* selected;
    };
    // "None" is no choice; two names share 1088, and the first of them is selected.
    const Case cases[] = {{0, "Default"}, {12345, "Default"}, {1088, "Kirghiz"}};
    for (const Case& c : cases) {
        InstallInfo info;
        info.language = c.language;
        const InstallForm form = FillInstallForm(info, folders);
        EXPECT_EQ(form.languages[form.language].text, c.selected) << c.language;
    }
}

TEST_F(FillInstallFormTest, AFolderThePlatformDoesNotKnowIsNotSuggested) {
    folders.folders.erase(Csidl::ProgramFilesCommon);
    folders.folders.erase(Csidl::Desktop);
    const InstallForm form = FillInstallForm(InstallInfo{}, folders);
    EXPECT_EQ(form.folderSuggestions,
              (std::vector<std::string>{"C:\\Program Files\\Morvane\\Orvan\\",
                                        "C:\\Users\\alice\\Morvane\\Orvan\\"}));
}

} // namespace
} // namespace orvan
