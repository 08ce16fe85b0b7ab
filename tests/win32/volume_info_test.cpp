// Volume labels and disk figures through the adapter, against the system's own answers.
#include "core/fileinfo/file_info.h"
#include "platform/native.h"
#include "platform/native_shell.h"
#include "win32/wide_text.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace orvan {
namespace {

// A letter that names no drive here.
char32_t MissingDrive() {
    const DWORD drives = GetLogicalDrives();
    for (int i = 25; i >= 3; --i)
        if ((drives & (1u << i)) == 0)
            return static_cast<char32_t>(U'A' + i);
    return 0;
}

TEST(Win32Volumes, LabelIsTheSystemsAndTheErrorModeComesBack) {
    wchar_t label[MAX_PATH + 1] = {};
    const BOOL ok =
        GetVolumeInformationW(L"C:\\", label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0);
    const UINT before = SetErrorMode(SEM_NOGPFAULTERRORBOX);
    EXPECT_EQ(platform::Volumes().VolumeLabel(U'C'), ok ? win32::Narrow(label) : "");
    EXPECT_EQ(GetErrorMode(), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
    EXPECT_EQ(platform::Volumes().VolumeLabel(U'c'), ok ? win32::Narrow(label) : "");
    const char32_t missing = MissingDrive();
    ASSERT_NE(missing, 0u);
    EXPECT_EQ(platform::Volumes().VolumeLabel(missing), "");
    EXPECT_EQ(GetErrorMode(), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
    EXPECT_EQ(platform::Volumes().VolumeLabel(U'\\'), "");
    SetErrorMode(before);
}

TEST(Win32Volumes, DiskFiguresOfExistingDrivesOnly) {
    ULARGE_INTEGER available{};
    ULARGE_INTEGER total{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"C:\\", &available, &total, nullptr));
    const DiskFigures c = platform::Volumes().Disk(3, "C:\\");
    EXPECT_EQ(c.size, static_cast<std::int64_t>(total.QuadPart));
    EXPECT_GE(c.free, 0);
    EXPECT_LE(c.free, c.size);
    const char32_t missing = MissingDrive();
    EXPECT_LT(platform::Volumes().Disk(static_cast<int>(missing - U'A') + 1, "").size, 0);
    for (const int number : {0, 27, 28, -1})
        EXPECT_LT(platform::Volumes().Disk(number, "").size, 0) << number;
}

TEST(Win32Volumes, FolderTextForExistingAndMissingDrives) {
    const FileInfoServices services{&platform::FileSystem(), &platform::VersionInfo(),
                                    &platform::Volumes()};
    const std::string c = FolderDetailsText("C:\\windows", services);
    EXPECT_EQ(c.rfind("C:\\windows\\\r\rVolume label: ", 0), 0u) << c;
    EXPECT_NE(c.find("\rDisk size: "), std::string::npos) << c;
    EXPECT_NE(c.find("\rDisk free: "), std::string::npos) << c;
    std::string missing(1, static_cast<char>(MissingDrive()));
    missing += ":\\Data";
    EXPECT_EQ(FolderDetailsText(missing, services), missing + "\\\r\rVolume label: ");
    EXPECT_EQ(FolderDetailsText("\\\\server\\share", services),
              "\\\\server\\share\\\r\rVolume label: ");
}

} // namespace
} // namespace orvan
