#include "core/base/random.h"

namespace orvan {

std::uint32_t RandomGenerator::Below(std::uint32_t n) {
    Step();
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state_) * n) >> 32);
}

double RandomGenerator::Fraction() {
    Step();
    return static_cast<double>(state_) / 4294967296.0;
}

RandomGenerator& ProgramRandom() {
    static RandomGenerator generator;
    return generator;
}

} // namespace orvan
