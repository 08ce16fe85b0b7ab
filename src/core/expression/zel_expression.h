#pragma once
// The evaluator component: evaluates its Text to one double, resolving names first
// against the user-defined functions in Functions ("name(params)=body", one per line,
// first matching line wins, names without regard to case), then through OnEvaluate;
// bracketed variables through OnVariable. A name nothing resolves is 0: there are no
// built-in functions or constants. Errors are thrown as ExpressionError (limits and
// arithmetic errors: see exp_node.h).
#include "core/expression/exp_node.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvan {

enum class EvaluateOrder : std::uint8_t { InternalFirst, EventFirst };

class Expression;

// (sender, name as written, evaluated arguments, their number, value, done)
using OnEvaluate =
    std::function<void(Expression& sender, const std::string& eval, const std::vector<double>& args,
                       int argCount, double& value, bool& done)>;
// (sender, text between the brackets, value, done)
using OnVariable =
    std::function<void(Expression& sender, const std::string& variable, double& value, bool& done)>;

// One user-defined function while it is looked up or called.
class Function final : public ExpOwner {
public:
    explicit Function(Expression& owner) : owner_(owner) {}

    // Splits "name(p1;p2)=body" at its first "=". A line without "=" leaves an empty name
    // that never matches. Throws on a header that does not parse.
    void SetDefinition(const std::string& line);
    // Evaluates Body with the given arguments; missing arguments are 0, extra ones ignored.
    double Execute(const std::vector<double>& args);
    // A parameter gives its argument; any other name goes back to the component.
    double EvaluateName(const std::string& name, const std::vector<double>& args);

    Expression& Owner() const { return owner_; }

    std::string Definition;
    std::string Name;
    std::string Body;
    std::vector<std::string> Params;
    std::vector<double> Values;

    double EvaluateCall(const std::string& name, const std::vector<double>& args) override;
    double EvaluateVariableRef(const std::string& name) override;
    EvalState& State() override;

private:
    Expression& owner_;
};

class Expression final : public ExpOwner {
public:
    std::string Text;
    std::vector<std::string> Functions;
    EvaluateOrder evaluateOrder = EvaluateOrder::InternalFirst;
    OnEvaluate onEvaluate;
    OnVariable onVariable;

    // Evaluates Text and returns the result.
    double Value();
    // Evaluates Text into the stored value; on an error the stored value is kept.
    void Compute();
    // The result of the last successful evaluation.
    double LastValue() const { return value_; }

    double EvaluateFunction(const std::string& name, const std::vector<double>& args);
    double EvaluateVariable(const std::string& name);
    // The function of the first line of Functions whose name matches, or nullptr.
    std::unique_ptr<Function> FindFunction(const std::string& name);

    double EvaluateCall(const std::string& name, const std::vector<double>& args) override;
    double EvaluateVariableRef(const std::string& name) override;
    EvalState& State() override { return state_; }

private:
    EvalState state_;
    double value_ = 0;
};

} // namespace orvan
