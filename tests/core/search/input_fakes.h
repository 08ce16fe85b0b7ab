#pragma once
// In-memory stand-ins for what the input steps, the details area and launching reach
// through: a small disk with Windows naming rules (drive letters, letter case ignored,
// wildcard listings), the shell, version resources, volumes, the clock, the message dialog
// and the search window; plus a guard that sets the locale for one test.
#include "core/base/utf.h"
#include "core/ports/clock.h"
#include "core/ports/file_system.h"
#include "core/ports/locale.h"
#include "core/ports/message_dialog.h"
#include "core/ports/search_window.h"
#include "core/ports/shell.h"
#include "core/ports/version_info.h"
#include "core/ports/volume.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace orvan::testing {

class FakeFiles final : public FileSystemPort {
public:
    FakeFiles() { AddFolder("C:\\"); }

    void AddFolder(const std::string& path, std::uint32_t attributes = 0) {
        Add(path, attributes | FileAttribute::Directory, 0);
    }
    void AddFile(const std::string& path, std::uint64_t size = 0, std::uint32_t attributes = 0,
                 double lastWrite = 0) {
        Add(path, attributes == 0 ? FileAttribute::Archive : attributes, size, lastWrite);
    }
    // The folder exists but its listing fails (no access, or it vanished meanwhile).
    void MakeUnlistable(const std::string& path) { unlistable_.insert(Key(path)); }

    mutable int enumerations = 0;
    mutable std::vector<std::string> patterns; // every pattern asked for

    bool Enumerate(const std::string& folder, const std::string& pattern,
                   const std::function<bool(const DirEntry&)>& visit) const override {
        ++enumerations;
        patterns.push_back(pattern);
        const std::string key = Key(folder);
        const auto self = nodes_.find(key);
        if (self == nodes_.end() || !IsFolder(self->second) || unlistable_.count(key) != 0)
            return false;
        std::vector<DirEntry> entries;
        if (key.size() > 2) // every folder but a drive root has "." and ".."
            for (const char* dot : {".", ".."})
                entries.push_back({dot, FileAttribute::Directory, 0, 0});
        for (const std::string& childKey : order_) {
            const Node& node = nodes_.at(childKey);
            if (Key(Parent(node.path)) == key && childKey != key)
                entries.push_back(node.entry);
        }
        for (const DirEntry& entry : entries)
            if (Matches(Upper(pattern), Upper(entry.name)) && !visit(entry))
                break;
        return true;
    }
    bool RemoveFile(const std::string&) const override { return false; }
    bool RemoveFolder(const std::string&) const override { return false; }
    bool FileExists(const std::string& path) const override {
        const auto it = nodes_.find(Key(path));
        return it != nodes_.end() && !IsFolder(it->second) && !EndsWithDelimiter(path);
    }
    bool FolderExists(const std::string& path) const override {
        const auto it = nodes_.find(Key(path));
        return it != nodes_.end() && IsFolder(it->second);
    }

private:
    struct Node {
        std::string path;
        DirEntry entry;
    };

    static bool IsFolder(const Node& node) {
        return (node.entry.attributes & FileAttribute::Directory) != 0;
    }
    static bool EndsWithDelimiter(const std::string& path) {
        return !path.empty() && path.back() == '\\';
    }
    static std::string Strip(std::string path) {
        while (path.size() > 2 && path.back() == '\\')
            path.pop_back();
        if (path.size() == 3 && path[1] == ':')
            path.pop_back();
        return path;
    }
    static std::string Key(const std::string& path) { return Upper(Strip(path)); }
    static std::string Parent(const std::string& path) {
        const std::string stripped = Strip(path);
        const std::size_t cut = stripped.rfind('\\');
        return cut == std::string::npos ? std::string() : stripped.substr(0, cut + 1);
    }
    static std::string NameOf(const std::string& path) {
        const std::string stripped = Strip(path);
        const std::size_t cut = stripped.rfind('\\');
        return cut == std::string::npos ? stripped : stripped.substr(cut + 1);
    }
    // '*' any run, '?' one character; both sides already in upper case.
    static bool Matches(std::string_view pattern, std::string_view name) {
        if (pattern.empty())
            return name.empty();
        if (pattern.front() == '*')
            return Matches(pattern.substr(1), name) ||
                   (!name.empty() && Matches(pattern, name.substr(1)));
        if (name.empty())
            return false;
        return (pattern.front() == '?' || pattern.front() == name.front()) &&
               Matches(pattern.substr(1), name.substr(1));
    }

