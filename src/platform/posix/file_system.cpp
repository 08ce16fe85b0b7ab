// The file system on Linux, shown the way the core knows it from Windows: drive C: is the
// root, listings come in NTFS order (by upper-cased UTF-16 code units) with "." and "..",
// patterns follow the Windows wildcard rules and facts map onto Windows attributes.
#include "core/base/utf.h"
#include "core/config/path_convert.h"
#include "platform/native.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <ctime>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace orvan::platform {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using UniqueDir = std::unique_ptr<DIR, DirCloser>;

// NTFS compares names by upper-casing each UTF-16 code unit on its own, so characters
// outside the BMP keep their case.
std::u16string FoldedKey(std::string_view name) {
    std::u16string key;
    key.reserve(name.size());
    bool ascii = true;
    bool supplementary = false;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        ascii = ascii && c < 0x80;
        supplementary = supplementary || c >= 0xF0;
    }
    if (ascii) {
        for (const char ch : name)
            key.push_back(static_cast<char16_t>(ch >= 'a' && ch <= 'z' ? ch - 32 : ch));
        return key;
    }
    if (!supplementary)
        return Utf8ToUtf16(Upper(name));
    std::size_t pos = 0;
    while (pos < name.size()) {
        const std::size_t start = pos;
        const char32_t cp = DecodeUtf8(name, pos);
        const std::string_view one = name.substr(start, pos - start);
        key += Utf8ToUtf16(cp >= 0x10000 ? std::string(one) : Upper(one));
    }
    return key;
}

// '*' any run of code units, '?' exactly one; both sides already folded.
bool WildcardMatch(std::u16string_view pattern, std::u16string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::u16string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::u16string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

// Windows lets a trailing ".*" stand for "any extension or none": "*.*" lists every name,
// dotless ones included, and "readme.*" finds "README".
bool MatchesPattern(std::u16string_view pattern, std::u16string_view name) {
    if (WildcardMatch(pattern, name))
        return true;
    return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == u".*" &&
           WildcardMatch(pattern.substr(0, pattern.size() - 2), name);
}

// Seconds since 1970 (UTC) to the core's local moment: days since 30 December 1899, where
// before that day the fraction still counts forward from midnight.
double LocalDays(const timespec& when) {
    const time_t seconds = when.tv_sec;
    tm local{};
    if (localtime_r(&seconds, &local) == nullptr)
        return 0;
    const double localSeconds = static_cast<double>(seconds) +
                                static_cast<double>(local.tm_gmtoff) +
                                static_cast<double>(when.tv_nsec) / 1e9;
    const double days = localSeconds / 86400.0 + 25569.0;
    if (days >= 0)
        return days;
    const double whole = std::floor(days);
    return whole - (days - whole);
}

bool IsDotName(std::string_view name) {
    return name == "." || name == "..";
}

// Fills the entry from the file's facts; false when the entry vanished meanwhile. Without
// full, only what the directory entry's type tells is filled in, and the file itself is
// looked at only for links (is the target a folder?) and where the type is unknown.
bool Describe(int dirFd, const std::string& name, unsigned char type, bool full, DirEntry& entry) {
    entry.name = name;
    entry.attributes = 0;
    entry.size = 0;
    entry.lastWrite = 0;
    if (name.size() > 1 && name.front() == '.' && !IsDotName(name))
        entry.attributes |= FileAttribute::Hidden;
    if (!full && type != DT_LNK && type != DT_UNKNOWN) {
        entry.attributes |= type == DT_DIR ? FileAttribute::Directory : FileAttribute::Archive;
        return true;
    }
    struct stat st {};
    bool link = type == DT_LNK;
    if (type == DT_UNKNOWN) {
        if (fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return false;
        link = S_ISLNK(st.st_mode);
    }
    bool dangling = false;
    if ((type != DT_UNKNOWN || link) && fstatat(dirFd, name.c_str(), &st, 0) != 0) {
        if (!link || fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return false;
        dangling = true;
    }
    if (S_ISDIR(st.st_mode))
        entry.attributes |= FileAttribute::Directory;
    else
        entry.attributes |= FileAttribute::Archive; // as Wine reports Linux files
    if (link)
        entry.attributes |= FileAttribute::ReparsePoint;
    if (!dangling && (st.st_mode & S_IWUSR) == 0)
        entry.attributes |= FileAttribute::ReadOnly;
    entry.size = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
    entry.lastWrite = LocalDays(st.st_mtim);
    return true;
}

bool IsFileSystemRoot(int dirFd) {
    struct stat self {};
    struct stat root {};
    return fstat(dirFd, &self) == 0 && stat("/", &root) == 0 && self.st_dev == root.st_dev &&
           self.st_ino == root.st_ino;
}

class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) noexcept : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            if (fd_ >= 0)
                close(fd_);
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() {
        if (fd_ >= 0)
            close(fd_);
    }
    int Get() const noexcept { return fd_; }
    explicit operator bool() const noexcept { return fd_ >= 0; }

private:
    int fd_;
};

constexpr int kFolderNoFollow = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Opens the folder that holds the last component of native, walking from the root one
// component at a time relative to the folder before, and refusing a link at every step
// (O_NOFOLLOW): nothing on the way can lead elsewhere. "." and ".." are refused too.
bool OpenParentNoFollow(const std::string& native, UniqueFd& parent, std::string& name) {
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos < native.size()) {
        const std::size_t slash = native.find('/', pos);
        const std::size_t end = slash == std::string::npos ? native.size() : slash;
        if (end > pos)
            parts.push_back(native.substr(pos, end - pos));
        pos = end + 1;
    }
    if (native.empty() || native.front() != '/' || parts.empty())
        return false;
    for (const std::string& part : parts)
        if (IsDotName(part))
            return false;
    UniqueFd folder(open("/", kFolderNoFollow));
    for (std::size_t i = 0; folder && i + 1 < parts.size(); ++i)
        folder = UniqueFd(openat(folder.Get(), parts[i].c_str(), kFolderNoFollow));
    if (!folder)
        return false;
    parent = std::move(folder);
    name = parts.back();
    return true;
}

