#include "core/expression/zel_expression.h"

#include "core/ports/locale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace orvan {
namespace {

// Every test starts from the "." locale and leaves the locale as it found it.
class ExpressionTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = CurrentLocale();
        UseSeparator(".");
    }
    void TearDown() override { SetCurrentLocale(saved_); }

    void UseSeparator(const std::string& separator) {
        LocaleSettings settings = saved_;
        settings.decimalSeparator = separator;
        SetCurrentLocale(settings);
    }

    double Eval(const std::string& text) {
        expression_.Text = text;
        return expression_.Value();
    }

    // The message of the error the text raises, or "(no error)".
    std::string ErrorOf(const std::string& text) {
        try {
            Eval(text);
        } catch (const ExpressionError& error) {
            return error.what();
        }
        return "(no error)";
    }

    Expression expression_;
    LocaleSettings saved_;
};

// --- values ---

struct ValueCase {
    const char* text;
    double value;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.text;
}

class ExpressionValueTest : public ExpressionTest,
                            public ::testing::WithParamInterface<ValueCase> {};

TEST_P(ExpressionValueTest, Evaluates) {
    EXPECT_DOUBLE_EQ(Eval(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Basics, ExpressionValueTest,
                         ::testing::Values(ValueCase{"", 0}, ValueCase{"   ", 0},
                                           ValueCase{"  7 ", 7}, ValueCase{"2+3*4", 14},
                                           ValueCase{"(1+2)^2", 9}, ValueCase{"7/2", 3.5},
                                           ValueCase{"0/7", 0}, ValueCase{"12.5*2", 25},
                                           ValueCase{".5+5.", 5.5}));

// Six precedence levels, loosest first "+-*/^!", every operator left-associative.
INSTANTIATE_TEST_SUITE_P(PrecedenceAndAssociativity, ExpressionValueTest,
                         ::testing::Values(ValueCase{"8-3-2", 3}, ValueCase{"2^3^2", 64},
                                           ValueCase{"8/4/2", 1}, ValueCase{"10-2+3", 11},
                                           ValueCase{"2+-3", -1}, ValueCase{"2^3!", 64},
                                           ValueCase{"3!^2", 36}, ValueCase{"2*3^2", 18},
                                           ValueCase{"6/2*3", 9}, ValueCase{"1-2*3", -5}));

// A leading operator has an empty left operand, worth 0.
INSTANTIATE_TEST_SUITE_P(UnaryOperators, ExpressionValueTest,
                         ::testing::Values(ValueCase{"-5", -5}, ValueCase{"+5", 5},
                                           ValueCase{"-2^2", -4}, ValueCase{"-(2+3)", -5},
                                           ValueCase{"2*(-3)", -6}, ValueCase{"*2", 0},
                                           ValueCase{"-3!", -6}));

INSTANTIATE_TEST_SUITE_P(Parentheses, ExpressionValueTest,
                         ::testing::Values(ValueCase{"((2+3))*2", 10}, ValueCase{"(2)+(3)", 5},
                                           ValueCase{"((4))", 4}, ValueCase{"(5)", 5},
                                           ValueCase{"()", 0}, ValueCase{"2*()", 0},
                                           ValueCase{"(", 0}, ValueCase{")", 0},
                                           ValueCase{"(1+2)*(3+4)", 21}));

INSTANTIATE_TEST_SUITE_P(
    PowersAndFactorials, ExpressionValueTest,
    ::testing::Values(ValueCase{"2^0.5", 1.4142135623730951}, ValueCase{"(-2)^3", -8},
                      ValueCase{"0^0", 1}, ValueCase{"2^(-1)", 0.5}, ValueCase{"(-2)^(-2)", 0.25},
                      ValueCase{"0^0.5", 0}, ValueCase{"0^(0-0.5)", 0},
                      ValueCase{"1^3000000000", 1}, ValueCase{"0.5^3000000000", 0},
                      ValueCase{"10^(0-400)", 0}, ValueCase{"4!", 24}, ValueCase{"3!!", 720},
                      ValueCase{"0!", 1}, ValueCase{"1!", 1}, ValueCase{"2.5!", 2},
                      ValueCase{"3.5!", 24}, ValueCase{"1.4!", 1}, ValueCase{"(-3)!", -3},
                      ValueCase{"(-2.5)!", -2}, ValueCase{"170!", 7.257415615307994e306}));

// Literals the conversion does not accept are 0, without an error.
INSTANTIATE_TEST_SUITE_P(Literals, ExpressionValueTest,
                         ::testing::Values(ValueCase{"1E5", 1e5}, ValueCase{"2.5E-3", 0.0025},
                                           ValueCase{"1E+5", 5}, ValueCase{"1E5-3", 0},
                                           ValueCase{"1.2.3", 0}, ValueCase{"1E-400", 0}));

INSTANTIATE_TEST_SUITE_P(UnresolvedNamesAndVariables, ExpressionValueTest,
                         ::testing::Values(ValueCase{"pi", 0}, ValueCase{"f(1;2)", 0},
                                           ValueCase{"pi+2", 2}, ValueCase{"[a]", 0},
                                           ValueCase{"[a]+[b]", 0}, ValueCase{"[a] 5", 0},
                                           ValueCase{"[a](1)", 0}, ValueCase{"f(1(", 0}));

// --- errors ---

struct ErrorCase {
    const char* text;
    const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.text;
}

class ExpressionErrorTest : public ExpressionTest,
                            public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(ExpressionErrorTest, Fails) {
    EXPECT_EQ(ErrorOf(GetParam().text), GetParam().message) << GetParam().text;
}

constexpr const char* kSyntaxTree = "Calculate error: syntax tree fault.";
constexpr const char* kSyntaxFault = "Compile error: syntax fault.";
constexpr const char* kMismatch = "Compile error: parenthesis mismatch.";

INSTANTIATE_TEST_SUITE_P(
    OperatorsWithoutOperands, ExpressionErrorTest,
    ::testing::Values(ErrorCase{"2*-3", kSyntaxTree}, ErrorCase{"2^-1", kSyntaxTree},
                      ErrorCase{"3--2", kSyntaxTree}, ErrorCase{"2-+3", kSyntaxTree},
                      ErrorCase{"!3", kSyntaxTree}, ErrorCase{"5!3", kSyntaxTree},
                      ErrorCase{"2*", kSyntaxTree}, ErrorCase{"-", kSyntaxTree}));

INSTANTIATE_TEST_SUITE_P(
    Structure, ExpressionErrorTest,
    ::testing::Values(ErrorCase{"2 3", kSyntaxFault}, ErrorCase{"(1)(2)", kSyntaxFault},
                      ErrorCase{"2(3)", kSyntaxFault}, ErrorCase{"(1+2", kSyntaxFault},
                      ErrorCase{"1e5", kSyntaxFault}, ErrorCase{"f()", kSyntaxFault},
                      ErrorCase{"1;2", kSyntaxFault}, ErrorCase{"f(1", kSyntaxFault},
                      ErrorCase{"1)+2", kMismatch}, ErrorCase{")(", kMismatch},
                      ErrorCase{"f(1))+(2", kMismatch},
                      ErrorCase{"f(1)(2)", "Function parse error."},
                      ErrorCase{"f(1;2)(3;4)", "Function parse error."},
                      ErrorCase{"5 ? 3", "Parse error: illegal character \"?\" at position 3."},
                      ErrorCase{"1,5", "Parse error: illegal character \",\" at position 2."}));

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, ExpressionErrorTest,
    ::testing::Values(ErrorCase{"7/0", "Calculate error: \"7.00 / 0.00\" divison by zero."},
                      ErrorCase{"5/0", "Calculate error: \"5.00 / 0.00\" divison by zero."},
                      ErrorCase{"7/(1-1)", "Calculate error: \"7.00 / 0.00\" divison by zero."},
                      ErrorCase{"(-2.5)/0", "Calculate error: \"-2.50 / 0.00\" divison by zero."},
                      ErrorCase{"5/(0*(-1))", "Calculate error: \"5.00 / 0.00\" divison by zero."},
                      ErrorCase{"10^400", "Floating point overflow."},
                      ErrorCase{"2^3000000000", "Floating point overflow."},
                      ErrorCase{"171!", "Floating point overflow."},
                      ErrorCase{"1E300!", "Floating point overflow."},
                      ErrorCase{"1E400", "Floating point overflow."},
                      ErrorCase{"1E308*10", "Floating point overflow."},
                      ErrorCase{"1E308+1E308", "Floating point overflow."},
                      ErrorCase{"(0-1E308)-1E308", "Floating point overflow."},
                      ErrorCase{"1E308/0.1", "Floating point overflow."},
                      ErrorCase{"0.1^(0-400)", "Floating point overflow."},
                      ErrorCase{"(-8)^(1/3)", "Invalid floating point operation."},
                      ErrorCase{"(-2)^0.5", "Invalid floating point operation."},
                      ErrorCase{"(-1)^3000000000", "Invalid floating point operation."},
                      ErrorCase{"0^(-1)", "Floating point division by zero."}));

TEST_F(ExpressionTest, ErrorsKeepThePreviousValue) {
    EXPECT_EQ(Eval("6*7"), 42);
    EXPECT_THROW(Eval("1/0"), ExpressionError);
    EXPECT_EQ(expression_.LastValue(), 42);
    EXPECT_EQ(Eval("1+1"), 2);
}

TEST_F(ExpressionTest, RightOperandIsBuiltFirst) {
    EXPECT_EQ(ErrorOf("(2 3)+f(1)(2)"), "Function parse error.");
    EXPECT_EQ(ErrorOf("f(1)(2)+(2 3)"), kSyntaxFault);
}

// --- locale ---

TEST_F(ExpressionTest, CommaSeparator) {
    UseSeparator(",");
    EXPECT_EQ(Eval("1,5+1"), 2.5);
    EXPECT_EQ(Eval("1.5+1"), 1); // one token that does not convert
    EXPECT_EQ(ErrorOf("5/0"), "Calculate error: \"5,00 / 0,00\" divison by zero.");
    expression_.Functions = {"f(x;y)=x+y"};
    EXPECT_EQ(Eval("f(1,5;2)"), 3.5);
}

TEST_F(ExpressionTest, MultiByteSeparator) {
    UseSeparator("\xD9\xAB"); // U+066B
    EXPECT_EQ(Eval("1\xD9\xAB"
                   "5*2"),
              3);
    EXPECT_EQ(Eval("1.5*2"), 0);
    EXPECT_EQ(ErrorOf("1,5"), "Parse error: illegal character \",\" at position 2.");
    EXPECT_EQ(ErrorOf("2\xD9\xAB"
                      "5/0"),
              "Calculate error: \"2\xD9\xAB"
              "50 / 0\xD9\xAB"
              "00\" divison by zero.");
}

TEST_F(ExpressionTest, SeparatorIsReadOncePerEvaluation) {
    UseSeparator(",");
    expression_.Functions = {"f(x)=x+1,5"};
    // The handler switches the locale before f's body is read: the body still reads ",".
    expression_.onEvaluate = [this](Expression&, const std::string&, const std::vector<double>&,
                                    int, double& value, bool&) {
        UseSeparator(".");
        value = 0;
    };
    EXPECT_EQ(Eval("h(0)+f(0)"), 1.5);
    EXPECT_EQ(Eval("1.5"), 1.5); // the next evaluation reads the new separator
}

// --- user-defined functions ---

TEST_F(ExpressionTest, FunctionsCallEachOther) {
    expression_.Functions = {"sq(x)=x*x", "hyp(a;b)=sq(a)+sq(b)"};
    EXPECT_EQ(Eval("hyp(3;4)"), 25);
    EXPECT_EQ(Eval("sq(2)+1"), 5);
    EXPECT_EQ(Eval("sq(sq(2))"), 16);
    EXPECT_EQ(Eval("pi"), 0);
}

TEST_F(ExpressionTest, FunctionNamesAndParametersIgnoreCase) {
    expression_.Functions = {"f(x;y)=x-y", "g(X)=x*2"};
    EXPECT_EQ(Eval("f(5;3)"), 2);
    EXPECT_EQ(Eval("F(5;3)"), 2);
    EXPECT_EQ(Eval("g(3)"), 6);
}

TEST_F(ExpressionTest, FirstMatchingLineWins) {
    expression_.Functions = {"f(x)=x+1", "f(x)=x*10"};
    EXPECT_EQ(Eval("f(2)"), 3);
}

TEST_F(ExpressionTest, ArgumentsBeyondOrShortOfTheParameters) {
    expression_.Functions = {"f(x;y)=x-y"};
    EXPECT_EQ(Eval("f(5;3;100)"), 2);
    EXPECT_EQ(Eval("f(5)"), 5); // y has no argument: 0
    EXPECT_EQ(Eval("f(;3)"), -3);
    EXPECT_EQ(Eval("f"), 0);
}

TEST_F(ExpressionTest, FunctionsWithoutParameters) {
    expression_.Functions = {"pi=3.14159", "e x=2"};
    EXPECT_DOUBLE_EQ(Eval("pi*2"), 6.28318);
    EXPECT_EQ(Eval("e"), 2); // a token after the name that is not a bracket is ignored
}

TEST_F(ExpressionTest, HeadersWithExtraTokens) {
    expression_.Functions = {"a(x))=x+1", "b(x;)=x+2", "c(x;;y)=x*y", "d(x 5)=x"};
    EXPECT_EQ(Eval("a(1)"), 2); // tokens after the closing bracket are ignored
    EXPECT_EQ(Eval("b(1)"), 3);
    EXPECT_EQ(Eval("c(2;3)"), 6);
    EXPECT_EQ(ErrorOf("d(1)"), "Function parse error: delimitor \";\" expected between arguments.");
}

TEST_F(ExpressionTest, EmptyLinesAndLinesWithoutEqualsAreSkipped) {
    expression_.Functions = {"", "   ", "nonsense", "f(x)=x+1"};
    EXPECT_EQ(Eval("f(1)"), 2);
    EXPECT_EQ(Eval("nonsense"), 0);
}

TEST_F(ExpressionTest, BodiesSeeParametersOtherFunctionsAndNoVariables) {
    expression_.Functions = {"v(x)=[y]+x", "w(x)=z(x)*2"};
    expression_.onVariable = [](Expression&, const std::string&, double& value, bool&) {
        value = 5;
    };
    expression_.onEvaluate = [](Expression&, const std::string& name,
                                const std::vector<double>& args, int, double& value, bool&) {
        if (name == "z" && !args.empty())
            value = args[0] + 100;
    };
    EXPECT_EQ(Eval("v(1)"), 1);
    EXPECT_EQ(Eval("[y]"), 5);
    EXPECT_EQ(Eval("w(1)"), 202);
}

struct DefinitionErrorCase {
    const char* line;
    const char* call;
    const char* message;
};

void PrintTo(const DefinitionErrorCase& c, std::ostream* os) {
    *os << c.line;
}

class DefinitionErrorTest : public ExpressionTest,
                            public ::testing::WithParamInterface<DefinitionErrorCase> {};

TEST_P(DefinitionErrorTest, FailsAtLookup) {
    expression_.Functions = {GetParam().line};
    EXPECT_EQ(ErrorOf(GetParam().call), GetParam().message) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DefinitionErrorTest,
    ::testing::Values(
        DefinitionErrorCase{"g(x y)=x", "g(1)",
                            "Function parse error: delimitor \";\" expected between arguments."},
        DefinitionErrorCase{"g(x=1", "g(1)", "Function header \"g(x\" is not valid."},
        DefinitionErrorCase{"g)x(=1", "g(1)", "Function header \"g)x(\" is not valid."},
        DefinitionErrorCase{"g(x(=1", "g(1)", "Function header \"g(x(\" is not valid."},
        DefinitionErrorCase{"5(x)=1", "g(1)", "Function \"5(x)=1\" is not valid."},
        DefinitionErrorCase{"=5", "g(1)", "Function \"=5\" is not valid."},
        DefinitionErrorCase{"g(x?)=1", "g(1)",
                            "Parse error: illegal character \"?\" at position 4."},
        // A broken line fails every lookup that reaches it, bare names included.
        DefinitionErrorCase{"g(x=1", "pi", "Function header \"g(x\" is not valid."}));

TEST_F(ExpressionTest, BrokenLineFailsOnlyLookupsThatReachIt) {
    expression_.Functions = {"f(x)=x", "bad(x=1"};
    EXPECT_EQ(Eval("f(7)"), 7);
    EXPECT_EQ(ErrorOf("g(7)"), "Function header \"bad(x\" is not valid.");
    EXPECT_EQ(ErrorOf("f(7)+pi"), "Function header \"bad(x\" is not valid.");
}

TEST_F(ExpressionTest, FindFunctionParsesTheFirstMatchingLine) {
    expression_.Functions = {"  ", "other=1", "Hyp(a;b)=sq(a)+sq(b)"};
    const auto function = expression_.FindFunction("HYP");
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(function->Name, "Hyp");
    EXPECT_EQ(function->Params, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(function->Body, "sq(a)+sq(b)");
    EXPECT_EQ(function->Definition, "Hyp(a;b)=sq(a)+sq(b)");
    EXPECT_EQ(expression_.FindFunction("sq"), nullptr);
}

TEST_F(ExpressionTest, FunctionExecutesOnItsOwn) {
    Function function(expression_);
    function.SetDefinition("f(a;b)=a*10+b=ignored");
    EXPECT_EQ(function.Body, "a*10+b=ignored");
    function.SetDefinition("f(a;b)=a*10+b");
    EXPECT_EQ(function.Execute({4, 2}), 42);
    EXPECT_EQ(function.EvaluateName("B", {}), 2);
    function.SetDefinition("no equals sign");
    EXPECT_EQ(function.Name, "");
    EXPECT_TRUE(function.Params.empty());
}

// --- events ---

TEST_F(ExpressionTest, OnVariableGetsTheBracketedName) {
    std::vector<std::string> seen;
    expression_.onVariable = [&seen](Expression&, const std::string& name, double& value, bool&) {
        seen.push_back(name);
        value = name == "width" ? 640 : 1;
    };
    EXPECT_EQ(Eval("[width]/2"), 320);
    EXPECT_EQ(Eval("[first name]+[a"), 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"width", "first name", "a"}));
}

