// orvan-cli: the launcher's core for scripts, tests and benchmarks.
#include "cli/cli_io.h"
#include "cli/platform_setup.h"

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: orvan-cli COMMAND [ARGS...]\n"
                               "commands:\n"
                               "  calc [--function DEFINITION]... [--] EXPRESSION...\n"
                               "  robot [--width N] [--] LINE...\n"
                               "  rebuild [--options FILE]\n"
                               "  query [--options FILE] [--catalog FILE] [--] TEXT\n";

struct Command {
    const char* name;
    int (*run)(orvan::cli::CliContext&);
};

constexpr Command kCommands[] = {
    {"calc", orvan::cli::RunCalc},
    {"robot", orvan::cli::RunRobot},
    {"rebuild", orvan::cli::RunRebuild},
    {"query", orvan::cli::RunQuery},
};

int Main(std::vector<std::string> args) {
    orvan::cli::PreparePlatform();
    if (args.empty()) {
        std::cerr << kUsage;
        return orvan::cli::kExitUsage;
    }
    const std::string name = args.front();
    args.erase(args.begin());
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
