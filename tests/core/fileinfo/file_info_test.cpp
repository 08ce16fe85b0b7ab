#include "core/fileinfo/file_info.h"

#include "core/base/date_format.h"
#include "core/search/input_fakes.h"

#include <gtest/gtest.h>

#include <limits>

namespace orvan {
namespace {

using testing::FakeFiles;
using testing::FakeVersionInfo;
using testing::FakeVolumes;

TEST(FormatFileSize, ChoosesTheUnitByMagnitude) {
    const LocaleSettings en;
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "0 bytes"},
        {1023, "1023 bytes"},
        {1024, "1.00 kB"},
        {1536, "1.50 kB"},
        // Exact ties of the second decimal round up, not to the even digit.
        {1152, "1.13 kB"},
        {1664, "1.63 kB"},
        {1126, "1.10 kB"},       // 1.0996...: not a tie
        {1029, "1.00 kB"},       // 1.0048...: below the tie
        {1030, "1.01 kB"},       // 1.0058...
        {10368, "10.13 kB"},     // 10.125
        {1179648, "1.13 MB"},    // 1.125
        {1744830464, "1.63 GB"}, // 1.625
        {1048575, "1024.00 kB"},
        {1048576, "1.00 MB"},
        {1073741823, "1024.00 MB"},
        {1073741824, "1.00 GB"},
        {-2048, "2.00 kB"},
        {-1, "1 bytes"},
        {std::numeric_limits<std::int64_t>::max(), "8589934592.00 GB"},
        {std::numeric_limits<std::int64_t>::min(), "8589934592.00 GB"}};
    for (const auto& [count, text] : cases)
        EXPECT_EQ(FormatFileSize(count, en), text) << count;
    EXPECT_EQ(FormatFileSize(1536, testing::GermanLocale()), "1,50 kB");
    EXPECT_EQ(FormatFileSize(12345678, testing::GermanLocale()), "11,77 MB"); // no grouping
}

TEST(AttributesText, ListsTheLettersInTheirOrder) {
    EXPECT_EQ(AttributesText(0), "");
    EXPECT_EQ(AttributesText(0x21), "RA");
    EXPECT_EQ(AttributesText(0x7F), "RHSVDAL");
    EXPECT_EQ(AttributesText(0x10 | 0x80 | 0x400), "D"); // other bits have no letter
}

