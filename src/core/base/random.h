#pragma once
// The program's one pseudo-random generator. It is never seeded: every run starts from the
// same state, so the n-th joke, tip or random number of a run is the same in every run.
#include <cstdint>

namespace orvan {

class RandomGenerator {
public:
    explicit RandomGenerator(std::uint32_t state = 0) : state_(state) {}

    // A whole number from 0 to n - 1 (0 when n is 0).
    std::uint32_t Below(std::uint32_t n);
    // A fraction in [0, 1).
    double Fraction();

    std::uint32_t State() const { return state_; }
    void SetState(std::uint32_t state) { state_ = state; }

private:
    void Step() { state_ = state_ * 134775813u + 1u; }
    std::uint32_t state_;
};

// The process-wide generator shared by the robot, the tips and the jokes.
RandomGenerator& ProgramRandom();

} // namespace orvan
