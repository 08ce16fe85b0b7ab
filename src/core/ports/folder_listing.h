#pragma once
// A quick listing for the input line's folder step: names and the folder flag only, and
// only those that start with the typed text. A folder of 100 000 entries must list within
// one keystroke, which a full listing with sizes and times cannot promise on every system
// (on Linux it asks for every entry's facts one by one).
#include <functional>
#include <string>
#include <string_view>

namespace orvan {

class FolderListingPort {
public:
    virtual ~FolderListingPort() = default;

    // Calls visit(name, isFolder) for every entry of folder (a core path ending in a
    // backslash) whose name starts with upperPrefix, the ASCII letters of the name compared
    // without regard to case and every other character exactly; an empty prefix takes every
    // entry. "." and ".." are left out; hidden and system entries are not. The order is the
    // file system's. A link counts as a folder when it leads to one. Returns false when the
    // folder cannot be listed.
    virtual bool
    ListByPrefix(const std::string& folder, std::string_view upperPrefix,
                 const std::function<void(std::string_view name, bool isFolder)>& visit) const = 0;
};

// True when name starts with upperPrefix in the sense above.
bool StartsWithAsciiFolded(std::string_view name, std::string_view upperPrefix);

} // namespace orvan
