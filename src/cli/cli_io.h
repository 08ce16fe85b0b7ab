#pragma once
// What a command of orvan-cli sees of the outside: its arguments (UTF-8, without the
// program name and the command word) and two UTF-8 output streams.
#include <ostream>
#include <string>
#include <vector>

namespace orvan::cli {

struct CliContext {
    std::vector<std::string> args;
    std::ostream& out;
    std::ostream& err;
};

// Exit codes shared by every command.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Each command's usage, printed after a wrong command line and by "orvan-cli help COMMAND".
extern const char* const kCalcUsage;
extern const char* const kRobotUsage;
extern const char* const kRebuildUsage;
extern const char* const kQueryUsage;
extern const char* const kTextsUsage;

int RunCalc(CliContext& context);
int RunRobot(CliContext& context);
int RunRebuild(CliContext& context);
int RunQuery(CliContext& context);
int RunTexts(CliContext& context);

// A file argument as the core writes paths: absolute, and on Linux turned into the "C:\..."
// form by the drive rule.
std::string CoreFileArgument(const std::string& argument);

} // namespace orvan::cli
