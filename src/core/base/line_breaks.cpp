#include "core/base/line_breaks.h"

namespace orvan {

namespace {

template <typename Char> std::basic_string<Char> AddLineFeeds(std::basic_string_view<Char> text) {
    std::basic_string<Char> out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == Char('\r') && (i + 1 >= text.size() || text[i + 1] != Char('\n')))
            out += Char('\n');
    }
    return out;
}

} // namespace

std::string CrToCrLf(std::string_view text) {
    return AddLineFeeds(text);
}

std::u16string CrToCrLf(std::u16string_view text) {
    return AddLineFeeds(text);
}

} // namespace orvan