bool DeleteEntryNoFollow(int parentFd, const std::string& name, bool tree);

// Deletes everything inside the folder open as folderFd; a link inside is removed itself.
// Stops at the first entry that cannot be deleted.
bool EmptyFolderNoFollow(int folderFd) {
    const int listed = fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    if (listed < 0)
        return false;
    const UniqueDir dir(fdopendir(listed));
    if (!dir) {
        close(listed);
        return false;
    }
    std::vector<std::string> names;
    while (const dirent* item = readdir(dir.get()))
        if (!IsDotName(item->d_name))
            names.emplace_back(item->d_name);
    // In the listing's order, so that where a failure stops is the same as on Windows.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return FoldedKey(a) < FoldedKey(b);
    });
    for (const std::string& name : names)
        if (!DeleteEntryNoFollow(folderFd, name, true))
            return false;
    return true;
}

// The entry name of the folder open as parentFd, looked at without following it. A folder
// is opened relative to its parent with O_NOFOLLOW before anything inside it is touched, so
// that one swapped for a link meanwhile fails instead of leading elsewhere.
bool DeleteEntryNoFollow(int parentFd, const std::string& name, bool tree) {
    struct stat st {};
    if (fstatat(parentFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (S_ISDIR(st.st_mode)) {
        bool emptied = true;
        if (tree) {
            const UniqueFd folder(openat(parentFd, name.c_str(), kFolderNoFollow));
            emptied = folder && EmptyFolderNoFollow(folder.Get());
        }
        return unlinkat(parentFd, name.c_str(), AT_REMOVEDIR) == 0 && emptied;
    }
    if (!S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0) {
        errno = EACCES; // read-only, which Windows refuses to delete
        return false;
    }
    // A link, file or folder alike, goes itself: unlinkat never follows it.
    return unlinkat(parentFd, name.c_str(), 0) == 0;
}

class PosixFileSystem final : public FileSystemPort {
public:
    bool Enumerate(const std::string& folder, const std::string& pattern,
                   const std::function<bool(const DirEntry&)>& visit) const override {
        return List(folder, pattern, true, visit);
    }

    bool EnumerateKinds(const std::string& folder, const std::string& pattern,
                        const std::function<bool(const DirEntry&)>& visit) const override {
        return List(folder, pattern, false, visit);
    }

private:
    static bool List(const std::string& folder, const std::string& pattern, bool full,
                     const std::function<bool(const DirEntry&)>& visit) {
        const std::string native = CoreToNativePath(folder);
        if (native.empty())
            return false;
        const UniqueDir dir(opendir(native.c_str()));
        if (!dir)
            return false;
        const int dirFd = dirfd(dir.get());
        const bool all = pattern == "*" || pattern == "*.*";
        const std::u16string patternKey = FoldedKey(pattern);

        struct Found {
            std::string name;
            std::u16string key;
            unsigned char type;
        };
        std::vector<Found> found;
        while (const dirent* item = readdir(dir.get())) {
            const std::string_view name(item->d_name);
            // A backslash cannot be part of a name in the core's paths (nor on NTFS).
            if (IsDotName(name) || name.find('\\') != std::string_view::npos)
                continue;
            std::u16string key = FoldedKey(name);
            if (!all && !MatchesPattern(patternKey, key))
                continue;
            found.push_back({std::string(name), std::move(key), item->d_type});
        }
        std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
            if (a.key != b.key)
                return a.key < b.key;
            return CompareUtf16(a.name, b.name) < 0; // Linux may hold "a" and "A" side by side
        });

        // NTFS reports "." and ".." first, in every folder but a drive's root.
        DirEntry entry;
        if (!IsFileSystemRoot(dirFd)) {
            for (const char* dot : {".", ".."}) {
                if (!all && !MatchesPattern(patternKey, FoldedKey(dot)))
                    continue;
                if (Describe(dirFd, dot, DT_DIR, full, entry) && !visit(entry))
                    return true;
            }
        }
        for (const Found& item : found) {
            if (Describe(dirFd, item.name, item.type, full, entry) && !visit(entry))
                break;
        }
        return true;
    }

public:
    bool RemoveFile(const std::string& path) const override {
        const std::string native = CoreToNativePath(path);
        struct stat st {};
        if (native.empty() || lstat(native.c_str(), &st) != 0)
            return false;
        if (S_ISDIR(st.st_mode))
            return false;
        if (S_ISLNK(st.st_mode)) {
            // A link to a folder is removed as a folder, as on Windows.
            struct stat target {};
            if (stat(native.c_str(), &target) == 0 && S_ISDIR(target.st_mode))
                return false;
        } else if ((st.st_mode & S_IWUSR) == 0) {
            // Windows refuses to delete a read-only file; so does this port, root or not.
            errno = EACCES;
            return false;
        }
        return unlink(native.c_str()) == 0;
    }

    bool RemoveFolder(const std::string& path) const override {
        const std::string native = CoreToNativePath(path);
        struct stat st {};
        if (native.empty() || lstat(native.c_str(), &st) != 0)
            return false;
        if (S_ISLNK(st.st_mode)) {
            struct stat target {};
            if (stat(native.c_str(), &target) != 0 || !S_ISDIR(target.st_mode))
                return false;
            return unlink(native.c_str()) == 0;
        }
        return rmdir(native.c_str()) == 0;
    }

    bool DeleteNoFollow(const std::string& path, bool tree) const override {
        UniqueFd parent;
        std::string name;
        if (!OpenParentNoFollow(CoreToNativePath(path), parent, name))
            return false;
        struct stat st {};
        if (fstatat(parent.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            S_ISLNK(st.st_mode))
            return false; // a link at the top is left alone, and what it leads to with it
        return DeleteEntryNoFollow(parent.Get(), name, tree);
    }

    bool FileExists(const std::string& path) const override {
        const std::string native = CoreToNativePath(path);
        struct stat st {};
        return !native.empty() && stat(native.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
    }

    bool FolderExists(const std::string& path) const override {
        const std::string native = CoreToNativePath(path);
        struct stat st {};
        return !native.empty() && stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
};

} // namespace

const FileSystemPort& FileSystem() {
    static const PosixFileSystem fileSystem;
    return fileSystem;
}

} // namespace orvan::platform
