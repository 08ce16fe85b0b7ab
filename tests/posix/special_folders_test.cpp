#include "platform/native.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

namespace orvan {
namespace {

using testing::ScopedEnv;
using testing::TempFolder;

std::string Folder(int number) {
    return platform::SpecialFolders().GetSpecialFolder(number);
}

TEST(PosixSpecialFolders, FollowTheXdgVariables) {
    TempFolder temp;
    temp.Folder("home/cfg");
    std::ofstream(temp.Native("home/cfg/user-dirs.dirs"))
        << "# written by xdg-user-dirs-update\n"
        << "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
        << "  XDG_DOCUMENTS_DIR = \"/data/my \\\"docs\\\"/\"\n";
    const ScopedEnv home("HOME", temp.Native("home/").c_str());
    const ScopedEnv config("XDG_CONFIG_HOME", temp.Native("home/cfg").c_str());
    const ScopedEnv data("XDG_DATA_HOME", "/srv/data");

    const std::string h = temp.Core("home");
    const std::pair<int, std::string> cases[] = {
        {Csidl::AppData, temp.Core("home/cfg")},
        {Csidl::LocalAppData, "C:\\srv\\data"},
        {Csidl::Desktop, h + "\\Schreibtisch"},
        {Csidl::Personal, "C:\\data\\my \"docs\""},
        {Csidl::MyDocuments, "C:\\data\\my \"docs\""},
        {Csidl::Profile, h},
        {Csidl::StartMenu, "C:\\srv\\data\\applications"},
        {Csidl::Programs, "C:\\srv\\data\\applications"},
        {Csidl::CommonStartMenu, "C:\\usr\\share\\applications"},
        {Csidl::CommonPrograms, "C:\\usr\\share\\applications"},
        {Csidl::ProgramFiles, "C:\\opt"},
        {Csidl::Controls, ""},
        {Csidl::Printers, ""},
        {Csidl::Favorites, ""},
        {Csidl::History, ""},
        {Csidl::Windows, ""},
        {Csidl::ProgramFilesCommon, ""},
        {Csidl::AdminTools, ""},
        {99, ""},
    };
    for (const auto& [number, expected] : cases)
        EXPECT_EQ(Folder(number), expected) << number;
}

TEST(PosixSpecialFolders, FallBackToTheDefaultsBelowHome) {
    TempFolder temp;
    const ScopedEnv home("HOME", temp.Native().c_str());
    const ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    const ScopedEnv data("XDG_DATA_HOME", "relative/ignored");
    EXPECT_EQ(Folder(Csidl::AppData), temp.Core(".config"));
    EXPECT_EQ(Folder(Csidl::LocalAppData), temp.Core(".local\\share"));
    EXPECT_EQ(Folder(Csidl::Programs), temp.Core(".local\\share\\applications"));
    EXPECT_EQ(Folder(Csidl::Desktop), temp.Core("Desktop"));
    EXPECT_EQ(Folder(Csidl::Personal), temp.Core("Documents"));
}

TEST(PosixSpecialFolders, IgnoreUnusableUserDirLines) {
    TempFolder temp;
    temp.Folder(".config");
    std::ofstream(temp.Native(".config/user-dirs.dirs")) << "XDG_DESKTOP_DIR=\"relative/desk\"\n"
                                                         << "XDG_DESKTOP_DIRX=\"/wrong/key\"\n"
                                                         << "XDG_DOCUMENTS_DIR=\"/unterminated\n";
    const ScopedEnv home("HOME", temp.Native().c_str());
    const ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(Folder(Csidl::Desktop), temp.Core("Desktop"));
    EXPECT_EQ(Folder(Csidl::Personal), temp.Core("Documents"));
}

TEST(PosixSpecialFolders, PickUpAChangedUserDirsFileAtOnce) {
    TempFolder temp;
    temp.Folder(".config");
    const ScopedEnv home("HOME", temp.Native().c_str());
    const ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    const std::string file = temp.Native(".config/user-dirs.dirs");
    std::ofstream(file) << "XDG_DESKTOP_DIR=\"/one\"\n";
    EXPECT_EQ(Folder(Csidl::Desktop), "C:\\one");
    // Same size and possibly the same time stamp: the file's identity or ctime still moves.
    std::ofstream(file + ".new") << "XDG_DESKTOP_DIR=\"/two\"\n";
    std::filesystem::rename(file + ".new", file);
    EXPECT_EQ(Folder(Csidl::Desktop), "C:\\two");
}

} // namespace
} // namespace orvan
