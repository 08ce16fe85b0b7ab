#include "core/robot/tips.h"

#include "core/base/random.h"

#include <gtest/gtest.h>

#include <array>
#include <regex>

namespace orvan {
namespace {

// Resets the shared generator and keeps the lists as the program fills them.
class Tips : public ::testing::Test {
protected:
    void SetUp() override {
        savedState_ = ProgramRandom().State();
        savedTips_ = TipList();
        savedJokes_ = JokeList();
        ProgramRandom().SetState(0);
    }
    void TearDown() override {
        TipList() = savedTips_;
        JokeList() = savedJokes_;
        ProgramRandom().SetState(savedState_);
    }

    std::uint32_t savedState_ = 0;
    std::vector<std::string> savedTips_;
    std::vector<std::string> savedJokes_;
};

TEST_F(Tips, ListsAreFilledAtStart) {
    EXPECT_EQ(TipList(), std::vector<std::string>{"Press Alt+F4 to close this program."});
    ASSERT_EQ(JokeList().size(), 6u);
    const std::regex attributed(R"(.+ \([^(),]+, [^()]+, \d{4}\)$)");
    int withAttribution = 0;
    for (const std::string& joke : JokeList()) {
        withAttribution += std::regex_match(joke, attributed) ? 1 : 0;
    }
    EXPECT_EQ(withAttribution, 5);
}

TEST_F(Tips, TipIsAlwaysTheOneTipAndStillDrawsANumber) {
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(RandomTip(), "Press Alt+F4 to close this program.");
    }
    EXPECT_NE(ProgramRandom().State(), 0u);
}

TEST_F(Tips, JokesFollowTheGeneratorWithReplacement) {
    // Below(6) from state 0 gives 0, 0, 5, 1, 1, 4.
    const std::array<std::size_t, 6> picks{0, 0, 5, 1, 1, 4};
    for (std::size_t index : picks) {
        EXPECT_EQ(RandomJoke(), JokeList()[index]);
    }
}

TEST_F(Tips, TipsAndJokesShareOneSequence) {
    RandomTip(); // consumes state 1
    RandomTip(); // consumes state 134775814
    EXPECT_EQ(RandomJoke(), JokeList()[5]);
}

TEST_F(Tips, EmptyListsGiveAnEmptyTextWithoutDrawing) {
    TipList().clear();
    JokeList().clear();
    EXPECT_EQ(RandomTip(), "");
    EXPECT_EQ(RandomJoke(), "");
    EXPECT_EQ(ProgramRandom().State(), 0u);
}

TEST_F(Tips, AddAppendsAtTheEnd) {
    AddTip("Second tip");
    AddJoke("Seventh joke");
    ASSERT_EQ(TipList().size(), 2u);
    EXPECT_EQ(TipList().back(), "Second tip");
    ASSERT_EQ(JokeList().size(), 7u);
    EXPECT_EQ(JokeList().back(), "Seventh joke");
    EXPECT_EQ(JokeList().front(), savedJokes_.front());
}

} // namespace
} // namespace orvan
