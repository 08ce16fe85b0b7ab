#pragma once
// What ordering matches by how well they fit needs to know of each entry beyond its search
// key: where the display name lies in the key, and where its words start, the capitals
// inside a word included (which the upper-cased key no longer shows). Made once per
// published catalog, the first time a list is ordered by relevance.
#include "core/catalog/catalog.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace orvan {

class CatalogSearchIndex;

// Bytes that belong to words: ASCII letters and digits, and every byte of a non-ASCII
// character. Blanks and ASCII punctuation separate words.
constexpr bool IsWordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u >= 0x80;
}

class RelevanceIndex {
public:
    RelevanceIndex() = default;
    RelevanceIndex(const std::vector<CatalogItem>& items, const CatalogSearchIndex& index);

    // The display name's part of the key at a position of the display order (the part after
    // the last backslash or colon of a name that holds one), upper-cased as the key is.
    std::string_view Name(const CatalogSearchIndex& index, std::size_t position) const;
    // Bit i is set where a word of that name starts, for its first 64 bytes.
    std::uint64_t WordStarts(std::size_t position) const { return wordStarts_[position]; }
    static constexpr std::size_t kWordStartBits = 64;
    // For an ASCII byte (upper-cased), one bit per position, set where a word of the name
    // starts with it; empty when none does.
    const std::vector<std::uint64_t>& WordStartPresence(unsigned char byte) const {
        return byte < 128 ? wordStartPresence_[byte] : wordStartPresence_[0];
    }

private:
    void MarkWordStarts(std::size_t position, std::size_t count, std::string_view written);

    std::vector<std::uint32_t> nameSpan_; // begin within the key << 16 | length, both capped
    std::vector<std::uint64_t> wordStarts_;
    std::array<std::vector<std::uint64_t>, 128> wordStartPresence_; // [0] stays empty
};

// Where words start in a name as written: after a separator, and at a capital that follows
// a small letter ("YouTube": at Y and T). For the first 64 bytes.
std::uint64_t FindWordStarts(std::string_view name);

} // namespace orvan