struct EventCall {
    std::string name;
    std::vector<double> args;
    int argCount;
    double valueIn;
};

TEST_F(ExpressionTest, InternalFirstAsksTheEventOnlyForUnknownNames) {
    std::vector<EventCall> calls;
    expression_.Functions = {"f(x)=x+1"};
    expression_.onEvaluate = [&calls](Expression&, const std::string& name,
                                      const std::vector<double>& args, int argCount, double& value,
                                      bool&) {
        calls.push_back({name, args, argCount, value});
        value = 7; // Done is not needed: the value is taken as it is
    };
    EXPECT_EQ(Eval("f(1)"), 2);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(Eval("g(1;2+3;)"), 7);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].name, "g");
    EXPECT_EQ(calls[0].args, (std::vector<double>{1, 5}));
    EXPECT_EQ(calls[0].argCount, 2);
    EXPECT_EQ(calls[0].valueIn, 0);
    EXPECT_EQ(Eval("pi"), 7);
}

TEST_F(ExpressionTest, EventFirstOverridesFunctionsWhenDone) {
    expression_.evaluateOrder = EvaluateOrder::EventFirst;
    expression_.Functions = {"f(x)=x+1"};
    expression_.onEvaluate = [](Expression&, const std::string& name, const std::vector<double>&,
                                int, double& value, bool& done) {
        value = 99;
        done = name == "F";
    };
    EXPECT_EQ(Eval("F(1)"), 99); // handled
    EXPECT_EQ(Eval("f(1)"), 2);  // not done: the user function
    EXPECT_EQ(Eval("g(1)"), 0);  // not done and no function: 0, not the handler's value
}

