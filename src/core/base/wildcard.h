#pragma once
// File-name wildcards as Windows reads them in a listing's pattern: "*" any run of
// characters, "?" one, letter case ignored (ASCII); a pattern that ends in ".*" also takes
// what its part before the ".*" takes, so that "*.*" takes names without a dot as well.
#include <string_view>

namespace orvan {

bool WildcardMatches(std::string_view pattern, std::string_view name);

} // namespace orvan
