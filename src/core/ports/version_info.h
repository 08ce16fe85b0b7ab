#pragma once
// What the shell and a file's version resource say about a file.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace orvan {

// The shell's names for a file and whether it counts as an executable program.
struct ShellFileFacts {
    std::string displayName; // as the file manager shows the file
    std::string typeName;    // the file manager's type column
    bool executable = false; // the shell recognises an executable program
};

// The fixed part of a version resource (VS_FIXEDFILEINFO) as far as it is read.
struct FixedVersionInfo {
    std::uint32_t fileFlagsMask = 0;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileType = 0;
    std::uint32_t fileSubtype = 0;
};

// The version strings in this order, under these keys.
inline constexpr std::array<const char*, 12> kVersionStringKeys{
    "CompanyName",    "FileDescription", "FileVersion",      "InternalName",
    "LegalCopyRight", "LegalTradeMarks", "OriginalFileName", "ProductName",
    "ProductVersion", "Comments",        "SpecialBuild",     "PrivateBuild"};

struct VersionResource {
    // Each string of kVersionStringKeys in the first language of the resource's
    // translation table; "" where it is missing or cannot be read.
    std::array<std::string, kVersionStringKeys.size()> strings;
    std::optional<FixedVersionInfo> fixed; // empty when the resource has none
};

class VersionInfoPort {
public:
    virtual ~VersionInfoPort() = default;
    virtual ShellFileFacts ShellFacts(const std::string& path) const = 0;
    // Empty when the file has no version resource (its size is 0).
    virtual std::optional<VersionResource> ReadVersionResource(const std::string& path) const = 0;
};

} // namespace orvan
