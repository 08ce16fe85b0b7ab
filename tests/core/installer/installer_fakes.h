#pragma once
// In-memory stand-ins for what the installer reaches: a disk that can copy files, tell
// their identities and refuse to touch locked ones; a registry that can refuse keys;
// shortcut files; the user, the clock, the shell and the dialogs; and a resident copy that
// ends after a number of quit requests.
#include "core/base/utf.h"
#include "core/installer/installer.h"

#include "fakes/fixed_folders.h"
#include "fakes/memory_file_system.h"
#include "fakes/memory_registry.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace orvan::testing {

// The in-memory disk with what the installer needs besides. Paths compare without
// letter case, as on Windows.
class InstallDisk final : public FileSystemPort, public FileStorePort {
public:
    MemoryFileSystem disk;
    bool identities = true;            // false: the platform cannot tell file identities
    std::set<std::string> locked;      // cannot be written, replaced or deleted (running files)
    std::set<std::string> uncreatable; // folders that cannot be created
    mutable std::vector<std::string> touched; // every path removed or listed, in order
    mutable int copies = 0;

    bool Enumerate(const std::string& folder, const std::string& pattern,
                   const std::function<bool(const DirEntry&)>& visit) const override {
        touched.push_back(folder);
        return disk.Enumerate(folder, pattern, visit);
    }
    bool RemoveFile(const std::string& path) const override {
        touched.push_back(path);
        return !IsLocked(path) && disk.RemoveFile(path);
    }
    bool RemoveFolder(const std::string& path) const override {
        touched.push_back(path);
        return disk.RemoveFolder(path);
    }
    bool DeleteNoFollow(const std::string& path, bool tree) const override {
        touched.push_back(path);
        return !IsLocked(path) && disk.DeleteNoFollow(path, tree);
    }
    mutable std::vector<std::string> deletedAtRestart; // files the system would delete later
    bool DeleteAfterRestart(const std::string& path) const override {
        deletedAtRestart.push_back(path);
        return true;
    }
    bool FileExists(const std::string& path) const override { return disk.FileExists(path); }
    bool FolderExists(const std::string& path) const override { return disk.FolderExists(path); }
    bool CopyFileReplacing(const std::string& from, const std::string& to) const override {
        ++copies;
        const std::string* content = disk.Content(from);
        if (content == nullptr || IsLocked(to) || !disk.FolderExists(Folder(to)))
            return false;
        const std::string bytes = *content;
        const_cast<MemoryFileSystem&>(disk).AddFile(to, bytes);
        return true;
    }
    std::optional<FileIdentity> IdentityOf(const std::string& path) const override {
        if (!identities)
            return std::nullopt;
        if (const auto alias = aliases_.find(Upper(path)); alias != aliases_.end())
            return IdentityOf(alias->second);
        if (!disk.FileExists(path) && !disk.FolderExists(path))
            return std::nullopt;
        const auto [it, added] = ids_.try_emplace(Upper(path), ids_.size() + 1);
        return FileIdentity{7, it->second};
    }
    // Lets `alias` name the same file as `path`, as a short name or a link would.
    void Alias(const std::string& alias, const std::string& path) { aliases_[Upper(alias)] = path; }

    std::unique_ptr<FileReader> OpenFile(const std::string& path,
                                         FileContent::Status& status) const override {
        return disk.OpenFile(path, status);
    }
    bool ReplaceFileWith(const std::string& path,
                         const std::function<bool(FileWriter&)>& produce) const override {
        return !IsLocked(path) && disk.ReplaceFileWith(path, produce);
    }
    bool CreateFolders(const std::string& path) const override {
        for (const std::string& folder : uncreatable)
            if (Upper(path).rfind(Upper(folder), 0) == 0)
                return false;
        return disk.CreateFolders(path);
    }

private:
    bool IsLocked(const std::string& path) const { return locked.count(Upper(path)) > 0; }
    static std::string Folder(const std::string& path) {
        return path.substr(0, path.find_last_of('\\'));
    }
    mutable std::map<std::string, std::uint64_t> ids_;
    std::map<std::string, std::string> aliases_;
};

// Saved shortcuts by file, and the file itself on the disk so that removals find it.
class FakeLinks final : public ShellLinkPort {
public:
    explicit FakeLinks(InstallDisk& disk) : disk_(disk) {}
    mutable std::vector<std::pair<std::string, ShellLink>> saved; // file, link
    int failAt = -1; // the index of the save that fails; -1: none does

    bool SaveShortcut(const ShellLink& link, const std::string& file) const override {
        if (int(saved.size()) == failAt || !disk_.disk.FolderExists(Folder(file)))
            return false;
        saved.emplace_back(file, link);
        disk_.disk.AddFile(file, "link to " + link.target);
        return true;
    }

private:
    static std::string Folder(const std::string& path) {
        return path.substr(0, path.find_last_of('\\'));
    }
    InstallDisk& disk_;
};

class FakeAccount final : public UserAccountPort {
public:
    std::string name = "alice";
    std::string LogonName() const override { return name; }
};

class SetClock final : public ClockPort {
public:
    double now = 0;
    double Now() const override { return now; }
};

class NamesFromFiles final : public ShellNamePort {
public:
    std::string DisplayName(const std::string& path) const override {
        return path.substr(path.find_last_of('\\') + 1);
    }
};

class OpenRecorder final : public ShellPort {
public:
    mutable std::vector<std::pair<std::string, int>> opened; // file, show command
    mutable std::vector<std::string> parameters;
    std::intptr_t Open(const std::string& file, const std::string& params,
                       const std::string& directory, int showCommand) const override {
        opened.emplace_back(file, showCommand);
        parameters.push_back(params + "|" + directory);
        return 42;
    }
    bool RunAs(std::uintptr_t, const std::string&, const std::string&) const override {
        return false;
    }
    // Starts as the desktop's user, file|parameters|directory, unless `desktopFails`.
    bool desktopFails = false;
    mutable std::vector<std::string> openedAsUser;
    bool OpenAsDesktopUser(const std::string& file, const std::string& params,
                           const std::string& directory) const override {
        openedAsUser.push_back(file + "|" + params + "|" + directory);
        return !desktopFails;
    }
};

class MessageRecorder final : public MessageDialogPort {
public:
    std::vector<std::pair<std::string, std::string>> shown; // title, text
    void ShowMessageDialog(const std::string& title, const std::string& text) override {
        shown.emplace_back(title, text);
    }
};

class ScriptedQuestions final : public QuestionDialogPort {
public:
    DialogAnswer answer = DialogAnswer::No;
    std::vector<std::pair<std::string, std::string>> asked; // title, text
    DialogAnswer AskYesNoCancel(const std::string& title, const std::string& text) override {
        asked.emplace_back(title, text);
        return answer;
    }
};

// A resident copy whose window goes after `quitsToEnd` quit requests (never when negative)
// and whose process ends while waited for unless `processLingers`.
class FakeInstance final : public RunningInstancePort {
public:
    int quitsToEnd = 1;
    bool processLingers = false;
    mutable int quits = 0;
    mutable std::vector<std::uint32_t> pauses;
    mutable std::vector<std::uint32_t> waits;

    bool WaitForExit(std::uint32_t milliseconds) const override {
        waits.push_back(milliseconds);
        return !processLingers;
    }

    bool IsRunning() const override { return quitsToEnd < 0 || quits < quitsToEnd; }
    bool PostQuit() const override {
        if (!IsRunning())
            return false;
        ++quits;
        return true;
    }
    void Pause(std::uint32_t milliseconds) const override { pauses.push_back(milliseconds); }
};

} // namespace orvan::testing
