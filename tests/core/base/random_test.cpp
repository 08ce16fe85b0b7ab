#include "core/base/random.h"

#include <gtest/gtest.h>

#include <array>

namespace orvan {
namespace {

TEST(Random, StepsTheLinearCongruentialSequenceFromZero) {
    RandomGenerator generator;
    const std::array<std::uint32_t, 6> states{1u,         134775814u,  3698175007u,
                                              870078620u, 1172187917u, 2884733762u};
    for (std::uint32_t expected : states) {
        generator.Below(2);
        EXPECT_EQ(generator.State(), expected);
    }
}

TEST(Random, BelowTakesTheUpperHalfOfTheProductWithTheSteppedState) {
    RandomGenerator generator;
    const std::array<std::uint32_t, 8> dice{0, 0, 5, 1, 1, 4, 1, 0};
    for (std::uint32_t expected : dice) {
        EXPECT_EQ(generator.Below(6), expected);
    }
    // 1368768587 * 7 / 2^32 = 2.23: the same state gives a different value for another range.
    generator.SetState(2884733762u);
    EXPECT_EQ(generator.Below(7), 2u);
}

TEST(Random, DegenerateRangesGiveZero) {
    RandomGenerator generator(12345u);
    EXPECT_EQ(generator.Below(0), 0u);
    EXPECT_EQ(generator.Below(1), 0u);
    EXPECT_NE(generator.State(), 12345u); // each call still steps the state
}

TEST(Random, FractionIsTheSteppedStateOverTwoToThe32) {
    RandomGenerator generator;
    EXPECT_DOUBLE_EQ(generator.Fraction(), 1.0 / 4294967296.0);
    EXPECT_DOUBLE_EQ(generator.Fraction(), 134775814.0 / 4294967296.0);
    EXPECT_DOUBLE_EQ(generator.Fraction(), 3698175007.0 / 4294967296.0);

    // 1298181734 steps to the largest state, 2^32 - 1: the fraction stays below 1.
    generator.SetState(1298181734u);
    const double largest = generator.Fraction();
    EXPECT_EQ(generator.State(), 0xFFFFFFFFu);
    EXPECT_LT(largest, 1.0);
    EXPECT_DOUBLE_EQ(largest, 4294967295.0 / 4294967296.0);
}

TEST(Random, ProgramGeneratorIsOneSharedInstance) {
    RandomGenerator& generator = ProgramRandom();
    const std::uint32_t saved = generator.State();
    generator.SetState(0);
    ProgramRandom().Below(6);
    EXPECT_EQ(generator.State(), 1u);
    generator.SetState(saved);
}

} // namespace
} // namespace orvan
