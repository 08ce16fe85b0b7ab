#include "core/ui/waiter_band.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace orvan {
namespace {

TEST(WaiterBand, SweepsRightPastTheEdgeThenBackOutOfSight) {
    WaiterBand band;
    EXPECT_EQ(band.Position(), -200);
    const int width = 95;
    std::vector<int> turns;
    int previous = band.Position();
    bool right = true;
    for (int tick = 0; tick < 200; ++tick) {
        band.Tick(width);
        const bool nowRight = band.Position() > previous;
        EXPECT_EQ(std::abs(band.Position() - previous), 10);
        if (nowRight != right)
            turns.push_back(previous); // where the band stood when it turned
        right = nowRight;
        previous = band.Position();
    }
    // It turns once its left edge has passed the right edge, and once it is fully out of
    // sight on the left, never sooner.
    ASSERT_GE(turns.size(), 3u);
    EXPECT_EQ(turns[0], 100);
    EXPECT_EQ(turns[1], -200);
    EXPECT_EQ(turns[2], 100);
}

TEST(WaiterBand, StripesFadeFromTheMiddleIntoTheFace) {
    WaiterBand band;
    band.Tick(300);
    band.Tick(300); // left edge at -180
    const BandColor face = 0x00D8E9EC;
    const BandColor grey = 0x006D6D6D;
    const auto stripes = band.Stripes(face, grey);
    EXPECT_EQ(stripes.front().left, -180);
    EXPECT_EQ(stripes.back().left + stripes.back().width, -180 + 200);
    for (std::size_t i = 1; i < stripes.size(); ++i)
        EXPECT_EQ(stripes[i].left, stripes[i - 1].left + stripes[i - 1].width);
    EXPECT_EQ(stripes[19].color, grey);
    EXPECT_EQ(stripes[20].color, grey);
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_EQ(stripes[i].color, stripes[39 - i].color) << i;
    // Each channel moves from the face towards grey, step by step.
    for (int shift : {0, 8, 16})
        for (std::size_t i = 1; i < 20; ++i)
            EXPECT_LE((stripes[i].color >> shift) & 0xFF, (stripes[i - 1].color >> shift) & 0xFF);
    EXPECT_NE(stripes[0].color, face); // the first step is already on its way
}

} // namespace
} // namespace orvan
