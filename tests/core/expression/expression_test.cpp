#include "core/expression/expression.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

// The engine is process-wide: every test leaves its function list empty.
class ExpressionEngineTest : public ::testing::Test {
protected:
    void TearDown() override { ExpressionEngine().Functions.clear(); }
};

TEST_F(ExpressionEngineTest, CalculateReportsSuccess) {
    double value = -1;
    EXPECT_TRUE(Calculate("", value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(Calculate("2 + 3", value));
    EXPECT_EQ(value, 5);
    EXPECT_EQ(ExpressionEngine().Text, "2 + 3");
}

TEST_F(ExpressionEngineTest, CalculateSwallowsErrorsAndStaysUsable) {
    double value = -1;
    EXPECT_FALSE(Calculate("1/0", value));
    EXPECT_EQ(value, 0);
    value = -1;
    EXPECT_FALSE(Calculate("5 ? 3", value));
    EXPECT_EQ(value, 0);
    ExpressionEngine().Functions = {"f(x)=f(x)"};
    EXPECT_FALSE(Calculate("f(1)", value));
    EXPECT_TRUE(Calculate("7*6", value));
    EXPECT_EQ(value, 42);
}

TEST_F(ExpressionEngineTest, EngineKeepsItsFunctions) {
    Expression& engine = ExpressionEngine();
    EXPECT_EQ(&engine, &ExpressionEngine());
    engine.Functions = {"sq(x)=x*x"};
    double value = 0;
    EXPECT_TRUE(Calculate("sq(3)", value));
    EXPECT_EQ(value, 9);
}

TEST_F(ExpressionEngineTest, InsertFunctionDefinitionPutsNewLinesFirst) {
    std::vector<std::string> functions;
    EXPECT_TRUE(InsertFunctionDefinition(functions, "f(x)=x*10"));
    EXPECT_TRUE(InsertFunctionDefinition(functions, "f(x)=x+1"));
    EXPECT_FALSE(InsertFunctionDefinition(functions, "F(X)=X*10"));
    EXPECT_EQ(functions, (std::vector<std::string>{"f(x)=x+1", "f(x)=x*10"}));
    ExpressionEngine().Functions = functions;
    double value = 0;
    EXPECT_TRUE(Calculate("f(2)", value));
    EXPECT_EQ(value, 3);
}

TEST_F(ExpressionEngineTest, InsertFunctionDefinitionComparesUnicodeCase) {
    std::vector<std::string> functions;
    EXPECT_TRUE(InsertFunctionDefinition(functions, "g(x)=x+\xC3\xA9"));
    EXPECT_FALSE(InsertFunctionDefinition(functions, "G(X)=X+\xC3\x89"));
    EXPECT_EQ(functions.size(), 1u);
}

} // namespace
} // namespace orvan
