#include "core/robot/tips.h"

#include "core/base/random.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace orvan {
namespace {

std::vector<std::string> BuiltInTips() {
    return {"Press Alt+F4 to close this program."};
}

std::vector<std::string> BuiltInJokes() {
    return {
        "I think there is a world market for maybe five computers. "
        "(Thomas Watson, chairman of IBM, 1943)",
        "There is no reason anyone would want a computer in their home. "
        "(Ken Olsen, founder of Digital Equipment Corporation, 1977)",
        "Computers are useless. They can only give you answers. "
        "(Pablo Picasso, painter, 1964)",
        "Where is the knowledge we have lost in information? "
        "(T. S. Eliot, poet, 1934)",
        "We are drowning in information but starved for knowledge. "
        "(John Naisbitt, futurist author, 1982)",
        "To err is human, but to really foul things up you need a computer.",
    };
}

std::string RandomEntry(const std::vector<std::string>& list) {
    if (list.empty()) {
        return {};
    }
    const auto size = static_cast<std::uint32_t>(
        std::min<std::size_t>(list.size(), std::numeric_limits<std::uint32_t>::max()));
    return list[ProgramRandom().Below(size)];
}

} // namespace

std::vector<std::string>& TipList() {
    static std::vector<std::string> list = BuiltInTips();
    return list;
}

std::vector<std::string>& JokeList() {
    static std::vector<std::string> list = BuiltInJokes();
    return list;
}

void AddTip(std::string_view text) {
    TipList().emplace_back(text);
}

void AddJoke(std::string_view text) {
    JokeList().emplace_back(text);
}

std::string RandomTip() {
    return RandomEntry(TipList());
}

std::string RandomJoke() {
    return RandomEntry(JokeList());
}

} // namespace orvan
