#include "core/fileinfo/file_info.h"

#include "core/base/date_general.h"
#include "core/base/path_parts.h"
#include "core/base/utf.h"
#include "core/language/language.h"

#include <array>
#include <optional>
#include <utility>

namespace orvan {

namespace {

constexpr int kTextYes = 8;
constexpr int kTextFileNotFound = 13003;
constexpr int kTextAttributes = 13010;
constexpr int kTextFileSize = 13011;
constexpr int kTextFileTime = 13012;
constexpr int kTextDiskSize = 13013;
constexpr int kTextDiskFree = 13014;
constexpr int kTextVolumeLabel = 13015;
constexpr int kTextFileExtension = 13016;
constexpr int kTextFileName = 13017;

// Fixed file flags (VS_FF_*).
constexpr std::uint32_t kFlagDebug = 0x01;
constexpr std::uint32_t kFlagPreRelease = 0x02;
constexpr std::uint32_t kFlagPatched = 0x04;
constexpr std::uint32_t kFlagPrivateBuild = 0x08;
constexpr std::uint32_t kFlagInfoInferred = 0x10;
constexpr std::uint32_t kFlagSpecialBuild = 0x20;

std::string Line(int labelId, std::string_view value) {
    std::string line = Languages::TextColon(labelId);
    line += ' ';
    line += value;
    return line;
}

// The extension without its dot: the text after the last dot of the name part.
std::string_view ExtensionOf(std::string_view path) {
    const std::string_view name = PathNamePart(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

std::string HexDigits8(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
        value >>= 4;
    }
    return text;
}

// The file's own entry in its folder's listing.
std::optional<DirEntry> ListFile(const std::string& path, const FileSystemPort& fileSystem) {
    const std::string folder(PathFolderPart(path));
    const std::string name(PathNamePart(path));
    if (folder.empty() || name.empty())
        return std::nullopt;
    std::optional<DirEntry> exact;
    std::optional<DirEntry> first;
    const bool listed = fileSystem.Enumerate(folder, name, [&](const DirEntry& entry) {
        if ((entry.attributes & FileAttribute::Directory) != 0)
            return true;
        // A pattern may also match other names (wildcard characters that Linux allows in
        // names, short names on Windows): the file's own name wins.
        if (entry.name == name) {
            exact = entry;
            return false;
        }
        if (!first)
            first = entry;
        return true;
    });
    if (!listed)
        return std::nullopt;
    return exact ? exact : first;
}

} // namespace

FileVersionInfo ReadFileVersionInfo(const std::string& path, const VersionInfoPort& port) {
    bool versionRead = false;
    return ReadFileVersionInfo(path, port, versionRead);
}

FileVersionInfo ReadFileVersionInfo(const std::string& path, const VersionInfoPort& port,
                                    bool& versionRead) {
    versionRead = false;
    FileVersionInfo info;
    ShellFileFacts facts = port.ShellFacts(path);
    info.displayName = std::move(facts.displayName);
    info.typeName = std::move(facts.typeName);
    // Documents and libraries show no version information.
    if (!facts.executable)
        return info;
    const std::optional<VersionResource> resource = port.ReadVersionResource(path);
    if (!resource)
        return info;
    versionRead = true;
    std::string* const fields[] = {
        &info.companyName,    &info.fileDescription, &info.fileVersion,      &info.internalName,
        &info.legalCopyright, &info.legalTrademarks, &info.originalFilename, &info.productName,
        &info.productVersion, &info.comments,        &info.specialBuild,     &info.privateBuild};
    static_assert(std::size(fields) == kVersionStringKeys.size());
    for (std::size_t i = 0; i < std::size(fields); ++i)
        *fields[i] = resource->strings[i];
    if (resource->fixed) {
        const FixedVersionInfo& fixed = *resource->fixed;
        const std::uint32_t flags = fixed.fileFlags & fixed.fileFlagsMask;
        info.flagDebug = (flags & kFlagDebug) != 0;
        info.flagPreRelease = (flags & kFlagPreRelease) != 0;
        info.flagSpecialBuild = (flags & kFlagSpecialBuild) != 0;
        info.flagPrivateBuild = (flags & kFlagPrivateBuild) != 0;
        info.flagPatched = (flags & kFlagPatched) != 0;
        info.flagInfoInferred = (flags & kFlagInfoInferred) != 0;
        info.fileFunction = FileFunctionText(fixed);
    }
    return info;
}

std::string FileFunctionText(const FixedVersionInfo& fixed) {
    static constexpr std::array<const char*, 11> kDrivers{
        "Unknown Driver",    "Printer Driver", "Keyboard Driver",      "Language Driver",
        "Display Driver",    "Mouse Driver",   "Network Driver",       "System Driver",
        "InstallableDriver", "Sound Driver",   "Communications Driver"};
    static constexpr std::array<const char*, 4> kFonts{"Unknown Font", "Raster Font", "Vector Font",
                                                       "Truetype Font"};
    switch (fixed.fileType) {
    case 0:
        return "Unknown";
    case 1:
        return "Application";
    case 2:
        return "DLL";
    case 3:
        return fixed.fileSubtype < kDrivers.size() ? kDrivers[fixed.fileSubtype] : "";
    case 4:
        return fixed.fileSubtype < kFonts.size() ? kFonts[fixed.fileSubtype] : "";
    case 5:
        return "Virtual Defice Identifier = " + HexDigits8(fixed.fileSubtype);
    case 7:
        return "Static-link Library";
    default:
        return {};
    }
}

std::string AttributesText(std::uint32_t attributes) {
    static constexpr std::array<std::pair<std::uint32_t, char>, 7> kLetters{{{0x01, 'R'},
                                                                             {0x02, 'H'},
                                                                             {0x04, 'S'},
                                                                             {0x08, 'V'},
                                                                             {0x10, 'D'},
                                                                             {0x20, 'A'},
                                                                             {0x40, 'L'}}};
    std::string text;
    for (const auto& [bit, letter] : kLetters)
        if ((attributes & bit) != 0)
            text.push_back(letter);
    return text;
}

std::string VolumeLabel(char32_t letter, const VolumePort& port) {
    const std::string label = port.VolumeLabel(letter);
    return letter >= 97 ? Lower(label) : Upper(label);
}

std::string FileDetailsText(const std::string& path, const FileInfoServices& services) {
    if (services.fileSystem == nullptr || !services.fileSystem->FileExists(path))
        return Languages::Text(kTextFileNotFound);
    const std::optional<DirEntry> entry = ListFile(path, *services.fileSystem);
    if (!entry)
        return Languages::Text(kTextFileNotFound);
    bool versionRead = false;
    const FileVersionInfo info = services.versionInfo != nullptr
                                     ? ReadFileVersionInfo(path, *services.versionInfo, versionRead)
                                     : FileVersionInfo{};
    const LocaleSettings& locale = CurrentLocale();

    std::string text = info.displayName;
    text += "\r\r";
    text += Line(kTextFileName, path);
    text += '\r';
    text += Line(kTextFileSize, FormatFileSize(static_cast<std::int64_t>(entry->size), locale));
    text += '\r';
    text += Line(kTextFileTime, FormatDateTimeGeneral(entry->lastWrite, locale));
    text += '\r';
    text += Line(kTextAttributes, AttributesText(entry->attributes));
    text += '\r';
    text += Line(kTextFileExtension, ExtensionOf(path));

    const std::pair<int, const std::string*> strings[] = {
        {13020, &info.companyName},     {13021, &info.typeName},
        {13022, &info.fileDescription}, {13023, &info.fileVersion},
        {13024, &info.internalName},    {13025, &info.legalCopyright},
        {13026, &info.legalTrademarks}, {13027, &info.originalFilename},
        {13028, &info.productName},     {13029, &info.productVersion},
        {13030, &info.comments},        {13031, &info.specialBuild},
        {13032, &info.privateBuild},    {13033, &info.fileFunction}};
    const std::pair<int, bool> flags[] = {
        {13034, info.flagDebug},        {13035, info.flagPreRelease},
        {13036, info.flagSpecialBuild}, {13037, info.flagPrivateBuild},
        {13038, info.flagPatched},      {13039, info.flagInfoInferred}};
    std::string version;
    auto add = [&version](std::string line) {
        if (!version.empty())
            version += '\r';
        version += line;
    };
    for (const auto& [id, value] : strings)
        if (!value->empty())
            add(Line(id, *value));
    for (const auto& [id, set] : flags)
        if (set)
            add(Line(id, Languages::Text(kTextYes)));
    // Documents and programs without a version resource show the general part only,
    // even though the shell names their type.
    if (versionRead && !version.empty()) {
        text += "\r\r";
        text += version;
    }
    return text;
}

std::string FolderDetailsText(const std::string& path, const FileInfoServices& services) {
    if (path.empty())
        return {};
    std::string_view trimmed = path;
    while (!trimmed.empty() && trimmed.back() == '\\')
        trimmed.remove_suffix(1);
    std::string text(trimmed);
    text += '\\';

    // The drive is the first character of the folder part; a path without one (no
    // backslash or colon) names no drive.
    const std::string_view folder = PathFolderPart(path);
    char32_t letter = 0;
    if (!folder.empty()) {
        std::size_t pos = 0;
        letter = DecodeUtf8(folder, pos);
        if (letter >= U'a' && letter <= U'z')
            letter -= 32;
    }
    text += "\r\r";
    text += Languages::TextColon(kTextVolumeLabel);
    text += ' ';
    if (letter == 0 || services.volumes == nullptr)
        return text;
    text += VolumeLabel(letter, *services.volumes);
    const DiskFigures disk = services.volumes->Disk(static_cast<int>(letter) - 64, path);
    if (disk.size < 0)
        return text;
    text += '\r';
    text += Line(kTextDiskSize, FormatFileSize(disk.size));
    if (disk.free >= 0) {
        text += '\r';
        text += Line(kTextDiskFree, FormatFileSize(disk.free));
    }
    return text;
}

} // namespace orvan
