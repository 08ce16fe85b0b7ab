#pragma once
// Folder enumeration and file operations, in the core's path form ("C:\dir\file").
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace orvan {

// Windows file attribute bits; the posix adapter maps its own facts onto them.
namespace FileAttribute {
constexpr std::uint32_t ReadOnly = 0x1;
constexpr std::uint32_t Hidden = 0x2;
constexpr std::uint32_t System = 0x4;
constexpr std::uint32_t Directory = 0x10;
constexpr std::uint32_t Archive = 0x20;
constexpr std::uint32_t Normal = 0x80;
// A symbolic link or junction: the entry leads elsewhere, so tree operations never go
// through it. The adapters set it for name-surrogate links only.
constexpr std::uint32_t ReparsePoint = 0x400;
} // namespace FileAttribute

// What makes a file itself whatever path leads to it: the volume and the file's number on
// it. Two paths that differ in letter case, or a link and its target, give the same one.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct DirEntry {
    std::string name; // the entry's own name, no folder
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    double lastWrite = 0; // local time as days since 30 December 1899
};

class FileSystemPort {
public:
    virtual ~FileSystemPort() = default;

    // Calls visit for every entry of folder whose name matches pattern (Windows wildcards,
    // letter case ignored), "." and ".." included where the file system reports them, in
    // the file system's order. visit returns false to stop. Returns false when the folder
    // cannot be listed.
    virtual bool Enumerate(const std::string& folder, const std::string& pattern,
                           const std::function<bool(const DirEntry&)>& visit) const = 0;

    // The same listing for callers that need only names and kinds: the entries' attributes
    // Directory, Hidden, System and ReparsePoint are set as above, but size, time and the
    // other attributes may be missing. Where a file system lists only names, this spares a
    // look at every file (the catalog scan of a large tree is mostly that).
    virtual bool EnumerateKinds(const std::string& folder, const std::string& pattern,
                                const std::function<bool(const DirEntry&)>& visit) const {
        return Enumerate(folder, pattern, visit);
    }

    virtual bool RemoveFile(const std::string& path) const = 0;
    virtual bool RemoveFolder(const std::string& path) const = 0;
    virtual bool FileExists(const std::string& path) const = 0;
    virtual bool FolderExists(const std::string& path) const = 0;

    // Copies a file, replacing an existing target; false when the copy could not be made.
    // Platforms without it report failure.
    virtual bool CopyFileReplacing(const std::string& /*from*/, const std::string& /*to*/) const {
        return false;
    }

    // Deletes the file or folder at path without ever going through a link or junction:
    // not in the folders on the way to it, not at path itself, not below it. Each entry is
    // looked at and deleted through one open handle, so that nothing can be swapped for a
    // link between the look and the deletion. A link at path, or on the way to it, is left
    // alone and refused; a link below path is removed itself, never what it leads to. With
    // tree, everything below a folder goes first, stopping at the first entry that cannot be
    // deleted (a read-only file among them), and the folder itself is still tried; without,
    // a folder goes only when it is empty. True when path is gone. Platforms without it
    // delete nothing and report failure.
    virtual bool DeleteNoFollow(const std::string& /*path*/, bool /*tree*/) const { return false; }

    // Has the system delete the file when it next starts, for a file in use now; true when
    // that is arranged. Platforms without it report failure.
    virtual bool DeleteAfterRestart(const std::string& /*path*/) const { return false; }

    // The identity of an existing file or folder; nothing when it cannot be had.
    virtual std::optional<FileIdentity> IdentityOf(const std::string& /*path*/) const {
        return std::nullopt;
    }
};

} // namespace orvan
