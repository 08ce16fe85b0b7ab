// Folder watches with inotify. inotify watches one folder, not a tree, so a tree gets a
// watch per folder, and folders created later get theirs when their creation is read. One
// thread per watch waits in poll on the inotify descriptor and an eventfd that stops it.
#include "platform/native.h"

#include "core/config/path_convert.h"

#include <dirent.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <thread>
#include <vector>

namespace orvan::platform {

namespace {

constexpr std::uint32_t kEntryEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr std::uint32_t kSelfEvents = IN_DELETE_SELF | IN_MOVE_SELF;

class InotifyWatch final : public FolderWatch {
public:
    InotifyWatch(int inotify, int stop, bool tree, FolderWatchPort::Callback callback)
        : inotify_(inotify), stop_(stop), tree_(tree), callback_(std::move(callback)) {}
    ~InotifyWatch() override {
        if (thread_.joinable()) {
            const std::uint64_t one = 1;
            // The thread ends on the eventfd's readiness; a failed write cannot happen on a
            // counter this far from its limit.
            [[maybe_unused]] const ssize_t written = write(stop_, &one, sizeof one);
            thread_.join();
        }
        close(inotify_);
        close(stop_);
    }
    InotifyWatch(const InotifyWatch&) = delete;
    InotifyWatch& operator=(const InotifyWatch&) = delete;

    // Watches folder and, for a tree, the folders below it that the scanner would enter.
    bool Add(const std::string& folder, bool root) {
        const int wd = inotify_add_watch(inotify_, folder.c_str(),
                                         kEntryEvents | kSelfEvents | IN_ONLYDIR | IN_DONT_FOLLOW);
        if (wd < 0)
            return false;
        folders_[wd] = folder;
        if (root)
            root_ = wd;
        if (tree_)
            AddBelow(folder);
        return true;
    }

    void Run() {
        thread_ = std::thread([this] { Loop(); });
    }

private:
    void AddBelow(const std::string& folder) {
        DIR* dir = opendir(folder.c_str());
        if (dir == nullptr)
            return;
        while (const dirent* entry = readdir(dir)) {
            // Links and dot folders are never entered by the scanner; a folder that cannot
            // be watched (the system's watch limit) is left unwatched.
            if (entry->d_name[0] == '.')
                continue;
            const std::string path = folder + "/" + entry->d_name;
            struct stat facts {};
            const bool isFolder = entry->d_type == DT_UNKNOWN
                                      ? lstat(path.c_str(), &facts) == 0 && S_ISDIR(facts.st_mode)
                                      : entry->d_type == DT_DIR;
            if (isFolder)
                Add(path, false);
        }
        closedir(dir);
    }

    void Loop() {
        alignas(inotify_event) char buffer[16384];
        for (;;) {
            pollfd fds[2] = {{inotify_, POLLIN, 0}, {stop_, POLLIN, 0}};
            if (poll(fds, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                callback_(FolderChange::Failed, {});
                return;
            }
            if (fds[1].revents != 0)
                return;
            const ssize_t length = read(inotify_, buffer, sizeof buffer);
            if (length <= 0) {
                if (length < 0 && (errno == EINTR || errno == EAGAIN))
                    continue;
                callback_(FolderChange::Failed, {});
                return;
            }
            bool changed = false;
            bool lost = false;
            bool gone = false;
            std::vector<std::string> entries;
            for (ssize_t at = 0; at < length;) {
                inotify_event event{};
                std::memcpy(&event, buffer + at, sizeof event);
                const char* name = buffer + at + sizeof event;
                at += static_cast<ssize_t>(sizeof event + event.len);
                if ((event.mask & IN_Q_OVERFLOW) != 0) {
                    lost = true;
                    continue;
                }
                const auto folder = folders_.find(event.wd);
                if (folder == folders_.end())
                    continue;
                if ((event.mask & (kSelfEvents | IN_IGNORED)) != 0) {
                    if (event.wd == root_)
                        gone = true;
                    else if ((event.mask & IN_IGNORED) != 0)
                        folders_.erase(folder);
                    continue;
                }
                if ((event.mask & kEntryEvents) == 0)
                    continue;
                changed = true;
                // An entry event always carries the entry's name (padded with zeros).
                const std::string entry =
                    event.len > 0
                        ? folder->second + "/" + std::string(name, ::strnlen(name, event.len))
                        : folder->second;
                entries.push_back(NativeToCorePath(entry));
                if (tree_ && (event.mask & (IN_CREATE | IN_MOVED_TO)) != 0 &&
                    (event.mask & IN_ISDIR) != 0 && event.len > 0 && name[0] != '.')
                    Add(entry, false);
            }
            if (gone) {
                callback_(FolderChange::Gone, {});
                return;
            }
            if (lost)
                callback_(FolderChange::Lost, {});
            else if (changed)
                callback_(FolderChange::Changed, std::move(entries));
        }
    }

    int inotify_;
    int stop_;
    bool tree_;
    int root_ = -1;
    FolderWatchPort::Callback callback_;
    std::map<int, std::string> folders_; // only the watch's thread touches it once running
    std::thread thread_;
};

class InotifyWatchPort final : public FolderWatchPort {
public:
    std::unique_ptr<FolderWatch> Watch(const std::string& folder, bool tree,
                                       Callback callback) const override {
        std::string native = CoreToNativePath(folder);
        while (native.size() > 1 && native.back() == '/')
            native.pop_back();
        const int inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (inotify < 0)
            return nullptr;
        const int stop = eventfd(0, EFD_CLOEXEC);
        if (stop < 0) {
            close(inotify);
            return nullptr;
        }
        auto watch = std::make_unique<InotifyWatch>(inotify, stop, tree, std::move(callback));
        if (!watch->Add(native, true))
            return nullptr;
        watch->Run();
        return watch;
    }
};

} // namespace

const FolderWatchPort& FolderWatches() {
    static const InotifyWatchPort port;
    return port;
}

} // namespace orvan::platform