TEST_F(ExpressionTest, EventFirstWithoutHandlerUsesFunctions) {
    expression_.evaluateOrder = EvaluateOrder::EventFirst;
    expression_.Functions = {"f(x)=x+1"};
    EXPECT_EQ(Eval("f(1)+g(1)"), 2);
}

TEST_F(ExpressionTest, NonFiniteEventValuesAreErrors) {
    double given = std::numeric_limits<double>::quiet_NaN();
    expression_.onEvaluate = [&given](Expression&, const std::string&, const std::vector<double>&,
                                      int, double& value, bool&) { value = given; };
    EXPECT_EQ(ErrorOf("g"), "Invalid floating point operation.");
    given = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ErrorOf("g"), "Floating point overflow.");
    expression_.onVariable = [](Expression&, const std::string&, double& value, bool&) {
        value = -std::numeric_limits<double>::infinity();
    };
    EXPECT_EQ(ErrorOf("[v]"), "Floating point overflow.");
}

TEST_F(ExpressionTest, HandlerMayEvaluateAgain) {
    expression_.onEvaluate = [](Expression& sender, const std::string&,
                                const std::vector<double>& args, int, double& value, bool&) {
        sender.Text = "2*" + std::to_string(static_cast<int>(args.at(0)));
        value = sender.Value();
    };
    EXPECT_EQ(Eval("twice(21)+1"), 43);
}

