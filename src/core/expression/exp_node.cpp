#include "core/expression/exp_node.h"

#include "core/expression/number_format.h"

#include <cmath>
#include <stdexcept>

namespace orvan {

namespace {

constexpr std::size_t npos = ExpTokenIndex::npos;

// Counts one level of Build or Evaluate recursion against the shared limit.
class DepthGuard {
public:
    explicit DepthGuard(EvalState& state) : state_(state) {
        if (++state_.depth > kMaxNestingDepth) {
            --state_.depth;
            throw ExpressionError(state_.callDepth > 0 ? kRecursionTooDeep : kTooDeeplyNested);
        }
    }
    ~DepthGuard() { --state_.depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    EvalState& state_;
};

bool IsBracket(const ExpToken& token, const char* text) {
    return token.Kind == ExpTokenKind::Bracket && token.Text == text;
}

// Every value leaving an operation or an event handler passes here: infinities and NaNs
// become errors instead of results.
double Checked(double value) {
    if (std::isnan(value))
        throw ExpressionError(kFloatInvalid);
    if (std::isinf(value))
        throw ExpressionError(kFloatOverflow);
    return value;
}

// The helpers below stay out of line: Evaluate and EvaluateOperator recurse once per
// tree level, and their frames must stay small for deep trees on a 1 MB stack.

[[noreturn]] [[gnu::noinline]] void ThrowDivisionByZero(double left, double right,
                                                        const std::string& separator) {
    std::string message = "Calculate error: \"";
    message.append(FormatFixed2(left, separator));
    message.append(" / ");
    message.append(FormatFixed2(right, separator));
    message.append("\" divison by zero.");
    throw ExpressionError(message);
}

// A whole exponent up to 2^31 - 1 in magnitude is computed by repeated squaring, so a
// negative base works; any other exponent through the logarithm, which a negative base
// cannot take.
[[gnu::noinline]] double ConvertNumber(const std::string& text, char32_t decimalChar) {
    double value = 0;
    if (TextToFloat(text, decimalChar, value) == NumberConversion::Overflow)
        throw ExpressionError(kFloatOverflow);
    return value;
}

[[gnu::noinline]] double Power(double base, double exponent) {
    if (exponent == std::trunc(exponent) && std::fabs(exponent) <= 2147483647.0) {
        auto remaining = static_cast<std::uint32_t>(std::fabs(exponent));
        double factor = base;
        double result = 1.0;
        while (remaining > 0) {
            while ((remaining & 1u) == 0) {
                remaining >>= 1;
                factor *= factor;
            }
            --remaining;
            result *= factor;
        }
        if (exponent < 0) {
            if (result == 0)
                throw ExpressionError(base == 0 ? kFloatZeroDivide : kFloatOverflow);
            // An infinite power turns into 0 here: 10^-400 underflows, it does not overflow.
            result = 1.0 / result;
        }
        return Checked(result);
    }
    if (base == 0)
        return 0;
    if (base < 0)
        throw ExpressionError(kFloatInvalid);
    // Equal to e^(exponent * ln base), without the rounding of the product.
    return Checked(std::pow(base, exponent));
}

double RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

// F(n) = 1 for 0 and 1, n for a negative n, n * F(n - 1) otherwise; multiplied upwards in
// the order the recursion would, and stopped as soon as the double range is left (171!
// already is, so the loop never runs long whatever n is).
[[gnu::noinline]] double Factorial(double operand) {
    const double n = RoundHalfEven(operand);
    if (n == 0 || n == 1)
        return 1;
    if (n < 0)
        return n;
    double result = 1;
    for (double k = 2; k <= n; k += 1) {
        result = k * result;
        if (std::isinf(result))
            throw ExpressionError(kFloatOverflow);
    }
    return result;
}

} // namespace

void EvalState::Charge(std::uint64_t units) {
    work += units;
    if (work > kWorkBudget)
        throw ExpressionError(kTooComplex);
}

ExpNode::ExpNode(ExpOwner& owner, const ExpParser& parser, std::size_t begin, std::size_t end,
                 ExpNode* parent)
    : owner_(owner), parser_(parser), parent_(parent), begin_(begin), end_(end),
      token_(end - begin == 1 ? begin : npos) {}

ExpNode::~ExpNode() {
    while (!children_.empty())
        children_.pop_back();
}

const ExpToken& ExpNode::TokenAt(std::size_t index) const {
    if (index >= TokenCount())
        throw std::out_of_range("ExpNode::TokenAt");
    return parser_.Tokens()[begin_ + index];
}

const ExpToken* ExpNode::Token() const {
    return token_ == npos ? nullptr : &parser_.Tokens()[token_];
}

ExpNode& ExpNode::AddChild(std::size_t begin, std::size_t end) {
    children_.push_back(std::make_unique<ExpNode>(owner_, parser_, begin, end, this));
    return *children_.back();
}

void ExpNode::Build() {
    EvalState& state = owner_.State();
    const DepthGuard guard(state);
    state.Charge(1);
    if (TokenCount() < 2)
        return;
    const std::vector<ExpToken>& tokens = parser_.Tokens();
    const ExpTokenIndex& index = parser_.Index();

    // Strip brackets that enclose the whole node, layer by layer: the opening bracket
    // encloses all when the depth first returns to its level only after the last token.
    while (TokenCount() >= 2 && IsBracket(tokens[begin_], "(") &&
           IsBracket(tokens[end_ - 1], ")")) {
        const std::size_t closed = index.FirstAtDepth(index.DepthBefore(begin_), begin_ + 1);
        if (closed != npos && closed < end_)
            break;
        ++begin_;
        --end_;
    }
    if (TokenCount() < 2) {
        if (TokenCount() == 1)
            token_ = begin_;
        return;
    }
    if (SplitAtOperator() || SplitFunctionCall())
        return;
    // A node that starts with a variable is accepted as it is; it evaluates to 0.
    if (tokens[begin_].Kind == ExpTokenKind::Variable)
        return;
    throw ExpressionError("Compile error: syntax fault.");
}

// The loosest operator at bracket depth 0 splits the node, the rightmost of equals first,
// which makes every operator left-associative.
bool ExpNode::SplitAtOperator() {
    const ExpTokenIndex& index = parser_.Index();
    const int base = index.DepthBefore(begin_);
    const std::size_t dip = index.FirstAtDepth(base - 1, begin_ + 1);
    if (dip != npos && dip <= end_)
        throw ExpressionError("Compile error: parenthesis mismatch.");
    std::size_t at = npos;
    for (std::size_t op = 0; op < OperatorChars.size() && at == npos; ++op)
        at = index.LastOperator(op, base, begin_, end_);
    if (at == npos)
        return false;
    // The right operand is built before the left one, so its errors come first.
    std::unique_ptr<ExpNode> right;
    if (at + 1 < end_) {
        right = std::make_unique<ExpNode>(owner_, parser_, at + 1, end_, this);
        right->Build();
    }
    auto left = std::make_unique<ExpNode>(owner_, parser_, begin_, at, this);
    left->Build();
    children_.push_back(std::move(left));
    if (right)
        children_.push_back(std::move(right));
    begin_ = at;
    end_ = at + 1;
    token_ = at;
    return true;
}

// NAME ( ARG ; ARG ... ) where the second and the last token are brackets of either
// kind; every argument between separators at depth 0 becomes one child, an empty one
// included.
bool ExpNode::SplitFunctionCall() {
    const std::vector<ExpToken>& tokens = parser_.Tokens();
    if (TokenCount() < 4 || tokens[begin_].Kind != ExpTokenKind::Name ||
        tokens[begin_ + 1].Kind != ExpTokenKind::Bracket ||
        tokens[end_ - 1].Kind != ExpTokenKind::Bracket)
        return false;
    const ExpTokenIndex& index = parser_.Index();
    const std::size_t name = begin_;
    const std::size_t argumentsEnd = end_ - 1;
    std::size_t next = begin_ + 2;
    while (next < argumentsEnd) {
        const int base = index.DepthBefore(next);
        const std::size_t separator = index.FirstSeparator(base, next);
        const std::size_t stop =
            separator != npos && separator < argumentsEnd ? separator : argumentsEnd;
        const std::size_t dip = index.FirstAtDepth(base - 1, next + 1);
        if (dip != npos && dip <= stop)
            throw ExpressionError("Function parse error.");
        AddChild(next, stop).Build();
        next = stop < argumentsEnd ? stop + 1 : argumentsEnd;
    }
    begin_ = name;
    end_ = name + 1;
    token_ = name;
    return true;
}

double ExpNode::Evaluate() {
    EvalState& state = owner_.State();
    const DepthGuard guard(state);
    state.Charge(1);
    if (token_ == npos || TokenCount() != 1)
        return 0;
    const ExpToken& token = parser_.Tokens()[token_];
    switch (token.Kind) {
    case ExpTokenKind::Number:
        return ConvertNumber(token.Text, state.decimalChar);
    case ExpTokenKind::Name:
        return EvaluateFunctionCall(token.Text);
    case ExpTokenKind::Variable:
        return Checked(owner_.EvaluateVariableRef(token.Text));
    case ExpTokenKind::Operator:
        return EvaluateOperator(token.Text);
    default:
        return 0;
    }
}

double ExpNode::EvaluateFunctionCall(const std::string& name) {
    std::vector<double> args;
    args.reserve(children_.size());
    for (const auto& child : children_)
        args.push_back(child->Evaluate());
    return Checked(owner_.EvaluateCall(name, args));
}

double ExpNode::EvaluateOperator(const std::string& op) {
    if (OperandCount(op) != static_cast<int>(children_.size()))
        throw ExpressionError("Calculate error: syntax tree fault.");
    const double left = children_[0]->Evaluate();
    const double right = children_.size() > 1 ? children_[1]->Evaluate() : 0.0;
    switch (op[0]) {
    case '+':
        return Checked(left + right);
    case '-':
        return Checked(left - right);
    case '*':
        return Checked(left * right);
    case '/':
        if (right == 0)
            ThrowDivisionByZero(left, right, owner_.State().decimalSeparator);
        return Checked(left / right);
    case '^':
        return Power(left, right);
    default: // "!"
        return Factorial(left);
    }
}

} // namespace orvan
