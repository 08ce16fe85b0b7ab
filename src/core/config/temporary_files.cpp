#include "core/config/temporary_files.h"

#include "core/base/utf.h"

#include <string>
#include <vector>

namespace orvan {

namespace {

bool IsAsciiLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool AllOf(std::string_view text, bool (*test)(char)) {
    for (const char c : text)
        if (!test(c))
            return false;
    return true;
}

// GetTempFileNameW's unique number: up to four hexadecimal digits.
constexpr std::size_t kWindowsUniqueMax = 4;
// mkostemps replaces six "X".
constexpr std::size_t kPosixUniqueSize = 6;

} // namespace

bool IsTemporaryFileName(std::string_view name) {
    const std::size_t fixed = kTemporaryFilePrefix.size() + kTemporaryFileSuffix.size();
    if (name.size() <= fixed ||
        !AsciiEqualIgnoringCase(name.substr(0, kTemporaryFilePrefix.size()),
                                kTemporaryFilePrefix) ||
        !AsciiEqualIgnoringCase(name.substr(name.size() - kTemporaryFileSuffix.size()),
                                kTemporaryFileSuffix))
        return false;
    const std::string_view unique = name.substr(kTemporaryFilePrefix.size(), name.size() - fixed);
    if (unique.size() <= kWindowsUniqueMax && AllOf(unique, IsHexDigit))
        return true;
    return unique.size() == kPosixUniqueSize && AllOf(unique, IsAsciiLetterOrDigit);
}

std::size_t RemoveStaleTemporaryFiles(const FileSystemPort& fileSystem, std::string_view folder,
                                      double now) {
    if (folder.empty())
        return 0;
    std::string prefix(folder);
    if (prefix.back() != '\\')
        prefix += '\\';
    // The names are gathered first: removing entries while the folder is listed is not
    // something every file system answers the same way.
    std::vector<std::string> stale;
    const std::string pattern =
        std::string(kTemporaryFilePrefix) + "*" + std::string(kTemporaryFileSuffix);
    fileSystem.Enumerate(prefix, pattern, [&](const DirEntry& entry) {
        if ((entry.attributes & (FileAttribute::Directory | FileAttribute::ReparsePoint)) == 0 &&
            IsTemporaryFileName(entry.name) && now - entry.lastWrite >= kStaleTemporaryFileAge)
            stale.push_back(entry.name);
        return true;
    });
    std::size_t removed = 0;
    for (const std::string& name : stale)
        if (fileSystem.RemoveFile(prefix + name))
            ++removed;
    return removed;
}

} // namespace orvan
