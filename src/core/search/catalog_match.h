#pragma once
#include "core/catalog/catalog_index.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace orvan {

// Positions of the index whose key holds query (already upper-cased), ascending, at most
// one per run of entries with equal display name and path.
std::vector<std::uint32_t> MatchCatalogKeys(const CatalogSearchIndex& index,
                                            std::string_view query);

} // namespace orvan