TEST(FileFunctionText, NamesTypeAndSubtype) {
    struct Case {
        std::uint32_t type, subtype;
        const char* text;
    };
    const Case cases[] = {{0, 9, "Unknown"},
                          {1, 0, "Application"},
                          {2, 3, "DLL"},
                          {3, 0, "Unknown Driver"},
                          {3, 8, "InstallableDriver"},
                          {3, 10, "Communications Driver"},
                          {3, 11, ""},
                          {3, 12, ""},
                          {4, 3, "Truetype Font"},
                          {4, 4, ""},
                          {5, 0x1A2B, "Virtual Defice Identifier = 00001A2B"},
                          {5, 0xFFFFFFFF, "Virtual Defice Identifier = FFFFFFFF"},
                          {6, 0, ""},
                          {7, 1, "Static-link Library"},
                          {8, 0, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(FileFunctionText(FixedVersionInfo{0, 0, c.type, c.subtype}), c.text)
            << c.type << "/" << c.subtype;
}

TEST(ReadFileVersionInfo, ReadsVersionPartsOfExecutablesOnly) {
    FakeVersionInfo port;
    VersionResource resource;
    for (std::size_t i = 0; i < resource.strings.size(); ++i)
        resource.strings[i] = std::string("s") + std::to_string(i);
    // Flags count only where the mask allows them: 0x3F set, mask without pre-release (2).
    resource.fixed = FixedVersionInfo{0x3D, 0x3F, 1, 0};
    port.facts["C:\\app.exe"] = {"App", "Application", true};
    port.resources["C:\\app.exe"] = resource;
    port.facts["C:\\doc.txt"] = {"doc.txt", "Text Document", false};
    port.resources["C:\\doc.txt"] = resource;

    const FileVersionInfo app = ReadFileVersionInfo("C:\\app.exe", port);
    FileVersionInfo expected;
    expected.displayName = "App";
    expected.typeName = "Application";
    expected.companyName = "s0";
    expected.fileDescription = "s1";
    expected.fileVersion = "s2";
    expected.internalName = "s3";
    expected.legalCopyright = "s4";
    expected.legalTrademarks = "s5";
    expected.originalFilename = "s6";
    expected.productName = "s7";
    expected.productVersion = "s8";
    expected.comments = "s9";
    expected.specialBuild = "s10";
    expected.privateBuild = "s11";
    expected.fileFunction = "Application";
    expected.flagDebug = true;
    expected.flagPreRelease = false;
    expected.flagSpecialBuild = true;
    expected.flagPrivateBuild = true;
    expected.flagPatched = true;
    expected.flagInfoInferred = true;
    EXPECT_EQ(app, expected);

    // A document keeps its names but shows no version part.
    FileVersionInfo doc;
    doc.displayName = "doc.txt";
    doc.typeName = "Text Document";
    EXPECT_EQ(ReadFileVersionInfo("C:\\doc.txt", port), doc);

    // An executable without a fixed part has strings but no flags and no function.
    resource.fixed.reset();
    port.resources["C:\\app.exe"] = resource;
    const FileVersionInfo loose = ReadFileVersionInfo("C:\\app.exe", port);
    EXPECT_EQ(loose.companyName, "s0");
    EXPECT_EQ(loose.fileFunction, "");
    EXPECT_FALSE(loose.flagDebug);
    // No resource at all.
    port.resources.erase("C:\\app.exe");
    EXPECT_EQ(ReadFileVersionInfo("C:\\app.exe", port).companyName, "");
}

class FileDetailsTest : public ::testing::Test {
protected:
    FileDetailsTest() : locale_(LocaleSettings()) {
        DateTimeParts parts{2024, 3, 5, 14, 7, 9, 0, 0};
        files_.AddFile("C:\\Docs\\archive.tar.gz", 1536,
                       FileAttribute::ReadOnly | FileAttribute::Archive,
                       EncodeMoment(parts).value());
        parts.hour = parts.minute = parts.second = 0;
        files_.AddFile("C:\\Docs\\README", 10, FileAttribute::Archive, EncodeMoment(parts).value());
        files_.AddFile("C:\\Apps\\tool.exe", 100, FileAttribute::Archive,
                       EncodeMoment(parts).value());
        services_ = FileInfoServices{&files_, &versions_, &volumes_};
    }

    testing::LocaleScope locale_;
    FakeFiles files_;
    FakeVersionInfo versions_;
    FakeVolumes volumes_;
    FileInfoServices services_;
};

TEST_F(FileDetailsTest, GeneralPartForDocuments) {
    versions_.facts["C:\\Docs\\archive.tar.gz"] = {"archive.tar.gz", "GZ File", false};
    EXPECT_EQ(FileDetailsText("C:\\Docs\\archive.tar.gz", services_),
              "archive.tar.gz\r\r"
              "File name: C:\\Docs\\archive.tar.gz\r"
              "File size: 1.50 kB\r"
              "File time: 2024-03-05 14:07:09\r"
              "Attributes: RA\r"
              "File extension: gz");
    // Midnight leaves the time out; no extension leaves the value empty.
    EXPECT_EQ(FileDetailsText("C:\\Docs\\README", services_),
              "\r\rFile name: C:\\Docs\\README\rFile size: 10 bytes\rFile time: 2024-03-05\r"
              "Attributes: A\rFile extension: ");
}

TEST_F(FileDetailsTest, VersionPartFollowsAfterAnEmptyLine) {
    VersionResource resource;
    resource.strings[0] = "Morvane";  // CompanyName
    resource.strings[2] = "1.2.3";    // FileVersion
    resource.strings[11] = "private"; // PrivateBuild
    resource.fixed = FixedVersionInfo{0x3F, 0x21, 1, 0};
    versions_.facts["C:\\Apps\\tool.exe"] = {"Tool", "Application", true};
    versions_.resources["C:\\Apps\\tool.exe"] = resource;
    EXPECT_EQ(FileDetailsText("C:\\Apps\\tool.exe", services_), "Tool\r\r"
                                                                "File name: C:\\Apps\\tool.exe\r"
                                                                "File size: 100 bytes\r"
                                                                "File time: 2024-03-05\r"
                                                                "Attributes: A\r"
                                                                "File extension: exe\r"
                                                                "\r"
                                                                "Company name: Morvane\r"
                                                                "File type: Application\r"
                                                                "File version: 1.2.3\r"
                                                                "Private build str: private\r"
                                                                "File function: Application\r"
                                                                "Debug build: Yes\r"
                                                                "Special build: Yes");
}

TEST_F(FileDetailsTest, MissingFilesAndFoldersAreNotFound) {
    EXPECT_EQ(FileDetailsText("C:\\Docs\\gone.txt", services_), "File not found");
    EXPECT_EQ(FileDetailsText("C:\\Docs", services_), "File not found"); // a folder
    EXPECT_EQ(FileDetailsText("C:\\Docs\\README\\", services_), "File not found");
    EXPECT_EQ(FileDetailsText("", services_), "File not found");
    files_.MakeUnlistable("C:\\Docs");
    EXPECT_EQ(FileDetailsText("C:\\Docs\\README", services_), "File not found");
}

TEST_F(FileDetailsTest, FolderTextShowsLabelAndDiskFigures) {
    volumes_.labels[U'C'] = "System";
    volumes_.disks[3] = DiskFigures{500LL << 30, 0};
    const std::string expected = "C:\\Docs\\\r\rVolume label: SYSTEM\rDisk size: 500.00 GB\r"
                                 "Disk free: 0 bytes";
    EXPECT_EQ(FolderDetailsText("C:\\Docs", services_), expected);
    EXPECT_EQ(FolderDetailsText("C:\\Docs\\\\", services_), expected); // exactly one delimiter
    // The letter is asked in upper case whatever the typed case.
    EXPECT_EQ(FolderDetailsText("c:\\docs\\", services_),
              "c:\\docs\\\r\rVolume label: SYSTEM\rDisk size: 500.00 GB\rDisk free: 0 bytes");
    EXPECT_EQ(volumes_.labelRequests.back(), U'C');

    volumes_.disks[3] = DiskFigures{1024, -1}; // free space unknown
    EXPECT_EQ(FolderDetailsText("C:\\", services_),
              "C:\\\r\rVolume label: SYSTEM\rDisk size: 1.00 kB");
}

TEST_F(FileDetailsTest, FolderOnNoDriveEndsAfterTheLabelLine) {
    EXPECT_EQ(FolderDetailsText("Q:\\Data\\", services_), "Q:\\Data\\\r\rVolume label: ");
    EXPECT_EQ(FolderDetailsText("\\\\server\\share\\", services_),
              "\\\\server\\share\\\r\rVolume label: ");
    EXPECT_EQ(FolderDetailsText("Data", services_), "Data\\\r\rVolume label: ");
    EXPECT_EQ(FolderDetailsText("\\", services_), "\\\r\rVolume label: ");
    EXPECT_EQ(FolderDetailsText("", services_), "");
}

TEST(VolumeLabel, FollowsTheCaseOfTheLetter) {
    FakeVolumes volumes;
    volumes.labels[U'c'] = "Data Disk";
    volumes.labels[U'D'] = "Data Disk";
    EXPECT_EQ(VolumeLabel(U'c', volumes), "data disk");
    EXPECT_EQ(VolumeLabel(U'D', volumes), "DATA DISK");
    EXPECT_EQ(VolumeLabel(U'E', volumes), "");
}

} // namespace
} // namespace orvan
