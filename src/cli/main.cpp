// orvan-cli: the launcher's core for scripts, tests and benchmarks.
#include "cli/cli_io.h"
#include "cli/platform_setup.h"
#include "core/robot/version.h"

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: orvan-cli COMMAND [ARGS...]\n"
    "commands:\n"
    "  calc [--function DEFINITION]... [--] EXPRESSION...\n"
    "  robot [--width N] [--] LINE...\n"
    "  rebuild [--options FILE]\n"
    "  query [--options FILE] [--catalog FILE] [--now MOMENT] [--details]\n"
    "        [--order name|relevance] [--record ROW] [--] TEXT\n"
    "  texts [--language FILE | --pseudo]\n"
    "  help [COMMAND]    this text, or the usage of COMMAND (also --help, -h)\n"
    "  --version         the product and its version\n"
    "exit status: 0 success, 1 the command failed, 2 wrong command line\n";

struct Command {
    const char* name;
    int (*run)(orvan::cli::CliContext&);
    const char* const* usage;
};

constexpr Command kCommands[] = {
    {"calc", orvan::cli::RunCalc, &orvan::cli::kCalcUsage},
    {"robot", orvan::cli::RunRobot, &orvan::cli::kRobotUsage},
    {"rebuild", orvan::cli::RunRebuild, &orvan::cli::kRebuildUsage},
    {"query", orvan::cli::RunQuery, &orvan::cli::kQueryUsage},
    {"texts", orvan::cli::RunTexts, &orvan::cli::kTextsUsage},
};

bool IsHelp(const std::string& word) {
    return word == "help" || word == "--help" || word == "-h";
}

// "help" alone prints the general usage, "help COMMAND" that command's, on standard output:
// asked for, it is the answer, not an error.
int Help(const std::vector<std::string>& args) {
    if (args.empty() || (args.size() == 1 && IsHelp(args.front()))) {
        std::cout << kUsage;
        return orvan::cli::kExitOk;
    }
    if (args.size() == 1) {
        for (const Command& command : kCommands) {
            if (args.front() == command.name) {
                std::cout << *command.usage;
                return orvan::cli::kExitOk;
            }
        }
        std::cerr << "orvan-cli help: unknown command \"" << args.front() << "\"\n" << kUsage;
        return orvan::cli::kExitUsage;
    }
    std::cerr << "orvan-cli help: one command at most\n" << kUsage;
    return orvan::cli::kExitUsage;
}

int Version(const std::vector<std::string>& args) {
    if (!args.empty()) {
        std::cerr << "orvan-cli --version: takes no arguments\n" << kUsage;
        return orvan::cli::kExitUsage;
    }
    std::cout << orvan::ProductTitle << ' ' << orvan::VersionText << '\n';
    return orvan::cli::kExitOk;
}

int Main(std::vector<std::string> args) {
    orvan::cli::PreparePlatform();
    if (args.empty()) {
        std::cerr << kUsage;
        return orvan::cli::kExitUsage;
    }
    const std::string name = args.front();
    args.erase(args.begin());
    if (IsHelp(name))
        return Help(args);
    if (name == "--version")
        return Version(args);
    for (const Command& command : kCommands) {
        if (name == command.name) {
            orvan::cli::CliContext context{args, std::cout, std::cerr};
            return command.run(context);
        }
    }
    std::cerr << "orvan-cli: unknown command \"" << name << "\"\n" << kUsage;
    return orvan::cli::kExitUsage;
}

} // namespace

#ifdef _WIN32
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(orvan::cli::WideToUtf8(argv[i]));
    return Main(std::move(args));
}
#else
int main(int argc, char** argv) {
    return Main(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
