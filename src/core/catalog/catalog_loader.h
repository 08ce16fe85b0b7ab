#pragma once
// Reads the catalog file on a thread of its own, so that the launcher answers the hot key
// and shows its tray icon at once, whatever the size of its catalog. The result is taken
// on the thread that started the load and published there in one step.
#include "core/base/file_result.h"
#include "core/catalog/catalog.h"
#include "core/catalog/catalog_file.h"

#include <functional>
#include <future>
#include <string>

namespace orvan {

struct LoadedCatalog {
    CatalogItems items;
    FileResult status; // failed when reading stopped early, saying why
};

class CatalogLoader {
public:
    CatalogLoader() = default;
    // Waits for a load still running: its thread reads objects that the owner may free.
    ~CatalogLoader();
    CatalogLoader(const CatalogLoader&) = delete;
    CatalogLoader& operator=(const CatalogLoader&) = delete;

    // Starts reading the catalog file. `finished` runs on the loading thread when the result
    // is ready (a window posts itself a message from it); it must not throw.
    void Start(const std::string& fileName, const CatalogFileServices& services,
               std::function<void()> finished = {});
    // Whether a started load has not been taken yet.
    bool Pending() const { return result_.valid(); }
    // Waits for the load to end and hands its result over; the empty catalog when no load
    // is pending.
    LoadedCatalog Take();

private:
    std::future<LoadedCatalog> result_;
};

} // namespace orvan
