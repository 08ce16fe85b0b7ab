#pragma once
// Display names as the platform's shell presents files ("Notepad" for a shortcut
// "Notepad.lnk").
#include <string>

namespace orvan {

class ShellNamePort {
public:
    virtual ~ShellNamePort() = default;
    // The name the file manager shows for the file, or "" when the shell gives none.
    virtual std::string DisplayName(const std::string& path) const = 0;
};

} // namespace orvan
