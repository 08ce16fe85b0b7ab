#pragma once
// Handing a path to the platform's shell: opening a file or folder the way the file manager
// would, and starting a program elevated.
#include <cstdint>
#include <string>

namespace orvan {

// The show command for a normal window (SW_SHOWNORMAL).
constexpr int kShowNormal = 1;

class ShellPort {
public:
    virtual ~ShellPort() = default;

    // Opens file with the verb "open" and no owner window, with parameters, working
    // directory and show command. Returns the shell's answer: above 32 when the request
    // was accepted, otherwise the failure code (0 to 32) of the shell's failure table.
    virtual std::intptr_t Open(const std::string& file, const std::string& parameters,
                               const std::string& directory, int showCommand) const = 0;

    // Starts file elevated (verb "runas") with parameters, no working directory, show
    // command SW_SHOWNORMAL and the mask SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
    // ownerWindow is the owner's window handle, 0 for none. True when the shell accepted.
    virtual bool RunAs(std::uintptr_t ownerWindow, const std::string& file,
                       const std::string& parameters) const = 0;

    // Starts file with the rights of the desktop's user, not with this process's own: an
    // elevated installer must not hand its rights to the program it starts, nor to what that
    // program starts. True when the start was accepted; false, and nothing started, when it
    // could not be done so. Platforms without it report failure.
    virtual bool OpenAsDesktopUser(const std::string& /*file*/, const std::string& /*parameters*/,
                                   const std::string& /*directory*/) const {
        return false;
    }
};

} // namespace orvan
