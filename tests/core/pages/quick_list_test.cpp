#include "core/pages/quick_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvan {
namespace {

struct LineCase {
    const char* label;
    const char* line;
    std::optional<QuickItem> expected;
};

class QuickLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(QuickLines, ParseAsCatalogPathLinesAre) {
    EXPECT_EQ(ParseQuickLine(GetParam().line), GetParam().expected) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuickLines,
    ::testing::Values(LineCase{"path and name", "C:\\a.exe|Alpha", QuickItem{"C:\\a.exe", "Alpha"}},
                      LineCase{"empty name", "C:\\Docs\\|", QuickItem{"C:\\Docs\\", ""}},
                      LineCase{"no separator", "C:\\a.exe", std::nullopt},
                      LineCase{"three fields", "C:\\a|b|c", std::nullopt},
                      LineCase{"empty path", "|Alpha", std::nullopt},
                      LineCase{"empty", "", std::nullopt}));

TEST(QuickLines, AFormattedLineReadsBackAndANameLosesItsSeparators) {
    const QuickItem item{"C:\\x\\a.exe", "A|B"};
    EXPECT_EQ(FormatQuickLine(item), "C:\\x\\a.exe|A B");
    EXPECT_EQ(ParseQuickLine(FormatQuickLine(item)), (QuickItem{"C:\\x\\a.exe", "A B"}));
}

struct NameCase {
    QuickItem item;
    const char* shown;
};

class QuickNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(QuickNames, AnEmptyNameShowsTheFileName) {
    EXPECT_EQ(QuickItemName(GetParam().item), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, QuickNames,
                         ::testing::Values(NameCase{{"C:\\x\\a.exe", "Alpha"}, "Alpha"},
                                           NameCase{{"C:\\x\\a.exe", ""}, "a.exe"},
                                           NameCase{{"C:\\Tools\\", ""}, "Tools"},
                                           NameCase{{"C:\\", ""}, "C:\\"},
                                           NameCase{{"\\\\server\\share\\b.txt", ""}, "b.txt"},
                                           NameCase{{"relative", ""}, "relative"}));

QuickItems Sample() {
    return {{"C:\\a\\Notepad.lnk", "Notepad"},
            {"C:\\Tools\\", ""},
            {"C:\\b\\calc.exe", "Calculator"},
            {"C:\\c\\Ölfarben.txt", ""}};
}

struct FilterCase {
    const char* filter;
    std::vector<std::size_t> shown;
};

class QuickFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(QuickFilter, MatchesTheShownNameIgnoringCase) {
    EXPECT_EQ(FilterQuickItems(Sample(), GetParam().filter), GetParam().shown) << GetParam().filter;
}

INSTANTIATE_TEST_SUITE_P(Cases, QuickFilter,
                         ::testing::Values(FilterCase{"", {0, 1, 2, 3}}, FilterCase{"NOTE", {0}},
                                           FilterCase{"t", {0, 1, 2, 3}},
                                           FilterCase{"calc", {2}}, // the name, not the path
                                           FilterCase{"ölf", {3}}, FilterCase{"a\\", {}},
                                           FilterCase{"zzz", {}}));

TEST(QuickPin, AddsAtTheEndOncePerPathAndKeepsOnlyANameOfItsOwn) {
    QuickItems items = Sample();
    EXPECT_EQ(PinQuickItem(items, "c:\\B\\CALC.EXE", "Other"), 2u); // already there
    EXPECT_EQ(items.size(), 4u);
    EXPECT_EQ(PinQuickItem(items, "C:\\d\\x.exe", "x.exe"), 4u);
    EXPECT_EQ(items[4], (QuickItem{"C:\\d\\x.exe", ""}));
    EXPECT_EQ(PinQuickItem(items, "C:\\d\\y.lnk", "Why|Not"), 5u);
    EXPECT_EQ(items[5], (QuickItem{"C:\\d\\y.lnk", "Why Not"}));
}

struct MoveCase {
    const char* label;
    const char* filter;
    std::size_t row;
    bool up;
    std::optional<std::size_t> newRow;
    std::vector<std::string> order; // paths afterwards
};

class QuickMove : public ::testing::TestWithParam<MoveCase> {};

TEST_P(QuickMove, SwapsWithTheShownNeighbour) {
    QuickItems items = Sample();
    const std::vector<std::size_t> shown = FilterQuickItems(items, GetParam().filter);
    EXPECT_EQ(MoveQuickItem(items, shown, GetParam().row, GetParam().up), GetParam().newRow)
        << GetParam().label;
    std::vector<std::string> order;
    for (const QuickItem& item : items)
        order.push_back(item.path);
    EXPECT_EQ(order, GetParam().order) << GetParam().label;
}

const std::vector<std::string> kUnmoved{"C:\\a\\Notepad.lnk", "C:\\Tools\\", "C:\\b\\calc.exe",
                                        "C:\\c\\Ölfarben.txt"};

INSTANTIATE_TEST_SUITE_P(
    Cases, QuickMove,
    ::testing::Values(
        MoveCase{"down",
                 "",
                 0,
                 false,
                 1,
                 {"C:\\Tools\\", "C:\\a\\Notepad.lnk", "C:\\b\\calc.exe", "C:\\c\\Ölfarben.txt"}},
        MoveCase{"up",
                 "",
                 3,
                 true,
                 2,
                 {"C:\\a\\Notepad.lnk", "C:\\Tools\\", "C:\\c\\Ölfarben.txt", "C:\\b\\calc.exe"}},
        MoveCase{"first up", "", 0, true, std::nullopt, kUnmoved},
        MoveCase{"last down", "", 3, false, std::nullopt, kUnmoved},
        MoveCase{"past the hidden rows",
                 "e", // Notepad and Ölfarben.txt
                 1,
                 true,
                 0,
                 {"C:\\c\\Ölfarben.txt", "C:\\Tools\\", "C:\\b\\calc.exe", "C:\\a\\Notepad.lnk"}},
        MoveCase{"no row", "", 7, true, std::nullopt, kUnmoved}));

TEST(QuickStart, AFolderStartsAsAFolderAndAFileAsACatalogEntry) {
    EXPECT_EQ(QuickRunCandidate({"C:\\Tools\\", ""}),
              (RunAvailable{"Tools", "C:\\Tools\\", RunKind::Folder, {}}));
    EXPECT_EQ(QuickRunCandidate({"C:\\a\\Notepad.lnk", "Notepad"}),
              (RunAvailable{"Notepad", "C:\\a\\Notepad.lnk", RunKind::Catalog, {}}));
}

} // namespace
} // namespace orvan
