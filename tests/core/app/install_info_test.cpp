#include "core/app/install_info.h"

#include "fakes/fixed_folders.h"
#include "fakes/memory_file_system.h"
#include "fakes/memory_registry.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace orvan {
namespace {

using testing::FakeFolders;
using testing::FakeRegistry;
using testing::MemoryFileSystem;

class DetectInstallationTest : public ::testing::Test {
protected:
    DetectInstallationTest() {
        folders.folders = {{Csidl::ProgramFiles, "C:\\Program Files"},
                           {Csidl::AppData, "C:\\Users\\u\\AppData\\Roaming"},
                           {Csidl::LocalAppData, "C:\\Users\\u\\AppData\\Local"},
                           {Csidl::StartMenu, "C:\\Users\\u\\Start Menu"},
                           {Csidl::CommonStartMenu, "C:\\ProgramData\\Start Menu"}};
        CurrentInstallInfo() = {};
    }
    bool Detect() {
        const OptionsServices options{folders, disk, disk, "Orvan.exe"};
        return DetectInstallation({registry, options});
    }
    void Record(RegistryRoot root, const std::string& title) {
        registry.keys[{root, kInstallKey}] = {{"Title", title},
                                              {"Version", "0.1 Beta 1"},
                                              {"Path", "C:\\Apps\\Orvan\\"},
                                              {"Installed", "45000.5"}};
    }

    FakeFolders folders;
    MemoryFileSystem disk;
    FakeRegistry registry;
};

TEST_F(DetectInstallationTest, NothingInstalledGivesTheDefaults) {
    CurrentInstallInfo().title = "left over";
    EXPECT_FALSE(Detect());
    const InstallInfo& info = CurrentInstallInfo();
    EXPECT_EQ(info.title, "");
    EXPECT_EQ(info.path, "C:\\Program Files\\Morvane\\Orvan\\");
    EXPECT_TRUE(info.allUsers);
    EXPECT_TRUE(info.autoStart);
    EXPECT_TRUE(info.startMenu);
    // The options' defaults: language "Default", Alt+Space.
    EXPECT_EQ(info.language, 1);
    EXPECT_EQ(info.hotKey, 0x8020);
}

TEST_F(DetectInstallationTest, TheCurrentUsersKeyWinsOverTheMachines) {
    Record(RegistryRoot::LocalMachine, "machine");
    EXPECT_TRUE(Detect());
    EXPECT_EQ(CurrentInstallInfo().title, "machine");
    EXPECT_TRUE(CurrentInstallInfo().allUsers);

    Record(RegistryRoot::CurrentUser, "user");
    EXPECT_TRUE(Detect());
    const InstallInfo& info = CurrentInstallInfo();
    EXPECT_EQ(info.title, "user");
    EXPECT_EQ(info.version, "0.1 Beta 1");
    EXPECT_EQ(info.path, "C:\\Apps\\Orvan\\");
    EXPECT_EQ(info.installed, "45000.5");
    EXPECT_FALSE(info.allUsers);
}

TEST_F(DetectInstallationTest, MissingValuesReadEmptyAndAnEmptyKeyStillCounts) {
    registry.keys[{RegistryRoot::CurrentUser, kInstallKey}] = {};
    EXPECT_TRUE(Detect());
    EXPECT_EQ(CurrentInstallInfo().path, "");
    EXPECT_EQ(CurrentInstallInfo().title, "");
}

TEST_F(DetectInstallationTest, AutoStartNeedsANonEmptyRunValueUnderEitherRoot) {
    Record(RegistryRoot::CurrentUser, "user");
    struct Case {
        const char* userValue;    // nullptr: no Run key at all
        const char* machineValue; // nullptr: no Run key at all
        bool autoStart;
    };
    const Case cases[] = {
        {nullptr, nullptr, false},
        {"", nullptr, false},
        {"C:\\Orvan.exe", nullptr, true},
        {"", "C:\\Orvan.exe", true},
        {nullptr, "x", true},
        {"", "", false},
        // The installer writes the value in quotes; records from before have none.
        {"\"C:\\Program Files\\Orvan.exe\"", nullptr, true},
        {nullptr, "\"C:\\Program Files\\Orvan.exe\"", true},
    };
    for (const Case& c : cases) {
        registry.keys.erase({RegistryRoot::CurrentUser, kRunKey});
        registry.keys.erase({RegistryRoot::LocalMachine, kRunKey});
        if (c.userValue)
            registry.keys[{RegistryRoot::CurrentUser, kRunKey}][kRunValueName] = c.userValue;
        if (c.machineValue)
            registry.keys[{RegistryRoot::LocalMachine, kRunKey}][kRunValueName] = c.machineValue;
        Detect();
        EXPECT_EQ(CurrentInstallInfo().autoStart, c.autoStart)
            << (c.userValue ? c.userValue : "-") << " " << (c.machineValue ? c.machineValue : "-");
    }
}

TEST_F(DetectInstallationTest, StartMenuFollowsEitherFolder) {
    Record(RegistryRoot::LocalMachine, "machine");
    EXPECT_TRUE(Detect());
    EXPECT_FALSE(CurrentInstallInfo().startMenu);
    disk.AddFolder("C:\\Users\\u\\Start Menu\\Morvane\\Orvan");
    Detect();
    EXPECT_TRUE(CurrentInstallInfo().startMenu);
}

TEST_F(DetectInstallationTest, LanguageAndHotKeyComeFromTheOptionsFile) {
    disk.AddFile("C:\\Users\\u\\AppData\\Roaming\\Morvane\\Orvan\\Orvan.ini",
                 "[Global]\r\nLanguage=1031\r\nHotKey=16416\r\n");
    EXPECT_FALSE(Detect());
    EXPECT_EQ(CurrentInstallInfo().language, 1031);
    EXPECT_EQ(CurrentInstallInfo().hotKey, 16416);
}

TEST_F(DetectInstallationTest, APortableCopyCountsAsInstalled) {
    const OptionsServices stick{folders, disk, disk, "E:\\Tools\\Orvan.exe"};
    EXPECT_FALSE(InstalledOrPortable({registry, stick}));
    disk.AddFolder("E:\\Tools");
    disk.AddFile("E:\\Tools\\Orvan.ini", "");
    EXPECT_TRUE(InstalledOrPortable({registry, stick}));
    EXPECT_FALSE(Detect()); // the record itself still says "not installed"
}

} // namespace
} // namespace orvan
