#pragma once
// In-memory stand-ins for the file system, the file store, special folders, the shell and
// the XML reader's callers: a small disk in core path form ("C:\dir\file") with Windows
// listing rules (case-insensitive names and wildcards, "." and ".." first).
#include "core/base/utf.h"
#include "core/ports/file_store.h"
#include "core/ports/file_system.h"
#include "core/ports/special_folders.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orvan::testing {

class FakeDisk final : public FileSystemPort, public FileStorePort {
public:
    FakeDisk() { AddFolder("C:\\"); }

    void AddFolder(const std::string& path, std::uint32_t attributes = 0) {
        const std::string key = Key(path);
        if (key.size() > 2 && !FolderExists(Parent(path)))
            AddFolder(Parent(path));
        Node& node = nodes_[key];
        node.path = Strip(path);
        node.folder = true;
        node.attributes = attributes | FileAttribute::Directory;
    }
    void AddFile(const std::string& path, const std::string& content = "",
                 std::uint32_t attributes = 0) {
        if (!FolderExists(Parent(path)))
            AddFolder(Parent(path));
        Node& node = nodes_[Key(path)];
        node.path = Strip(path);
        node.folder = false;
        node.attributes = attributes | FileAttribute::Archive;
        node.bytes = content;
    }
    const std::string* Content(const std::string& path) const {
        const auto it = nodes_.find(Key(path));
        return it == nodes_.end() || it->second.folder ? nullptr : &it->second.bytes;
    }

    // Failure injection for the store.
    bool failWrites = false;
    bool failCreateFolders = false;
    std::vector<std::string> unreadable;
    std::vector<std::string> unwritable;
    mutable int enumerations = 0;

    bool Enumerate(const std::string& folder, const std::string& pattern,
                   const std::function<bool(const DirEntry&)>& visit) const override {
        ++enumerations;
        const auto self = nodes_.find(Key(folder));
        if (self == nodes_.end() || !self->second.folder)
            return false;
        std::vector<const Node*> children;
        for (const auto& [key, node] : nodes_)
            if (key != self->first && Key(Parent(node.path)) == self->first)
                children.push_back(&node);
        std::vector<DirEntry> entries;
        if (self->first.size() > 2) // every folder but a drive root has "." and ".."
            for (const char* dot : {".", ".."})
                entries.push_back({dot, FileAttribute::Directory, 0, 0});
        for (const Node* node : children)
            entries.push_back({Name(node->path), node->attributes, node->bytes.size(), 0});
        for (const DirEntry& entry : entries)
            if (Matches(pattern, entry.name) && !visit(entry))
                break;
        return true;
    }
    bool RemoveFile(const std::string& path) const override { return nodes_.erase(Key(path)) > 0; }
    bool RemoveFolder(const std::string& path) const override {
        return nodes_.erase(Key(path)) > 0;
    }
    bool FileExists(const std::string& path) const override { return Content(path) != nullptr; }
    bool FolderExists(const std::string& path) const override {
        const auto it = nodes_.find(Key(path));
        return it != nodes_.end() && it->second.folder;
    }

    std::unique_ptr<FileReader> OpenFile(const std::string& path,
                                         FileContent::Status& status) const override {
        for (const std::string& u : unreadable)
            if (Key(u) == Key(path)) {
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
        if (failWrites || !FolderExists(Parent(path)))
            return false;
        for (const std::string& u : unwritable)
            if (Key(u) == Key(path))
                return false;
        Writer writer;
        if (!produce(writer))
            return false;
        Node& node = nodes_[Key(path)];
        node.path = Strip(path);
        node.folder = false;
        node.attributes = FileAttribute::Archive;
        node.bytes = std::move(writer.bytes);
        return true;
    }
    // How many bytes a read hands out at most, to test readers that get short pieces.
    std::size_t readPiece = 7;

    bool CreateFolders(const std::string& path) const override {
        if (failCreateFolders)
            return false;
        const_cast<FakeDisk*>(this)->AddFolder(path);
        return true;
    }

private:
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

    struct Node {
        std::string path;
        bool folder = false;
        std::uint32_t attributes = 0;
        std::string bytes;
    };

    static std::string Strip(std::string path) {
        while (path.size() > 2 && path.back() == '\\')
            path.pop_back();
        if (path.size() == 3 && path[1] == ':')
            path.pop_back();
        return path;
    }
    static std::string Key(const std::string& path) { return Upper(Strip(path)); }
    static std::string Parent(const std::string& path) {
        const std::string s = Strip(path);
        const std::size_t cut = s.find_last_of('\\');
        return cut == std::string::npos ? s : s.substr(0, cut);
    }
    static std::string Name(const std::string& path) {
        const std::size_t cut = path.find_last_of('\\');
        return cut == std::string::npos ? path : path.substr(cut + 1);
    }
    static bool Wild(std::string_view p, std::string_view n) {
        if (p.empty())
            return n.empty();
        if (p.front() == '*')
            return Wild(p.substr(1), n) || (!n.empty() && Wild(p, n.substr(1)));
        return !n.empty() && (p.front() == '?' || p.front() == n.front()) &&
               Wild(p.substr(1), n.substr(1));
    }
    static bool Matches(const std::string& pattern, const std::string& name) {
        const std::string p = Upper(pattern);
        const std::string n = Upper(name);
        if (Wild(p, n))
            return true;
        return p.size() >= 2 && p.substr(p.size() - 2) == ".*" &&
               Wild(std::string_view(p).substr(0, p.size() - 2), n);
    }

    mutable std::map<std::string, Node> nodes_;
};

class FakeFolders final : public SpecialFolderPort {
public:
    std::map<int, std::string> folders;
    std::string GetSpecialFolder(int folderNumber) const override {
        const auto it = folders.find(folderNumber);
        return it == folders.end() ? std::string() : it->second;
    }
};

} // namespace orvan::testing
