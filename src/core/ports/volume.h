#pragma once
// Drives: the volume label and the size and free space of the disk.
#include <cstdint>
#include <string>

namespace orvan {

struct DiskFigures {
    std::int64_t size = -1; // bytes; negative when the drive does not exist
    std::int64_t free = -1; // bytes available to the user; negative when unknown
};

class VolumePort {
public:
    virtual ~VolumePort() = default;
    // The label of the volume at the root letter + ":\", as the platform stores it; "" when
    // there is none or the drive cannot be asked. Never shows a system dialog (an empty
    // floppy or card drive stays silent).
    virtual std::string VolumeLabel(char32_t letter) const = 0;
    // The disk of drive number driveNumber (1 is A:) that holds folder (a core path).
    virtual DiskFigures Disk(int driveNumber, const std::string& folder) const = 0;
};

} // namespace orvan
