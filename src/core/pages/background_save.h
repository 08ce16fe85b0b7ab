#pragma once
// Writing a small file of the pages (the notes, the clipboard history) on a thread of its
// own, so that a slow disk or a network profile never holds the keystrokes typed meanwhile.
#include "core/ports/file_store.h"

#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <string>

namespace orvan {

// One write runs at a time; of the writes asked for meanwhile only the newest is done, since
// it would replace the others at once. Each write replaces its file crash-safely.
class BackgroundFileSave {
public:
    // done(path, ok) runs on the saving thread after each write; it must not throw and
    // may be empty.
    BackgroundFileSave(const FileStorePort& files,
                       std::function<void(const std::string&, bool)> done = {});
    // Waits for the writes asked for: a file is never left half-written.
    ~BackgroundFileSave();
    BackgroundFileSave(const BackgroundFileSave&) = delete;
    BackgroundFileSave& operator=(const BackgroundFileSave&) = delete;

    void Save(std::string path, std::string bytes);
    // Returns once no write runs or waits.
    void Wait();

private:
    struct Job {
        std::string path;
        std::string bytes;
    };
    void Work();

    const FileStorePort& files_;
    std::function<void(const std::string&, bool)> done_;
    std::mutex mutex_;
    std::condition_variable idle_;
    std::optional<Job> waiting_;
    bool running_ = false;
    std::future<void> worker_;
};

} // namespace orvan
