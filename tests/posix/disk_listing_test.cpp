// The whole candidate build over the Linux file system: drive roots, folder listings with
// hidden entries, existing files, and the details area for them.
#include "core/search/run_details.h"
#include "platform/native.h"
#include "platform/native_shell.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>

namespace orvan {
namespace {

using testing::TempFolder;

class PosixBuildTest : public ::testing::Test {
protected:
    PosixBuildTest() {
        environment_.files.emplace(platform::FileSystem(), platform::FolderListing());
        temp_.Folder("Tools");
        temp_.Folder("tools-old");
        temp_.File("tool.txt", "abc");
        temp_.File(".toolrc");
        temp_.Folder(".tools");
        temp_.File("Other");
    }

    std::vector<RunAvailable> Build(const std::string& text) {
        BuildRunAvailableList(text, CatalogItems(), list_, environment_);
        std::vector<RunAvailable> rows;
        for (std::size_t i = 0; i < list_.size(); ++i)
            rows.push_back(list_[i].ToRunAvailable());
        return rows;
    }

    TempFolder temp_;
    RunBuildEnvironment environment_;
    RunAvailableList list_;
};

TEST_F(PosixBuildTest, ListsTheTypedFolderWithoutDotNames) {
    const std::string folder = temp_.Core() + "\\";
    EXPECT_EQ(
        Build(folder + "TOOL"),
        (std::vector<RunAvailable>{{"Tools", folder + "Tools", RunKind::Folder, ""},
                                   {"tool.txt", folder + "tool.txt", RunKind::File, ""},
                                   {"tools-old", folder + "tools-old", RunKind::Folder, ""}}));
    EXPECT_EQ(Build(folder).size(), 4u);
    EXPECT_EQ(Build(folder + "tool.txt"),
              (std::vector<RunAvailable>{{"tool.txt", folder + "tool.txt", RunKind::File, ""}}));
    EXPECT_TRUE(Build(folder + "nothing\\").empty());
    EXPECT_EQ(Build("c"), (std::vector<RunAvailable>{{"c:\\", "c:\\", RunKind::Folder, ""}}));
    EXPECT_EQ(Build("C:"), (std::vector<RunAvailable>{{"C:\\", "C:\\", RunKind::Folder, ""}}));
    EXPECT_TRUE(Build("d").empty());
}

std::map<std::string, bool> ListByPrefix(const std::string& folder, std::string_view prefix,
                                         bool* listed = nullptr) {
    std::map<std::string, bool> entries;
    const bool ok = platform::FolderListing().ListByPrefix(
        folder, prefix, [&](std::string_view name, bool isFolder) {
            entries.emplace(std::string(name), isFolder);
        });
    if (listed != nullptr)
        *listed = ok;
    return entries;
}

TEST_F(PosixBuildTest, QuickListingAgreesWithTheGeneralListing) {
    const std::string folder = temp_.Core() + "\\";
    for (const std::string prefix : {"", "TOOL", "T", "X", ".TOOL"}) {
        std::map<std::string, bool> general;
        ASSERT_TRUE(platform::FileSystem().Enumerate(folder, "*", [&](const DirEntry& entry) {
            if (entry.name != "." && entry.name != ".." &&
                StartsWithAsciiFolded(entry.name, prefix))
                general.emplace(entry.name, (entry.attributes & FileAttribute::Directory) != 0);
            return true;
        }));
        EXPECT_EQ(ListByPrefix(folder, prefix), general) << prefix;
    }
}

TEST_F(PosixBuildTest, QuickListingGivesNamesAndTheFolderFlag) {
    const std::string folder = temp_.Core() + "\\";
    ASSERT_EQ(symlink(temp_.Native("Tools").c_str(), temp_.Native("toolink").c_str()), 0);
    ASSERT_EQ(symlink(temp_.Native("gone").c_str(), temp_.Native("toolost").c_str()), 0);
    using Entries = std::map<std::string, bool>;
    EXPECT_EQ(ListByPrefix(folder, "TOOL"),
              (Entries{{"Tools", true},
                       {"tool.txt", false},
                       {"toolink", true},  // a link to a folder is a folder
                       {"toolost", false}, // a dangling link is still an entry
                       {"tools-old", true}}));
    // Hidden entries come too ("." names are the step's to skip); "." and ".." never.
    EXPECT_EQ(ListByPrefix(folder, ".TOOL"), (Entries{{".toolrc", false}, {".tools", true}}));
    EXPECT_EQ(ListByPrefix(folder, "").size(), 8u);
    EXPECT_TRUE(ListByPrefix(folder, "ZZZ").empty());
    bool listed = true;
    EXPECT_TRUE(ListByPrefix(temp_.Core("missing") + "\\", "", &listed).empty());
    EXPECT_FALSE(listed);
    EXPECT_TRUE(ListByPrefix("D:\\", "", &listed).empty());
    EXPECT_FALSE(listed);
}

TEST_F(PosixBuildTest, UnreadableFolderGivesNoRows) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every folder";
    chmod(temp_.Native("Tools").c_str(), 0);
    EXPECT_TRUE(Build(temp_.Core("Tools") + "\\").empty());
    chmod(temp_.Native("Tools").c_str(), 0700);
}

TEST_F(PosixBuildTest, DetailsDescribeTheSelectedFileAndFolder) {
    const FileInfoServices services{&platform::FileSystem(), &platform::VersionInfo(),
                                    &platform::Volumes()};
    Build(temp_.Core("tool.txt"));
    const RunDetailsView file = UpdateRunDetails(temp_.Core("tool.txt"), list_, 0, services);
    EXPECT_EQ(file.image, RunImage::File);
    EXPECT_EQ(file.text.rfind(
                  "tool.txt\r\rFile name: " + temp_.Core("tool.txt") + "\rFile size: 3 bytes\r", 0),
              0u)
        << file.text;
    Build(temp_.Core("Tools"));
    const RunDetailsView folder = UpdateRunDetails(temp_.Core("Tools"), list_, 0, services);
    EXPECT_EQ(folder.image, RunImage::Folder);
    EXPECT_EQ(folder.text.rfind(temp_.Core("Tools") + "\\\r\rVolume label: \rDisk size: ", 0), 0u)
        << folder.text;
}

} // namespace
} // namespace orvan
