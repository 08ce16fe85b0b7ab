#include "core/config/path_variables.h"
#include "platform/native.h"
#include "win32/wide_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace orvan {
namespace {

using win32::Narrow;
using win32::Wide;

// A fresh folder below the temporary folder; whatever a test leaves is made writable and
// removed at the end.
class TempTree {
public:
    TempTree() {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        root_ = Narrow(temp) + "orvan-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount64());
        CreateDirectoryW(Wide(root_).c_str(), nullptr);
    }
    ~TempTree() { Clear(root_); }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    std::string Path(const std::string& relative = "") const {
        return relative.empty() ? root_ : root_ + "\\" + relative;
    }
    void Folder(const std::string& relative) const {
        CreateDirectoryW(Wide(Path(relative)).c_str(), nullptr);
    }
    void File(const std::string& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL,
              const std::string& content = "") const {
        HANDLE file = CreateFileW(Wide(Path(relative)).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << relative;
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
        SetFileAttributesW(Wide(Path(relative)).c_str(), attributes);
    }
    bool Exists(const std::string& relative) const {
        return GetFileAttributesW(Wide(Path(relative)).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

private:
    static void Clear(const std::string& folder) {
        WIN32_FIND_DATAW data{};
        HANDLE find = FindFirstFileW(Wide(folder + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = Narrow(data.cFileName);
                if (name == "." || name == "..")
                    continue;
                const std::wstring path = Wide(folder + "\\" + name);
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                    Clear(folder + "\\" + name);
                else
                    DeleteFileW(path.c_str());
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(Wide(folder).c_str());
    }
    std::string root_;
};

std::vector<DirEntry> List(const std::string& folder, const std::string& pattern) {
    std::vector<DirEntry> entries;
    platform::FileSystem().Enumerate(folder, pattern, [&](const DirEntry& entry) {
        entries.push_back(entry);
        return true;
    });
    return entries;
}

std::vector<std::string> SortedNames(const std::vector<DirEntry>& entries) {
    std::vector<std::string> names;
    for (const DirEntry& entry : entries)
        names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Win32FileSystem, ListsEveryEntryWithItsAttributes) {
    TempTree tree;
    tree.File("plain.txt", FILE_ATTRIBUTE_ARCHIVE, "12345");
    tree.File("hidden.dat", FILE_ATTRIBUTE_HIDDEN);
    tree.File("system.dat", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    tree.File("locked.txt", FILE_ATTRIBUTE_READONLY);
    tree.Folder("sub");
    tree.File("\xC3\xA9t\xC3\xA9.exe"); // été.exe

    const std::vector<DirEntry> entries = List(tree.Path(), "*.*");
    EXPECT_EQ(SortedNames(entries),
              (std::vector<std::string>{".", "..", "hidden.dat", "locked.txt", "plain.txt", "sub",
                                        "system.dat", "\xC3\xA9t\xC3\xA9.exe"}));
    std::map<std::string, DirEntry> byName;
    for (const DirEntry& entry : entries)
        byName[entry.name] = entry;
    EXPECT_EQ(byName["plain.txt"].size, 5u);
    EXPECT_NE(byName["plain.txt"].attributes & FileAttribute::Archive, 0u);
    EXPECT_NE(byName["hidden.dat"].attributes & FileAttribute::Hidden, 0u);
    EXPECT_NE(byName["system.dat"].attributes & FileAttribute::System, 0u);
    EXPECT_NE(byName["locked.txt"].attributes & FileAttribute::ReadOnly, 0u);
    EXPECT_NE(byName["sub"].attributes & FileAttribute::Directory, 0u);
    EXPECT_NE(byName["."].attributes & FileAttribute::Directory, 0u);
    EXPECT_EQ(byName["plain.txt"].attributes & FileAttribute::ReparsePoint, 0u);

    // Written just now: within a day of the current local time.
    SYSTEMTIME now{};
    GetLocalTime(&now);
    FILETIME nowFile{};
    SystemTimeToFileTime(&now, &nowFile);
    const double nowDays =
        static_cast<double>((static_cast<unsigned long long>(nowFile.dwHighDateTime) << 32) |
                            nowFile.dwLowDateTime) /
            864e9 -
        109205.0;
    EXPECT_NEAR(byName["plain.txt"].lastWrite, nowDays, 1.0 / 24);
}

TEST(Win32FileSystem, MatchesPatternsAndReportsFailures) {
    TempTree tree;
    tree.File("A.EXE");
    tree.File("b.exe");
    tree.File("README");
    const auto names = [&](const std::string& pattern) {
        return SortedNames(List(tree.Path(), pattern));
    };
    EXPECT_EQ(names("*.exe"), (std::vector<std::string>{"A.EXE", "b.exe"}));
    EXPECT_EQ(names("readme.*"), (std::vector<std::string>{"README"}));
    EXPECT_EQ(names("*.*"), (std::vector<std::string>{".", "..", "A.EXE", "README", "b.exe"}));

    const auto ignore = [](const DirEntry&) { return true; };
    EXPECT_TRUE(platform::FileSystem().Enumerate(tree.Path(), "none*", ignore));
    EXPECT_TRUE(platform::FileSystem().Enumerate(tree.Path() + "\\", "*.*", ignore));
    EXPECT_FALSE(platform::FileSystem().Enumerate(tree.Path("missing"), "*.*", ignore));
    EXPECT_FALSE(platform::FileSystem().Enumerate("", "*.*", ignore));
}

TEST(Win32FileSystem, DeletesAndTests) {
    TempTree tree;
    tree.File("file");
    tree.File("locked", FILE_ATTRIBUTE_READONLY);
    tree.Folder("empty");
    tree.Folder("full");
    tree.File("full\\x");
    const FileSystemPort& fs = platform::FileSystem();
    EXPECT_TRUE(fs.FileExists(tree.Path("file")));
    EXPECT_FALSE(fs.FileExists(tree.Path("empty")));
    EXPECT_TRUE(fs.FolderExists(tree.Path("empty")));
    EXPECT_FALSE(fs.FolderExists(tree.Path("file")));
    EXPECT_FALSE(fs.FileExists(""));
    EXPECT_FALSE(fs.RemoveFile(tree.Path("locked")));
    EXPECT_TRUE(fs.RemoveFile(tree.Path("file")));
    EXPECT_FALSE(fs.FileExists(tree.Path("file")));
    EXPECT_FALSE(fs.RemoveFolder(tree.Path("full")));
    EXPECT_TRUE(fs.RemoveFolder(tree.Path("empty")));
    EXPECT_FALSE(fs.FolderExists(tree.Path("empty")));
}

TEST(Win32DeleteFolderTree, RemovesHiddenSystemAndNestedEntries) {
    TempTree tree;
    tree.Folder("t");
    tree.Folder("t\\sub");
    tree.Folder("t\\sub\\deeper");
    tree.File("t\\a.txt");
    tree.File("t\\h", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    tree.File("t\\sub\\deeper\\c");
    EXPECT_TRUE(DeleteFolderTree(platform::FileSystem(), tree.Path("t")));
    EXPECT_FALSE(tree.Exists("t"));
    EXPECT_FALSE(DeleteFolderTree(platform::FileSystem(), tree.Path("t")));
}

// Makes link a junction to the folder target, as "mklink /J" does: an empty folder with a
// mount-point reparse point. Where the file system has none, a symbolic link to the folder
// instead. False when neither can be made.
bool MakeFolderLink(const std::string& link, const std::string& target) {
    if (::CreateDirectoryW(Wide(link).c_str(), nullptr)) {
        HANDLE folder =
            ::CreateFileW(Wide(link).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        const std::wstring substitute = L"\\??\\" + Wide(target);
        const std::wstring print = Wide(target);
        // Tag, data length, reserved; then the mount point's offsets and lengths in bytes and
        // both names, each with its terminating zero.
        const WORD substituteBytes = WORD(substitute.size() * sizeof(wchar_t));
        const WORD printBytes = WORD(print.size() * sizeof(wchar_t));
        std::vector<unsigned char> data(8 + 8 + substituteBytes + 2 + printBytes + 2);
        const auto put16 = [&](std::size_t at, WORD value) { std::memcpy(&data[at], &value, 2); };
        const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
        std::memcpy(&data[0], &tag, 4);
        put16(4, WORD(data.size() - 8));
        put16(8, 0);
        put16(10, substituteBytes);
        put16(12, WORD(substituteBytes + 2));
        put16(14, printBytes);
        std::memcpy(&data[16], substitute.data(), substituteBytes);
        std::memcpy(&data[16 + substituteBytes + 2], print.data(), printBytes);
        DWORD returned = 0;
        const bool made = folder != INVALID_HANDLE_VALUE &&
                          ::DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, data.data(),
                                            DWORD(data.size()), nullptr, 0, &returned, nullptr);
        if (folder != INVALID_HANDLE_VALUE)
            ::CloseHandle(folder);
        const DWORD attributes = ::GetFileAttributesW(Wide(link).c_str());
        if (made && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            return true;
        ::RemoveDirectoryW(Wide(link).c_str());
    }
    // Some systems answer success without making anything: the link must be there, and lead
    // to the target.
    const DWORD attributes = ::CreateSymbolicLinkW(Wide(link).c_str(), Wide(target).c_str(),
                                                   SYMBOLIC_LINK_FLAG_DIRECTORY)
                                 ? ::GetFileAttributesW(Wide(link).c_str())
                                 : INVALID_FILE_ATTRIBUTES;
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The installer deletes the program's folders with administrator rights; a user without
// them could make such a folder, or one above it, a junction to any folder.
TEST(Win32DeleteFolderTree, NeverGoesThroughAJunctionAtAnyLevel) {
    struct Case {
        const char* name;
        const char* link; // made a link to "victim"
        const char* tree; // what is deleted
        bool deleted;
    };
    const Case cases[] = {
        {"inside the tree", "tree\\link", "tree", true},
        {"the tree itself", "tree", "tree", false},
        {"its parent", "parent", "parent\\tree", false},
        {"two levels above", "parent", "parent\\middle\\tree", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempTree tree;
        for (const char* folder :
             {"victim", "victim\\tree", "victim\\middle", "victim\\middle\\tree"})
            tree.Folder(folder);
        if (std::string(c.link) != "tree")
            tree.Folder("tree");
        for (const char* file :
             {"victim\\precious", "victim\\tree\\own", "victim\\middle\\tree\\own"})
            tree.File(file);
        if (!MakeFolderLink(tree.Path(c.link), tree.Path("victim"))) {
            GTEST_SKIP() << "this system can make neither a junction nor a folder link";
        }

        EXPECT_EQ(DeleteFolderTree(platform::FileSystem(), tree.Path(c.tree)), c.deleted);
        EXPECT_EQ(tree.Exists(c.tree), !c.deleted);
        for (const char* kept :
             {"victim\\precious", "victim\\tree\\own", "victim\\middle\\tree\\own"})
            EXPECT_TRUE(tree.Exists(kept)) << kept;
        if (!c.deleted) {
            EXPECT_TRUE(tree.Exists(c.link));
        }
        // The tree goes with its link, never through it.
        ::RemoveDirectoryW(Wide(tree.Path(c.link)).c_str());
    }
}

TEST(Win32DeleteFolderTree, AReadOnlyFileStopsItAndLeavesTheLaterEntries) {
    TempTree tree;
    tree.Folder("t");
    for (const char* name : {"t\\a", "t\\b", "t\\c", "t\\d", "t\\e"})
        tree.File(name);
    tree.File("t\\locked", FILE_ATTRIBUTE_READONLY);

    // The listing order is the file system's; find where the read-only file falls.
    std::vector<std::string> order;
    for (const DirEntry& entry : List(tree.Path("t"), "*.*"))
        if (entry.name != "." && entry.name != "..")
            order.push_back(entry.name);
    const auto locked = std::find(order.begin(), order.end(), "locked");
    ASSERT_NE(locked, order.end());

    EXPECT_FALSE(DeleteFolderTree(platform::FileSystem(), tree.Path("t")));
    EXPECT_TRUE(tree.Exists("t"));
    for (auto it = order.begin(); it != order.end(); ++it)
        EXPECT_EQ(tree.Exists("t\\" + *it), it >= locked) << *it;
}

} // namespace
} // namespace orvan
