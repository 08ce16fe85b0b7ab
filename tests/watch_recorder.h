#pragma once
// Records what a folder watch reports on its thread, for the watch tests of both systems.
#include "core/ports/folder_watch.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace orvan::testing {

// Collects what a watch reports on its thread; the test waits for a kind or a named entry
// with a generous bound (the machine may be busy), never for a duration it asserts.
class Recorder {
public:
    FolderWatchPort::Callback Callback() {
        return [this](FolderChange change, std::vector<std::string> entries) {
            const std::lock_guard lock(mutex_);
            changes_.push_back(change);
            if (change != FolderChange::Changed && !entries.empty())
                unexpectedEntries_ = true;
            entries_.insert(entries_.end(), entries.begin(), entries.end());
            arrived_.notify_all();
        };
    }
    bool WaitFor(FolderChange kind, std::chrono::milliseconds bound = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, bound, [&] {
            return std::find(changes_.begin(), changes_.end(), kind) != changes_.end();
        });
    }
    // Waits until a Changed report has named every one of these entries (full core paths).
    bool WaitForEntries(const std::vector<std::string>& wanted,
                        std::chrono::milliseconds bound = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, bound, [&] {
            return std::all_of(wanted.begin(), wanted.end(), [&](const std::string& entry) {
                return std::find(entries_.begin(), entries_.end(), entry) != entries_.end();
            });
        });
    }
    std::vector<std::string> Entries() {
        const std::lock_guard lock(mutex_);
        return entries_;
    }
    // Whether a report other than Changed came with entries.
    bool UnexpectedEntries() {
        const std::lock_guard lock(mutex_);
        return unexpectedEntries_;
    }
    void Clear() {
        const std::lock_guard lock(mutex_);
        changes_.clear();
        entries_.clear();
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<FolderChange> changes_;
    std::vector<std::string> entries_;
    bool unexpectedEntries_ = false;
};

} // namespace orvan::testing
