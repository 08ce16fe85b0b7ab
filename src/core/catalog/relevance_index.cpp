#include "core/catalog/relevance_index.h"

#include "core/catalog/catalog_index.h"

#include <algorithm>
#include <bit>

namespace orvan {

std::uint64_t CountLetters(std::string_view text) {
    std::uint64_t counts = 0;
    for (const char c : text) {
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper < 'A' || upper > 'Z')
            continue;
        const unsigned at = 2u * static_cast<unsigned>(upper - 'A');
        if (((counts >> at) & 3) < 3)
            counts += std::uint64_t{1} << at;
    }
    return counts;
}

std::uint64_t FindWordStarts(std::string_view name) {
    std::uint64_t starts = 0;
    const std::size_t n = std::min(name.size(), RelevanceIndex::kWordStartBits);
    for (std::size_t i = 0; i < n; ++i) {
        const char c = name[i];
        if (!IsWordByte(c))
            continue;
        const bool start = i == 0 || !IsWordByte(name[i - 1]) ||
                           (c >= 'A' && c <= 'Z' && name[i - 1] >= 'a' && name[i - 1] <= 'z');
        if (start)
            starts |= std::uint64_t{1} << i;
    }
    return starts;
}

namespace {

// After the last backslash or colon of a display name (as the key is cut).
std::size_t CutAt(std::string_view text) {
    for (std::size_t i = text.size(); i > 0; --i)
        if (text[i - 1] == '\\' || text[i - 1] == ':')
            return i;
    return 0;
}

struct NamePart {
    std::size_t begin = 0; // within the key
    std::string_view written;
};

// Mirrors how the key is made: "FILE&NAME", or the cut part of a name that holds a
// backslash or colon; an entry without a name is listed under its file name.
NamePart NamePartOf(const CatalogItem& item) {
    const std::string_view file = FileNamePart(item.path);
    const bool ownName = file.substr(0, item.name.size()) == item.name;
    const std::size_t inName = ownName ? 0 : CutAt(item.name);
    if (inName > 0)
        return {0, std::string_view(item.name).substr(inName)};
    if (item.name.empty())
        return {0, file};
    return {file.size() + 1, item.name};
}

} // namespace

RelevanceIndex::RelevanceIndex(const std::vector<CatalogItem>& items,
                               const CatalogSearchIndex& index)
    : count_(index.size()) {
    const std::size_t count = count_;
    nameSpan_.resize(count);
    wordStarts_.resize(count);
    letterCounts_.resize(count);
    groupStarts_.assign((count + 63) / 64, 0);
    // In catalog order, where the entries and their texts lie one after the other in
    // memory; only the small results go to their places of the display order.
    std::vector<std::uint32_t> positionOf(count);
    for (std::size_t p = 0; p < count; ++p) {
        positionOf[index.ItemAt(p)] = static_cast<std::uint32_t>(p);
        if (index.StartsGroup(p))
            groupStarts_[p / 64] |= std::uint64_t{1} << (p % 64);
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t p = positionOf[i];
        const NamePart part = NamePartOf(items[i]);
        const std::size_t begin = std::min<std::size_t>(part.begin, 0xFFFF);
        const std::size_t length = std::min<std::size_t>(part.written.size(), 0xFFFF);
        nameSpan_[p] = static_cast<std::uint32_t>(begin << 16 | length);
        wordStarts_[p] = FindWordStarts(part.written);
        letterCounts_[p] = CountLetters(part.written);
        MarkName(p, part.written);
    }
}

void RelevanceIndex::Mark(PerByte& sets, unsigned char byte, std::size_t position) {
    if (byte >= 'a' && byte <= 'z')
        byte = static_cast<unsigned char>(byte - 'a' + 'A'); // as the keys hold it
    if (byte == 0 || byte >= 128)
        return;
    Bits& bits = sets[byte];
    if (bits.empty())
        bits.assign((count_ + 63) / 64, 0);
    bits[position / 64] |= std::uint64_t{1} << (position % 64);
}

void RelevanceIndex::MarkName(std::size_t position, std::string_view written) {
    if (written.empty())
        return;
    // Each byte once: a 128-bit set first, then one bit per byte present.
    std::uint64_t present[2] = {0, 0};
    for (const char c : written) {
        auto u = static_cast<unsigned char>(c);
        if (u >= 'a' && u <= 'z')
            u = static_cast<unsigned char>(u - 'a' + 'A');
        if (u < 128)
            present[u / 64] |= std::uint64_t{1} << (u % 64);
    }
    for (std::size_t half = 0; half < 2; ++half)
        for (std::uint64_t set = present[half]; set != 0; set &= set - 1)
            Mark(namePresence_, static_cast<unsigned char>(half * 64 + std::countr_zero(set)),
                 position);
    Mark(nameStart_, static_cast<unsigned char>(written[0]), position);
    const auto wordAt = [&](std::size_t at) {
        Mark(wordStart_, static_cast<unsigned char>(written[at]), position);
        const bool alone = (at == 0 || !IsWordByte(written[at - 1])) &&
                           (at + 1 == written.size() || !IsWordByte(written[at + 1]));
        if (alone)
            Mark(loneWord_, static_cast<unsigned char>(written[at]), position);
    };
    for (std::uint64_t starts = wordStarts_[position]; starts != 0; starts &= starts - 1)
        wordAt(static_cast<std::size_t>(std::countr_zero(starts)));
    for (std::size_t at = kWordStartBits; at < written.size(); ++at)
        if (IsWordByte(written[at]) && !IsWordByte(written[at - 1]))
            wordAt(at);
}

std::string_view RelevanceIndex::Name(const CatalogSearchIndex& index, std::size_t position) const {
    const std::string_view key = index.KeyAt(position);
    const std::size_t begin = nameSpan_[position] >> 16;
    const std::size_t length = nameSpan_[position] & 0xFFFF;
    if (begin > key.size())
        return {};
    return key.substr(begin, length);
}

} // namespace orvan
