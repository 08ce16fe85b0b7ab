#include "core/base/line_breaks.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

TEST(LineBreaks, LoneCarriageReturnsGainALineFeed) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"", ""},
        {"one line", "one line"},
        {"a\rb", "a\r\nb"},
        {"a\r\nb", "a\r\nb"},       // already a pair
        {"a\nb", "a\nb"},           // a lone LF stays
        {"a\r", "a\r\n"},           // at the end
        {"\r\r", "\r\n\r\n"},       // an empty line between
        {"a\r\r\nb", "a\r\n\r\nb"}, // a lone CR before a pair
        {"x\n\ry", "x\n\r\ny"},     // LF CR is not a pair
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CrToCrLf(std::string_view(c.text)), c.expected) << c.text;
        const std::u16string wide(c.text, c.text + std::char_traits<char>::length(c.text));
        const std::u16string expected(c.expected,
                                      c.expected + std::char_traits<char>::length(c.expected));
        EXPECT_EQ(CrToCrLf(std::u16string_view(wide)), expected) << c.text;
    }
}

} // namespace
} // namespace orvan
