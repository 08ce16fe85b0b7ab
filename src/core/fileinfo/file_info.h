#pragma once
// The properties of a file or folder as the details area and the details window show them:
// version information, attributes, volume label, and the two summary texts made of lines
// "Label: value" separated by CR.
#include "core/fileinfo/file_size.h"
#include "core/ports/file_system.h"
#include "core/ports/version_info.h"
#include "core/ports/volume.h"

#include <cstdint>
#include <string>

namespace orvan {

struct FileVersionInfo {
    std::string displayName;
    std::string typeName;
    std::string companyName;
    std::string fileDescription;
    std::string fileVersion;
    std::string internalName;
    std::string legalCopyright;
    std::string legalTrademarks;
    std::string originalFilename;
    std::string productName;
    std::string productVersion;
    std::string comments;
    std::string specialBuild;
    std::string privateBuild;
    std::string fileFunction;
    bool flagDebug = false;
    bool flagPreRelease = false;
    bool flagSpecialBuild = false;
    bool flagPrivateBuild = false;
    bool flagPatched = false;
    bool flagInfoInferred = false;

    bool operator==(const FileVersionInfo&) const = default;
};

// The services the texts are gathered through.
struct FileInfoServices {
    const FileSystemPort* fileSystem = nullptr;
    const VersionInfoPort* versionInfo = nullptr;
    const VolumePort* volumes = nullptr;
};

// The shell's names always; the version strings, flags and file function only for an
// executable program with a version resource.
FileVersionInfo ReadFileVersionInfo(const std::string& path, const VersionInfoPort& port);
// The same, telling whether a version resource was read (an executable that has one).
FileVersionInfo ReadFileVersionInfo(const std::string& path, const VersionInfoPort& port,
                                    bool& versionRead);

// "Application", "DLL", "Truetype Font"... by file type and subtype; "" where none applies.
std::string FileFunctionText(const FixedVersionInfo& fixed);

// The attribute letters R H S V D A L for the bits 1 to 64 that are set.
std::string AttributesText(std::uint32_t attributes);

// The label of drive letter, in lower case for a lower-case letter, else in upper case.
std::string VolumeLabel(char32_t letter, const VolumePort& port);

// The file block: display name, an empty line, name, size, time, attributes and extension,
// then, for a program with a version resource, an empty line and the version lines that
// have a value; "File not found" when no file is at path.
std::string FileDetailsText(const std::string& path, const FileInfoServices& services);

// The folder block: the path with one trailing backslash, an empty line, the volume label
// and, where the drive reports them, the disk size and free space. "" for an empty path.
std::string FolderDetailsText(const std::string& path, const FileInfoServices& services);

} // namespace orvan
