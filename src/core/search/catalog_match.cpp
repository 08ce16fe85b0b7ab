#include "core/search/catalog_match.h"

#include <algorithm>
#include <cstring>

namespace orvan {

namespace {

// The query byte that occurs least often in the keys: searching for it stops at the fewest
// places that then need a full comparison.
std::size_t RarestByte(const CatalogSearchIndex& index, std::string_view query) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < query.size(); ++i)
        if (index.ByteCount(static_cast<unsigned char>(query[i])) <
            index.ByteCount(static_cast<unsigned char>(query[best])))
            best = i;
    return best;
}

} // namespace

std::vector<std::uint32_t> MatchCatalogKeys(const CatalogSearchIndex& index,
                                            std::string_view query) {
    std::vector<std::uint32_t> rows;
    const std::size_t count = index.size();
    if (count == 0)
        return rows;
    if (query.empty()) { // every key holds the empty text
        for (std::size_t p = 0; p < count; p = index.GroupEnd(p))
            rows.push_back(static_cast<std::uint32_t>(p));
        return rows;
    }
    const std::string_view keys = index.Keys();
    const char* const base = keys.data();
    const std::size_t anchor = RarestByte(index, query);
    const char anchorByte = query[anchor];
    const std::size_t length = query.size();

    std::size_t p = 0;         // the position whose key the search is in
    std::size_t from = anchor; // where the anchor byte is looked for next
    while (from < keys.size()) {
        const void* found = std::memchr(base + from, anchorByte, keys.size() - from);
        if (found == nullptr)
            break;
        const std::size_t hit = static_cast<std::size_t>(static_cast<const char*>(found) - base);
        const std::size_t start = hit - anchor;
        // Move p to the key that holds start: mostly the next one, else a binary search.
        if (index.KeyStart(p + 1) <= start) {
            if (index.KeyStart(p + 2) > start) {
                ++p;
            } else {
                std::size_t low = p + 2;
                std::size_t high = count; // KeyStart(high) > start always holds
                while (low < high) {
                    const std::size_t mid = low + (high - low) / 2;
                    if (index.KeyStart(mid + 1) <= start)
                        low = mid + 1;
                    else
                        high = mid;
                }
                p = low;
            }
        }
        const std::size_t keyEnd = index.KeyStart(p + 1) - 1; // the filler byte
        if (start + length <= keyEnd && std::memcmp(base + start, query.data(), length) == 0) {
            rows.push_back(static_cast<std::uint32_t>(p));
            p = index.GroupEnd(p);
            if (p >= count)
                break;
            from = index.KeyStart(p) + anchor;
        } else {
            from = hit + 1;
        }
    }
    return rows;
}

} // namespace orvan
