// orvan-cli robot: runs lines through the robot as the robot page does, on a display
// wrapped to a fixed number of characters, and prints what the display then holds.
#include "cli/cli_io.h"

#include "core/base/utf.h"
#include "core/robot/robot.h"
#include "core/robot/robot_memo.h"

#include <string>
#include <vector>

namespace orvan::cli {

const char* const kRobotUsage =
    "usage: orvan-cli robot [--width N] [--] LINE...\n"
    "  Starts a fresh robot, clears its display (banner and version line), enters each\n"
    "  LINE in order and prints the display's lines, oldest first, as stored: formatted\n"
    "  lines keep their leading \".\" and \"#\" codes.\n"
    "  --width N  the display is N characters wide (default 60), every character one unit;\n"
    "             a line must stay narrower than the display, so it holds N-1 characters.\n"
    "  --         ends the options: the next argument is a LINE even if it starts with \"--\".\n"
    "  Each command key a line returns (page switch, exit) goes to stderr as \"command K\".\n"
    "exit status: 0 done, 2 wrong command line\n";

namespace {

constexpr int kDefaultWidth = 60;
constexpr int kMaxWidth = 1000000;

int Usage(CliContext& context, const std::string& problem) {
    context.err << "orvan-cli robot: " << problem << "\n" << kRobotUsage;
    return kExitUsage;
}

// Every character, whatever it is, takes one unit.
class OneUnitPerCharacter final : public TextMeasurePort {
public:
    int TextWidth(const MemoFont&, std::string_view text) const override {
        int count = 0;
        for (std::size_t pos = 0; pos < text.size(); ++count)
            DecodeUtf8(text, pos);
        return count;
    }
};

bool ParseWidth(const std::string& text, int& width) {
    if (text.empty() || text.size() > 7)
        return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > kMaxWidth)
        return false;
    width = value;
    return true;
}

} // namespace

int RunRobot(CliContext& context) {
    const std::vector<std::string>& args = context.args;
    int width = kDefaultWidth;
    std::size_t i = 0;
    while (i < args.size()) {
        const std::string& arg = args[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg == "--width") {
            if (i + 1 >= args.size())
                return Usage(context, "--width needs a number");
            if (!ParseWidth(args[i + 1], width))
                return Usage(context, "--width must be a whole number from 1 to " +
                                          std::to_string(kMaxWidth) + ", not \"" + args[i + 1] +
                                          "\"");
            i += 2;
            continue;
        }
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0)
            return Usage(context, "unknown option \"" + arg + "\"");
        break;
    }

    const OneUnitPerCharacter measure;
    RobotMemo memo(measure);
    memo.SetClientSize(width, memo.ClientHeight());
    RobotClear(memo);
    for (; i < args.size(); ++i) {
        const int key = RobotExecute(memo, args[i]);
        if (key >= 0)
            context.err << "command " << key << "\n";
    }
    for (const std::string& line : memo.Lines())
        context.out << line << "\n";
    return kExitOk;
}

} // namespace orvan::cli
