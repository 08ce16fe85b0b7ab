#include "core/robot/robot.h"

#include "core/base/date_format.h"
#include "core/base/random.h"
#include "core/expression/expression.h"
#include "core/expression/number_format.h"
#include "core/ports/clock.h"
#include "core/ports/locale.h"
#include "core/robot/command.h"
#include "core/robot/fixed_width_measure.h"
#include "core/robot/tips.h"
#include "core/robot/version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace orvan {
namespace {

using Lines = std::vector<std::string>;

class FixedClock final : public ClockPort {
public:
    double Now() const override { return now; }
    double now = 0;
};

// A fresh robot as at program start: no history, no user functions, the generator at its
// initial state; a wide display so that answers are not wrapped; a fixed clock.
class Robot : public ::testing::Test {
protected:
    Robot() : memo(measure) {
        memo.SetClientSize(1000, 130);
        ResetRobotHistory();
        ExpressionEngine().Functions.clear();
        ProgramRandom().SetState(0);
        savedLocale = CurrentLocale();
        DateTimeParts parts;
        parts.year = 2024;
        parts.month = 7;
        parts.day = 1;
        parts.hour = 14;
        parts.minute = 5;
        parts.second = 9;
        clock.now = EncodeMoment(parts).value();
        SetCurrentClock(&clock);
    }

    ~Robot() override {
        SetCurrentClock(nullptr);
        SetCurrentLocale(savedLocale);
        ExpressionEngine().Functions.clear();
        ResetRobotHistory();
    }

    // The lines the robot writes for one entered line, and its result.
    Lines Answer(const std::string& line, int* result = nullptr) {
        memo.Clear();
        const int key = RobotExecute(memo, line);
        if (result != nullptr)
            *result = key;
        return memo.Lines();
    }

