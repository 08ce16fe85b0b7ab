// The saved text file's adapter against the real Windows API: the ANSI code page without
// best-fit look-alikes, and files created, replaced and refused.
#include "catalog_temp.h"
#include "platform/native_text_file.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace orvan {
namespace {

TEST(Win32AnsiCodePage, AsciiAlwaysFitsAndComesBackTheSame) {
    std::string bytes = "stale";
    EXPECT_TRUE(platform::AnsiCodePage().ToAnsiCodePage("", bytes));
    EXPECT_EQ(bytes, "");
    EXPECT_TRUE(platform::AnsiCodePage().ToAnsiCodePage("name=value\r\n", bytes));
    EXPECT_EQ(bytes, "name=value\r\n");
}

TEST(Win32AnsiCodePage, Windows1252RefusesWhatItCannotHold) {
    if (GetACP() != 1252)
        GTEST_SKIP() << "the system's code page is " << GetACP();
    struct Case {
        std::string text;
        bool fits;
        std::string bytes;
    };
    const Case cases[] = {
        {"\xC3\xA9\xE2\x82\xAC\xC5\xB8", true, "\xE9\x80\x9F"}, // é € Ÿ
        {"abc\xCE\xA9", false, ""},                             // Ω
        {"\xC4\x80", false, ""},                                // Ā, which best fit would make "A"
        {"\xE2\x88\x9E", false, ""},     // ∞, which best fit would make "8"
        {"\xF0\x9F\x98\x80", false, ""}, // beyond the BMP
        {"a\xFF", false, ""},            // no UTF-8: U+FFFD
    };
    for (const Case& c : cases) {
        std::string bytes;
        EXPECT_EQ(platform::AnsiCodePage().ToAnsiCodePage(c.text, bytes), c.fits) << c.text;
        if (c.fits) {
            EXPECT_EQ(bytes, c.bytes) << c.text;
        }
    }
}

TEST(Win32FileWrites, CreatesAndReplacesFiles) {
    const testing::CatalogTempFolder folder;
    const auto& files = platform::FileWrites();
    EXPECT_EQ(files.CreateOrReplace(folder.Path("out.txt"), "first, longer\r\n").status,
              FileWriteOutcome::Status::Written);
    EXPECT_EQ(folder.ReadBytes("out.txt"), "first, longer\r\n");
    EXPECT_EQ(files.CreateOrReplace(folder.Path("out.txt"), "second").status,
              FileWriteOutcome::Status::Written);
    EXPECT_EQ(folder.ReadBytes("out.txt"), "second");
}

TEST(Win32FileWrites, ReportsWhyAFileCouldNotBeCreated) {
    const testing::CatalogTempFolder folder;
    const FileWriteOutcome missing =
        platform::FileWrites().CreateOrReplace(folder.Path("no\\such\\x.txt"), "x");
    EXPECT_EQ(missing.status, FileWriteOutcome::Status::OpenFailed);
    EXPECT_EQ(missing.errorNumber, static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(missing.message.empty());
    EXPECT_NE(missing.message.back(), '\n');
}

} // namespace
} // namespace orvan
