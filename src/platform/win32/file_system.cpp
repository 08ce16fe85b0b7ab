#include "platform/native.h"
#include "platform/win32/find_handle.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <cmath>

namespace orvan::platform {

namespace {

// FILETIME counts 100 ns steps from 1 January 1601, 109205 days before 30 December 1899.
constexpr double kTicksPerDay = 864e9;
constexpr double kDaysFrom1601To1899 = 109205.0;

// The moment in the local time that applied on that day (summer time included), as the
// Explorer shows it, in days since 30 December 1899.
double LocalDays(const FILETIME& utc) {
    SYSTEMTIME utcTime{};
    SYSTEMTIME localTime{};
    FILETIME local{};
    if (!FileTimeToSystemTime(&utc, &utcTime) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utcTime, &localTime) ||
        !SystemTimeToFileTime(&localTime, &local))
        return 0;
    const auto ticks =
        (static_cast<unsigned long long>(local.dwHighDateTime) << 32) | local.dwLowDateTime;
    const double days = static_cast<double>(ticks) / kTicksPerDay - kDaysFrom1601To1899;
    if (days >= 0)
        return days;
    // Before 30 December 1899 the fraction still counts forward from midnight.
    const double whole = std::floor(days);
    return whole - (days - whole);
}

std::wstring ListQuery(const std::string& folder, const std::string& pattern) {
    std::string query = folder;
    if (query.back() != '\\' && query.back() != '/')
        query += '\\';
    return win32::Wide(query + pattern);
}

DirEntry ToEntry(const WIN32_FIND_DATAW& data) {
    DirEntry entry;
    entry.name = win32::Narrow(data.cFileName, wcsnlen(data.cFileName, MAX_PATH));
    entry.attributes = data.dwFileAttributes;
    // Only links (symbolic links, junctions) lead elsewhere; other reparse points, such as
    // cloud placeholders, are ordinary files and folders to the program.
    if ((entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
        !IsReparseTagNameSurrogate(data.dwReserved0))
        entry.attributes &= ~static_cast<std::uint32_t>(FILE_ATTRIBUTE_REPARSE_POINT);
    entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.lastWrite = LocalDays(data.ftLastWriteTime);
    return entry;
}

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
};
using UniqueFile = win32::UniqueHandle<FileHandleTraits>;

class Win32FileSystem final : public FileSystemPort {
public:
    bool Enumerate(const std::string& folder, const std::string& pattern,
                   const std::function<bool(const DirEntry&)>& visit) const override {
        // An empty folder would turn into "\pattern", the root of the current drive.
        if (folder.empty())
            return false;
        const std::wstring query = ListQuery(folder, pattern);
        WIN32_FIND_DATAW data{};
        const UniqueFindHandle find(FindFirstFileExW(query.c_str(), FindExInfoBasic, &data,
                                                     FindExSearchNameMatch, nullptr,
                                                     FIND_FIRST_EX_LARGE_FETCH));
        if (!find) {
            // No match in a folder that exists is an empty listing, not a failure.
            return GetLastError() == ERROR_FILE_NOT_FOUND && FolderExists(folder);
        }
        do {
            if (!visit(ToEntry(data)))
                break;
        } while (FindNextFileW(find.Get(), &data));
        return true;
    }

    bool RemoveFile(const std::string& path) const override {
        return !path.empty() && ::DeleteFileW(win32::Wide(path).c_str()) != FALSE;
    }

    bool RemoveFolder(const std::string& path) const override {
        return !path.empty() && ::RemoveDirectoryW(win32::Wide(path).c_str()) != FALSE;
    }

    bool FileExists(const std::string& path) const override {
        const DWORD attributes = Attributes(path);
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }

    bool FolderExists(const std::string& path) const override {
        const DWORD attributes = Attributes(path);
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }

    bool CopyFileReplacing(const std::string& from, const std::string& to) const override {
        return !from.empty() && !to.empty() &&
               ::CopyFileW(win32::Wide(from).c_str(), win32::Wide(to).c_str(), FALSE) != FALSE;
    }

    std::optional<FileIdentity> IdentityOf(const std::string& path) const override {
        if (path.empty())
            return std::nullopt;
        // No access rights are needed to read a file's facts, and every sharing mode lets a
        // running program's locked file be asked too; folders open only with backup
        // semantics.
        const UniqueFile file(::CreateFileW(
            win32::Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        BY_HANDLE_FILE_INFORMATION information{};
        if (!file || !::GetFileInformationByHandle(file.Get(), &information))
            return std::nullopt;
        return FileIdentity{information.dwVolumeSerialNumber,
                            (std::uint64_t(information.nFileIndexHigh) << 32) |
                                information.nFileIndexLow};
    }

private:
    static DWORD Attributes(const std::string& path) {
        return path.empty() ? INVALID_FILE_ATTRIBUTES
                            : GetFileAttributesW(win32::Wide(path).c_str());
    }
};

} // namespace

const FileSystemPort& FileSystem() {
    static const Win32FileSystem fileSystem;
    return fileSystem;
}

} // namespace orvan::platform
