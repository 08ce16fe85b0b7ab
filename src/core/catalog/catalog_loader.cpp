#include "core/catalog/catalog_loader.h"

#include <exception>

namespace orvan {

CatalogLoader::~CatalogLoader() {
    if (result_.valid())
        result_.wait();
}

void CatalogLoader::Start(const std::string& fileName, const CatalogFileServices& services,
                          std::function<void()> finished) {
    if (result_.valid())
        result_.wait();
    const FileStorePort* files = &services.files;
    const XmlReaderPort* xml = &services.xml;
    result_ = std::async(std::launch::async, [fileName, files, xml, finished] {
        LoadedCatalog loaded;
        try {
            CatalogReadResult read = ReadCatalogFile(fileName, *files, *xml);
            loaded.items = CatalogItems(std::move(read.items));
            loaded.status = std::move(read.status);
        } catch (const std::exception& error) {
            // Out of memory on a huge file: start with no catalog rather than not at all.
            loaded.status = FileResult::Failure(error.what());
        }
        if (finished)
            finished();
        return loaded;
    });
}

LoadedCatalog CatalogLoader::Take() {
    if (!result_.valid())
        return {};
    return result_.get();
}

} // namespace orvan
