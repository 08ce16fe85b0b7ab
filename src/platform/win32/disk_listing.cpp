// The folder step's listing on Windows: FindFirstFileExW without short names and with large
// fetches, narrowed by a wildcard pattern where "starts with" can be said as one.
#include "platform/native_shell.h"
#include "platform/win32/find_handle.h"
#include "win32/wide_text.h"

#include <windows.h>

namespace orvan::platform {

namespace {

// Characters that wildcard matching treats specially (or that would make the pattern a
// different path); a prefix holding one lists the whole folder and is checked afterwards.
bool NarrowsSafely(std::string_view prefix) {
    for (const char c : prefix)
        if (c == '*' || c == '?' || c == '<' || c == '>' || c == '"' || c == '.' || c == ':' ||
            c == '/' || c == '\\')
            return false;
    return true;
}

class Win32FolderListing final : public FolderListingPort {
public:
    bool ListByPrefix(
        const std::string& folder, std::string_view upperPrefix,
        const std::function<void(std::string_view name, bool isFolder)>& visit) const override {
        if (folder.empty())
            return false;
        std::string query = folder;
        if (query.back() != '\\')
            query += '\\';
        query += NarrowsSafely(upperPrefix) ? std::string(upperPrefix) + "*" : std::string("*");
        WIN32_FIND_DATAW data{};
        const UniqueFindHandle find(FindFirstFileExW(win32::Wide(query).c_str(), FindExInfoBasic,
                                                     &data, FindExSearchNameMatch, nullptr,
                                                     FIND_FIRST_EX_LARGE_FETCH));
        if (!find) {
            // No match in a folder that exists is an empty listing, not a failure.
            if (GetLastError() != ERROR_FILE_NOT_FOUND)
                return false;
            const DWORD attributes = GetFileAttributesW(win32::Wide(folder).c_str());
            return attributes != INVALID_FILE_ATTRIBUTES &&
                   (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        }
        std::string name;
        do {
            name = win32::Narrow(data.cFileName, wcsnlen(data.cFileName, MAX_PATH));
            if (name == "." || name == ".." || !StartsWithAsciiFolded(name, upperPrefix))
                continue;
            visit(name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
        } while (FindNextFileW(find.Get(), &data));
        return true;
    }
};

} // namespace

const FolderListingPort& FolderListing() {
    static const Win32FolderListing listing;
    return listing;
}

} // namespace orvan::platform
