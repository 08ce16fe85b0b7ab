#include "platform/native.h"
#include "platform/win32/find_handle.h"
#include "win32/unique_handle.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

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

// Opened without following a link at the name itself (the folders on the way are the
// caller's to check), folders too; others may read and write meanwhile but not rename or
// delete it, so that the path keeps leading to this very entry while the handle is open.
UniqueFile OpenNoFollow(const std::wstring& path, DWORD access) {
    return UniqueFile(::CreateFileW(
        path.c_str(), access | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

struct HandleKind {
    bool folder = false;
    bool link = false; // a symbolic link or junction, as the listings report one
};

std::optional<HandleKind> KindOf(HANDLE handle) {
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (!::GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &info, sizeof info))
        return std::nullopt;
    HandleKind kind;
    kind.folder = (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    kind.link = (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
                IsReparseTagNameSurrogate(info.ReparseTag);
    return kind;
}

// Marks the entry open as handle for deletion; it goes when the handle closes. A folder
// that is not empty and a read-only file are refused here.
bool DeleteByHandle(HANDLE handle) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                        sizeof disposition) != FALSE;
}

// The names in the folder open as handle, "." and ".." left out: the listing is of this
// very folder, whatever its path leads to by now.
std::optional<std::vector<std::wstring>> NamesIn(HANDLE folder) {
    std::vector<std::wstring> names;
    alignas(8) unsigned char buffer[64 * 1024];
    FILE_INFO_BY_HANDLE_CLASS which = FileIdBothDirectoryRestartInfo;
    for (;;) {
        if (!::GetFileInformationByHandleEx(folder, which, buffer, sizeof buffer))
            return ::GetLastError() == ERROR_NO_MORE_FILES ? std::optional(names) : std::nullopt;
        which = FileIdBothDirectoryInfo;
        for (std::size_t at = 0;;) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer + at);
            std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..")
                names.push_back(std::move(name));
            if (entry->NextEntryOffset == 0)
                break;
            at += entry->NextEntryOffset;
        }
    }
}

constexpr DWORD kDeleteAccess = DELETE | FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY;

bool DeleteOpenedNoFollow(const std::wstring& path, HANDLE handle, const HandleKind& kind,
                          bool tree);

// Deletes everything inside the folder open as handle; a link inside is removed itself.
// Each entry is opened without following it, looked at and deleted through that handle.
bool EmptyFolderNoFollow(const std::wstring& path, HANDLE handle) {
    const std::optional<std::vector<std::wstring>> names = NamesIn(handle);
    if (!names)
        return false;
    for (const std::wstring& name : *names) {
        const std::wstring child = path + L'\\' + name;
        const UniqueFile entry = OpenNoFollow(child, kDeleteAccess);
        const std::optional<HandleKind> kind = entry ? KindOf(entry.Get()) : std::nullopt;
        if (!kind || !DeleteOpenedNoFollow(child, entry.Get(), *kind, true))
            return false;
    }
    return true;
}

bool DeleteOpenedNoFollow(const std::wstring& path, HANDLE handle, const HandleKind& kind,
                          bool tree) {
    bool emptied = true;
    if (kind.folder && !kind.link && tree)
        emptied = EmptyFolderNoFollow(path, handle);
    return DeleteByHandle(handle) && emptied;
}

// "C:\" or "\\server\share\" and the names after it; nothing for a relative path or one with
// "." or ".." in it, whose meaning depends on more than its text.
std::optional<std::pair<std::wstring, std::vector<std::wstring>>> SplitPath(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    std::wstring root;
    std::size_t rest = 0;
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') {
        root = path.substr(0, 3);
        rest = 3;
    } else if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\' &&
               path[2] != L'?' && path[2] != L'.') {
        const std::size_t server = path.find(L'\\', 2);
        const std::size_t share =
            server == std::wstring::npos ? server : path.find(L'\\', server + 1);
        if (share == std::wstring::npos)
            return std::nullopt;
        root = path.substr(0, share + 1);
        rest = share + 1;
    } else {
        return std::nullopt;
    }
    std::vector<std::wstring> names;
    while (rest < path.size()) {
        const std::size_t cut = std::min(path.find(L'\\', rest), path.size());
        if (cut > rest)
            names.push_back(path.substr(rest, cut - rest));
        rest = cut + 1;
    }
    for (const std::wstring& name : names)
        if (name == L"." || name == L"..")
            return std::nullopt;
    if (names.empty())
        return std::nullopt;
    return std::pair(root, names);
}

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

    bool DeleteNoFollow(const std::string& path, bool tree) const override {
        const auto split = SplitPath(win32::Wide(path));
        if (!split)
            return false;
        // Every folder on the way is opened without following it and checked, and stays
        // open, which keeps it from being renamed or replaced by a link until the end.
        std::wstring walked = split->first;
        std::vector<UniqueFile> way;
        way.push_back(OpenNoFollow(walked, FILE_READ_ATTRIBUTES));
        for (std::size_t i = 0;; ++i) {
            if (!way.back())
                return false;
            if (i == split->second.size())
                break;
            if (i > 0) {
                const std::optional<HandleKind> kind = KindOf(way.back().Get());
                if (!kind || !kind->folder || kind->link)
                    return false;
            }
            if (!walked.ends_with(L'\\'))
                walked += L'\\';
            walked += split->second[i];
            way.push_back(OpenNoFollow(walked, i + 1 == split->second.size()
                                                   ? kDeleteAccess
                                                   : DWORD(FILE_READ_ATTRIBUTES)));
        }
        const std::optional<HandleKind> kind = KindOf(way.back().Get());
        // A link at the top is left alone, and what it leads to with it.
        if (!kind || kind->link)
            return false;
        return DeleteOpenedNoFollow(walked, way.back().Get(), *kind, tree);
    }

    bool DeleteAfterRestart(const std::string& path) const override {
        return !path.empty() && ::MoveFileExW(win32::Wide(path).c_str(), nullptr,
                                              MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
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
