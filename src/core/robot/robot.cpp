#include "core/robot/robot.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "core/base/date_format.h"
#include "core/base/random.h"
#include "core/base/utf.h"
#include "core/expression/expression.h"
#include "core/expression/number_format.h"
#include "core/language/language.h"
#include "core/ports/clock.h"
#include "core/ports/locale.h"
#include "core/robot/command.h"
#include "core/robot/tips.h"
#include "core/robot/version.h"

namespace orvan {
namespace {

// Text numbers of the robot's answers.
constexpr int kTextNoFunction = 200001;
constexpr int kTextFunctionList = 200002;
constexpr int kTextFunctionsCleared = 200003;
constexpr int kTextLastFunctionDeleted = 200004;
constexpr int kTextFunctionAdded = 200005;
constexpr int kTextCalculationError = 200006;
constexpr int kTextNoExpression = 200007;
constexpr int kTextRandom = 200008;
constexpr int kTextBeProper = 200009;
constexpr int kTextCurrentTime = 200010;
constexpr int kTextToday = 200011;
constexpr int kTextNoHelp = 200012;
constexpr int kTextBadCommand = 200013;

struct HistoryState {
    std::vector<std::string> lines; // newest first
    int index = -1;
};

HistoryState& State() {
    static HistoryState state;
    return state;
}

// Splits at the first blank; further blanks stay in the rest.
void SplitWord(std::string_view text, std::string_view& word, std::string_view& rest) {
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos) {
        word = text;
        rest = {};
    } else {
        word = text.substr(0, blank);
        rest = text.substr(blank + 1);
    }
}

bool IsAnyOf(std::string_view word, std::initializer_list<std::string_view> words) {
    for (std::string_view candidate : words)
        if (word == candidate)
            return true;
    return false;
}

// A whole number as the robot reads one: blanks before it, an optional sign and decimal
// digits, within the 32-bit range. Anything else is no number.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::int64_t(INT32_MAX) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

void AnswerFce(RobotMemo& memo, std::string_view rest) {
    std::vector<std::string>& functions = ExpressionEngine().Functions;
    memo.AddEmptyLine();
    if (rest.empty() || rest == "list") {
        if (functions.empty()) {
            memo.AddLine(Languages::Text(kTextNoFunction));
            return;
        }
        memo.AddLine(Languages::Text(kTextFunctionList));
        memo.AddEmptyLine();
        for (const std::string& definition : functions)
            memo.AddLine(definition);
    } else if (rest == "clear" || rest == "clear all") {
        functions.clear();
        memo.AddLine(Languages::Text(kTextFunctionsCleared));
    } else if (rest == "clear last") {
        // With nothing defined there is nothing to delete: say so instead of failing.
        if (functions.empty()) {
            memo.AddLine(Languages::Text(kTextNoFunction));
            return;
        }
        functions.erase(functions.begin());
        memo.AddLine(Languages::Text(kTextLastFunctionDeleted));
    } else {
        // Not validated here: a definition that does not parse makes later calculations
        // fail until it is removed.
        InsertFunctionDefinition(functions, rest);
        memo.AddLine(Languages::Text(kTextFunctionAdded));
    }
}

void AnswerCalc(RobotMemo& memo, std::string_view expression) {
    memo.AddEmptyLine();
    if (expression.empty()) {
        memo.AddLine(Languages::Text(kTextNoExpression));
        return;
    }
    std::string answer;
    try {
        Expression& engine = ExpressionEngine();
        engine.Text = std::string(expression);
        const double value = engine.Value();
        answer = std::string(expression) + "=" + FormatGeneral(value);
    } catch (...) {
        // The user learns only that the calculation failed, whatever the reason.
        answer = Languages::Text(kTextCalculationError);
    }
    memo.AddLine(answer);
}

void AnswerRandom(RobotMemo& memo, std::string_view rest) {
    memo.AddEmptyLine();
    // A negative range has no meaning of its own: its size is taken.
    const std::int64_t n = std::llabs(ParseWholeNumber(rest).value_or(1));
    RandomGenerator& random = ProgramRandom();
    const double value = n == 1 ? random.Fraction()
                                : static_cast<double>(random.Below(static_cast<std::uint32_t>(n)));
    memo.AddLine(Languages::TextFmt(kTextRandom, {std::to_string(n), FormatGeneral(value)}));
}

void AnswerMoment(RobotMemo& memo, int textId, const std::string& picture) {
    memo.AddEmptyLine();
    const std::string moment =
        FormatDateTimePicture(picture, CurrentClock().Now(), CurrentLocale());
    memo.AddLine(Languages::TextFmt(textId, {moment}));
}

} // namespace

