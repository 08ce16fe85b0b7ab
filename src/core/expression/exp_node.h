#pragma once
// The syntax tree of an expression: built from a token range by splitting at the loosest
// operator, recognising function calls and stripping enclosing brackets; evaluated
// bottom-up to one double.
//
// Limits, so that no input overflows the stack or runs for long (the messages are the
// evaluator's own, like every other error):
//   - Build and Evaluate recurse at most kMaxNestingDepth levels, counted across the
//     trees of one evaluation (the main expression and the bodies of the user-defined
//     functions it calls): "Compile error: expression too deeply nested.", or inside a
//     user-defined function "Calculate error: recursion too deep.".
//   - User-defined functions nest at most kMaxCallDepth calls deep (f(x)=f(x) ends here):
//     "Calculate error: recursion too deep.".
//   - One evaluation may spend kWorkBudget units (a character tokenized, a token, a node
//     built or evaluated, a function line looked at, a call); beyond that exponential
//     blow-ups such as f0(x)=f1(x)+f1(x), f1(x)=f2(x)+f2(x), ... end with
//     "Calculate error: expression too complex.".
// Arithmetic never yields an infinite or NaN value: "Floating point overflow.",
// "Invalid floating point operation." and "Floating point division by zero." (a zero
// base to a negative whole power) end the evaluation instead.
#include "core/expression/exp_parser.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvan {

inline constexpr int kMaxNestingDepth = 1000;
inline constexpr int kMaxCallDepth = 100;
inline constexpr std::uint64_t kWorkBudget = 1'000'000;

inline constexpr const char* kTooDeeplyNested = "Compile error: expression too deeply nested.";
inline constexpr const char* kRecursionTooDeep = "Calculate error: recursion too deep.";
inline constexpr const char* kTooComplex = "Calculate error: expression too complex.";
inline constexpr const char* kFloatOverflow = "Floating point overflow.";
inline constexpr const char* kFloatInvalid = "Invalid floating point operation.";
inline constexpr const char* kFloatZeroDivide = "Floating point division by zero.";

// What one evaluation shares among all its trees: the decimal separator read when it
// started, and the counters behind the limits above.
struct EvalState {
    std::string decimalSeparator = ".";
    char32_t decimalChar = U'.';
    int depth = 0;
    int callDepth = 0;
    std::uint64_t work = 0;
    bool active = false;

    void Charge(std::uint64_t units);
};

// Resolves the names and variables met in a tree: the component for the main expression,
// a user-defined function for its body.
class ExpOwner {
public:
    virtual double EvaluateCall(const std::string& name, const std::vector<double>& args) = 0;
    virtual double EvaluateVariableRef(const std::string& name) = 0;
    virtual EvalState& State() = 0;

protected:
    ~ExpOwner() = default;
};

class ExpNode {
public:
    // Covers the tokens [begin, end) of the parser, which must outlive the node.
    ExpNode(ExpOwner& owner, const ExpParser& parser, std::size_t begin, std::size_t end,
            ExpNode* parent);
    ~ExpNode();
    ExpNode(const ExpNode&) = delete;
    ExpNode& operator=(const ExpNode&) = delete;

    void Build();
    double Evaluate();

    std::size_t TokenCount() const { return end_ - begin_; }
    const ExpToken& TokenAt(std::size_t index) const;
    std::size_t ChildCount() const { return children_.size(); }
    ExpNode& Child(std::size_t index) const { return *children_.at(index); }
    // The operator, function name or leaf token; nullptr when the node has none.
    const ExpToken* Token() const;
    ExpNode* Parent() const { return parent_; }
    ExpOwner& Owner() const { return owner_; }

private:
    ExpNode& AddChild(std::size_t begin, std::size_t end);
    bool SplitAtOperator();
    bool SplitFunctionCall();
    [[gnu::noinline]] double EvaluateFunctionCall(const std::string& name);
    double EvaluateOperator(const std::string& op);

    ExpOwner& owner_;
    const ExpParser& parser_;
    ExpNode* parent_;
    std::size_t begin_;
    std::size_t end_;
    std::size_t token_; // index into the parser's tokens, or npos
    std::vector<std::unique_ptr<ExpNode>> children_;
};

} // namespace orvan
