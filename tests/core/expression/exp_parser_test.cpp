#include "core/expression/exp_parser.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace orvan {
namespace {

// Tokens written as "kind:text" joined by blanks: N number, B bracket, O operator,
// A name, S separator, V variable.
std::string Describe(const ExpParser& parser) {
    static constexpr const char* kKinds = "?NBOASV";
    std::string out;
    for (const ExpToken& token : parser.Tokens()) {
        if (!out.empty())
            out += ' ';
        out += kKinds[static_cast<int>(token.Kind)];
        out += ':';
        out += token.Text;
    }
    return out;
}

std::string Tokenize(const std::string& text, char32_t separator = U'.') {
    ExpParser parser(separator);
    parser.Tokenize(text);
    return Describe(parser);
}

struct TokenCase {
    const char* text;
    char32_t separator;
    const char* tokens;
};

void PrintTo(const TokenCase& c, std::ostream* os) {
    *os << c.text;
}

class TokenizerTest : public ::testing::TestWithParam<TokenCase> {};

TEST_P(TokenizerTest, CutsTheTextIntoTokens) {
    EXPECT_EQ(Tokenize(GetParam().text, GetParam().separator), GetParam().tokens)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TokenizerTest,
    ::testing::Values(
        TokenCase{"", U'.', ""}, TokenCase{"  7 ", U'.', "N:7"},
        TokenCase{"2+3*4", U'.', "N:2 O:+ N:3 O:* N:4"}, TokenCase{"12.5", U'.', "N:12.5"},
        // The full stop is a number character whatever the separator is.
        TokenCase{"12,5", U',', "N:12,5"}, TokenCase{"1.5", U',', "N:1.5"},
        TokenCase{"a,b", U',', "A:a,b"},
        TokenCase{"1\xD9\xAB"
                  "5",
                  U'\x066B',
                  "N:1\xD9\xAB"
                  "5"},
        // Exponents: only a capital E, a minus only after it, for the rest of the number.
        TokenCase{"1E5", U'.', "N:1E5"}, TokenCase{"2.5E-3", U'.', "N:2.5E-3"},
        TokenCase{"1e5", U'.', "N:1 A:e5"}, TokenCase{"1E+5", U'.', "N:1E O:+ N:5"},
        TokenCase{"1E5-3", U'.', "N:1E5-3"}, TokenCase{"1E5E3", U'.', "N:1E5 A:E3"},
        TokenCase{"5-3", U'.', "N:5 O:- N:3"},
        // Names start with a letter or "_" and go on with digits, full stops, $ # @.
        TokenCase{"2x", U'.', "N:2 A:x"}, TokenCase{"x2.5", U'.', "A:x2.5"},
        TokenCase{"a_$#@1", U'.', "A:a_$#@1"},
        TokenCase{"f(1;;2)", U'.', "A:f B:( N:1 S:;; N:2 B:)"}, TokenCase{"; ;", U'.', "S:; S:;"},
        TokenCase{"3!!", U'.', "N:3 O:! O:!"}, TokenCase{"((", U'.', "B:( B:("},
        // Variables run to the next bracket of either kind, blanks and all.
        TokenCase{"[first name]", U'.', "V:first name"}, TokenCase{"[a", U'.', "V:a"},
        TokenCase{"[a]+[b]", U'.', "V:a O:+ V:b"}, TokenCase{"[a[b]", U'.', "V:a A:b V:"},
        TokenCase{"[]", U'.', "V:"}, TokenCase{"[\t?\xC3\xA9]", U'.', "V:\t?\xC3\xA9"}));

struct IllegalCase {
    const char* text;
    char32_t separator;
    const char* message;
};

void PrintTo(const IllegalCase& c, std::ostream* os) {
    *os << c.text;
}

class IllegalCharacterTest : public ::testing::TestWithParam<IllegalCase> {};

TEST_P(IllegalCharacterTest, NamesCharacterAndUtf16Position) {
    ExpParser parser(GetParam().separator);
    try {
        parser.Tokenize(GetParam().text);
        ADD_FAILURE() << "no error for " << GetParam().text;
    } catch (const ExpressionError& error) {
        EXPECT_STREQ(error.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, IllegalCharacterTest,
    ::testing::Values(
        IllegalCase{"5 ? 3", U'.', "Parse error: illegal character \"?\" at position 3."},
        IllegalCase{"1,5", U'.', "Parse error: illegal character \",\" at position 2."},
        // Positions count from the first character left after trimming.
        IllegalCase{"  \x01 x ?", U'.', "Parse error: illegal character \"?\" at position 3."},
        IllegalCase{"1\t2", U'.', "Parse error: illegal character \"\t\" at position 2."},
        IllegalCase{"$1", U'.', "Parse error: illegal character \"$\" at position 1."},
        IllegalCase{"1 #", U'.', "Parse error: illegal character \"#\" at position 3."},
        IllegalCase{"1,5", U'\x066B', "Parse error: illegal character \",\" at position 2."},
        // A character outside the BMP takes two UTF-16 positions.
        IllegalCase{"[\xF0\x9F\x98\x80] \xC3\xA9", U'.',
                    "Parse error: illegal character \"\xC3\xA9\" at position 6."},
        // Invalid UTF-8 is shown as the replacement character.
        IllegalCase{"1+\xFF", U'.',
                    "Parse error: illegal character \"\xEF\xBF\xBD\" at position 3."}));

TEST(ExpParser, FirstStartsAgainAndNextEndsWithNull) {
    ExpParser parser(U'.');
    parser.SetExpression(" 1 + x ");
    EXPECT_EQ(parser.Source(), "1 + x");
    const ExpToken* token = parser.First();
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token->Text, "1");
    EXPECT_EQ(parser.Position(), 2u);
    ASSERT_NE(parser.Next(), nullptr);
    ASSERT_NE(parser.Next(), nullptr);
    EXPECT_EQ(parser.Next(), nullptr);
    EXPECT_EQ(parser.Tokens().size(), 3u);
    token = parser.First();
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(parser.Tokens().size(), 1u);
}

TEST(ExpParser, CharKindFollowsItsOrder) {
    EXPECT_EQ(CharKind(U'$', true, U'.'), ExpTokenKind::Illegal);
    EXPECT_EQ(CharKind(U'$', false, U'.'), ExpTokenKind::Name);
    EXPECT_EQ(CharKind(U'7', false, U'.'), ExpTokenKind::Number);
    EXPECT_EQ(CharKind(U',', true, U','), ExpTokenKind::Number);
    EXPECT_EQ(CharKind(U',', true, U'.'), ExpTokenKind::Illegal);
    EXPECT_EQ(CharKind(U']', true, U'.'), ExpTokenKind::Variable);
    EXPECT_EQ(CharKind(U' ', true, U'.'), ExpTokenKind::Illegal);
    EXPECT_EQ(CharKind(U'\x00E9', false, U'.'), ExpTokenKind::Illegal);
}

TEST(ExpParser, OperandCount) {
    EXPECT_EQ(OperandCount("+"), 2);
    EXPECT_EQ(OperandCount("^"), 2);
    EXPECT_EQ(OperandCount("!"), 1);
    EXPECT_EQ(OperandCount("x"), 0);
    EXPECT_EQ(OperandCount(""), 0);
}

} // namespace
} // namespace orvan
