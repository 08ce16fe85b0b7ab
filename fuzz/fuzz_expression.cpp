// Evaluates arbitrary text with the expression evaluator. The last line is the
// expression, the lines before it are user-defined functions. A leading byte 1 to 4
// selects a variant: 1 comma separator, 2 a multi-byte separator (U+066B), 3 event
// handlers asked first, 4 event handlers asked last. Anything but an ExpressionError
// (a crash, a hang, a sanitizer report, a non-finite result) is a bug.
#include "core/expression/number_format.h"
#include "core/expression/zel_expression.h"
#include "core/ports/locale.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void InstallHandlers(orvan::Expression& expression) {
    expression.onEvaluate = [](orvan::Expression&, const std::string& name,
                               const std::vector<double>& args, int argCount, double& value,
                               bool& done) {
        value = static_cast<double>(name.size() + static_cast<std::size_t>(argCount));
        if (!args.empty())
            value += args.back() * 1e300;
        done = name.size() % 2 == 0;
    };
    expression.onVariable = [](orvan::Expression&, const std::string& name, double& value, bool&) {
        value = name.empty() ? 1e308 : -2.5;
    };
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    int variant = 0;
    if (!input.empty() && input[0] >= 1 && input[0] <= 4) {
        variant = input[0];
        input.erase(0, 1);
    }
    orvan::LocaleSettings locale;
    locale.decimalSeparator = variant == 1 ? "," : variant == 2 ? "\xD9\xAB" : ".";
    orvan::SetCurrentLocale(locale);

    orvan::Expression expression;
    if (variant == 3 || variant == 4) {
        InstallHandlers(expression);
        if (variant == 3)
            expression.evaluateOrder = orvan::EvaluateOrder::EventFirst;
    }
    std::size_t start = 0;
    for (std::size_t end = input.find('\n'); end != std::string::npos;
         end = input.find('\n', start)) {
        expression.Functions.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    expression.Text = input.substr(start);

    try {
        const double value = expression.Value();
        if (!std::isfinite(value))
            __builtin_trap();
        // The general format must read back as nearly the same number.
        const std::string text = orvan::FormatGeneral(value);
        double back = 0;
        if (orvan::TextToFloat(text, orvan::DecimalSeparatorChar(locale.decimalSeparator), back) !=
                orvan::NumberConversion::Ok ||
            std::fabs(back - value) > 1e-14 * std::fabs(value))
            __builtin_trap();
    } catch (const orvan::ExpressionError&) {
    }
    return 0;
}
