#include "core/config/path_variables.h"
#include "platform/native.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

TEST(Win32SpecialFolders, AnswersWithPathsWithoutTrailingDelimiter) {
    const SpecialFolderPort& folders = platform::SpecialFolders();
    for (const int number : {Csidl::AppData, Csidl::LocalAppData, Csidl::ProgramFiles,
                             Csidl::Profile, Csidl::Windows, Csidl::Programs}) {
        const std::string folder = GetSpecialFolder(folders, number);
        ASSERT_GE(folder.size(), 4u) << number;
        EXPECT_EQ(folder.substr(1, 2), ":\\") << folder;
        EXPECT_NE(folder.back(), '\\') << folder;
    }
    EXPECT_TRUE(platform::FileSystem().FolderExists(GetSpecialFolder(folders, Csidl::Windows)));
}

TEST(Win32SpecialFolders, VirtualFoldersHaveNoPath) {
    // Printers would be another example on Windows, but Wine answers it with system32.
    EXPECT_EQ(GetSpecialFolder(platform::SpecialFolders(), Csidl::Controls), "");
}

TEST(Win32SpecialFolders, ExpandVariablesWithTheRealFolders) {
    const SpecialFolderPort& folders = platform::SpecialFolders();
    EXPECT_EQ(ExpandPathVariables(folders, "%APPDATA%\\Morvane\\Orvan\\Orvan.ini"),
              GetSpecialFolder(folders, Csidl::AppData) + "\\Morvane\\Orvan\\Orvan.ini");
    EXPECT_EQ(ExpandPathVariables(folders, "%CONTROLS%\\x"), "\\x");
}

} // namespace
} // namespace orvan
