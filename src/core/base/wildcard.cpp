#include "core/base/wildcard.h"

#include "core/base/utf.h"

#include <cstddef>

namespace orvan {

namespace {

bool Wild(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || AsciiUpperChar(pattern[p]) == AsciiUpperChar(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool WildcardMatches(std::string_view pattern, std::string_view name) {
    if (Wild(pattern, name))
        return true;
    return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
           Wild(pattern.substr(0, pattern.size() - 2), name);
}

} // namespace orvan
