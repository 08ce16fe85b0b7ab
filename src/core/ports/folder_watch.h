#pragma once
// Watching folders for entries that come and go, so that the catalog can follow the disk
// without rescanning on a timer. A watch waits on the system on a thread of its own; it
// reports through a callback on that thread and never polls.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvan {

enum class FolderChange {
    Changed, // an entry was created, deleted or renamed (a file's content is no change)
    Lost,    // the system dropped changes (its queue overflowed): anything may have changed
    Gone,    // the watched folder itself went away; the watch has stopped
    Failed,  // the watch broke for another reason; it has stopped
};

// A running watch; destroying it stops it and waits until its callback no longer runs.
class FolderWatch {
public:
    virtual ~FolderWatch() = default;
};

class FolderWatchPort {
public:
    // With Changed, the entries the system named: full core paths of what was created,
    // deleted or renamed (a rename gives the old and the new name), in the order reported.
    // Empty when the system did not say which entries changed: then anything below the
    // folder may have. Empty with every other kind.
    using Callback = std::function<void(FolderChange, std::vector<std::string> entries)>;
    virtual ~FolderWatchPort() = default;

    // Starts watching folder (a core path), with everything below it when tree is set. The
    // callback runs on the watch's thread, must not throw and must not destroy the watch.
    // nullptr when the folder cannot be watched (it does not exist, the system refuses).
    virtual std::unique_ptr<FolderWatch> Watch(const std::string& folder, bool tree,
                                               Callback callback) const = 0;
};

} // namespace orvan
