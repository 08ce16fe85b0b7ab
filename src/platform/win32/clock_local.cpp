#include "platform/native.h"

#include "core/base/date_format.h"

#include <windows.h>

namespace orvan::platform {

namespace {

// The local time as the taskbar clock shows it.
class Win32Clock final : public ClockPort {
public:
    double Now() const override {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        DateTimeParts parts;
        parts.year = now.wYear;
        parts.month = now.wMonth;
        parts.day = now.wDay;
        parts.hour = now.wHour;
        parts.minute = now.wMinute;
        parts.second = now.wSecond;
        parts.millisecond = now.wMilliseconds;
        return EncodeMoment(parts).value_or(0.0);
    }
};

} // namespace

const ClockPort& Clock() {
    static const Win32Clock clock;
    return clock;
}

} // namespace orvan::platform
