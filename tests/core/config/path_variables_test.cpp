#include "core/config/path_variables.h"

#include "core/base/utf.h"
#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace orvan {
namespace {

// Answers from a fixed map and records every lookup.
class FakeFolders final : public SpecialFolderPort {
public:
    explicit FakeFolders(std::map<int, std::string> folders) : folders_(std::move(folders)) {}
    std::string GetSpecialFolder(int folderNumber) const override {
        lookups.push_back(folderNumber);
        const auto it = folders_.find(folderNumber);
        return it == folders_.end() ? std::string() : it->second;
    }
    mutable std::vector<int> lookups;

private:
    std::map<int, std::string> folders_;
};

const std::map<int, std::string> kFolders = {
    {Csidl::AppData, "C:\\Users\\me\\AppData\\Roaming"},
    {Csidl::StartMenu, "C:\\Users\\me\\Start Menu"},
    {Csidl::CommonStartMenu, "C:\\ProgramData\\Start Menu"},
    {Csidl::ProgramFiles, "C:\\Program Files"},
    {Csidl::ProgramFilesCommon, "C:\\Program Files\\Common Files"},
};

struct ExpandCase {
    const char* text;
    const char* expected;
};

TEST(ExpandPathVariables, ReplacesWholeTokensExactly) {
    const ExpandCase cases[] = {
        {"%STARTMENU_COMMON%\\Programs", "C:\\ProgramData\\Start Menu\\Programs"},
        {"%STARTMENU%\\Programs", "C:\\Users\\me\\Start Menu\\Programs"},
        {"%PROGRAMFILES_COMMON%|%PROGRAMFILES%",
         "C:\\Program Files\\Common Files|C:\\Program Files"},
        {"%APPDATA%\\a;%APPDATA%\\b",
         "C:\\Users\\me\\AppData\\Roaming\\a;C:\\Users\\me\\AppData\\Roaming\\b"},
        {"C:\\plain\\path", "C:\\plain\\path"},
        {"", ""},
        {"%appdata%\\x", "%appdata%\\x"},
        {"%CONTROLS%\\x", "\\x"},
        {"%UNKNOWN%\\%APPDATA\\100%", "%UNKNOWN%\\%APPDATA\\100%"},
        {"%%APPDATA%%", "%C:\\Users\\me\\AppData\\Roaming%"},
    };
    const FakeFolders folders(kFolders);
    for (const ExpandCase& c : cases)
        EXPECT_EQ(ExpandPathVariables(folders, c.text), c.expected) << c.text;
}

TEST(ExpandPathVariables, EveryTokenStandsForItsFolderNumber) {
    const std::pair<const char*, int> expected[] = {
        {"%APPDATA%", 26},      {"%APPDATA_LOCAL%", 28},
        {"%PROGRAMFILES%", 38}, {"%PROGRAMFILES_COMMON%", 43},
        {"%PROGRAMS%", 2},      {"%PROGRAMS_COMMON%", 23},
        {"%STARTMENU%", 11},    {"%STARTMENU_COMMON%", 22},
        {"%WINDIR%", 36},       {"%USERPROFILE%", 40},
        {"%ADMINTOOLS%", 48},   {"%CONTROLS%", 3},
        {"%DESKTOP%", 0},       {"%FAVORITES%", 6},
        {"%HISTORY%", 34},      {"%MYDOCUMENTS%", 12},
        {"%PERSONAL%", 5},      {"%PRINTERS%", 4},
    };
    std::map<int, std::string> numbered;
    for (const auto& [token, number] : expected)
        numbered[number] = "<" + std::to_string(number) + ">";
    const FakeFolders folders(numbered);
    for (const auto& [token, number] : expected)
        EXPECT_EQ(ExpandPathVariables(folders, token), "<" + std::to_string(number) + ">") << token;
}

TEST(ExpandPathVariables, LooksEveryFolderUpOnEveryCallInTableOrder) {
    const FakeFolders folders(kFolders);
    ExpandPathVariables(folders, "no variables here");
    ExpandPathVariables(folders, "%APPDATA%");
    std::vector<int> once;
    for (const PathVariable& variable : kPathVariables)
        once.push_back(variable.folderNumber);
    std::vector<int> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(folders.lookups, twice);
    EXPECT_EQ(std::set<int>(once.begin(), once.end()).size(), 18u);
}

TEST(ExpandPathVariables, SeesAFolderThatMovedBetweenCalls) {
    std::map<int, std::string> before = kFolders;
    EXPECT_EQ(ExpandPathVariables(FakeFolders(before), "%APPDATA%"),
              "C:\\Users\\me\\AppData\\Roaming");
    before[Csidl::AppData] = "D:\\Roaming";
    EXPECT_EQ(ExpandPathVariables(FakeFolders(before), "%APPDATA%"), "D:\\Roaming");
}

TEST(GetSpecialFolder, KeepsAtMost261Utf16CodeUnits) {
    const std::string longPath = "C:\\" + std::string(300, 'x');
    EXPECT_EQ(GetSpecialFolder(FakeFolders({{5, longPath}}), 5), longPath.substr(0, 261));

    // A supplementary character that would straddle the limit is left out whole.
    const std::string emoji = "\xF0\x9F\x98\x80";
    const std::string straddling = std::string(260, 'y') + emoji + "z";
    const std::string cut = GetSpecialFolder(FakeFolders({{5, straddling}}), 5);
    EXPECT_EQ(cut, std::string(260, 'y'));

    const std::string fits = std::string(259, 'y') + emoji + "z";
    EXPECT_EQ(GetSpecialFolder(FakeFolders({{5, fits}}), 5), std::string(259, 'y') + emoji);

    EXPECT_EQ(GetSpecialFolder(FakeFolders({{5, std::string("C:\\a\0b", 6)}}), 5), "C:\\a");
    EXPECT_EQ(GetSpecialFolder(FakeFolders({}), 3), "");
}

TEST(SplitString, FollowsTheSeparatorRules) {
    struct Case {
        const char* text;
        char separator;
        ArrayOfString expected;
    };
    const Case cases[] = {
        {"", ';', {}},
        {"a", ';', {"a"}},
        {"a;b", ';', {"a", "b"}},
        {"a;;b", ';', {"a", "", "b"}},
        {";a", ';', {"", "a"}},
        {"a;", ';', {"a"}},
        {"a;;", ';', {"a", ""}},
        {";", ';', {""}},
        {";;", ';', {"", ""}},
        {"C:\\x||-1|False|True", '|', {"C:\\x", "", "-1", "False", "True"}},
        {"*.lnk;*.exe", '|', {"*.lnk;*.exe"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitString(c.text, c.separator), c.expected) << c.text;
}

using testing::MemoryFileSystem;

TEST(DeleteFolderTree, MissingFolderGivesFalseAndDeletesNothing) {
    MemoryFileSystem fs;
    fs.AddFile("C:\\other");
    EXPECT_FALSE(DeleteFolderTree(fs, "C:\\missing"));
    EXPECT_EQ(fs.log, (std::vector<std::string>{"nofollow C:\\missing"}));
    EXPECT_TRUE(fs.Exists("C:\\other"));
}

TEST(DeleteFolderTree, EmptyPathTouchesNothing) {
    MemoryFileSystem fs;
    EXPECT_FALSE(DeleteFolderTree(fs, ""));
    EXPECT_TRUE(fs.log.empty());
}

TEST(DeleteFolderTree, RemovesEverythingBelowIncludingHiddenAndSystemEntries) {
    MemoryFileSystem fs;
    fs.AddFolder("C:\\t");
    fs.AddFile("C:\\t\\a.txt");
    fs.AddFolder("C:\\t\\sub", FileAttribute::Hidden);
    fs.AddFile("C:\\t\\sub\\hidden", "", FileAttribute::Hidden | FileAttribute::System);
    fs.AddFolder("C:\\t\\sub\\deeper");
    fs.AddFile("C:\\t\\z");
    EXPECT_TRUE(DeleteFolderTree(fs, "C:\\t\\"));
    EXPECT_EQ(fs.log, (std::vector<std::string>{
                          "nofollow C:\\t\\",
                          "delete C:\\t\\a.txt",
                          "delete C:\\t\\sub\\hidden",
                          "rmdir C:\\t\\sub\\deeper",
                          "rmdir C:\\t\\sub",
                          "delete C:\\t\\z",
                          "rmdir C:\\t\\",
                      }));
}

TEST(DeleteFolderTree, StopsAtTheFirstFailureButStillTriesTheFolderItself) {
    MemoryFileSystem fs;
    fs.AddFolder("C:\\t");
    fs.AddFile("C:\\t\\a");
    fs.AddFolder("C:\\t\\sub");
    fs.AddFile("C:\\t\\sub\\1");
    fs.AddFile("C:\\t\\sub\\locked", "", FileAttribute::ReadOnly);
    fs.AddFile("C:\\t\\sub\\3");
    fs.AddFile("C:\\t\\z");
    EXPECT_FALSE(DeleteFolderTree(fs, "C:\\t"));
    EXPECT_EQ(fs.log, (std::vector<std::string>{
                          "nofollow C:\\t",
                          "delete C:\\t\\a",
                          "delete C:\\t\\sub\\1",
                          "delete C:\\t\\sub\\locked",
                          "rmdir C:\\t",
                      }));
    EXPECT_FALSE(fs.Exists("C:\\t\\a"));
    EXPECT_FALSE(fs.Exists("C:\\t\\sub\\1"));
    EXPECT_TRUE(fs.Exists("C:\\t\\sub\\locked"));
    EXPECT_TRUE(fs.Exists("C:\\t\\sub\\3"));
    EXPECT_TRUE(fs.Exists("C:\\t\\z"));
}

// A link below the tree goes itself; one at the tree's top or on the way to it leaves
// everything alone, so that whatever it leads to keeps its contents.
TEST(DeleteFolderTree, NeverGoesThroughALinkAtAnyLevel) {
    struct Case {
        const char* name;
        const char* link; // the folder that is a link
        const char* tree; // the tree deleted
        bool deleted;
    };
    const Case cases[] = {
        {"below", "C:\\t\\link", "C:\\t", true},
        {"at the top", "C:\\t", "C:\\t", false},
        {"above the top", "C:\\a", "C:\\a\\t", false},
        {"two above the top", "C:\\a", "C:\\a\\b\\t", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryFileSystem fs;
        fs.AddFile("C:\\keep\\precious");
        fs.AddFolder(c.link, FileAttribute::ReparsePoint);
        // What the link shows of its target.
        fs.AddFile(std::string(c.link) + "\\precious");
        fs.AddFile(std::string(c.tree) + "\\own");
        EXPECT_EQ(DeleteFolderTree(fs, c.tree), c.deleted);
        EXPECT_EQ(fs.Exists(c.tree), !c.deleted);
        EXPECT_TRUE(fs.Exists("C:\\keep\\precious"));
        if (!c.deleted) {
            EXPECT_TRUE(fs.Exists(std::string(c.link) + "\\precious"));
            EXPECT_EQ(fs.log, (std::vector<std::string>{std::string("nofollow ") + c.tree}));
        }
    }
}

} // namespace
} // namespace orvan
