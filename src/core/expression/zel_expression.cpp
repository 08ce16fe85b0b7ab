#include "core/expression/zel_expression.h"

#include "core/base/utf.h"
#include "core/expression/number_format.h"
#include "core/ports/locale.h"

namespace orvan {

namespace {

// Opens an evaluation unless one is running: the counters start at zero and the decimal
// separator is read once. Nested entries (a function body, an event handler evaluating
// again) share the running evaluation's limits.
class EvaluationScope {
public:
    explicit EvaluationScope(EvalState& state) : state_(state), outer_(!state.active) {
        if (!outer_)
            return;
        state_ = EvalState{};
        const std::string& separator = CurrentLocale().decimalSeparator;
        state_.decimalSeparator = separator.empty() ? "." : separator;
        state_.decimalChar = DecimalSeparatorChar(separator);
        state_.active = true;
    }
    ~EvaluationScope() {
        if (outer_)
            state_.active = false;
    }
    EvaluationScope(const EvaluationScope&) = delete;
    EvaluationScope& operator=(const EvaluationScope&) = delete;

private:
    EvalState& state_;
    bool outer_;
};

// Work units for the objects one line lookup or one call creates, beyond its characters.
constexpr std::uint64_t kLookupCost = 4;
constexpr std::uint64_t kCallCost = 4;

class CallGuard {
public:
    explicit CallGuard(EvalState& state) : state_(state) {
        if (state_.callDepth >= kMaxCallDepth)
            throw ExpressionError(kRecursionTooDeep);
        ++state_.callDepth;
    }
    ~CallGuard() { --state_.callDepth; }
    CallGuard(const CallGuard&) = delete;
    CallGuard& operator=(const CallGuard&) = delete;

private:
    EvalState& state_;
};

double EvaluateText(ExpOwner& owner, std::string_view text) {
    EvalState& state = owner.State();
    ExpParser parser(state.decimalChar);
    parser.Tokenize(text);
    state.Charge(parser.Source().size() + parser.Tokens().size());
    ExpNode root(owner, parser, 0, parser.Tokens().size(), nullptr);
    root.Build();
    return root.Evaluate();
}

} // namespace

// --- Function ---

void Function::SetDefinition(const std::string& line) {
    const EvaluationScope scope(State());
    State().Charge(line.size());
    Params.clear();
    Name.clear();
    Body.clear();
    Definition = line;
    const auto equals = line.find('=');
    if (equals == std::string::npos)
        return;
    const std::string header = line.substr(0, equals);
    Body = line.substr(equals + 1);

    ExpParser parser(State().decimalChar);
    parser.Tokenize(header);
    const std::vector<ExpToken>& tokens = parser.Tokens();
    State().Charge(tokens.size());
    if (tokens.empty() || tokens[0].Kind != ExpTokenKind::Name)
        throw ExpressionError("Function \"" + line + "\" is not valid.");
    Name = tokens[0].Text;
    if (tokens.size() == 1)
        return;
    const std::string headerError = "Function header \"" + header + "\" is not valid.";
    bool open = false;
    if (tokens[1].Kind == ExpTokenKind::Bracket) {
        if (tokens[1].Text == ")")
            throw ExpressionError(headerError);
        open = true;
    }
    bool expectSeparator = false;
    for (std::size_t i = 2; i < tokens.size(); ++i) {
        const ExpToken& token = tokens[i];
        if (token.Kind == ExpTokenKind::Bracket) {
            if (open && token.Text == ")")
                return; // whatever follows the list is ignored
            throw ExpressionError(headerError);
        }
        if (expectSeparator) {
            if (token.Kind != ExpTokenKind::Separator)
                throw ExpressionError(
                    "Function parse error: delimitor \";\" expected between arguments.");
            expectSeparator = false;
        } else if (token.Kind == ExpTokenKind::Name) {
            Params.push_back(token.Text);
            expectSeparator = true;
        }
    }
    if (open)
        throw ExpressionError(headerError);
}

double Function::Execute(const std::vector<double>& args) {
    const EvaluationScope scope(State());
    const CallGuard call(State());
    State().Charge(kCallCost);
    Values = args;
    return EvaluateText(*this, Body);
}

double Function::EvaluateName(const std::string& name, const std::vector<double>& args) {
    const std::string wanted = AsciiUpper(name);
    for (std::size_t i = 0; i < Params.size(); ++i)
        if (AsciiUpper(Params[i]) == wanted)
            return i < Values.size() ? Values[i] : 0.0;
    return owner_.EvaluateFunction(name, args);
}

double Function::EvaluateCall(const std::string& name, const std::vector<double>& args) {
    return EvaluateName(name, args);
}

// Variables mean nothing inside a function body.
double Function::EvaluateVariableRef(const std::string&) {
    return 0;
}

EvalState& Function::State() {
    return owner_.State();
}

// --- Expression ---

double Expression::Value() {
    Compute();
    return value_;
}

void Expression::Compute() {
    const EvaluationScope scope(state_);
    // Text is copied by the tokenizer, so a handler may change it while this runs.
    value_ = EvaluateText(*this, Text);
}

double Expression::EvaluateFunction(const std::string& name, const std::vector<double>& args) {
    bool done = false;
    double value = 0;
    if (evaluateOrder == EvaluateOrder::EventFirst && onEvaluate) {
        onEvaluate(*this, name, args, static_cast<int>(args.size()), value, done);
        if (done)
            return value;
    }
    if (evaluateOrder == EvaluateOrder::InternalFirst || !onEvaluate)
        value = 0;
    if (const std::unique_ptr<Function> function = FindFunction(name))
        return function->Execute(args);
    if (evaluateOrder == EvaluateOrder::InternalFirst && onEvaluate) {
        onEvaluate(*this, name, args, static_cast<int>(args.size()), value, done);
        return value;
    }
    return 0;
}

double Expression::EvaluateVariable(const std::string& name) {
    double value = 0;
    bool done = false;
    if (onVariable)
        onVariable(*this, name, value, done);
    return value;
}

std::unique_ptr<Function> Expression::FindFunction(const std::string& name) {
    const EvaluationScope scope(state_);
    const std::string wanted = AsciiUpper(name);
    // By index: a line is parsed afresh for every lookup, nothing is cached.
    for (std::size_t i = 0; i < Functions.size(); ++i) {
        state_.Charge(kLookupCost);
        if (TrimControl(Functions[i]).empty())
            continue;
        auto function = std::make_unique<Function>(*this);
        function->SetDefinition(Functions[i]);
        if (AsciiUpper(function->Name) == wanted)
            return function;
    }
    return nullptr;
}

double Expression::EvaluateCall(const std::string& name, const std::vector<double>& args) {
    return EvaluateFunction(name, args);
}

double Expression::EvaluateVariableRef(const std::string& name) {
    return EvaluateVariable(name);
}

} // namespace orvan
