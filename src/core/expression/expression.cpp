#include "core/expression/expression.h"

#include "core/base/utf.h"

namespace orvan {

Expression& ExpressionEngine() {
    static Expression engine;
    return engine;
}

bool Calculate(std::string_view text, double& value) {
    try {
        Expression& engine = ExpressionEngine();
        engine.Text = std::string(text);
        value = engine.Value();
        return true;
    } catch (...) {
        // Whatever went wrong, the caller only learns that there is no value.
        value = 0;
        return false;
    }
}

bool InsertFunctionDefinition(std::vector<std::string>& functions, std::string_view line) {
    const std::string wanted = Upper(line);
    for (const std::string& existing : functions)
        if (Upper(existing) == wanted)
            return false;
    functions.insert(functions.begin(), std::string(line));
    return true;
}

} // namespace orvan
