// Drives on Linux: only C:, the root of the file system, exists. Volumes carry no label
// here; the disk figures are those of the file system that holds the folder.
#include "core/config/path_convert.h"
#include "platform/native_shell.h"

#include <sys/statvfs.h>

namespace orvan::platform {

namespace {

constexpr int kDriveC = 3;

class PosixVolumes final : public VolumePort {
public:
    std::string VolumeLabel(char32_t) const override { return {}; }

    DiskFigures Disk(int driveNumber, const std::string& folder) const override {
        DiskFigures figures;
        if (driveNumber != kDriveC)
            return figures;
        struct statvfs fs {};
        const std::string native = CoreToNativePath(folder);
        if ((native.empty() || statvfs(native.c_str(), &fs) != 0) && statvfs("/", &fs) != 0)
            return figures;
        const auto unit = static_cast<std::int64_t>(fs.f_frsize);
        figures.size = static_cast<std::int64_t>(fs.f_blocks) * unit;
        figures.free = static_cast<std::int64_t>(fs.f_bavail) * unit; // what the user may use
        return figures;
    }
};

} // namespace

const VolumePort& Volumes() {
    static const PosixVolumes volumes;
    return volumes;
}

} // namespace orvan::platform
