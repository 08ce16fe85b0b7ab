#pragma once
// The current moment as the system holds it: days since 30 December 1899, the fraction
// being the time of day, in local time.
namespace orvan {

class ClockPort {
public:
    virtual ~ClockPort() = default;
    virtual double Now() const = 0;
};

// The clock the core reads. The programs set the platform's clock once at start-up; until
// then a clock on the standard library's system time (UTC, as the core knows no time zone)
// answers. Tests set a fixed clock and restore the previous one.
const ClockPort& CurrentClock();
// The port must outlive its use; nullptr restores the built-in clock.
void SetCurrentClock(const ClockPort* clock);

} // namespace orvan