// --- limits ---

TEST_F(ExpressionTest, DeepBracketsAreStrippedWithoutRecursion) {
    const std::string text = std::string(100000, '(') + "1" + std::string(100000, ')');
    EXPECT_EQ(Eval(text), 1);
    EXPECT_EQ(ErrorOf(std::string(100000, '(')), kSyntaxFault);
    EXPECT_EQ(ErrorOf(std::string(100000, ')')), kMismatch);
}

std::string Repeat(const std::string& piece, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += piece;
    return out;
}

TEST_F(ExpressionTest, DeepNestingEndsWithAnError) {
    EXPECT_EQ(Eval(Repeat("1+", 900) + "1"), 901);
    EXPECT_EQ(ErrorOf(Repeat("1+", 50000) + "1"), kTooDeeplyNested);
    EXPECT_EQ(ErrorOf(Repeat("1+(", 30000) + "1" + std::string(30000, ')')), kTooDeeplyNested);
    EXPECT_EQ(ErrorOf(Repeat("f(", 30000) + "1" + std::string(30000, ')')), kTooDeeplyNested);
    EXPECT_EQ(ErrorOf(Repeat("-", 50000) + "1"), kTooDeeplyNested);
    EXPECT_EQ(ErrorOf("1" + Repeat("!", 50000)), kTooDeeplyNested);
}

