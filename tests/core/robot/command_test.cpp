#include "core/robot/command.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace orvan {
namespace {

TEST(CommandTable, HasEightFilledRowsAndZeroRowsAfter) {
    ASSERT_EQ(CommandTable.size(), 20u);
    const std::vector<std::pair<int, std::string_view>> filled{
        {1, "sc_Exit"},       {2, ""},          {10, "sc_Home"}, {11, "sc_Quick"}, {12, "sc_Note"},
        {13, "sc_Clipboard"}, {14, "sc_Robot"}, {15, "sc_About"}};
    for (std::size_t row = 0; row < CommandTable.size(); ++row) {
        const Command& command = CommandTable[row];
        if (row < filled.size()) {
            EXPECT_EQ(command.Key, filled[row].first) << row;
            EXPECT_EQ(command.Name, filled[row].second) << row;
        } else {
            EXPECT_EQ(command.Key, 0) << row;
            EXPECT_TRUE(command.Name.empty()) << row;
        }
        EXPECT_EQ(command.Reserved, 0);
    }
}

TEST(CommandTable, CommandByNameIgnoresLetterCase) {
    const std::pair<const char*, int> cases[] = {
        {"sc_Exit", 1},       {"SC_EXIT", 1},   {"sc_home", 10},  {"Sc_Quick", 11}, {"sc_note", 12},
        {"sc_clipboard", 13}, {"sc_robot", 14}, {"sc_about", 15}, {"", 2},          {"sc_", -1},
        {"sc_Notes", -1},     {"exit", -1},     {" sc_Exit", -1}, {"sc_Exit ", -1},
    };
    for (const auto& [name, key] : cases)
        EXPECT_EQ(CommandByName(name), key) << '"' << name << '"';
}

class FakeSearchWindow final : public CommandPort {
public:
    bool SearchWindowVisible() const override { return visible; }
    void ShowPage(int page) override {
        if (failing)
            throw std::runtime_error("page control gone");
        pages.push_back(page);
    }
    void Terminate() override {
        if (failing)
            throw std::runtime_error("cannot end");
        ++terminations;
    }

    bool visible = true;
    bool failing = false;
    std::vector<int> pages;
    int terminations = 0;
};

TEST(ExecuteCommand, SwitchesPagesAndEndsTheProgram) {
    FakeSearchWindow window;
    for (int key = 10; key <= 15; ++key)
        ExecuteCommand(window, key);
    EXPECT_EQ(window.pages, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    ExecuteCommand(window, 1);
    EXPECT_EQ(window.terminations, 1);
}

TEST(ExecuteCommand, OtherKeysDoNothing) {
    FakeSearchWindow window;
    for (int key : {-1, 0, 2, 9, 16, 100})
        ExecuteCommand(window, key);
    EXPECT_TRUE(window.pages.empty());
    EXPECT_EQ(window.terminations, 0);
}

TEST(ExecuteCommand, DoesNothingWhileTheWindowIsHidden) {
    FakeSearchWindow window;
    window.visible = false;
    ExecuteCommand(window, 1);
    ExecuteCommand(window, 14);
    EXPECT_TRUE(window.pages.empty());
    EXPECT_EQ(window.terminations, 0);
}

TEST(ExecuteCommand, SwallowsErrors) {
    FakeSearchWindow window;
    window.failing = true;
    EXPECT_NO_THROW(ExecuteCommand(window, 1));
    EXPECT_NO_THROW(ExecuteCommand(window, 12));
}

} // namespace
} // namespace orvan
