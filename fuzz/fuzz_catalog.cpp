// Catalog files of any content through the platform's XML reader: never a crash or a hang,
// and whatever was read is written and read back unchanged.
#include "core/catalog/catalog_file.h"
#include "platform/native.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view document(reinterpret_cast<const char*>(data), size);
    const orvan::CatalogReadResult read =
        orvan::ParseCatalog(document, orvan::platform::XmlReader());
    const orvan::CatalogReadResult again =
        orvan::ParseCatalog(orvan::SerializeCatalog(read.items), orvan::platform::XmlReader());
    if (!again.status.Ok() || again.items.size() != read.items.size())
        std::abort();
    for (std::size_t i = 0; i < read.items.size(); ++i)
        if (again.items[i].path != read.items[i].path ||
            again.items[i].name != read.items[i].name ||
            again.items[i].priority != read.items[i].priority)
            std::abort();
    return 0;
}
