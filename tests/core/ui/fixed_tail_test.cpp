#include "core/ui/fixed_tail.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

// Every UTF-16 unit is 5 pixels wide.
int Units(std::u16string_view text) {
    return int(text.size()) * 5;
}

TEST(FixedTail, KeepsTheColonAtTheRightEdgeWhenTheCaptionIsTooWide) {
    struct Case {
        std::u16string caption;
        int width;
        std::u16string head;
        std::u16string tail;
    };
    const Case cases[] = {
        // Fits exactly, or with room: shown whole.
        {u"Path:", 25, u"Path:", u""},
        {u"Path:", 80, u"Path:", u""},
        // One unit too wide: the head loses characters for the ellipsis, the colon stays.
        {u"Include subdirectories:", 110, u"Include subdirecto...", u":"},
        {u"Unlimited depth:", 75, u"Unlimited d...", u":"},
        // Only the ellipsis and the colon fit.
        {u"Mask:", 20, u"...", u":"},
        // Not even that: the colon alone.
        {u"Mask:", 10, u"", u":"},
    };
    for (const Case& c : cases) {
        const FixedTailFit fit = FitFixedTail(c.caption, 1, c.width, Units);
        EXPECT_EQ(fit.head, c.head) << c.width;
        EXPECT_EQ(fit.tail, c.tail) << c.width;
        EXPECT_LE(Units(fit.head) + Units(fit.tail), std::max(c.width, 5));
    }
}

TEST(FixedTail, NeverSplitsASurrogatePair) {
    // Room for two units before the ellipsis: the second is the first half of U+1F600, so
    // the cut moves before the pair.
    const std::u16string caption = u"a\U0001F600bcdef:";
    const FixedTailFit fit = FitFixedTail(caption, 1, 30, Units);
    EXPECT_EQ(fit.tail, u":");
    EXPECT_EQ(fit.head, u"a...");
    // A fixed tail that would start inside a pair takes the whole pair.
    const FixedTailFit pair = FitFixedTail(u"ab\U0001F600", 1, 15, Units);
    EXPECT_EQ(pair.tail, u"\U0001F600");
}

TEST(FixedTail, NoFixedCharactersShowsTheCaptionAsItIs) {
    EXPECT_EQ(FitFixedTail(u"Path is enabled", 0, 10, Units).head, u"Path is enabled");
}

} // namespace
} // namespace orvan
