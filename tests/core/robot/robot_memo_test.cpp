#include "core/robot/robot_memo.h"

#include "core/robot/fixed_width_measure.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace orvan {
namespace {

using Lines = std::vector<std::string>;

struct WrapCase {
    const char* name;
    int clientWidth;
    MemoBorderStyle border;
    std::string text;
    Lines expected;
};

void PrintTo(const WrapCase& c, std::ostream* os) {
    *os << c.name;
}

class RobotMemoWrap : public ::testing::TestWithParam<WrapCase> {};

TEST_P(RobotMemoWrap, SplitsTheTextIntoLinesNarrowerThanTheWidth) {
    const WrapCase& c = GetParam();
    test::FixedWidthMeasure measure;
    RobotMemo memo(measure);
    memo.SetClientSize(c.clientWidth, 50);
    memo.SetBorderStyle(c.border);
    memo.AddLine(c.text);
    EXPECT_EQ(memo.Lines(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RobotMemoWrap,
    ::testing::Values(
        WrapCase{"Short", 10, MemoBorderStyle::None, "short", {"short"}},
        WrapCase{"Empty", 10, MemoBorderStyle::None, "", {""}},
        WrapCase{"OneBelowTheWidth", 10, MemoBorderStyle::None, "abcdefghi", {"abcdefghi"}},
        // Reaching the width is already too wide.
        WrapCase{"ExactlyTheWidth", 10, MemoBorderStyle::None, "abcdefghij", {"abcdefghi", "j"}},
        WrapCase{"AtBlanks",
                 10,
                 MemoBorderStyle::None,
                 "the quick brown fox jumps",
                 {"the quick", "brown fox", "jumps"}},
        WrapCase{"LastBlankOfThePrefix",
                 10,
                 MemoBorderStyle::None,
                 "ab cd efgh ijk",
                 {"ab cd", "efgh ijk"}},
        WrapCase{"LongWordCut",
                 10,
                 MemoBorderStyle::None,
                 "abcdefghijklmnopqrstuvwxyz",
                 {"abcdefghi", "jklmnopqr", "stuvwxyz"}},
        WrapCase{"WordAfterBlankCut",
                 10,
                 MemoBorderStyle::None,
                 "ab cdefghijklmnop",
                 {"ab", "cdefghijk", "lmnop"}},
        // The blank that ends a piece is dropped, also when nothing follows it.
        WrapCase{"TrailingBlankDropped", 10, MemoBorderStyle::None, "abcdefghi ", {"abcdefghi"}},
        WrapCase{"LeadingBlankGivesEmptyLine",
                 10,
                 MemoBorderStyle::None,
                 " abcdefghijkl",
                 {"", "abcdefghi", "jkl"}},
        WrapCase{"BorderTakesSixPixels",
                 16,
                 MemoBorderStyle::Single,
                 "abcdefghijkl",
                 {"abcdefghi", "jkl"}},
        // Narrower than one character: one character per line, blanks still dropped.
        WrapCase{"ZeroWidth", 0, MemoBorderStyle::None, "ab c", {"a", "b", "", "c"}},
        WrapCase{"NegativeWidth", 3, MemoBorderStyle::Single, "xyz", {"x", "y", "z"}},
        WrapCase{"WidthOne", 1, MemoBorderStyle::None, "xy", {"x", "y"}},
        // Characters, not bytes: a line never ends inside a character.
        WrapCase{"MultiByteCharacters",
                 5,
                 MemoBorderStyle::None,
                 "\xC3\xA4\xC3\xB6\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80xyz",
                 {"\xC3\xA4\xC3\xB6\xC3\xBC\xE2\x82\xAC", "\xF0\x9F\x98\x80xyz"}},
        // Invalid bytes count as one character each and are kept as they are.
        WrapCase{
            "InvalidBytesKept", 3, MemoBorderStyle::None, "\xFF\xFE\xFD", {"\xFF\xFE", "\xFD"}}));

TEST(RobotMemo, WrapsWithPixelWidthsOfTheControlFont) {
    test::FixedWidthMeasure measure(7);
    RobotMemo memo(measure);
    memo.SetClientSize(50, 50); // 7 characters take 49 pixels, 8 take 56
    memo.AddLine("abcdefghijk");
    EXPECT_EQ(memo.Lines(), (Lines{"abcdefg", "hijk"}));

    MemoFont bold = memo.Font();
    bold.bold = true; // twice as wide in the fake measure
    memo.SetFont(bold);
    memo.Clear();
    memo.AddLine("abcdefghijk");
    EXPECT_EQ(memo.Lines(), (Lines{"abc", "def", "ghi", "jk"}));
}

TEST(RobotMemo, WrappingOnlyMeasuresUpToTheWidth) {
    // The cost of a long line grows with its length times the width, not its square.
    test::FixedWidthMeasure measure;
    RobotMemo memo(measure);
    memo.SetClientSize(10, 50);
    memo.AddLine(std::string(9000, 'x'));
    EXPECT_EQ(memo.Lines().size(), 1000u);
    EXPECT_LE(measure.calls, 10 * 1000 + 10);
}

TEST(RobotMemo, NewControlDefaults) {
    test::FixedWidthMeasure measure;
    const RobotMemo memo(measure);
    EXPECT_TRUE(memo.Lines().empty());
    EXPECT_EQ(memo.FromLine(), 0);
    EXPECT_EQ(memo.LineHeight(), 13);
    EXPECT_EQ(memo.BorderStyle(), MemoBorderStyle::None);
    EXPECT_EQ(memo.BorderSize(), 0);
    EXPECT_EQ(memo.BackgrounColor(), SystemColor(kSysColorBtnFace));
    EXPECT_EQ(memo.ClientWidth(), 50);
    EXPECT_EQ(memo.ClientHeight(), 50);
}

class RobotMemoState : public ::testing::Test {
protected:
    RobotMemoState() : memo(measure) {
        memo.SetClientSize(100, 39);
        memo.SetRepaintHandler([this] { ++repaints; });
    }

    void AddNumberedLines(int count) {
        for (int i = 1; i <= count; ++i)
            memo.AddLine("line " + std::to_string(i));
    }

    test::FixedWidthMeasure measure;
    RobotMemo memo;
    int repaints = 0;
};

TEST_F(RobotMemoState, AddLineRepaintsAndReturnsToTheNewestLine) {
    AddNumberedLines(10);
    EXPECT_EQ(repaints, 10);
    memo.SetFromLine(4);
    EXPECT_EQ(repaints, 11);
    memo.AddEmptyLine();
    EXPECT_EQ(memo.FromLine(), 0);
    EXPECT_EQ(memo.Lines().back(), "");
    EXPECT_EQ(repaints, 12);
}

TEST_F(RobotMemoState, ClearDoesNotRepaint) {
    AddNumberedLines(3);
    repaints = 0;
    memo.Clear();
    EXPECT_TRUE(memo.Lines().empty());
    EXPECT_EQ(repaints, 0);
}

TEST_F(RobotMemoState, FromLineAcceptsOnlyStoredLines) {
    memo.SetFromLine(0);
    memo.SetFromLine(1);
    EXPECT_EQ(memo.FromLine(), 0);
    AddNumberedLines(10);
    repaints = 0;
    for (int rejected : {10, -1, 1000})
        memo.SetFromLine(rejected);
    EXPECT_EQ(memo.FromLine(), 0);
    EXPECT_EQ(repaints, 0);
    memo.SetFromLine(9);
    EXPECT_EQ(memo.FromLine(), 9);
    memo.SetFromLine(9); // the same value changes nothing
    EXPECT_EQ(repaints, 1);
}

TEST_F(RobotMemoState, PropertiesRepaintOnlyWhenTheyChange) {
    memo.SetLineHeight(0);
    memo.SetLineHeight(-5);
    memo.SetLineHeight(13);
    EXPECT_EQ(memo.LineHeight(), 13);
    EXPECT_EQ(repaints, 0);
    memo.SetLineHeight(20);
    memo.SetBorderStyle(MemoBorderStyle::Single);
    memo.SetBorderStyle(MemoBorderStyle::Single);
    memo.SetBackgroundColor(RgbColor(1, 2, 3));
    memo.SetBackgroundColor(RgbColor(1, 2, 3));
    EXPECT_EQ(memo.LineHeight(), 20);
    EXPECT_EQ(memo.BackgrounColor(), RgbColor(1, 2, 3));
    EXPECT_EQ(repaints, 3);
}

std::vector<std::size_t> RowLines(const MemoPaintPlan& plan) {
    std::vector<std::size_t> lines;
    for (const MemoRow& row : plan.rows)
        lines.push_back(row.line);
    return lines;
}

TEST_F(RobotMemoState, PaintsTheNewestLinesFromTheBottomUp) {
    AddNumberedLines(10); // three rows of 13 pixels fit
    MemoPaintPlan plan = memo.PlanPaint();
    EXPECT_EQ(RowLines(plan), (std::vector<std::size_t>{9, 8, 7})); // lines 10, 9, 8
    ASSERT_EQ(plan.rows.size(), 3u);
    EXPECT_EQ(plan.rows[0].y, 26);
    EXPECT_EQ(plan.rows[2].y, 0);
    ASSERT_EQ(plan.rows[0].runs.size(), 1u);
    EXPECT_EQ(plan.rows[0].runs[0].text, "line 10");
    EXPECT_EQ(plan.rows[0].runs[0].x, 0);
    EXPECT_EQ(plan.rows[0].runs[0].y, 26);

    memo.SetFromLine(2);
    EXPECT_EQ(RowLines(memo.PlanPaint()), (std::vector<std::size_t>{7, 6, 5})); // 8, 7, 6
    memo.SetFromLine(9);
    EXPECT_EQ(RowLines(memo.PlanPaint()), (std::vector<std::size_t>{0}));
}

TEST_F(RobotMemoState, PaintsOnlyStoredLinesAndPartialRowsNot) {
    memo.SetClientSize(100, 38); // two whole rows
    memo.AddLine("older");
    memo.AddEmptyLine();
    memo.AddLine("newest");
    const MemoPaintPlan plan = memo.PlanPaint();
    ASSERT_EQ(plan.rows.size(), 2u);
    EXPECT_EQ(plan.rows[0].y, 25);
    EXPECT_TRUE(plan.rows[1].runs.empty()); // the empty line takes a row and draws nothing
    EXPECT_EQ(plan.rows[1].y, 12);

    memo.SetClientSize(100, 500);
    EXPECT_EQ(memo.PlanPaint().rows.size(), 3u);
    memo.SetClientSize(100, 5);
    EXPECT_TRUE(memo.PlanPaint().rows.empty());
    memo.SetClientSize(100, -40);
    EXPECT_TRUE(memo.PlanPaint().rows.empty());
}

TEST_F(RobotMemoState, FillsAndFramesTheClientArea) {
    MemoPaintPlan plan = memo.PlanPaint(); // no lines: the background only
    EXPECT_TRUE(plan.frames.empty());
    EXPECT_EQ(plan.fill, (MemoRect{0, 0, 100, 39}));
    EXPECT_EQ(plan.fillColor, SystemColor(kSysColorBtnFace));
    EXPECT_TRUE(plan.rows.empty());

    memo.SetBorderStyle(MemoBorderStyle::Single);
    memo.SetBorderSize(2);
    memo.SetClientSize(100, 60);
    memo.AddLine("x");
    plan = memo.PlanPaint();
    ASSERT_EQ(plan.frames.size(), 2u);
    EXPECT_EQ(plan.frames[0].rect, (MemoRect{0, 0, 100, 60}));
    EXPECT_EQ(plan.frames[0].topLeft, SystemColor(kSysColorBtnShadow));
    EXPECT_EQ(plan.frames[0].bottomRight, SystemColor(kSysColorWindow));
    EXPECT_EQ(plan.frames[1].rect, (MemoRect{1, 1, 99, 59}));
    EXPECT_EQ(plan.frames[1].topLeft, SystemColor(kSysColorWindowText));
    EXPECT_EQ(plan.frames[1].bottomRight, SystemColor(kSysColorBtnFace));
    EXPECT_EQ(plan.fill, (MemoRect{2, 2, 98, 58}));
    EXPECT_EQ(plan.textArea, (MemoRect{5, 6, 95, 54}));
    ASSERT_EQ(plan.rows.size(), 1u);
    EXPECT_EQ(plan.rows[0].y, 41);
    EXPECT_EQ(plan.rows[0].runs[0].x, 5);
}

// Runs of a one-line display whose client is 200 by 13 pixels, with characters 1 pixel wide
// (2 in bold).
std::vector<MemoRun> RunsOf(const std::string& line, test::FixedWidthMeasure& measure) {
    RobotMemo memo(measure);
    memo.SetClientSize(200, 13);
    memo.AddLine(line);
    const MemoPaintPlan plan = memo.PlanPaint();
    return plan.rows.empty() ? std::vector<MemoRun>{} : plan.rows[0].runs;
}

struct RunView {
    int x;
    std::string text;
    bool bold;
    bool underline;
    MemoColor color;
    int size;
    bool transparent;

    bool operator==(const RunView&) const = default;
};

void PrintTo(const RunView& r, std::ostream* os) {
    *os << "{x " << r.x << " \"" << r.text << "\" b" << r.bold << " u" << r.underline << " c"
        << r.color << " s" << r.size << " t" << r.transparent << "}";
}

std::vector<RunView> Views(const std::vector<MemoRun>& runs) {
    std::vector<RunView> views;
    for (const MemoRun& run : runs)
        views.push_back({run.x, run.text, run.font.bold, run.font.underline, run.font.color,
                         run.font.size, run.transparent});
    return views;
}

constexpr MemoColor kText = SystemColor(kSysColorWindowText);

TEST(RobotMemoFormatted, CodesSwitchTheFontWhileTheLineIsDrawn) {
    test::FixedWidthMeasure m;
    struct Case {
        std::string line;
        std::vector<RunView> runs;
    };
    const Case cases[] = {
        // The first character is drawn opaque, the rest transparently; bold is 2 wide.
        {".#B1Title#B0 x",
         {{0, "T", true, false, kText, 8, false},
          {2, "itle", true, false, kText, 8, true},
          {10, " x", false, false, kText, 8, true}}},
        {".#C2red",
         {{0, "r", false, false, RichColors[2], 8, false},
          {1, "ed", false, false, RichColors[2], 8, true}}},
        {".#U1u#U0n",
         {{0, "u", false, true, kText, 8, false}, {1, "n", false, false, kText, 8, true}}},
        {".#S9big",
         {{0, "b", false, false, kText, 9, false}, {1, "ig", false, false, kText, 9, true}}},
        // "#X" places absolutely, "#T" moves on; each starts a new run.
        {".#X100at",
         {{100, "a", false, false, kText, 8, false}, {101, "t", false, false, kText, 8, true}}},
        {".a#T005b#X002c",
         {{0, "a", false, false, kText, 8, false},
          {6, "b", false, false, kText, 8, true},
          {2, "c", false, false, kText, 8, true}}},
        // "#A" swallows one character; "#" before any other letter is dropped.
        {".#Axy#Zz",
         {{0, "y", false, false, kText, 8, false}, {1, "Zz", false, false, kText, 8, true}}},
        {".#B\xC3\xA4x", {{0, "x", true, false, kText, 8, false}}},
        {".#C9#C0k", {{0, "k", false, false, RichColors[0], 8, false}}},
        // Codes without their argument are drawn as they stand.
        {".#Cx",
         {{0, "#", false, false, kText, 8, false}, {1, "Cx", false, false, kText, 8, true}}},
        {".#X12a",
         {{0, "#", false, false, kText, 8, false}, {1, "X12a", false, false, kText, 8, true}}},
        {".#T1",
         {{0, "#", false, false, kText, 8, false}, {1, "T1", false, false, kText, 8, true}}},
        {".a#S",
         {{0, "a", false, false, kText, 8, false}, {1, "#S", false, false, kText, 8, true}}},
        {".a#B",
         {{0, "a", false, false, kText, 8, false}, {1, "#B", false, false, kText, 8, true}}},
        {".a#", {{0, "a", false, false, kText, 8, false}, {1, "#", false, false, kText, 8, true}}},
        // Only a leading "." makes a line formatted.
        {"#B1x", {{0, "#B1x", false, false, kText, 8, false}}},
        // The result of "calc .5+1" is shown without its first ".".
        {".5+1=1.5",
         {{0, "5", false, false, kText, 8, false}, {1, "+1=1.5", false, false, kText, 8, true}}},
        {".", {}},
        {".#B1", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Views(RunsOf(c.line, m)), c.runs) << c.line;
}

TEST(RobotMemoFormatted, FontChangesLastForTheRestOfThePass) {
    test::FixedWidthMeasure measure;
    RobotMemo memo(measure);
    memo.SetClientSize(200, 52);
    memo.AddLine("below, drawn first");
    memo.AddLine("above");
    memo.AddLine(".#B1#C4bold");
    memo.AddLine("newest");
    for (int pass = 0; pass < 2; ++pass) { // every pass starts from the control's font
        const MemoPaintPlan plan = memo.PlanPaint();
        ASSERT_EQ(plan.rows.size(), 4u);
        EXPECT_FALSE(plan.rows[0].runs[0].font.bold); // "newest", drawn before the code
        EXPECT_TRUE(plan.rows[1].runs[0].font.bold);
        EXPECT_TRUE(plan.rows[2].runs[0].font.bold); // "above" stays bold and blue
        EXPECT_EQ(plan.rows[2].runs[0].font.color, RichColors[4]);
        EXPECT_EQ(plan.rows[2].runs[0].text, "above");
        EXPECT_TRUE(plan.rows[3].runs[0].font.bold);
    }
}

TEST(RobotMemoFormatted, PositionsAreOnTheControlAndTextStartsInTheTextArea) {
    test::FixedWidthMeasure measure;
    RobotMemo memo(measure);
    memo.SetClientSize(200, 40);
    memo.SetBorderSize(10);
    memo.AddLine(".a#X003b");
    const MemoPaintPlan plan = memo.PlanPaint();
    ASSERT_EQ(plan.rows.size(), 1u);
    ASSERT_EQ(plan.rows[0].runs.size(), 2u);
    EXPECT_EQ(plan.rows[0].runs[0].x, 10);
    EXPECT_EQ(plan.rows[0].runs[1].x, 3);
    EXPECT_EQ(plan.rows[0].runs[1].y, 17);
}

} // namespace
} // namespace orvan
