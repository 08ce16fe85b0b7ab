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
    using Bits = std::vector<std::uint64_t>; // one bit per position of the display order

    RelevanceIndex() = default;
    RelevanceIndex(const std::vector<CatalogItem>& items, const CatalogSearchIndex& index);

    // The display name's part of the key at a position of the display order (the part after
    // the last backslash or colon of a name that holds one), upper-cased as the key is.
    std::string_view Name(const CatalogSearchIndex& index, std::size_t position) const;
    // Bit i is set where a word of that name starts, for its first 64 bytes.
    std::uint64_t WordStarts(std::size_t position) const { return wordStarts_[position]; }
    // How often each letter A to Z occurs in the name, two bits each (bits 2i and 2i+1 for
    // the i-th letter), counting 3 for three or more.
    std::uint64_t LetterCounts(std::size_t position) const { return letterCounts_[position]; }
    static constexpr std::size_t kWordStartBits = 64;

    // Per ASCII byte (upper-cased as the keys hold it), the positions whose name: holds it,
    // starts with it, has a word starting with it, has a word of it alone (between
    // separators). Empty where no name does; every non-ASCII byte answers empty.
    const Bits& NamePresence(unsigned char byte) const { return Of(namePresence_, byte); }
    const Bits& NameStartPresence(unsigned char byte) const { return Of(nameStart_, byte); }
    const Bits& WordStartPresence(unsigned char byte) const { return Of(wordStart_, byte); }
    const Bits& LoneWordPresence(unsigned char byte) const { return Of(loneWord_, byte); }
    // The positions that start a group of equal entries (the ones a list shows).
    const Bits& GroupStarts() const { return groupStarts_; }

private:
    using PerByte = std::array<Bits, 128>; // [0] stays empty
    static const Bits& Of(const PerByte& sets, unsigned char byte) {
        return byte < 128 ? sets[byte] : sets[0];
    }
    void Mark(PerByte& sets, unsigned char byte, std::size_t position);
    void MarkName(std::size_t position, std::string_view written);

    std::size_t count_ = 0;
    std::vector<std::uint32_t> nameSpan_; // begin within the key << 16 | length, both capped
    std::vector<std::uint64_t> wordStarts_;
    std::vector<std::uint64_t> letterCounts_;
    PerByte namePresence_;
    PerByte nameStart_;
    PerByte wordStart_;
    PerByte loneWord_;
    Bits groupStarts_;
};

// The letter counts of a text as LetterCounts keeps them.
std::uint64_t CountLetters(std::string_view text);
// Whether counts hold at least as many of each letter as wanted does: every two-bit field
// compared at once (wanted is greater where its high bit beats, or the high bits tie and its
// low bit beats).
constexpr bool HasLetters(std::uint64_t counts, std::uint64_t wanted) {
    constexpr std::uint64_t kLow = 0x0005555555555555ull; // the low bit of each of the 26 fields
    const std::uint64_t c1 = (counts >> 1) & kLow;
    const std::uint64_t c0 = counts & kLow;
    const std::uint64_t w1 = (wanted >> 1) & kLow;
    const std::uint64_t w0 = wanted & kLow;
    const std::uint64_t greater = (w1 & ~c1) | (~(w1 ^ c1) & w0 & ~c0);
    return (greater & kLow) == 0;
}

// Where words start in a name as written: after a separator, and at a capital that follows
// a small letter ("YouTube": at Y and T). For the first 64 bytes.
std::uint64_t FindWordStarts(std::string_view name);

} // namespace orvan