int RobotExecute(RobotMemo& memo, std::string_view line) {
    std::string_view s = line;
    if (!s.empty() && s.front() == '.')
        s.remove_prefix(1);
    if (s.empty())
        return -1;

    HistoryState& history = State();
    if (history.lines.empty() || history.lines.front() != s)
        history.lines.insert(history.lines.begin(), std::string(s));
    history.index = -1;

    std::string_view word;
    std::string_view rest;
    SplitWord(s, word, rest);
    const std::string command = Lower(word);

    if (command == "run") {
        std::string_view name;
        std::string_view ignored;
        SplitWord(rest, name, ignored);
        return CommandByName(Lower(name));
    }
    if (command == "joke") {
        memo.AddEmptyLine();
        memo.AddLine(RandomJoke());
    } else if (command == "tip") {
        memo.AddEmptyLine();
        memo.AddLine(RandomTip());
    } else if (command == "time") {
        AnswerMoment(memo, kTextCurrentTime, CurrentLocale().longTimeFormat);
    } else if (command == "date") {
        AnswerMoment(memo, kTextToday, CurrentLocale().shortDateFormat);
    } else if (IsAnyOf(command, {"version", "title"})) {
        memo.AddEmptyLine();
        memo.AddLine(".#B1" + std::string(ProductTitle) + "#B0");
        memo.AddLine(RightsNotice);
    } else if (IsAnyOf(command, {"about", "a"})) {
        return kCommandAbout;
    } else if (IsAnyOf(command, {"exit", "quit", "q", "close"})) {
        return kCommandExit;
    } else if (command == "author") {
        memo.AddEmptyLine();
        memo.AddLine(AuthorCredit);
    } else if (command == "fce") {
        AnswerFce(memo, rest);
    } else if (IsAnyOf(command, {"calc", "c"})) {
        AnswerCalc(memo, rest);
    } else if (IsAnyOf(command, {"rnd", "random"})) {
        AnswerRandom(memo, rest);
    } else if (IsAnyOf(command, {"cls", "clear"})) {
        RobotClear(memo);
    } else if (std::find(ProfaneWords.begin(), ProfaneWords.end(), command) != ProfaneWords.end()) {
        memo.AddEmptyLine();
        memo.AddLine(Languages::Text(kTextBeProper));
    } else if (IsAnyOf(command, {"help", "?"})) {
        memo.AddEmptyLine();
        memo.AddLine(Languages::Text(kTextNoHelp));
    } else {
        memo.AddEmptyLine();
        memo.AddLine(Languages::Text(kTextBadCommand));
    }
    return -1;
}

void RobotClear(RobotMemo& memo) {
    memo.Clear();
    memo.AddLine(RobotBanner);
    memo.AddLine(RobotVersionLine);
}

const std::vector<std::string>& History() {
    return State().lines;
}

int HistoryIndex() {
    return State().index;
}

std::string HistoryOlder() {
    HistoryState& history = State();
    if (history.index >= static_cast<int>(history.lines.size()) - 1)
        return {};
    ++history.index;
    return history.lines[static_cast<std::size_t>(history.index)];
}

std::string HistoryNewer() {
    HistoryState& history = State();
    if (history.index <= 0)
        return {};
    --history.index;
    return history.lines[static_cast<std::size_t>(history.index)];
}

void ResetRobotHistory() {
    State() = HistoryState{};
}

} // namespace orvan
