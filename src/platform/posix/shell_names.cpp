// Display names on Linux: there is no shell to ask, so the file's own name stands in, with
// ".lnk" dropped from shortcut files as the Windows shell presents them. The name starts
// after the last backslash only: a Linux file name may hold colons.
#include "platform/native.h"

namespace orvan::platform {

namespace {

class PosixShellNames final : public ShellNamePort {
public:
    std::string DisplayName(const std::string& path) const override {
        const std::size_t cut = path.find_last_of('\\');
        std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
        if (name.size() > 4) {
            const std::string_view tail = std::string_view(name).substr(name.size() - 4);
            if (tail[0] == '.' && (tail[1] | 0x20) == 'l' && (tail[2] | 0x20) == 'n' &&
                (tail[3] | 0x20) == 'k')
                name.resize(name.size() - 4);
        }
        return name;
    }
};

} // namespace

const ShellNamePort& ShellNames() {
    static const PosixShellNames names;
    return names;
}

} // namespace orvan::platform
