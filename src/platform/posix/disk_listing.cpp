// The folder step's listing on Linux: one pass over the folder's entries, the folder flag
// from the entry's type, and a look at the file itself only for links and for file systems
// that do not report types.
#include "core/config/path_convert.h"
#include "platform/native_shell.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

namespace orvan::platform {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

class PosixFolderListing final : public FolderListingPort {
public:
    bool ListByPrefix(
        const std::string& folder, std::string_view upperPrefix,
        const std::function<void(std::string_view name, bool isFolder)>& visit) const override {
        const std::string native = CoreToNativePath(folder);
        if (native.empty())
            return false;
        const std::unique_ptr<DIR, DirCloser> dir(opendir(native.c_str()));
        if (!dir)
            return false;
        const int dirFd = dirfd(dir.get());
        while (const dirent* item = readdir(dir.get())) {
            const std::string_view name(item->d_name);
            // A backslash cannot be part of a name in the core's paths.
            if (name == "." || name == ".." || name.find('\\') != std::string_view::npos ||
                !StartsWithAsciiFolded(name, upperPrefix))
                continue;
            bool isFolder = item->d_type == DT_DIR;
            if (item->d_type == DT_LNK || item->d_type == DT_UNKNOWN) {
                struct stat st {};
                if (fstatat(dirFd, item->d_name, &st, 0) == 0)
                    isFolder = S_ISDIR(st.st_mode);
                else if (fstatat(dirFd, item->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                    continue; // gone meanwhile; a dangling link stays, as a file
            }
            visit(name, isFolder);
        }
        return true;
    }
};

} // namespace

const FolderListingPort& FolderListing() {
    static const PosixFolderListing listing;
    return listing;
}

} // namespace orvan::platform
