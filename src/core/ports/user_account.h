#pragma once
// Who runs the program, as the installation record notes it.
#include <string>

namespace orvan {

class UserAccountPort {
public:
    virtual ~UserAccountPort() = default;
    // The user's logon name, or "" when the system does not give it.
    virtual std::string LogonName() const = 0;
};

} // namespace orvan
