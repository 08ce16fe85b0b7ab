#include "cli/cli_io.h"

namespace orvan::cli {

int RunCalc(CliContext& context) {
    context.err << "calc: not built yet\n";
    return kExitFailure;
}

} // namespace orvan::cli
