#pragma once
// The evaluator's front stage: cuts one line of text into tokens of six kinds. The same
// tokenizer reads the bodies and the headers of user-defined functions.
//
// Characters are read by code point from the UTF-8 text; positions in messages count
// UTF-16 code units from the first character of the trimmed text, starting at 1.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvan {

// Every error of the evaluator: parse, compile and calculation errors carry the message
// that the callers show or swallow.
class ExpressionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class ExpTokenKind : std::uint8_t {
    Illegal,   // never stored in a token
    Number,    // 0-9, "." and the decimal separator
    Bracket,   // "(" or ")", one per token
    Operator,  // one of "+-*/^!", one per token
    Name,      // NameStartChars, then NameChars or number characters
    Separator, // ";" (a run of them is one token)
    Variable,  // the text between "[" and the next "[" or "]"
};

inline constexpr std::string_view NameStartChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_";
inline constexpr std::string_view NameChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$#@0123456789";

// The operators, loosest first: their place in this string is their precedence.
inline constexpr std::string_view OperatorChars = "+-*/^!";

struct ExpToken {
    std::string Text; // a variable's text is without its brackets
    ExpTokenKind Kind = ExpTokenKind::Illegal;
};

ExpTokenKind CharKind(char32_t ch, bool firstChar, char32_t decimalSeparator);

// 2 for the binary operators, 1 for "!", 0 for any other text.
int OperandCount(std::string_view op);

// Where the brackets of a token list put each token, so that a node finds its split
// operator, its enclosing brackets and its argument separators by binary search instead
// of walking all its tokens: a tree over n tokens is built in O(n log n), not O(n^2).
class ExpTokenIndex {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit ExpTokenIndex(const std::vector<ExpToken>& tokens);

    // Bracket depth before token i (i may equal the token count: the final depth);
    // "(" adds one, ")" takes one away, counted from the first token.
    int DepthBefore(std::size_t i) const { return depthBefore_[i]; }
    // The smallest j >= from with DepthBefore(j) == depth, or npos.
    std::size_t FirstAtDepth(int depth, std::size_t from) const;
    // The rightmost operator number op (its place in OperatorChars) in [begin, end)
    // that stands at the given depth, or npos.
    std::size_t LastOperator(std::size_t op, int depth, std::size_t begin, std::size_t end) const;
    // The first separator token at or after from that stands at the given depth, or npos.
    std::size_t FirstSeparator(int depth, std::size_t from) const;

private:
    std::uint64_t Key(std::uint64_t group, int depth) const;

    std::vector<int> depthBefore_;
    int minDepth_ = 0;
    std::uint64_t depthSpan_ = 1;
    // (key << 32 | position), sorted: one list per kind of question.
    std::vector<std::uint64_t> depths_;
    std::vector<std::uint64_t> operators_;
    std::vector<std::uint64_t> separators_;
};

class ExpParser {
public:
    // The decimal separator is the one in force when the evaluation started.
    explicit ExpParser(char32_t decimalSeparator);

    // Stores the text without the characters of code 32 or less at both ends.
    void SetExpression(std::string_view text);
    // Forgets all tokens, starts again at the first character and reads one token.
    // The returned token stays valid until the next call.
    const ExpToken* First();
    // Reads one token and appends it to Tokens; nullptr at the end of the text.
    // Throws "Parse error: illegal character ..." on a character that starts no token.
    const ExpToken* Next();
    // SetExpression, then First and Next until the text is used up.
    void Tokenize(std::string_view text);

    const std::string& Source() const { return source_; }
    const std::vector<ExpToken>& Tokens() const { return tokens_; }
    // 1-based byte index of the next character to read.
    std::size_t Position() const { return position_ + 1; }
    char32_t DecimalSeparator() const { return decimalSeparator_; }
    // Built on first use from the complete token list.
    const ExpTokenIndex& Index() const;

private:
    std::string source_;
    std::vector<ExpToken> tokens_;
    std::size_t position_ = 0; // byte offset into source_
    char32_t decimalSeparator_;
    mutable std::optional<ExpTokenIndex> index_;
};

} // namespace orvan
