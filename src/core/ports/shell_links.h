#pragma once
// Shortcut files (".lnk") as the shell makes them, for the start-menu entries the installer
// creates.
#include <string>

namespace orvan {

struct ShellLink {
    std::string target;        // the program the shortcut starts
    std::string arguments;     // "" for none
    std::string workingFolder; // the folder the program starts in
    std::string description;   // the shortcut's tip
};

class ShellLinkPort {
public:
    virtual ~ShellLinkPort() = default;
    // Writes the shortcut file `file` (an existing one is replaced); false when it could not
    // be saved.
    virtual bool SaveShortcut(const ShellLink& link, const std::string& file) const = 0;
};

} // namespace orvan
