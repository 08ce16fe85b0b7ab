#include "core/pages/background_save.h"

#include <exception>
#include <utility>

namespace orvan {

BackgroundFileSave::BackgroundFileSave(const FileStorePort& files,
                                       std::function<void(const std::string&, bool)> done)
    : files_(files), done_(std::move(done)) {}

BackgroundFileSave::~BackgroundFileSave() {
    Wait();
    if (worker_.valid())
        worker_.wait();
}

void BackgroundFileSave::Save(std::string path, std::string bytes) {
    std::unique_lock lock(mutex_);
    waiting_ = Job{std::move(path), std::move(bytes)};
    if (running_)
        return; // the running write's thread takes it next
    running_ = true;
    lock.unlock();
    if (worker_.valid())
        worker_.wait();
    worker_ = std::async(std::launch::async, [this] { Work(); });
}

void BackgroundFileSave::Work() {
    for (;;) {
        Job job;
        {
            const std::lock_guard lock(mutex_);
            if (!waiting_) {
                running_ = false;
                idle_.notify_all();
                return;
            }
            job = std::move(*waiting_);
            waiting_.reset();
        }
        bool ok = false;
        try {
            ok = files_.ReplaceWholeFile(job.path, job.bytes);
        } catch (const std::exception&) {
            ok = false; // out of memory: the file store has left the old file in place
        }
        if (done_)
            done_(job.path, ok);
    }
}

void BackgroundFileSave::Wait() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !running_; });
}

} // namespace orvan
