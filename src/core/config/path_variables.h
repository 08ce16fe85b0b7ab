#pragma once
// Path variables ("%APPDATA%" and the other 17 tokens) and the small string and folder
// helpers that travel with them.
#include "core/ports/file_system.h"
#include "core/ports/special_folders.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvan {

using ArrayOfString = std::vector<std::string>;

struct PathVariable {
    const char* token;
    int folderNumber;
};

// The 18 variables in the order in which they are expanded.
extern const PathVariable kPathVariables[18];

// The folder for one folder number, or "" when the platform has none.
std::string GetSpecialFolder(const SpecialFolderPort& folders, int folderNumber);

// Replaces every variable of the table (exact, case-sensitive) by its folder; a variable
// whose folder is unknown becomes "". Looks every folder up on every call.
std::string ExpandPathVariables(const SpecialFolderPort& folders, std::string_view text);

// Deletes a folder and everything below it; stops at the first entry that cannot be
// deleted (read-only files included), but still tries to remove the folder itself. True
// when everything is gone. No link or junction is ever followed: one below the folder is
// removed itself, one at the folder or on the way to it leaves everything alone (false);
// "" is refused.
bool DeleteFolderTree(const FileSystemPort& fileSystem, const std::string& folder);

// Splits at a one-character separator; a trailing separator gives no empty last element.
ArrayOfString SplitString(std::string_view text, char separator);

} // namespace orvan
