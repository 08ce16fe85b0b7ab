#include "platform/native.h"

#include <sys/time.h>
#include <time.h>

namespace orvan::platform {

namespace {

// 1 January 1970 is day 25569 of the moment scale.
constexpr double kUnixEpochDay = 25569.0;

// The local time of the process's time zone (TZ), as the system's clock shows it.
class PosixClock final : public ClockPort {
public:
    double Now() const override {
        timeval now{};
        gettimeofday(&now, nullptr);
        const time_t seconds = now.tv_sec;
        tm local{};
        if (localtime_r(&seconds, &local) == nullptr)
            return kUnixEpochDay + static_cast<double>(now.tv_sec) / 86400.0;
        // The offset of local time from UTC at this moment, daylight saving included.
        const double localSeconds = static_cast<double>(now.tv_sec) +
                                    static_cast<double>(local.tm_gmtoff) +
                                    static_cast<double>(now.tv_usec / 1000) / 1000.0;
        return kUnixEpochDay + localSeconds / 86400.0;
    }
};

} // namespace

const ClockPort& Clock() {
    static const PosixClock clock;
    return clock;
}

} // namespace orvan::platform
