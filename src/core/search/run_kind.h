#pragma once
// What a candidate of the search window's list stands for; the numbers are the ones that
// orvan-cli prints and the tests compare.
#include <cstdint>

namespace orvan {

enum class RunKind : std::int32_t {
    Folder = 1,
    File = 2,
    Calculator = 3,
    DateTime = 4,
    Catalog = 5,
};

} // namespace orvan
