#include "core/config/path_variables.h"

#include "core/base/utf.h"

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

// A folder tree in memory. Deleting a read-only file fails, as DeleteFileW does; every call
// is logged.
class FakeFileSystem final : public FileSystemPort {
public:
    void AddFolder(const std::string& path, std::uint32_t extra = 0) {
        entries_.push_back({path, FileAttribute::Directory | extra});
    }
    void AddFile(const std::string& path, std::uint32_t attributes = FileAttribute::Archive) {
        entries_.push_back({path, attributes});
    }
    bool Exists(const std::string& path) const { return Find(path) != entries_.end(); }

    bool Enumerate(const std::string& folder, const std::string& pattern,
                   const std::function<bool(const DirEntry&)>& visit) const override {
        log.push_back("list " + folder + " " + pattern);
        const std::string self = Unslashed(folder);
        const auto it = Find(self);
        if (it == entries_.end() || (it->attributes & FileAttribute::Directory) == 0)
            return false;
        if (!visit({".", FileAttribute::Directory, 0, 0}) ||
            !visit({"..", FileAttribute::Directory, 0, 0}))
            return true;
        // Copy first: the visitor deletes entries while the listing runs.
        const std::vector<Entry> snapshot = entries_;
        for (const Entry& entry : snapshot) {
            if (Parent(entry.path) != self || !Exists(entry.path))
                continue;
            if (!visit({entry.path.substr(self.size() + 1), entry.attributes, 0, 0}))
                break;
        }
        return true;
    }
    bool RemoveFile(const std::string& path) const override {
        log.push_back("delete " + path);
        const auto it = Find(path);
        if (it == entries_.end() || (it->attributes & FileAttribute::Directory) != 0 ||
            (it->attributes & FileAttribute::ReadOnly) != 0)
            return false;
        entries_.erase(it);
        return true;
    }
    bool RemoveFolder(const std::string& path) const override {
        log.push_back("rmdir " + path);
        const std::string self = Unslashed(path);
        const auto it = Find(self);
        if (it == entries_.end() || (it->attributes & FileAttribute::Directory) == 0)
            return false;
        if ((it->attributes & FileAttribute::ReparsePoint) == 0 &&
            std::any_of(entries_.begin(), entries_.end(),
                        [&](const Entry& e) { return Parent(e.path) == self; }))
            return false;
        entries_.erase(it);
        return true;
    }
    bool FileExists(const std::string& path) const override { return Exists(path); }
    bool FolderExists(const std::string& path) const override { return Exists(path); }

    mutable std::vector<std::string> log;

private:
    struct Entry {
        std::string path;
        std::uint32_t attributes;
    };
    static std::string Unslashed(std::string path) {
        if (!path.empty() && path.back() == '\\')
            path.pop_back();
        return path;
    }
    static std::string Parent(const std::string& path) {
        const auto cut = path.rfind('\\');
        return cut == std::string::npos ? std::string() : path.substr(0, cut);
    }
    std::vector<Entry>::iterator Find(const std::string& path) const {
        return std::find_if(entries_.begin(), entries_.end(),
                            [&](const Entry& e) { return e.path == path; });
    }
    mutable std::vector<Entry> entries_;
};

TEST(DeleteFolderTree, MissingFolderGivesFalseAndDeletesNothing) {
    FakeFileSystem fs;
    fs.AddFile("C:\\other");
    EXPECT_FALSE(DeleteFolderTree(fs, "C:\\missing"));
    EXPECT_EQ(fs.log, (std::vector<std::string>{"list C:\\missing *.*", "rmdir C:\\missing"}));
    EXPECT_TRUE(fs.Exists("C:\\other"));
}

TEST(DeleteFolderTree, EmptyPathTouchesNothing) {
    FakeFileSystem fs;
    EXPECT_FALSE(DeleteFolderTree(fs, ""));
    EXPECT_TRUE(fs.log.empty());
}

TEST(DeleteFolderTree, RemovesEverythingBelowIncludingHiddenAndSystemEntries) {
    FakeFileSystem fs;
    fs.AddFolder("C:\\t");
    fs.AddFile("C:\\t\\a.txt");
    fs.AddFolder("C:\\t\\sub", FileAttribute::Hidden);
    fs.AddFile("C:\\t\\sub\\hidden", FileAttribute::Hidden | FileAttribute::System);
    fs.AddFolder("C:\\t\\sub\\deeper");
    fs.AddFile("C:\\t\\z");
    EXPECT_TRUE(DeleteFolderTree(fs, "C:\\t\\"));
    EXPECT_EQ(fs.log, (std::vector<std::string>{
                          "list C:\\t\\ *.*",
                          "delete C:\\t\\a.txt",
                          "list C:\\t\\sub *.*",
                          "delete C:\\t\\sub\\hidden",
                          "list C:\\t\\sub\\deeper *.*",
                          "rmdir C:\\t\\sub\\deeper",
                          "rmdir C:\\t\\sub",
                          "delete C:\\t\\z",
                          "rmdir C:\\t\\",
                      }));
}

TEST(DeleteFolderTree, StopsAtTheFirstFailureButStillTriesTheFolderItself) {
    FakeFileSystem fs;
    fs.AddFolder("C:\\t");
    fs.AddFile("C:\\t\\a");
    fs.AddFolder("C:\\t\\sub");
    fs.AddFile("C:\\t\\sub\\1");
    fs.AddFile("C:\\t\\sub\\locked", FileAttribute::ReadOnly);
    fs.AddFile("C:\\t\\sub\\3");
    fs.AddFile("C:\\t\\z");
    EXPECT_FALSE(DeleteFolderTree(fs, "C:\\t"));
    EXPECT_EQ(fs.log, (std::vector<std::string>{
                          "list C:\\t *.*",
                          "delete C:\\t\\a",
                          "list C:\\t\\sub *.*",
                          "delete C:\\t\\sub\\1",
                          "delete C:\\t\\sub\\locked",
                          "rmdir C:\\t\\sub",
                          "rmdir C:\\t",
                      }));
    EXPECT_FALSE(fs.Exists("C:\\t\\a"));
    EXPECT_FALSE(fs.Exists("C:\\t\\sub\\1"));
    EXPECT_TRUE(fs.Exists("C:\\t\\sub\\locked"));
    EXPECT_TRUE(fs.Exists("C:\\t\\sub\\3"));
    EXPECT_TRUE(fs.Exists("C:\\t\\z"));
}

TEST(DeleteFolderTree, RemovesALinkedFolderWithoutGoingThroughIt) {
    FakeFileSystem fs;
    fs.AddFolder("C:\\keep");
    fs.AddFile("C:\\keep\\precious");
    fs.AddFolder("C:\\t");
    fs.AddFolder("C:\\t\\link", FileAttribute::ReparsePoint);
    EXPECT_TRUE(DeleteFolderTree(fs, "C:\\t"));
    EXPECT_EQ(fs.log,
              (std::vector<std::string>{"list C:\\t *.*", "rmdir C:\\t\\link", "rmdir C:\\t"}));
    EXPECT_TRUE(fs.Exists("C:\\keep\\precious"));
}

} // namespace
} // namespace orvan
