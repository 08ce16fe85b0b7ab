#include "core/expression/exp_node.h"

#include "core/expression/zel_expression.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>

namespace orvan {
namespace {

// A built tree written as TOKEN(child;child...); a node without a token shows the
// tokens it still covers in angle brackets.
void Describe(const ExpNode& node, std::ostringstream& out) {
    if (const ExpToken* token = node.Token()) {
        out << token->Text;
    } else {
        out << '<';
        for (std::size_t i = 0; i < node.TokenCount(); ++i)
            out << (i > 0 ? " " : "") << node.TokenAt(i).Text;
        out << '>';
    }
    if (node.ChildCount() > 0) {
        out << '(';
        for (std::size_t i = 0; i < node.ChildCount(); ++i) {
            if (i > 0)
                out << ';';
            EXPECT_EQ(node.Child(i).Parent(), &node);
            Describe(node.Child(i), out);
        }
        out << ')';
    }
}

std::string Describe(const ExpNode& node) {
    std::ostringstream out;
    Describe(node, out);
    return out.str();
}

struct TreeCase {
    const char* text;
    const char* tree;
};

void PrintTo(const TreeCase& c, std::ostream* os) {
    *os << c.text;
}

class ExpNodeBuildTest : public ::testing::TestWithParam<TreeCase> {};

TEST_P(ExpNodeBuildTest, BuildsTheTree) {
    Expression owner;
    ExpParser parser(U'.');
    parser.Tokenize(GetParam().text);
    ExpNode root(owner, parser, 0, parser.Tokens().size(), nullptr);
    root.Build();
    EXPECT_EQ(root.Parent(), nullptr);
    EXPECT_EQ(Describe(root), GetParam().tree);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExpNodeBuildTest,
    ::testing::Values(TreeCase{"", "<>"}, TreeCase{"7", "7"}, TreeCase{"2+3*4", "+(2;*(3;4))"},
                      // The loosest operator splits, the rightmost of equals first.
                      TreeCase{"8-3-2", "-(-(8;3);2)"}, TreeCase{"2^3^2", "^(^(2;3);2)"},
                      TreeCase{"10-2+3", "+(-(10;2);3)"}, TreeCase{"2*-3", "-(*(2);3)"},
                      TreeCase{"-5", "-(<>;5)"}, TreeCase{"3!", "!(3)"}, TreeCase{"5!3", "!(5;3)"},
                      TreeCase{"((2+3))", "+(2;3)"}, TreeCase{"(5)", "5"}, TreeCase{"()", "<>"},
                      TreeCase{"f(1;2+3;(4))", "f(1;+(2;3);4)"}, TreeCase{"f(1;;2)", "f(1;2)"},
                      TreeCase{"f(;1)", "f(<>;1)"}, TreeCase{"f(1;)", "f(1)"},
                      TreeCase{"f(1(", "f(1)"}, TreeCase{"[a] 5", "<a 5>"},
                      TreeCase{"[a]+[b]", "+(a;b)"}));

} // namespace
} // namespace orvan
