#pragma once
// Records what a folder watch reports on its thread, for the watch tests of both systems.
#include "core/ports/folder_watch.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace orvan::testing {

// Collects what a watch reports on its thread; the test waits for a kind with a generous
// bound (the machine may be busy), never for a duration it asserts.
class Recorder {
public:
    FolderWatchPort::Callback Callback() {
        return [this](FolderChange change) {
            const std::lock_guard lock(mutex_);
            changes_.push_back(change);
            arrived_.notify_all();
        };
    }
    bool WaitFor(FolderChange kind, std::chrono::milliseconds bound = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, bound, [&] {
            for (FolderChange change : changes_)
                if (change == kind)
                    return true;
            return false;
        });
    }
    void Clear() {
        const std::lock_guard lock(mutex_);
        changes_.clear();
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<FolderChange> changes_;
};

} // namespace orvan::testing
