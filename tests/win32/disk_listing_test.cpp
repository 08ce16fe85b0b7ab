// The whole candidate build over the Windows file system: drive roots, folder listings with
// hidden and system entries, existing files, and the details area for them.
#include "core/search/run_details.h"
#include "platform/native.h"
#include "platform/native_shell.h"
#include "win32/wide_text.h"

#include <gtest/gtest.h>

#include <map>

#include <windows.h>

namespace orvan {
namespace {

using win32::Narrow;
using win32::Wide;

class Win32BuildTest : public ::testing::Test {
protected:
    Win32BuildTest() {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        root_ = Narrow(temp) + "orvan-build-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount64());
        CreateDirectoryW(Wide(root_).c_str(), nullptr);
        Folder("Tools");
        Folder("tools-old", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        File("tool.txt", FILE_ATTRIBUTE_READONLY, "abc");
        File(".toolrc", FILE_ATTRIBUTE_NORMAL);
        Folder(".tools");
        File("Other", FILE_ATTRIBUTE_HIDDEN);
        environment_.files.emplace(platform::FileSystem(), platform::FolderListing());
    }
    ~Win32BuildTest() override {
        for (const char* name : {"tool.txt", ".toolrc", "Other"}) {
            SetFileAttributesW(Wide(Path(name)).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(Wide(Path(name)).c_str());
        }
        for (const char* name : {"Tools", "tools-old", ".tools"})
            RemoveDirectoryW(Wide(Path(name)).c_str());
        RemoveDirectoryW(Wide(root_).c_str());
    }

    std::string Path(const std::string& name) const { return root_ + "\\" + name; }
    void Folder(const std::string& name, DWORD attributes = 0) {
        CreateDirectoryW(Wide(Path(name)).c_str(), nullptr);
        if (attributes != 0)
            SetFileAttributesW(Wide(Path(name)).c_str(), attributes);
    }
    void File(const std::string& name, DWORD attributes, const std::string& content = "") {
        HANDLE file = CreateFileW(Wide(Path(name)).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
        SetFileAttributesW(Wide(Path(name)).c_str(), attributes);
    }

    std::vector<RunAvailable> Build(const std::string& text) {
        BuildRunAvailableList(text, CatalogItems(), list_, environment_);
        std::vector<RunAvailable> rows;
        for (std::size_t i = 0; i < list_.size(); ++i)
            rows.push_back(list_[i].ToRunAvailable());
        return rows;
    }

    std::string root_;
    RunBuildEnvironment environment_;
    RunAvailableList list_;
};

TEST_F(Win32BuildTest, ListsHiddenAndSystemEntriesButNoDotNames) {
    const std::string folder = root_ + "\\";
    const std::vector<RunAvailable> tool{{"Tools", folder + "Tools", RunKind::Folder, ""},
                                         {"tool.txt", folder + "tool.txt", RunKind::File, ""},
                                         {"tools-old", folder + "tools-old", RunKind::Folder, ""}};
    EXPECT_EQ(Build(folder + "TOOL"), tool);
    EXPECT_EQ(Build(folder + "  tool "), tool);
    EXPECT_EQ(Build(folder).size(), 4u); // Other too
    EXPECT_EQ(Build(folder + "tool.txt"),
              (std::vector<RunAvailable>{{"tool.txt", folder + "tool.txt", RunKind::File, ""}}));
    EXPECT_TRUE(Build(folder + "nothing\\").empty());
}

TEST_F(Win32BuildTest, QuickListingAgreesWithTheGeneralListing) {
    const std::string folder = root_ + "\\";
    for (const std::string prefix : {"", "TOOL", "T", "X", ".TOOL"}) {
        std::map<std::string, bool> general;
        ASSERT_TRUE(platform::FileSystem().Enumerate(folder, "*", [&](const DirEntry& entry) {
            if (entry.name != "." && entry.name != ".." &&
                StartsWithAsciiFolded(entry.name, prefix))
                general.emplace(entry.name, (entry.attributes & FileAttribute::Directory) != 0);
            return true;
        }));
        std::map<std::string, bool> quick;
        EXPECT_TRUE(platform::FolderListing().ListByPrefix(
            folder, prefix, [&](std::string_view name, bool isFolder) {
                quick.emplace(std::string(name), isFolder);
            }));
        EXPECT_EQ(quick, general) << prefix;
    }
}

TEST_F(Win32BuildTest, DriveLettersGiveTheirRoots) {
    EXPECT_EQ(Build("c"), (std::vector<RunAvailable>{{"c:\\", "c:\\", RunKind::Folder, ""}}));
    EXPECT_EQ(Build("C:"), (std::vector<RunAvailable>{{"C:\\", "C:\\", RunKind::Folder, ""}}));
}

TEST_F(Win32BuildTest, DetailsShowTheFilesAttributesAndTheFoldersDisk) {
    const FileInfoServices services{&platform::FileSystem(), &platform::VersionInfo(),
                                    &platform::Volumes()};
    Build(Path("tool.txt"));
    const RunDetailsView file = UpdateRunDetails(Path("tool.txt"), list_, 0, services);
    EXPECT_EQ(file.image, RunImage::File);
    EXPECT_NE(file.text.find("\rFile name: " + Path("tool.txt") + "\rFile size: 3 bytes\r"),
              std::string::npos)
        << file.text;
    EXPECT_NE(file.text.find("\rAttributes: R"), std::string::npos) << file.text;
    Build(Path("Tools"));
    const RunDetailsView folder = UpdateRunDetails(Path("Tools"), list_, 0, services);
    EXPECT_EQ(folder.image, RunImage::Folder);
    EXPECT_EQ(folder.text.rfind(Path("Tools") + "\\\r\rVolume label: ", 0), 0u) << folder.text;
    EXPECT_NE(folder.text.find("\rDisk size: "), std::string::npos) << folder.text;
}

} // namespace
} // namespace orvan
