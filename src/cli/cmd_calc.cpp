// orvan-cli calc: evaluates an expression with the shared engine, as the robot's "calc"
// command does, after adding user-defined functions as its "fce" command does.
#include "cli/cli_io.h"

#include "core/expression/expression.h"
#include "core/expression/number_format.h"

#include <exception>
#include <string>
#include <vector>

namespace orvan::cli {

const char* const kCalcUsage =
    "usage: orvan-cli calc [--function DEFINITION]... [--] EXPRESSION...\n"
    "  Evaluates EXPRESSION (the arguments joined with blanks) and prints the result.\n"
    "  --function DEFINITION  adds a function such as \"f(x;y)=x*y\" before evaluating;\n"
    "                         each one goes to the front of the list, like the robot's\n"
    "                         \"fce\" command, so a later one wins over an earlier one.\n"
    "  --                     ends the options: the expression may start with \"-\".\n"
    "  Options are read up to the first expression word.\n"
    "exit status: 0 result on stdout, 1 evaluation error on stderr, 2 wrong command line\n";

namespace {

int Usage(CliContext& context, const std::string& problem) {
    context.err << "orvan-cli calc: " << problem << "\n" << kCalcUsage;
    return kExitUsage;
}

} // namespace

int RunCalc(CliContext& context) {
    const std::vector<std::string>& args = context.args;
    std::vector<std::string> definitions;
    std::size_t i = 0;
    while (i < args.size()) {
        const std::string& arg = args[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg == "--function") {
            if (i + 1 >= args.size())
                return Usage(context, "--function needs a definition");
            definitions.push_back(args[i + 1]);
            i += 2;
            continue;
        }
        if (!arg.empty() && arg[0] == '-')
            return Usage(context, "unknown option \"" + arg + "\"");
        break;
    }
    if (i >= args.size())
        return Usage(context, "no expression");
    std::string expression = args[i];
    for (++i; i < args.size(); ++i)
        expression += " " + args[i];

    Expression& engine = ExpressionEngine();
    for (const std::string& definition : definitions)
        InsertFunctionDefinition(engine.Functions, definition);
    try {
        engine.Text = expression;
        const double value = engine.Value();
        context.out << FormatGeneral(value) << "\n";
        return kExitOk;
    } catch (const std::exception& error) {
        context.err << error.what() << "\n";
        return kExitFailure;
    }
}

} // namespace orvan::cli
