// The logon name of the user running the program.
#include "platform/native_install.h"

#include "win32/wide_text.h"

#include <windows.h>

#include <vector>

namespace orvan::platform {

namespace {

class Win32UserAccount final : public UserAccountPort {
public:
    std::string LogonName() const override {
        // User names have at most 256 characters (UNLEN); a longer one is asked again with
        // the size the system reports.
        std::vector<wchar_t> name(257, L'\0');
        DWORD size = DWORD(name.size());
        if (!::GetUserNameW(name.data(), &size)) {
            if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= name.size())
                return {};
            name.assign(size, L'\0');
            if (!::GetUserNameW(name.data(), &size))
                return {};
        }
        return win32::Narrow(name.data(), wcsnlen(name.data(), name.size()));
    }
};

} // namespace

const UserAccountPort& UserAccount() {
    static const Win32UserAccount account;
    return account;
}

} // namespace orvan::platform
