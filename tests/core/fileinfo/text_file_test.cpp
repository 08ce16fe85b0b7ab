#include "core/fileinfo/text_file.h"

#include <gtest/gtest.h>

#include <map>

namespace orvan {
namespace {

// A Latin-1 code page: code points up to U+00FF are their own byte.
class Latin1 final : public AnsiCodePagePort {
public:
    bool ToAnsiCodePage(std::string_view text, std::string& bytes) const override {
        bytes.clear();
        for (std::size_t i = 0; i < text.size();) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (c < 0x80) {
                bytes.push_back(static_cast<char>(c));
                ++i;
            } else if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size()) {
                bytes.push_back(static_cast<char>(((c & 0x03) << 6) | (text[i + 1] & 0x3F)));
                i += 2;
            } else {
                return false;
            }
        }
        return true;
    }
};

class FakeFiles final : public FileWritePort {
public:
    FileWriteOutcome CreateOrReplace(const std::string& path,
                                     std::string_view bytes) const override {
        if (outcome.status == FileWriteOutcome::Status::Written)
            written[path] = std::string(bytes);
        return outcome;
    }
    FileWriteOutcome outcome;
    mutable std::map<std::string, std::string> written;
};

TEST(TextFile, AnsiWhenEveryCharacterFitsElseUtf8WithAMark) {
    const Latin1 latin1;
    struct Case {
        std::string text;
        std::string bytes;
    };
    const Case cases[] = {
        {"name1=value1\rname2=value2", "name1=value1\rname2=value2\r\n"},
        {"", "\r\n"},
        {"Gr\xC3\xB6\xC3\x9F"
         "e",
         "Gr\xF6\xDF"
         "e\r\n"},
        // One character outside the code page: the whole file is UTF-8, nothing lost.
        {"\xC3\xB6 \xCE\xA9", "\xEF\xBB\xBF\xC3\xB6 \xCE\xA9\r\n"},
        {"\xE6\x97\xA5\xF0\x9F\x98\x80", "\xEF\xBB\xBF\xE6\x97\xA5\xF0\x9F\x98\x80\r\n"},
        // Bytes that are no UTF-8 at all become U+FFFD rather than invalid output.
        {"a\xFF", "\xEF\xBB\xBF"
                  "a\xEF\xBF\xBD\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EncodeTextFile(c.text, latin1), c.bytes) << c.text;
}

TEST(TextFile, SaveReportsFailuresInWords) {
    const Latin1 latin1;
    FakeFiles files;
    std::string error = "stale";
    EXPECT_TRUE(SaveTextToFile("a=b", "C:\\out.txt", latin1, files, error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(files.written["C:\\out.txt"], "a=b\r\n");

    // Plain fields: MinGW's GCC 12 at -O3 wrongly reports a nested aggregate's string as
    // maybe uninitialised.
    struct Case {
        FileWriteOutcome::Status status;
        std::uint32_t number;
        const char* message;
        const char* error;
    };
    using S = FileWriteOutcome::Status;
    const Case cases[] = {
        {S::WriteFailed, 112, "", "Error writing file #112!"},
        {S::OpenFailed, 5, "Access is denied.", "Access is denied."},
        {S::OpenFailed, 3, "", "Error writing file #3!"},
    };
    for (const Case& c : cases) {
        files.outcome = {c.status, c.number, c.message};
        EXPECT_FALSE(SaveTextToFile("a=b", "C:\\out.txt", latin1, files, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(TextFile, WithoutItsPortsNothingIsWrittenAndTheErrorSaysSo) {
    std::string error;
    EXPECT_FALSE(SaveTextToFile("a=b", "C:\\out.txt", TextFileServices{}, error));
    EXPECT_EQ(error, "Error writing file #0!");
}

} // namespace
} // namespace orvan
