// Volume labels and disk figures of drive letters. Both queries run with critical-error
// reporting switched off, so that an empty floppy or card drive answers "nothing" instead
// of a system dialog; the previous mode comes back afterwards in every case.
#include "platform/native_shell.h"
#include "win32/wide_text.h"

#include <windows.h>

namespace orvan::platform {

namespace {

class ErrorModeGuard {
public:
    ErrorModeGuard() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~ErrorModeGuard() { SetErrorMode(previous_); }
    ErrorModeGuard(const ErrorModeGuard&) = delete;
    ErrorModeGuard& operator=(const ErrorModeGuard&) = delete;

private:
    UINT previous_;
};

// "X:\" for a letter A to Z in either case; empty for anything else.
std::wstring RootOf(char32_t letter) {
    if (!((letter >= U'A' && letter <= U'Z') || (letter >= U'a' && letter <= U'z')))
        return {};
    return {static_cast<wchar_t>(letter), L':', L'\\'};
}

class Win32Volumes final : public VolumePort {
public:
    std::string VolumeLabel(char32_t letter) const override {
        const std::wstring root = RootOf(letter);
        if (root.empty())
            return {};
        wchar_t label[MAX_PATH + 1] = {};
        const ErrorModeGuard quiet;
        if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr,
                                   nullptr, 0))
            return {};
        return win32::Narrow(label, wcsnlen(label, MAX_PATH));
    }

    DiskFigures Disk(int driveNumber, const std::string& /*folder*/) const override {
        DiskFigures figures;
        if (driveNumber < 1 || driveNumber > 26)
            return figures;
        const std::wstring root = RootOf(static_cast<char32_t>(U'A' + driveNumber - 1));
        ULARGE_INTEGER available{};
        ULARGE_INTEGER total{};
        const ErrorModeGuard quiet;
        if (!GetDiskFreeSpaceExW(root.c_str(), &available, &total, nullptr))
            return figures;
        figures.size = static_cast<std::int64_t>(total.QuadPart);
        figures.free = static_cast<std::int64_t>(available.QuadPart);
        return figures;
    }
};

} // namespace

const VolumePort& Volumes() {
    static const Win32Volumes volumes;
    return volumes;
}

} // namespace orvan::platform
