// The saved text file's adapter on Linux: Windows-1252 as the ANSI code page, and files
// created, replaced and refused on real folders.
#include "platform/native_text_file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace orvan {
namespace {

TEST(PosixAnsiCodePage, IsWindows1252) {
    struct Case {
        std::string text;
        bool fits;
        std::string bytes;
    };
    const Case cases[] = {
        {"", true, ""},
        {"name=value\r\n", true, "name=value\r\n"},
        {"\xC3\xA9\xC3\xBF\xC2\xA0", true, "\xE9\xFF\xA0"},         // é ÿ and no-break space
        {"\xE2\x82\xAC\xC5\xB8\xE2\x84\xA2", true, "\x80\x9F\x99"}, // € Ÿ ™
        {"\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", true, "\x81\x8D\x8F\x90\x9D"},
        {"\xC2\x80", false, ""},         // U+0080 has no byte: 0x80 is the euro sign
        {"abc\xCE\xA9", false, ""},      // Ω
        {"\xC4\x80", false, ""},         // Ā: no best-fit "A"
        {"\xF0\x9F\x98\x80", false, ""}, // beyond the BMP
        {"a\xFF", false, ""},            // no UTF-8
    };
    for (const Case& c : cases) {
        std::string bytes = "stale";
        EXPECT_EQ(platform::AnsiCodePage().ToAnsiCodePage(c.text, bytes), c.fits) << c.text;
        if (c.fits) {
            EXPECT_EQ(bytes, c.bytes) << c.text;
        }
    }
}

std::string ReadAll(const std::string& native) {
    std::ifstream in(native, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST(PosixFileWrites, CreatesAndReplacesFiles) {
    const testing::TempFolder folder;
    const auto& files = platform::FileWrites();
    EXPECT_EQ(files.CreateOrReplace(folder.Core("out.txt"), "first, longer\r\n").status,
              FileWriteOutcome::Status::Written);
    EXPECT_EQ(ReadAll(folder.Native("out.txt")), "first, longer\r\n");
    EXPECT_EQ(files.CreateOrReplace(folder.Core("out.txt"), "second").status,
              FileWriteOutcome::Status::Written);
    EXPECT_EQ(ReadAll(folder.Native("out.txt")), "second");
}

TEST(PosixFileWrites, ReportsWhyAFileCouldNotBeWritten) {
    const testing::TempFolder folder;
    const auto& files = platform::FileWrites();
    const FileWriteOutcome missing = files.CreateOrReplace(folder.Core("no\\such\\x.txt"), "x");
    EXPECT_EQ(missing.status, FileWriteOutcome::Status::OpenFailed);
    EXPECT_EQ(missing.errorNumber, static_cast<std::uint32_t>(ENOENT));
    EXPECT_FALSE(missing.message.empty());

    folder.Folder("folder");
    EXPECT_EQ(files.CreateOrReplace(folder.Core("folder"), "x").status,
              FileWriteOutcome::Status::OpenFailed);

    // A device that takes no byte: the write itself fails, with the number of the failure.
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    const FileWriteOutcome full = files.CreateOrReplace("C:\\dev\\full", "x");
    EXPECT_EQ(full.status, FileWriteOutcome::Status::WriteFailed);
    EXPECT_EQ(full.errorNumber, static_cast<std::uint32_t>(ENOSPC));
}

} // namespace
} // namespace orvan
