#include "core/expression/exp_parser.h"

#include "core/base/utf.h"

#include <algorithm>

namespace orvan {

namespace {

bool Contains(std::string_view set, char32_t ch) {
    return ch < 0x80 && set.find(static_cast<char>(ch)) != std::string_view::npos;
}

std::uint64_t Entry(std::uint64_t key, std::size_t position) {
    return key << 32 | static_cast<std::uint64_t>(position);
}

std::size_t EntryPosition(std::uint64_t entry) {
    return static_cast<std::size_t>(entry & 0xFFFFFFFFu);
}

} // namespace

ExpTokenKind CharKind(char32_t ch, bool firstChar, char32_t decimalSeparator) {
    if (ch == U'(' || ch == U')')
        return ExpTokenKind::Bracket;
    if (ch == U';')
        return ExpTokenKind::Separator;
    if (ch == U'[' || ch == U']')
        return ExpTokenKind::Variable;
    if (Contains(OperatorChars, ch))
        return ExpTokenKind::Operator;
    if ((ch >= U'0' && ch <= U'9') || ch == U'.')
        return ExpTokenKind::Number;
    if (ch == decimalSeparator)
        return ExpTokenKind::Number;
    if (Contains(firstChar ? NameStartChars : NameChars, ch))
        return ExpTokenKind::Name;
    return ExpTokenKind::Illegal;
}

int OperandCount(std::string_view op) {
    if (op == "+" || op == "-" || op == "*" || op == "/" || op == "^")
        return 2;
    if (op == "!")
        return 1;
    return 0;
}

// --- ExpTokenIndex ---

ExpTokenIndex::ExpTokenIndex(const std::vector<ExpToken>& tokens) {
    const std::size_t count = tokens.size();
    // Keys and positions share one 64-bit entry, 32 bits each; keys reach 6 x 2n, so a
    // list of 2^28 tokens (far beyond any text typed or passed) is refused.
    if (count >= (std::size_t{1} << 28))
        throw ExpressionError("Calculate error: expression too complex.");
    depthBefore_.resize(count + 1);
    int depth = 0;
    int minDepth = 0;
    int maxDepth = 0;
    for (std::size_t i = 0; i < count; ++i) {
        depthBefore_[i] = depth;
        if (tokens[i].Kind == ExpTokenKind::Bracket)
            depth += tokens[i].Text == "(" ? 1 : -1;
        minDepth = std::min(minDepth, depth);
        maxDepth = std::max(maxDepth, depth);
    }
    depthBefore_[count] = depth;
    minDepth_ = minDepth;
    depthSpan_ = static_cast<std::uint64_t>(maxDepth - minDepth) + 1;

    depths_.reserve(count + 1);
    for (std::size_t i = 0; i <= count; ++i)
        depths_.push_back(Entry(Key(0, depthBefore_[i]), i));
    for (std::size_t i = 0; i < count; ++i) {
        if (tokens[i].Kind == ExpTokenKind::Operator) {
            const auto op = OperatorChars.find(tokens[i].Text);
            operators_.push_back(Entry(Key(op, depthBefore_[i]), i));
        } else if (tokens[i].Kind == ExpTokenKind::Separator) {
            separators_.push_back(Entry(Key(0, depthBefore_[i]), i));
        }
    }
    std::sort(depths_.begin(), depths_.end());
    std::sort(operators_.begin(), operators_.end());
    std::sort(separators_.begin(), separators_.end());
}

std::uint64_t ExpTokenIndex::Key(std::uint64_t group, int depth) const {
    return group * depthSpan_ + static_cast<std::uint64_t>(depth - minDepth_);
}

std::size_t ExpTokenIndex::FirstAtDepth(int depth, std::size_t from) const {
    if (depth < minDepth_ || static_cast<std::uint64_t>(depth - minDepth_) >= depthSpan_)
        return npos;
    const std::uint64_t key = Key(0, depth);
    const auto it = std::lower_bound(depths_.begin(), depths_.end(), Entry(key, from));
    if (it == depths_.end() || (*it >> 32) != key)
        return npos;
    return EntryPosition(*it);
}

std::size_t ExpTokenIndex::LastOperator(std::size_t op, int depth, std::size_t begin,
                                        std::size_t end) const {
    if (depth < minDepth_ || static_cast<std::uint64_t>(depth - minDepth_) >= depthSpan_)
        return npos;
    const std::uint64_t key = Key(op, depth);
    auto it = std::lower_bound(operators_.begin(), operators_.end(), Entry(key, end));
    if (it == operators_.begin())
        return npos;
    --it;
    if ((*it >> 32) != key || EntryPosition(*it) < begin)
        return npos;
    return EntryPosition(*it);
}

std::size_t ExpTokenIndex::FirstSeparator(int depth, std::size_t from) const {
    if (depth < minDepth_ || static_cast<std::uint64_t>(depth - minDepth_) >= depthSpan_)
        return npos;
    const std::uint64_t key = Key(0, depth);
    const auto it = std::lower_bound(separators_.begin(), separators_.end(), Entry(key, from));
    if (it == separators_.end() || (*it >> 32) != key)
        return npos;
    return EntryPosition(*it);
}

// --- ExpParser ---

ExpParser::ExpParser(char32_t decimalSeparator) : decimalSeparator_(decimalSeparator) {}

void ExpParser::SetExpression(std::string_view text) {
    source_ = std::string(TrimControl(text));
    tokens_.clear();
    position_ = 0;
    index_.reset();
}

const ExpToken* ExpParser::First() {
    tokens_.clear();
    index_.reset();
    position_ = 0;
    return Next();
}

const ExpToken* ExpParser::Next() {
    // Only the blank separates tokens; a tab is an illegal character.
    while (position_ < source_.size() && source_[position_] == ' ')
        ++position_;
    if (position_ >= source_.size())
        return nullptr;
    const std::size_t start = position_;
    const char32_t c = DecodeUtf8(source_, position_);
    const ExpTokenKind kind = CharKind(c, true, decimalSeparator_);
    if (kind == ExpTokenKind::Illegal) {
        std::string shown;
        AppendUtf8(shown, c);
        const std::size_t column = Utf16Length(std::string_view(source_).substr(0, start)) + 1;
        throw ExpressionError("Parse error: illegal character \"" + shown + "\" at position " +
                              std::to_string(column) + ".");
    }
    index_.reset();
    ExpToken token;
    token.Kind = kind;
    if (kind == ExpTokenKind::Bracket || kind == ExpTokenKind::Operator) {
        token.Text.assign(source_, start, position_ - start);
        tokens_.push_back(std::move(token));
        return &tokens_.back();
    }
    if (kind != ExpTokenKind::Variable)
        token.Text.assign(source_, start, position_ - start);
    bool exponentTaken = false;
    while (position_ < source_.size()) {
        std::size_t next = position_;
        const char32_t d = DecodeUtf8(source_, next);
        const ExpTokenKind dKind = CharKind(d, false, decimalSeparator_);
        const bool taken = (dKind == kind && kind != ExpTokenKind::Variable) ||
                           (kind == ExpTokenKind::Variable && dKind != ExpTokenKind::Variable) ||
                           (kind == ExpTokenKind::Name && dKind == ExpTokenKind::Number) ||
                           (kind == ExpTokenKind::Number && d == U'E' && !exponentTaken) ||
                           (kind == ExpTokenKind::Number && d == U'-' && exponentTaken);
        if (!taken) {
            // The closing bracket of a variable is consumed.
            if (kind == ExpTokenKind::Variable)
                position_ = next;
            break;
        }
        if (kind == ExpTokenKind::Number && d == U'E')
            exponentTaken = true;
        token.Text.append(source_, position_, next - position_);
        position_ = next;
    }
    tokens_.push_back(std::move(token));
    return &tokens_.back();
}

void ExpParser::Tokenize(std::string_view text) {
    SetExpression(text);
    for (const ExpToken* token = First(); token != nullptr; token = Next()) {
    }
}

const ExpTokenIndex& ExpParser::Index() const {
    if (!index_)
        index_.emplace(tokens_);
    return *index_;
}

} // namespace orvan