TEST_F(ExpressionTest, LongFlatInputsStayFast) {
    EXPECT_EQ(Eval("f(" + Repeat("1;", 40000) + "1)"), 0);
    EXPECT_EQ(Eval("[" + std::string(100000, 'x') + "]"), 0);
    EXPECT_EQ(Eval(Repeat("(1)*", 500) + "1"), 1);
}

TEST_F(ExpressionTest, RunawayRecursionEndsWithAnError) {
    expression_.Functions = {"f(x)=f(x)", "g(x)=g(x)+g(x)", "a(x)=b(x)", "b(x)=a(x)+1"};
    EXPECT_EQ(ErrorOf("f(1)"), kRecursionTooDeep);
    EXPECT_EQ(ErrorOf("g(1)"), kRecursionTooDeep);
    EXPECT_EQ(ErrorOf("a(1)"), kRecursionTooDeep);
    expression_.Functions = {"h=h"};
    EXPECT_EQ(ErrorOf("h"), kRecursionTooDeep);
    // The engine is usable afterwards.
    EXPECT_EQ(Eval("2+2"), 4);
}

TEST_F(ExpressionTest, DeepBodiesShareTheNestingLimit) {
    // Each call adds about 600 levels: the second one crosses the shared limit.
    expression_.Functions = {"p(x)=" + Repeat("1+(", 600) + "x" + std::string(600, ')'),
                             "q(x)=" + Repeat("1+(", 600) + "p(x)" + std::string(600, ')')};
    EXPECT_EQ(Eval("p(0)"), 600);
    EXPECT_EQ(ErrorOf("q(0)"), kRecursionTooDeep);
}

TEST_F(ExpressionTest, ExponentialBlowUpEndsWithAnError) {
    for (int i = 0; i < 40; ++i) {
        std::ostringstream line;
        line << 'f' << i << "(x)=f" << i + 1 << "(x)+f" << i + 1 << "(x)";
        expression_.Functions.push_back(line.str());
    }
    EXPECT_EQ(ErrorOf("f0(1)"), kTooComplex);
    EXPECT_EQ(ErrorOf("f39(1)"), "(no error)");
}

} // namespace
} // namespace orvan
