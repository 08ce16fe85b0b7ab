// Linux keeps no version resources and has no shell type names: a file's display name is
// its own name (after the last backslash only, since it may hold colons), and nothing counts
// as an executable with version information.
#include "platform/native_shell.h"

namespace orvan::platform {

namespace {

class PosixVersionInfo final : public VersionInfoPort {
public:
    ShellFileFacts ShellFacts(const std::string& path) const override {
        const std::size_t cut = path.find_last_of('\\');
        ShellFileFacts facts;
        facts.displayName = cut == std::string::npos ? path : path.substr(cut + 1);
        return facts;
    }

    std::optional<VersionResource> ReadVersionResource(const std::string&) const override {
        return std::nullopt;
    }
};

} // namespace

const VersionInfoPort& VersionInfo() {
    static const PosixVersionInfo info;
    return info;
}

} // namespace orvan::platform
