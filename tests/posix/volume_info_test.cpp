// Drives on Linux: C: only, no labels, disk figures of the folder's file system.
#include "core/fileinfo/file_info.h"
#include "platform/native.h"
#include "platform/native_shell.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <sys/statvfs.h>

namespace orvan {
namespace {

using testing::TempFolder;

TEST(PosixVolumes, DriveCHasTheFiguresOfTheFoldersFileSystem) {
    TempFolder temp;
    struct statvfs fs {};
    ASSERT_EQ(statvfs(temp.Native().c_str(), &fs), 0);
    const DiskFigures disk = platform::Volumes().Disk(3, temp.Core());
    EXPECT_EQ(disk.size, static_cast<std::int64_t>(fs.f_blocks * fs.f_frsize));
    EXPECT_GE(disk.free, 0);
    EXPECT_LE(disk.free, disk.size);
    // A folder that cannot be asked falls back to the root's file system.
    EXPECT_GT(platform::Volumes().Disk(3, "C:\\no\\such\\folder").size, 0);
}

TEST(PosixVolumes, OtherDrivesDoNotExistAndNoVolumeHasALabel) {
    for (const int drive : {0, 1, 4, 26, 28, -5})
        EXPECT_LT(platform::Volumes().Disk(drive, "C:\\").size, 0) << drive;
    EXPECT_EQ(platform::Volumes().VolumeLabel(U'C'), "");
}

TEST(PosixVolumes, FolderTextShowsTheDiskFigures) {
    const FileInfoServices services{&platform::FileSystem(), &platform::VersionInfo(),
                                    &platform::Volumes()};
    const std::string text = FolderDetailsText("C:\\", services);
    EXPECT_EQ(text.rfind("C:\\\r\rVolume label: \rDisk size: ", 0), 0u) << text;
    EXPECT_NE(text.find("\rDisk free: "), std::string::npos) << text;
    EXPECT_EQ(FolderDetailsText("D:\\x", services), "D:\\x\\\r\rVolume label: ");
}

} // namespace
} // namespace orvan
