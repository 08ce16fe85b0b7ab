#pragma once
// A small disk in memory for tests and fuzz targets, in the core's path form ("C:\dir\file")
// and with the Windows rules the core relies on: names compared without regard to case,
// wildcard listings in which "*.*" also takes names without a dot, "." and ".." in every
// folder but a drive root, no trailing backslash on a file. A listing goes in the order the
// entries were added, so that a test can hand the core an unsorted folder. Failures can be
// injected per path, and every listing and removal is logged.
#include "core/base/utf.h"
#include "core/base/wildcard.h"
#include "core/ports/file_store.h"
#include "core/ports/file_system.h"
#include "core/ports/folder_listing.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orvan::testing {

// What a listing reports about a file besides its name, for files added without content.
struct FileFacts {
    std::uint64_t size = 0;
    std::uint32_t attributes = 0; // 0: a plain file (Archive)
    double lastWrite = 0;
};

class MemoryFileSystem final : public FileSystemPort,
                               public FileStorePort,
                               public FolderListingPort {
public:
    MemoryFileSystem() { AddFolder("C:\\"); }

    // Adds a folder and any missing parent folders. A folder with ReparsePoint is a link:
    // removing it never needs it empty.
    void AddFolder(const std::string& path, std::uint32_t attributes = 0, double lastWrite = 0) {
        Add(path, {}, DirEntry{{}, attributes | FileAttribute::Directory, 0, lastWrite});
    }
    // Adds (or replaces) a file with the given bytes; a listing reports their count as size.
    void AddFile(const std::string& path, const std::string& content = "",
                 std::uint32_t attributes = 0) {
        Add(path, content, DirEntry{{}, attributes | FileAttribute::Archive, content.size(), 0});
    }
    // Adds a file that only its listing facts describe.
    void AddFile(const std::string& path, const FileFacts& facts) {
        Add(path, {},
            DirEntry{{},
                     facts.attributes == 0 ? FileAttribute::Archive : facts.attributes,
                     facts.size,
                     facts.lastWrite});
    }

    // The bytes of a file; nullptr for a folder or nothing.
    const std::string* Content(const std::string& path) const {
        const auto it = nodes_.find(Key(path));
        return it == nodes_.end() || IsFolder(it->second) ? nullptr : &it->second.bytes;
    }
    bool Exists(const std::string& path) const { return nodes_.count(Key(path)) != 0; }

    // Failure injection.
    void MakeUnlistable(const std::string& path) { unlistable_.insert(Key(path)); }
    void MakeUnreadable(const std::string& path) { unreadable_.insert(Key(path)); }
    void MakeUnwritable(const std::string& path) { unwritable_.insert(Key(path)); }
    bool failWrites = false;        // every replacement fails
    bool failCreateFolders = false; // CreateFolders fails
    // How many bytes a read hands out at most, to test readers that get short pieces.
    std::size_t readPiece = 7;

    // "list FOLDER PATTERN", "quick FOLDER PREFIX", "delete PATH", "rmdir PATH", with the
    // paths as the caller gave them, while logging is on.
    mutable std::vector<std::string> log;
    bool logging = true;
    mutable std::size_t enumerations = 0; // general listings, quick ones not counted

    bool Enumerate(const std::string& folder, const std::string& pattern,
                   const std::function<bool(const DirEntry&)>& visit) const override {
        ++enumerations;
        Log("list " + folder + " " + pattern);
        const std::string key = Key(folder);
        if (!Listable(key))
            return false;
        if (key.size() > 2) // every folder but a drive root has "." and ".."
            for (const char* dot : {".", ".."})
                if (Matches(pattern, dot) && !visit({dot, FileAttribute::Directory, 0, 0}))
                    return true;
        // The children as they are now; one removed by the visitor meanwhile is skipped.
        for (const std::string& childKey : Children(key)) {
            const auto it = nodes_.find(childKey);
            if (it == nodes_.end() || !Matches(pattern, it->second.entry.name))
                continue;
            const DirEntry entry = it->second.entry; // the visitor may remove the node
            if (!visit(entry))
                break;
        }
        return true;
    }

    bool ListByPrefix(const std::string& folder, std::string_view upperPrefix,
                      const std::function<void(std::string_view, bool)>& visit) const override {
        Log("quick " + folder + " " + std::string(upperPrefix));
        const std::string key = Key(folder);
        if (!Listable(key))
            return false;
        for (const std::string& childKey : Children(key)) {
            const Node& node = nodes_.at(childKey);
            if (StartsWithAsciiFolded(node.entry.name, upperPrefix))
                visit(node.entry.name, IsFolder(node));
        }
        return true;
    }

    // A read-only file, a folder or nothing cannot be removed, as with DeleteFileW.
    bool RemoveFile(const std::string& path) const override {
        Log("delete " + path);
        const auto it = nodes_.find(Key(path));
        if (it == nodes_.end() || IsFolder(it->second) ||
            (it->second.entry.attributes & FileAttribute::ReadOnly) != 0)
            return false;
        Erase(it->first);
        return true;
    }
    // Only an empty folder, or a link, can be removed, as with RemoveDirectoryW.
    bool RemoveFolder(const std::string& path) const override {
        Log("rmdir " + path);
        const auto it = nodes_.find(Key(path));
        if (it == nodes_.end() || !IsFolder(it->second))
            return false;
        if ((it->second.entry.attributes & FileAttribute::ReparsePoint) == 0 &&
            !Children(it->first).empty())
            return false;
        Erase(it->first);
        return true;
    }
    // Never through a folder with ReparsePoint on the way, nor at path itself; one below it
    // is removed as a link. Logs "nofollow PATH", then the removals as the other calls do.
    bool DeleteNoFollow(const std::string& path, bool tree) const override {
        Log("nofollow " + path);
        const std::string key = Key(path);
        const auto it = nodes_.find(key);
        if (path.empty() || it == nodes_.end() || IsLink(it->second))
            return false;
        for (std::string above = Parent(key); !above.empty(); above = Parent(above))
            if (const auto node = nodes_.find(above); node != nodes_.end() && IsLink(node->second))
                return false;
        if (!IsFolder(it->second))
            return RemoveFile(path);
        const bool emptied = !tree || EmptyNoFollow(Strip(path));
        return RemoveFolder(path) && emptied;
    }
    bool FileExists(const std::string& path) const override {
        return Content(path) != nullptr && (path.empty() || path.back() != '\\');
    }
    bool FolderExists(const std::string& path) const override {
        const auto it = nodes_.find(Key(path));
        return it != nodes_.end() && IsFolder(it->second);
    }

    std::unique_ptr<FileReader> OpenFile(const std::string& path,
                                         FileContent::Status& status) const override {
        if (unreadable_.count(Key(path)) != 0) {
            status = FileContent::Status::Unreadable;
            return nullptr;
        }
        const std::string* content = Content(path);
        if (content == nullptr) {
            status = FileContent::Status::Missing;
            return nullptr;
        }
        status = FileContent::Status::Read;
        return std::make_unique<Reader>(*content, readPiece);
    }
    bool ReplaceFileWith(const std::string& path,
                         const std::function<bool(FileWriter&)>& produce) const override {
        if (failWrites || unwritable_.count(Key(path)) != 0 || !FolderExists(Parent(Strip(path))))
            return false;
        Writer writer;
        if (!produce(writer))
            return false;
        const_cast<MemoryFileSystem*>(this)->AddFile(path, writer.bytes);
        return true;
    }
    bool CreateFolders(const std::string& path) const override {
        if (failCreateFolders)
            return false;
        const_cast<MemoryFileSystem*>(this)->AddFolder(path);
        return true;
    }

private:
    struct Node {
        DirEntry entry; // the name as added, the attributes, size and time
        std::string bytes;
    };
    class Reader final : public FileReader {
    public:
        Reader(std::string bytes, std::size_t piece) : bytes_(std::move(bytes)), piece_(piece) {}
        std::size_t Read(char* buffer, std::size_t size) override {
            const std::size_t n = std::min({size, piece_, bytes_.size() - at_});
            std::memcpy(buffer, bytes_.data() + at_, n);
            at_ += n;
            return n;
        }
        bool Failed() const override { return false; }
        std::uint64_t SizeHint() const override { return bytes_.size(); }

    private:
        std::string bytes_;
        std::size_t piece_;
        std::size_t at_ = 0;
    };
    struct Writer final : FileWriter {
        std::string bytes;
        bool Write(std::string_view piece) override {
            bytes.append(piece);
            return true;
        }
    };

    static bool IsFolder(const Node& node) {
        return (node.entry.attributes & FileAttribute::Directory) != 0;
    }
    static bool IsLink(const Node& node) {
        return (node.entry.attributes & FileAttribute::ReparsePoint) != 0;
    }
    // Everything below folder, a link removed itself; stops at the first failure.
    bool EmptyNoFollow(const std::string& folder) const {
        const std::string key = Upper(folder);
        if (!Listable(key))
            return false;
        for (const std::string& childKey : Children(key)) {
            const Node node = nodes_.at(childKey);
            const std::string child = folder + "\\" + node.entry.name;
            bool removed = false;
            if (!IsFolder(node))
                removed = RemoveFile(child);
            else if (IsLink(node))
                removed = RemoveFolder(child);
            else
                removed = EmptyNoFollow(child) && RemoveFolder(child);
            if (!removed)
                return false;
        }
        return true;
    }
    // Without trailing backslashes, a drive root as "C:".
    static std::string Strip(std::string_view path) {
        while (path.size() > 2 && path.back() == '\\')
            path.remove_suffix(1);
        if (path.size() == 3 && path[1] == ':')
            path.remove_suffix(1);
        return std::string(path);
    }
    static std::string Key(std::string_view path) { return Upper(Strip(path)); }
    // The parent of a stripped path or key; "" for a drive root or a name without a folder.
    static std::string Parent(const std::string& stripped) {
        const std::size_t cut = stripped.rfind('\\');
        return cut == std::string::npos ? std::string() : stripped.substr(0, cut);
    }
    static std::string NameOf(const std::string& stripped) {
        const std::size_t cut = stripped.rfind('\\');
        return cut == std::string::npos ? stripped : stripped.substr(cut + 1);
    }
    // '*' any run, '?' one character, letter case ignored; a pattern ending in ".*" also
    // takes the name without that ending ("*.*" takes "README"). Linear backtracking over
    // the last star, so that a fuzzer's patterns cannot make it slow.
    static bool Matches(const std::string& pattern, const std::string& name) {
        return WildcardMatches(pattern, name);
    }

    void Log(std::string entry) const {
        if (logging)
            log.push_back(std::move(entry));
    }
    bool Listable(const std::string& key) const {
        const auto it = nodes_.find(key);
        return it != nodes_.end() && IsFolder(it->second) && unlistable_.count(key) == 0;
    }
    std::vector<std::string> Children(const std::string& key) const {
        std::vector<std::string> children;
        for (const std::string& child : order_)
            if (child != key && Parent(child) == key)
                children.push_back(child);
        return children;
    }
    void Add(const std::string& path, const std::string& bytes, DirEntry entry) {
        const std::string stripped = Strip(path);
        const std::string key = Upper(stripped);
        const std::string parent = Parent(stripped);
        if (!parent.empty() && !FolderExists(parent))
            AddFolder(parent);
        entry.name = NameOf(stripped);
        if (nodes_.count(key) == 0)
            order_.push_back(key);
        nodes_[key] = Node{std::move(entry), bytes};
    }
    void Erase(std::string key) const { // a copy: the caller may hold the map's own key
        nodes_.erase(key);
        order_.erase(std::find(order_.begin(), order_.end(), key));
    }

    mutable std::map<std::string, Node> nodes_;
    mutable std::vector<std::string> order_; // the order of adding is the listing order
    std::set<std::string> unlistable_;
    std::set<std::string> unreadable_;
    std::set<std::string> unwritable_;
};

} // namespace orvan::testing
