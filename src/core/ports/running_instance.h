#pragma once
// The resident copy of the program as another process sees it: its hidden main window of
// class "TzorMain" titled "Orvan!". The installer finds it and asks it to end.
#include <cstdint>

namespace orvan {

class RunningInstancePort {
public:
    virtual ~RunningInstancePort() = default;
    // True while a top-level window of that class and title exists. The installer's own
    // main window ("Orvan! - Install") never counts.
    virtual bool IsRunning() const = 0;
    // Posts the quit message to that window; false when there was none or posting failed.
    virtual bool PostQuit() const = 0;
    // Waits before the next look, so that the other copy gets time to end.
    virtual void Pause(std::uint32_t milliseconds) const = 0;
    // Waits at most that long for the process whose window PostQuit last asked to end: its
    // window goes first, while the process still holds the program file open. True when it
    // has ended, or when there is no such process to wait for.
    virtual bool WaitForExit(std::uint32_t milliseconds) const = 0;
};

} // namespace orvan
