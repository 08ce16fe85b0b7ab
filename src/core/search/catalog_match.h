#pragma once
#include "core/catalog/catalog_index.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace orvan {

// Fills rows with the positions of the index whose key holds query (already upper-cased),
// ascending, at most one per run of entries with equal display name and path. The vector's
// storage is reused from one query to the next.
void MatchCatalogKeys(const CatalogSearchIndex& index, std::string_view query,
                      std::vector<std::uint32_t>& rows);

} // namespace orvan
