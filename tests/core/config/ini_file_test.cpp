#include "core/config/ini_file.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

using namespace std::string_literals;

TEST(IniFile, ReadsAsTheProfileFunctionsDo) {
    const IniFile file = IniFile::FromText("; leading comment\n"
                                           "top=before any section\n"
                                           "[Global]\n"
                                           "  Language =  1031  \r\n"
                                           "HOTKEY=1\n"
                                           "hotkey=2\n"
                                           "novalue\n"
                                           "Quoted=\"a b\"\n"
                                           "Half=\"a b\n"
                                           "Single=' x '\n"
                                           "Empty=\n"
                                           "Equals=a=b\n"
                                           "[global]\n"
                                           "Extra=in the second section of the same name\n"
                                           "[ Spaced ]\n"
                                           "k=v\n"
                                           "[Br]acket]\n"
                                           "k=last bracket closes\n");
    EXPECT_EQ(file.Read("Global", "Language"), "1031");
    EXPECT_EQ(file.Read("GLOBAL", "language"), "1031");
    EXPECT_EQ(file.Read(" Global ", " Language "), "1031"); // requested names are trimmed
    EXPECT_EQ(file.Read("Global", "HotKey"), "1");          // the first occurrence wins
    EXPECT_EQ(file.Read("Global", "novalue"), std::nullopt);
    EXPECT_EQ(file.Read("Global", "Quoted"), "a b");
    EXPECT_EQ(file.Read("Global", "Half"), "\"a b");
    EXPECT_EQ(file.Read("Global", "Single"), " x ");
    EXPECT_EQ(file.Read("Global", "Empty"), "");
    EXPECT_EQ(file.Read("Global", "Equals"), "a=b");
    EXPECT_EQ(file.Read("Global", "Extra"), std::nullopt); // only the first section counts
    EXPECT_EQ(file.Read("Global", "top"), std::nullopt);
    EXPECT_EQ(file.Read("Spaced", "k"), std::nullopt);
    EXPECT_EQ(file.Read(" Spaced ", "k"), std::nullopt);
    EXPECT_EQ(file.Read("Br]acket", "k"), "last bracket closes");
    EXPECT_EQ(file.Read("Missing", "k"), std::nullopt);
}

TEST(IniFile, WritesOnlyTheLineItConcerns) {
    IniFile file = IniFile::FromText("; keep me\r\n"
                                     "[Global]\r\n"
                                     "Language = 7\r\n"
                                     "Unknown=stays\r\n"
                                     "Language=second\r\n"
                                     "\r\n"
                                     "[Other]\r\n"
                                     "x=1\r\n");
    file.Write("global", "LANGUAGE", "1031");
    file.Write("Global", "HotKey", "32800");
    file.Write("Paths", "Count", "2");
    file.Write("Paths", "Path_1", "a\r\nb");
    EXPECT_EQ(file.ToText(), "; keep me\r\n"
                             "[Global]\r\n"
                             "Language=1031\r\n"
                             "Unknown=stays\r\n"
                             "Language=second\r\n"
                             "HotKey=32800\r\n"
                             "\r\n"
                             "[Other]\r\n"
                             "x=1\r\n"
                             "[Paths]\r\n"
                             "Count=2\r\n"
                             "Path_1=a  b\r\n");
    EXPECT_EQ(file.Read("Global", "HotKey"), "32800");
    EXPECT_EQ(file.Read("Paths", "Count"), "2");
}

TEST(IniFile, ReadSectionGivesFirstOccurrencesInFileOrder) {
    const IniFile file =
        IniFile::FromText("[Paths]\nPath_2=b\nnoise\nPATH_1=a\npath_2=ignored\nCount=\"3\"\n");
    const auto entries = file.ReadSection("paths");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], (std::pair<std::string, std::string>{"Path_2", "b"}));
    EXPECT_EQ(entries[1], (std::pair<std::string, std::string>{"PATH_1", "a"}));
    EXPECT_EQ(entries[2], (std::pair<std::string, std::string>{"Count", "3"}));
    EXPECT_TRUE(file.ReadSection("none").empty());
}

struct EncodingCase {
    const char* label;
    std::string bytes;
};

class IniEncodings : public testing::TestWithParam<EncodingCase> {};

TEST_P(IniEncodings, DecodeToTheSameText) {
    const IniFile file = IniFile::FromBytes(GetParam().bytes);
    EXPECT_EQ(file.Read("S", "K"), "\xC3\xA9\xE2\x82\xAC") << GetParam().label; // "é€"
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniEncodings,
    testing::Values(EncodingCase{"utf-16le", "\xFF\xFE[\0S\0]\0\n\0K\0=\0\xE9\0\xAC\x20"s},
                    EncodingCase{"utf-16be", "\xFE\xFF\0[\0S\0]\0\n\0K\0=\0\xE9\x20\xAC"s},
                    EncodingCase{"utf-8 with mark", "\xEF\xBB\xBF[S]\nK=\xC3\xA9\xE2\x82\xAC"},
                    EncodingCase{"utf-8", "[S]\nK=\xC3\xA9\xE2\x82\xAC"},
                    EncodingCase{"windows-1252", "[S]\nK=\xE9\x80"}));

TEST(IniFile, SavesUtf16LittleEndianWithMark) {
    IniFile file;
    file.Write("S", "K", "\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(file.ToBytes(), "\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0\xE9\0\x3D\xD8\x00\xDE\r\0\n\0"s);
    EXPECT_EQ(IniFile::FromBytes(file.ToBytes()).Read("S", "K"), "\xC3\xA9\xF0\x9F\x98\x80");
}

TEST(IniFile, DamagedInputLoadsWhatItCan) {
    // Odd UTF-16 length, lone surrogates, zero bytes and a line without an end.
    const IniFile odd = IniFile::FromBytes("\xFF\xFE[\0S\0]\0\n\0K\0=\0\x00\xD8v\0\n"s);
    EXPECT_EQ(odd.Read("S", "K"), "\xEF\xBF\xBDv");
    const IniFile garbage = IniFile::FromBytes("\x00\x01[T]\xFF\n[S]\n=\nK=1\n[\n]]=\n"s);
    EXPECT_EQ(garbage.Read("S", "K"), "1");
    std::string huge = "[S]\nK=" + std::string(5'000'000, 'x');
    EXPECT_EQ(IniFile::FromText(huge).Read("S", "K")->size(), 5'000'000u);
}

} // namespace
} // namespace orvan
