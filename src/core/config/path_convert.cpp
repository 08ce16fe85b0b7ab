#include "core/config/path_convert.h"

namespace orvan {

namespace {

bool IsCoreDelimiter(char c) {
    return c == '\\' || c == '/';
}

} // namespace

std::string NativeToCorePath(std::string_view nativePath) {
    if (nativePath.empty() || nativePath.front() != '/')
        return {};
    std::string out = "C:";
    out.reserve(nativePath.size() + 2);
    for (const char c : nativePath) {
        if (c == '/') {
            if (out.back() != '\\')
                out.push_back('\\');
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string CoreToNativePath(std::string_view corePath) {
    if (corePath.size() < 2 || (corePath[0] != 'C' && corePath[0] != 'c') || corePath[1] != ':')
        return {};
    const std::string_view rest = corePath.substr(2);
    if (!rest.empty() && !IsCoreDelimiter(rest.front()))
        return {}; // "C:x" is relative to a current folder the core never has
    // A zero character would cut the path short inside the system call and name another file.
    if (rest.find('\0') != std::string_view::npos)
        return {};
    std::string out = "/";
    out.reserve(rest.size() + 1);
    for (const char c : rest) {
        if (IsCoreDelimiter(c)) {
            if (out.back() != '/')
                out.push_back('/');
        } else {
            out.push_back(c);
        }
    }
    return out;
}

} // namespace orvan
