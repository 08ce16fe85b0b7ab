#include "core/ports/clock.h"

#include <chrono>

namespace orvan {
namespace {

// 1 January 1970, the system clock's epoch, is day 25569 of the moment scale.
constexpr double kUnixEpochDay = 25569.0;

class SystemTimeClock final : public ClockPort {
public:
    double Now() const override {
        using namespace std::chrono;
        const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
        return kUnixEpochDay + static_cast<double>(ms.count()) / 86400000.0;
    }
};

const SystemTimeClock kSystemTimeClock;
const ClockPort* currentClock = &kSystemTimeClock;

} // namespace

const ClockPort& CurrentClock() {
    return *currentClock;
}

void SetCurrentClock(const ClockPort* clock) {
    currentClock = clock != nullptr ? clock : &kSystemTimeClock;
}

} // namespace orvan
