#pragma once
// Writing the catalog file on a thread of its own: 100 000 entries take long enough to write
// that a save on the interface thread would hold the keystrokes typed meanwhile.
#include "core/catalog/catalog.h"
#include "core/catalog/catalog_file.h"

#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace orvan {

// One save runs at a time, so that the file is never written twice at once. A save asked
// for while one runs waits for it; of several waiting, only the newest is written, since it
// would replace the others at once.
class BackgroundCatalogSave {
public:
    // failed runs on the saving thread after a save failed (its text is kept for
    // TakeFailures); it must not throw. May be empty.
    BackgroundCatalogSave(const CatalogFileServices& services, std::function<void()> failed = {});
    // Waits for the saves asked for: the file is never left half-written.
    ~BackgroundCatalogSave();
    BackgroundCatalogSave(const BackgroundCatalogSave&) = delete;
    BackgroundCatalogSave& operator=(const BackgroundCatalogSave&) = delete;

    // Writes these entries to the catalog file beside the options file optionsFileName.
    // The entries are shared, not copied.
    // counts, when given, are written as the entries' priorities.
    void Save(std::string optionsFileName, CatalogItems items,
              std::shared_ptr<const UseCounts> counts = nullptr);
    // Returns once no save runs or waits: before the file is written another way or read.
    void Wait();
    // What the saves that failed since the last call said, oldest first.
    std::vector<std::string> TakeFailures();

private:
    struct Job {
        std::string optionsFileName;
        CatalogItems items;
        std::shared_ptr<const UseCounts> counts;
    };
    void Work();

    const CatalogFileServices services_;
    std::function<void()> failed_;
    std::mutex mutex_;
    std::condition_variable idle_;
    std::optional<Job> waiting_;
    bool running_ = false;
    std::vector<std::string> failures_;
    std::future<void> worker_;
};

} // namespace orvan
