#include "core/catalog/catalog_save.h"

#include <exception>
#include <utility>

namespace orvan {

BackgroundCatalogSave::BackgroundCatalogSave(const CatalogFileServices& services,
                                             std::function<void()> failed)
    : services_(services), failed_(std::move(failed)) {}

BackgroundCatalogSave::~BackgroundCatalogSave() {
    Wait();
    if (worker_.valid())
        worker_.wait();
}

void BackgroundCatalogSave::Save(std::string optionsFileName, CatalogItems items,
                                 std::shared_ptr<const UseCounts> counts) {
    std::unique_lock lock(mutex_);
    waiting_ = Job{std::move(optionsFileName), std::move(items), std::move(counts)};
    if (running_)
        return; // the running save's thread takes it next
    running_ = true;
    lock.unlock();
    // A thread that found nothing more to do is ending; it is waited for before the next.
    if (worker_.valid())
        worker_.wait();
    worker_ = std::async(std::launch::async, [this] { Work(); });
}

void BackgroundCatalogSave::Work() {
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
        std::string failure;
        try {
            SettingsOptions options;
            options.fileName = std::move(job.optionsFileName);
            options.catalog.items = std::move(job.items);
            if (const FileResult saved = SaveCatalog(options, services_, job.counts.get()); !saved)
                failure = saved.Error();
        } catch (const std::exception& error) {
            // Out of memory while writing: the file store has left the old file in place.
            failure = error.what();
        }
        if (failure.empty())
            continue;
        {
            const std::lock_guard lock(mutex_);
            failures_.push_back(std::move(failure));
        }
        if (failed_)
            failed_();
    }
}

void BackgroundCatalogSave::Wait() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !running_; });
}

std::vector<std::string> BackgroundCatalogSave::TakeFailures() {
    const std::lock_guard lock(mutex_);
    return std::exchange(failures_, {});
}

} // namespace orvan
