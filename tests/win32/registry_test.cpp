// The registry adapter and the installation detection on the real (Wine) registry.
#include "registry_install_record.h"

#include "platform/native.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace orvan::testing {
namespace {

constexpr const char* kScratchKey = "Software\\Morvane\\OrvanRegistryTest";

TEST(Registry, WritesReadsAndDeletesStringValues) {
    const RegistryPort& registry = platform::Registry();
    registry.DeleteKeyTree(RegistryRoot::CurrentUser, kScratchKey);
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::CurrentUser, kScratchKey));
    EXPECT_EQ(registry.ReadString(RegistryRoot::CurrentUser, kScratchKey, "Title"), "");
    // Reading never creates the key.
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::CurrentUser, kScratchKey));

    ASSERT_TRUE(registry.WriteString(RegistryRoot::CurrentUser, kScratchKey, "Title", "Orvan! é"));
    EXPECT_TRUE(registry.KeyExists(RegistryRoot::CurrentUser, kScratchKey));
    EXPECT_EQ(registry.ReadString(RegistryRoot::CurrentUser, kScratchKey, "Title"), "Orvan! é");
    EXPECT_EQ(registry.ReadString(RegistryRoot::CurrentUser, kScratchKey, "Missing"), "");

    // A value that is not a string reads as empty; one stored without a terminator reads whole.
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvane\\OrvanRegistryTest", 0,
                              KEY_WRITE, &key),
              ERROR_SUCCESS);
    const DWORD number = 7;
    ::RegSetValueExW(key, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                     sizeof(number));
    const wchar_t bare[3] = {L'a', L'b', L'c'};
    ::RegSetValueExW(key, L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(bare), sizeof(bare));
    ::RegCloseKey(key);
    EXPECT_EQ(registry.ReadString(RegistryRoot::CurrentUser, kScratchKey, "Number"), "");
    EXPECT_EQ(registry.ReadString(RegistryRoot::CurrentUser, kScratchKey, "Bare"), "abc");

    ASSERT_TRUE(registry.WriteString(RegistryRoot::CurrentUser,
                                     std::string(kScratchKey) + "\\Below", "x", "y"));
    EXPECT_TRUE(registry.DeleteKeyTree(RegistryRoot::CurrentUser, kScratchKey));
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::CurrentUser, kScratchKey));
    EXPECT_TRUE(registry.DeleteKeyTree(RegistryRoot::CurrentUser, kScratchKey)); // already gone
    EXPECT_FALSE(registry.DeleteKeyTree(RegistryRoot::CurrentUser, ""));         // never the root
}

TEST(Registry, DetectsTheCurrentUsersInstallation) {
    InstallRecord record;
    const OptionsServices options{platform::SpecialFolders(), platform::FileSystem(),
                                  platform::FileStore(), "Orvan.exe"};
    record.Remove();
    const bool machineWide =
        platform::Registry().KeyExists(RegistryRoot::LocalMachine, kInstallKey);
    EXPECT_EQ(DetectInstallation({platform::Registry(), options}), machineWide);
    if (!machineWide) {
        EXPECT_TRUE(CurrentInstallInfo().allUsers);
        EXPECT_NE(CurrentInstallInfo().path.find("\\Morvane\\Orvan\\"), std::string::npos);
    }
    record.Install();
    EXPECT_TRUE(DetectInstallation({platform::Registry(), options}));
    EXPECT_FALSE(CurrentInstallInfo().allUsers);
    EXPECT_EQ(CurrentInstallInfo().path, "C:\\Orvan\\");
    EXPECT_EQ(CurrentInstallInfo().version, "0.1 Beta 1");
}

} // namespace
} // namespace orvan::testing
