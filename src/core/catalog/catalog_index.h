#pragma once
// Search keys of a published catalog, derived once so that a keystroke neither builds nor
// upper-cases a million strings. Entries are laid out in the order the candidate list is
// shown in (display name by UTF-16 code unit, then path), so matches come out sorted and
// entries with the same name and path sit next to each other.
#include "core/catalog/catalog.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvan {

class CatalogSearchIndex {
public:
    CatalogSearchIndex() : keys_(kKeyPadding, '\0') {}
    explicit CatalogSearchIndex(const std::vector<CatalogItem>& items);

    std::size_t size() const { return order_.size(); }

    // The catalog index of the entry at a position of the display order.
    std::uint32_t ItemAt(std::size_t position) const { return order_[position]; }

    // All keys in display order, each followed by one '\0' (a filler only: matches are
    // bounded by KeyStart, so keys may hold any byte).
    std::string_view Keys() const {
        return std::string_view(keys_).substr(0, keys_.size() - kKeyPadding);
    }
    // Zero bytes after Keys() that block-wise readers may load (never match against).
    static constexpr std::size_t kKeyPadding = 64;
    // Where the key of a position starts in Keys(); KeyStart(size()) is the end.
    std::size_t KeyStart(std::size_t position) const { return keyStart_[position]; }
    std::string_view KeyAt(std::size_t position) const {
        return std::string_view(keys_).substr(keyStart_[position],
                                              keyStart_[position + 1] - keyStart_[position] - 1);
    }

    // False when the entry at this position has the same display name and path as the one
    // before it.
    bool StartsGroup(std::size_t position) const { return groupStart_[position] != 0; }
    // The first position after the group that the position belongs to.
    std::size_t GroupEnd(std::size_t position) const {
        ++position;
        while (position < order_.size() && groupStart_[position] == 0)
            ++position;
        return position;
    }

    // How often a byte occurs in Keys(); lets a search look for the query's rarest byte.
    std::uint64_t ByteCount(unsigned char byte) const { return byteCount_[byte]; }

    // For an ASCII byte, one bit per position, set where the key holds that byte: a text of
    // one character is answered from these bits without reading a key. Empty when no key
    // holds the byte.
    const std::vector<std::uint64_t>& Presence(unsigned char byte) const {
        return byte < 128 ? presence_[byte] : presence_[0];
    }

    // The positions [first, last) whose entries have exactly this display name and path.
    std::pair<std::size_t, std::size_t> FindPair(const std::vector<CatalogItem>& items,
                                                 std::string_view name,
                                                 std::string_view path) const;

private:
    // Sets the position's bit in the presence bits of every ASCII byte its key holds.
    void MarkPresentBytes(std::size_t position, std::string_view key);
    // Counts the bytes of the keys and their fillers.
    void CountBytes(std::string_view keysWithoutFillers);

    std::vector<std::uint32_t> order_;
    std::vector<std::uint32_t> keyStart_;
    std::string keys_;
    std::vector<std::uint8_t> groupStart_; // a byte each: read on every match
    std::array<std::uint64_t, 256> byteCount_{};
    std::array<std::vector<std::uint64_t>, 128> presence_; // [0] stays empty
};

} // namespace orvan