    test::FixedWidthMeasure measure;
    RobotMemo memo;
    FixedClock clock;
    LocaleSettings savedLocale;
};

struct AnswerCase {
    const char* line;
    int result;
    Lines lines;
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << '"' << c.line << '"';
}

class RobotAnswer : public Robot, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(RobotAnswer, WritesTheAnswerAndReturnsTheKey) {
    int result = 0;
    EXPECT_EQ(Answer(GetParam().line, &result), GetParam().lines);
    EXPECT_EQ(result, GetParam().result);
}

const std::string kBold = ".#B1" + std::string(ProductTitle) + "#B0";

INSTANTIATE_TEST_SUITE_P(
    Commands, RobotAnswer,
    ::testing::Values(
        AnswerCase{"", -1, {}}, AnswerCase{".", -1, {}},
        AnswerCase{"help", -1, {"", "Help is not available!"}},
        AnswerCase{"?", -1, {"", "Help is not available!"}},
        AnswerCase{"HELP me please", -1, {"", "Help is not available!"}},
        AnswerCase{"hello", -1, {"", "Bad command or file name."}},
        AnswerCase{" help", -1, {"", "Bad command or file name."}},
        AnswerCase{"..", -1, {"", "Bad command or file name."}},
        AnswerCase{"helpme", -1, {"", "Bad command or file name."}},
        AnswerCase{"damn", -1, {"", "Be proper!"}}, AnswerCase{"Crap it", -1, {"", "Be proper!"}},
        AnswerCase{"SHIT", -1, {"", "Be proper!"}}, AnswerCase{"fuck", -1, {"", "Be proper!"}},
        AnswerCase{"author", -1, {"", std::string(AuthorCredit)}},
        AnswerCase{"version", -1, {"", kBold, std::string(RightsNotice)}},
        AnswerCase{"Title please", -1, {"", kBold, std::string(RightsNotice)}},
        AnswerCase{"tip", -1, {"", "Press Alt+F4 to close this program."}},
        AnswerCase{"about", 15, {}}, AnswerCase{"a", 15, {}}, AnswerCase{".A", 15, {}},
        AnswerCase{"exit", 1, {}}, AnswerCase{"quit now", 1, {}}, AnswerCase{"q", 1, {}},
        AnswerCase{"Close", 1, {}},
        // "run" names a row of the command table; the empty name is row 1.
        AnswerCase{"run sc_About", 15, {}}, AnswerCase{"run SC_HOME", 10, {}},
        AnswerCase{"RUN sc_robot and more", 14, {}}, AnswerCase{"run sc_Exit", 1, {}},
        AnswerCase{"run nothing", -1, {}}, AnswerCase{"run", 2, {}}, AnswerCase{"run ", 2, {}},
        AnswerCase{"run  sc_Home", 2, {}}, AnswerCase{"calc 2 + 3", -1, {"", "2 + 3=5"}},
        AnswerCase{"c 1/3", -1, {"", "1/3=0.333333333333333"}},
        AnswerCase{"CALC 2^10", -1, {"", "2^10=1024"}},
        AnswerCase{"calc", -1, {"", "Expression not defined"}},
        AnswerCase{"calc 1/0", -1, {"", "Calculation error"}},
        AnswerCase{"calc 2+", -1, {"", "Calculation error"}},
        AnswerCase{"calc .5+1", -1, {"", ".5+1=1.5"}},
        AnswerCase{"time", -1, {"", "Current time 14:05:09"}},
        AnswerCase{".TIME", -1, {"", "Current time 14:05:09"}},
        AnswerCase{"Time", -1, {"", "Current time 14:05:09"}},
        AnswerCase{"date", -1, {"", "Today is 2024-07-01"}}));

TEST_F(Robot, TimeAndDateFollowTheLocaleFormats) {
    LocaleSettings locale;
    locale.longTimeFormat = "h:mm:ss tt";
    locale.shortDateFormat = "dd.MM.yyyy";
    SetCurrentLocale(locale);
    EXPECT_EQ(Answer("time"), (Lines{"", "Current time 2:05:09 PM"}));
    EXPECT_EQ(Answer("date"), (Lines{"", "Today is 01.07.2024"}));
    clock.now += 0.5; // the clock is read at every answer
    EXPECT_EQ(Answer("date"), (Lines{"", "Today is 02.07.2024"}));
}

TEST_F(Robot, HistoryKeepsEnteredLinesNewestFirstWithoutRepeats) {
    for (const char* line : {"time", "time", ".time", "date", "time", "", ".", "Time"})
        RobotExecute(memo, line);
    EXPECT_EQ(History(), (Lines{"Time", "time", "date", "time"}));
    // Lines that are not commands are recorded as well.
    RobotExecute(memo, "no such thing");
    EXPECT_EQ(History().front(), "no such thing");
}

TEST_F(Robot, HistoryBrowsesOlderAndNewerAndStopsAtTheEnds) {
    EXPECT_EQ(HistoryIndex(), -1);
    EXPECT_EQ(HistoryOlder(), "");
    EXPECT_EQ(HistoryNewer(), "");
    EXPECT_EQ(HistoryIndex(), -1);
    for (const char* line : {"one", "two", "three"})
        RobotExecute(memo, line);
    EXPECT_EQ(HistoryOlder(), "three");
    EXPECT_EQ(HistoryOlder(), "two");
    EXPECT_EQ(HistoryOlder(), "one");
    EXPECT_EQ(HistoryOlder(), ""); // at the oldest: nothing, the index stays
    EXPECT_EQ(HistoryIndex(), 2);
    EXPECT_EQ(HistoryNewer(), "two");
    EXPECT_EQ(HistoryNewer(), "three");
    EXPECT_EQ(HistoryNewer(), ""); // at the newest: nothing
    EXPECT_EQ(HistoryIndex(), 0);
    EXPECT_EQ(HistoryOlder(), "two");
    // Entering a line starts browsing afresh from the newest line.
    RobotExecute(memo, "four");
    EXPECT_EQ(HistoryIndex(), -1);
    EXPECT_EQ(HistoryOlder(), "four");
    // An empty line does not touch the browsing position.
    RobotExecute(memo, "");
    EXPECT_EQ(HistoryIndex(), 0);
}

TEST_F(Robot, FceManagesTheUserFunctions) {
    const std::vector<std::string>& functions = ExpressionEngine().Functions;
    EXPECT_EQ(Answer("fce"), (Lines{"", "No function defined"}));
    EXPECT_EQ(Answer("fce f(x)=x*x"), (Lines{"", "Function added"}));
    EXPECT_EQ(Answer("calc f(3)"), (Lines{"", "f(3)=9"}));
    EXPECT_EQ(Answer("fce"), (Lines{"", "List of defined functions", "", "f(x)=x*x"}));
    // An equal line, whatever its case, is not added twice, though the answer is the same.
    EXPECT_EQ(Answer("fce F(X)=X*X"), (Lines{"", "Function added"}));
    EXPECT_EQ(functions, (Lines{"f(x)=x*x"}));
    Answer("FCE g(x)=x+1");
    EXPECT_EQ(Answer("fce list"),
              (Lines{"", "List of defined functions", "", "g(x)=x+1", "f(x)=x*x"}));
    EXPECT_EQ(Answer("fce clear last"), (Lines{"", "Last inserted function deleted"}));
    EXPECT_EQ(functions, (Lines{"f(x)=x*x"}));
    Answer("fce h(x)=1");
    EXPECT_EQ(Answer("fce clear"), (Lines{"", "All functions successful deleted"}));
    EXPECT_TRUE(functions.empty());
    Answer("fce h(x)=1");
    EXPECT_EQ(Answer("fce clear all"), (Lines{"", "All functions successful deleted"}));
    EXPECT_TRUE(functions.empty());
}

TEST_F(Robot, FceClearLastWithNothingDefinedSaysSo) {
    int result = 0;
    EXPECT_EQ(Answer("fce clear last", &result), (Lines{"", "No function defined"}));
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(ExpressionEngine().Functions.empty());
}

TEST_F(Robot, FceSubcommandsMatchOnlyExactly) {
    const std::vector<std::string>& functions = ExpressionEngine().Functions;
    for (const char* line : {"fce LIST", "fce  list", "fce clear ", "fce Clear Last"})
        EXPECT_EQ(Answer(line), (Lines{"", "Function added"})) << line;
    EXPECT_EQ(functions, (Lines{"Clear Last", "clear ", " list", "LIST"}));
}

TEST_F(Robot, MalformedDefinitionBreaksCalculationsUntilRemoved) {
    EXPECT_EQ(Answer("fce f(x=1"), (Lines{"", "Function added"}));
    EXPECT_EQ(Answer("calc f(2)"), (Lines{"", "Calculation error"}));
    Answer("fce clear last");
    EXPECT_EQ(Answer("calc f(2)"), (Lines{"", "f(2)=0"})); // unknown names are 0
}

TEST_F(Robot, RandomNumbersComeFromTheSharedGenerator) {
    RandomGenerator expected; // the same sequence, stepped alongside
    const auto fraction = [&] { return FormatGeneral(expected.Fraction()); };
    const auto below = [&](std::uint32_t n) { return FormatGeneral(double(expected.Below(n))); };
    EXPECT_EQ(Answer("rnd"), (Lines{"", "RND(1)=" + fraction()}));
    EXPECT_EQ(Answer("rnd 6"), (Lines{"", "RND(6)=" + below(6)}));
    EXPECT_EQ(Answer("random 6"), (Lines{"", "RND(6)=" + below(6)}));
    EXPECT_EQ(Answer("rnd x"), (Lines{"", "RND(1)=" + fraction()}));
    EXPECT_EQ(Answer("rnd 1"), (Lines{"", "RND(1)=" + fraction()}));
    EXPECT_EQ(Answer("rnd 0"), (Lines{"", "RND(0)=0"}));
    expected.Below(0);
    EXPECT_EQ(Answer("rnd 99999999999"), (Lines{"", "RND(1)=" + fraction()}));
    EXPECT_EQ(Answer("rnd 6 6"), (Lines{"", "RND(1)=" + fraction()}));
    EXPECT_EQ(Answer("rnd  +6"), (Lines{"", "RND(6)=" + below(6)}));
    // A negative range counts as its size.
    EXPECT_EQ(Answer("rnd -6"), (Lines{"", "RND(6)=" + below(6)}));
    EXPECT_EQ(Answer("rnd -1"), (Lines{"", "RND(1)=" + fraction()}));
    EXPECT_EQ(Answer("rnd -2147483648"), (Lines{"", "RND(2147483648)=" + below(2147483648u)}));
    EXPECT_EQ(Answer("rnd 2147483647"), (Lines{"", "RND(2147483647)=" + below(2147483647u)}));
    EXPECT_EQ(ProgramRandom().State(), expected.State());
}

TEST_F(Robot, TheFirstDiceFromAFreshStartAreAlwaysTheSame) {
    // With the generator starting at 0 every run: 0, 0, 5, 1.
    Lines dice;
    for (int i = 0; i < 4; ++i)
        dice.push_back(Answer("rnd 6").back());
    EXPECT_EQ(dice, (Lines{"RND(6)=0", "RND(6)=0", "RND(6)=5", "RND(6)=1"}));
}

TEST_F(Robot, TwoRunsWithTheSameLinesGiveTheSameAnswers) {
    const char* script[] = {"joke", "tip", "rnd 1000", "joke", "rnd", "joke", "joke", "rnd 7"};
    const auto run = [&] {
        ProgramRandom().SetState(0);
        memo.Clear();
        for (const char* line : script)
            RobotExecute(memo, line);
        return memo.Lines();
    };
    const Lines first = run();
    EXPECT_EQ(run(), first);
    // Each joke answer is one of the jokes.
    for (std::size_t i : {1u, 7u, 11u, 13u})
        EXPECT_NE(std::find(JokeList().begin(), JokeList().end(), first[i]), JokeList().end())
            << first[i];
}

TEST_F(Robot, EmptyJokeListGivesAnEmptyLine) {
    const std::vector<std::string> saved = JokeList();
    JokeList().clear();
    EXPECT_EQ(Answer("joke"), (Lines{"", ""}));
    JokeList() = saved;
}

TEST_F(Robot, ClearStartsTheConversationOver) {
    RobotClear(memo);
    const Lines start{std::string(RobotBanner), std::string(RobotVersionLine)};
    EXPECT_EQ(memo.Lines(), start);
    EXPECT_EQ(RobotBanner, kBold);
    RobotExecute(memo, "help");
    RobotExecute(memo, "cls");
    EXPECT_EQ(memo.Lines(), start);
    RobotExecute(memo, "help");
    EXPECT_EQ(RobotExecute(memo, "Clear"), -1);
    EXPECT_EQ(memo.Lines(), start);
}

TEST_F(Robot, AnswersAreWrappedToTheDisplay) {
    memo.SetClientSize(12, 130);
    EXPECT_EQ(Answer("hello"), (Lines{"", "Bad command", "or file", "name."}));
}

} // namespace
} // namespace orvan
