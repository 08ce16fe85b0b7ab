#include "core/base/utf.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvan {
namespace {

TEST(Utf, RoundTripsThroughUtf16) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"; // a é € 😀
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide.size(), 5u);
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    EXPECT_EQ(Utf16Length(text), 5u);
}

TEST(Utf, InvalidBytesAndLoneSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(Utf8ToUtf16("\xFF"
                          "a"),
              (std::u16string{0xFFFD, u'a'}));
    EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), (std::u16string{0xFFFD, 0xFFFD}));
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBD"
                                                         "x");
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), (std::u16string{0xFFFD, 0xFFFD, 0xFFFD}));
}

TEST(Utf, CaseMappingCoversLatinGreekAndCyrillic) {
    EXPECT_EQ(Lower("TIME \xC3\x89T\xC3\x89 \xCE\xA9 \xD0\x96"),
              "time \xC3\xA9t\xC3\xA9 \xCF\x89 \xD0\xB6");
    EXPECT_EQ(Upper("\xC4\x8D\xC5\xA1"), "\xC4\x8C\xC5\xA0"); // čš -> ČŠ
    EXPECT_EQ(Lower("\xC4\x8C\xC5\xA0"), "\xC4\x8D\xC5\xA1");
    EXPECT_EQ(AsciiUpper("a\xC3\xA9z"), "A\xC3\xA9Z");
}

TEST(Utf, ComparesByUtf16CodeUnits) {
    // U+FF21 sorts after a supplementary character in code point order, before it in UTF-16.
    const std::string fullwidthA = "\xEF\xBC\xA1";
    const std::string emoji = "\xF0\x9F\x98\x80";
    EXPECT_LT(CompareUtf16(emoji, fullwidthA), 0);
    EXPECT_GT(CompareUtf16(fullwidthA, emoji), 0);
    EXPECT_LT(CompareUtf16("B", "a"), 0);
    EXPECT_LT(CompareUtf16("ab", "abc"), 0);
    EXPECT_EQ(CompareUtf16("abc", "abc"), 0);
    // Invalid bytes count as U+FFFD, as the conversion gives them.
    EXPECT_EQ(CompareUtf16("\xFF", "\xEF\xBF\xBD"), 0);
}

// Every pair of a set of awkward texts orders as their UTF-16 conversions do: long common
// beginnings (the comparison skips them eight bytes at a time), differences right after
// multi-byte characters, surrogate pairs against the characters above them, invalid and
// truncated sequences, prefixes and empty text.
TEST(Utf, ComparisonAgreesWithTheConvertedTexts) {
    std::vector<std::string> texts = {"", "a", "A", "ab", "abc", "b", "\x7F"};
    const std::vector<std::string> tails = {"",
                                            "a",
                                            "B",
                                            "\xC3\xA9",
                                            "\xC3\xA9"
                                            "a",
                                            "\xE2\x82\xAC",
                                            "\xEF\xBC\xA1",
                                            "\xEF\xBF\xBD",
                                            "\xF0\x9F\x98\x80",
                                            "\xF0\x9F\x98\x81",
                                            "\xFF",
                                            "\xFF"
                                            "a",
                                            "\xC3",
                                            "\xE2\x82",
                                            "\xE2\x82"
                                            "a",
                                            "\xF0\x9F",
                                            "\xED\xA0\x80",
                                            "\x80",
                                            "\xC0\x80",
                                            std::string(1, '\0')};
    for (const std::string head : {"", "C:\\Program Files\\", "\xC3\xA9t\xC3\xA9 1234567"})
        for (const std::string& tail : tails)
            texts.push_back(head + tail);
    for (const std::string& a : texts)
        for (const std::string& b : texts) {
            const std::u16string ua = Utf8ToUtf16(a);
            const std::u16string ub = Utf8ToUtf16(b);
            const int want = ua < ub ? -1 : (ub < ua ? 1 : 0);
            EXPECT_EQ(CompareUtf16(a, b), want)
                << ::testing::PrintToString(a) << " vs " << ::testing::PrintToString(b);
        }
}

TEST(Utf, TrimControlRemovesCodesUpToBlank) {
    EXPECT_EQ(TrimControl("  \t7 \x01"), "7");
    EXPECT_EQ(TrimControl("   "), "");
}

} // namespace
} // namespace orvan