    void Add(const std::string& path, std::uint32_t attributes, std::uint64_t size,
             double lastWrite = 0) {
        const std::string parent = Parent(path);
        if (!parent.empty() && !FolderExists(parent))
            AddFolder(parent);
        const std::string key = Key(path);
        if (nodes_.count(key) == 0)
            order_.push_back(key);
        nodes_[key] = Node{Strip(path), DirEntry{NameOf(path), attributes, size, lastWrite}};
    }

    std::map<std::string, Node> nodes_;
    std::vector<std::string> order_; // the order of creation is the listing order
    std::set<std::string> unlistable_;
};

class FixedClock final : public ClockPort {
public:
    explicit FixedClock(double now) : now_(now) {}
    double Now() const override { return now_; }
    void Set(double now) { now_ = now; }

private:
    double now_;
};

class FakeVersionInfo final : public VersionInfoPort {
public:
    std::map<std::string, ShellFileFacts> facts;
    std::map<std::string, VersionResource> resources;

    ShellFileFacts ShellFacts(const std::string& path) const override {
        const auto it = facts.find(path);
        return it == facts.end() ? ShellFileFacts{} : it->second;
    }
    std::optional<VersionResource> ReadVersionResource(const std::string& path) const override {
        const auto it = resources.find(path);
        if (it == resources.end())
            return std::nullopt;
        return it->second;
    }
};

class FakeVolumes final : public VolumePort {
public:
    std::map<char32_t, std::string> labels; // by letter as asked
    std::map<int, DiskFigures> disks;       // by drive number
    mutable std::vector<char32_t> labelRequests;

    std::string VolumeLabel(char32_t letter) const override {
        labelRequests.push_back(letter);
        const auto it = labels.find(letter);
        return it == labels.end() ? std::string() : it->second;
    }
    DiskFigures Disk(int driveNumber, const std::string&) const override {
        const auto it = disks.find(driveNumber);
        return it == disks.end() ? DiskFigures{} : it->second;
    }
};

class FakeShell final : public ShellPort {
public:
    struct OpenCall {
        std::string file;
        std::string parameters;
        std::string directory;
        int showCommand;
        bool operator==(const OpenCall&) const = default;
    };
    std::intptr_t answer = 42;
    mutable std::vector<OpenCall> opened;

    std::intptr_t Open(const std::string& file, const std::string& parameters,
                       const std::string& directory, int showCommand) const override {
        opened.push_back({file, parameters, directory, showCommand});
        return answer;
    }
    bool RunAs(std::uintptr_t, const std::string&, const std::string&) const override {
        return false;
    }
};

class RecordingMessages final : public MessageDialogPort {
public:
    std::vector<std::pair<std::string, std::string>> shown; // title, text
    void ShowMessageDialog(const std::string& title, const std::string& text) override {
        shown.emplace_back(title, text);
    }
};

class RecordingWindow final : public SearchWindowPort {
public:
    int closeRequests = 0;
    void RequestClose() override { ++closeRequests; }
};

// Sets the current locale for the lifetime of the guard.
class LocaleScope {
public:
    explicit LocaleScope(const LocaleSettings& settings) : saved_(CurrentLocale()) {
        SetCurrentLocale(settings);
    }
    ~LocaleScope() { SetCurrentLocale(saved_); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    LocaleSettings saved_;
};

inline LocaleSettings UsLocale() {
    LocaleSettings l;
    l.decimalSeparator = ".";
    l.thousandSeparator = ",";
    l.shortDateFormat = "M/d/yyyy";
    l.longTimeFormat = "h:mm:ss tt";
    return l;
}

inline LocaleSettings GermanLocale() {
    LocaleSettings l;
    l.decimalSeparator = ",";
    l.thousandSeparator = ".";
    l.shortDateFormat = "dd.MM.yyyy";
    l.longTimeFormat = "HH:mm:ss";
    return l;
}

} // namespace orvan::testing
