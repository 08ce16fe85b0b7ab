#pragma once
// The one evaluator the whole program shares: the input line's calculator goes through
// Calculate, the robot uses the engine directly and keeps its user-defined functions in
// the engine's Functions list (in memory only, empty at every start).
#include "core/expression/zel_expression.h"

#include <string_view>

namespace orvan {

Expression& ExpressionEngine();

// Evaluates text with ExpressionEngine. True and the value on success; on any error
// false and 0, nothing shown, nothing logged.
bool Calculate(std::string_view text, double& value);

// Puts a definition line at the front of functions unless an equal line, compared
// without regard to case, is already there. True when the line was inserted.
bool InsertFunctionDefinition(std::vector<std::string>& functions, std::string_view line);

} // namespace orvan
