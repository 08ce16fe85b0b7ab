#include "core/catalog/catalog.h"

#include "core/base/path_parts.h"
#include "core/base/utf.h"
#include "core/catalog/catalog_index.h"
#include "core/catalog/relevance_index.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <mutex>
#include <stdexcept>

namespace orvan {

struct CatalogItems::Data {
    explicit Data(std::vector<CatalogItem> list) : items(std::move(list)), index(items) {}
    std::vector<CatalogItem> items;
    CatalogSearchIndex index;
    mutable std::once_flag relevanceMade;
    mutable std::unique_ptr<const RelevanceIndex> relevance;
};

namespace {

const std::shared_ptr<const CatalogItems::Data>& EmptyData() {
    static const auto empty =
        std::make_shared<const CatalogItems::Data>(std::vector<CatalogItem>());
    return empty;
}

// Plain loops, since these run for every entry of a catalog that is published.

// After the last backslash or colon of a display name.
std::size_t NameStart(std::string_view text) {
    for (std::size_t i = text.size(); i > 0; --i)
        if (text[i - 1] == '\\' || text[i - 1] == ':')
            return i;
    return 0;
}

// Orders by display name (UTF-16 code units), then path (bytes: only equality matters),
// then catalog order, so equal pairs are adjacent and the layout is deterministic.
// The display order decided from fixed-size data where possible, so that sorting a
// million entries seldom reaches for their strings.
constexpr std::size_t kPrefixWords = 4;
constexpr std::size_t kPrefixBytes = kPrefixWords * 8;

struct SortEntry {
    std::uint64_t prefix[kPrefixWords]; // the name's first bytes, big-endian, zero-padded
    std::uint32_t item;
    std::uint32_t nameLength; // capped at kPrefixBytes + 1: "longer than the prefix"
    std::uint32_t keyOffset;  // where the entry's key starts in the keys made in catalog order
    std::uint32_t keyLength;
    bool exact; // prefix order is the name order for this entry
};

// Byte order equals UTF-16 order for valid UTF-8 below U+E000; names with other bytes in
// their prefix are compared in full.
SortEntry MakeSortEntry(std::string_view name, std::uint32_t item) {
    SortEntry e{};
    e.item = item;
    e.exact = true;
    e.nameLength =
        static_cast<std::uint32_t>(name.size() > kPrefixBytes ? kPrefixBytes + 1 : name.size());
    bool ascii = true;
    for (std::size_t i = 0; i < kPrefixBytes; ++i) {
        const auto c = static_cast<unsigned char>(i < name.size() ? name[i] : 0);
        e.prefix[i / 8] = (e.prefix[i / 8] << 8) | c;
        ascii = ascii && c < 0x80;
    }
    std::size_t pos = 0;
    while (!ascii && pos < name.size() && pos < kPrefixBytes) {
        if (DecodeUtf8(name, pos) >= 0xE000) { // U+FFFD stands for invalid bytes too
            e.exact = false;
            break;
        }
    }
    return e;
}

// -1, 0 or 1 when the prefixes decide the name order or equality, else 2.
int ComparePrefixes(const SortEntry& a, const SortEntry& b) {
    if (!a.exact || !b.exact)
        return 2;
    for (std::size_t i = 0; i < kPrefixWords; ++i)
        if (a.prefix[i] != b.prefix[i])
            return a.prefix[i] < b.prefix[i] ? -1 : 1;
    // Equal prefixes: the names are equal when both end inside them (a zero byte in a name
    // would pad like the end, so only lengths that match count).
    if (a.nameLength <= kPrefixBytes && a.nameLength == b.nameLength)
        return 0;
    return 2;
}

int Sign(int c) {
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int ComparePair(std::string_view nameA, std::string_view pathA, std::string_view nameB,
                std::string_view pathB) {
    if (const int c = CompareUtf16(nameA, nameB); c != 0)
        return c;
    // Names that differ only in bytes that are not UTF-8 convert alike; their bytes still
    // decide, so that identical pairs end up next to each other.
    if (const int c = Sign(nameA.compare(nameB)); c != 0)
        return c;
    return Sign(pathA.compare(pathB));
}

} // namespace

CatalogItems::CatalogItems() : data_(EmptyData()) {}

CatalogItems::CatalogItems(std::vector<CatalogItem> items)
    : data_(items.empty() ? EmptyData() : std::make_shared<const Data>(std::move(items))) {}

const std::vector<CatalogItem>& CatalogItems::items() const {
    return data_->items;
}

const CatalogSearchIndex& CatalogItems::SearchIndex() const {
    return data_->index;
}

const RelevanceIndex& CatalogItems::Relevance() const {
    const Data& data = *data_;
    std::call_once(data.relevanceMade, [&data] {
        data.relevance = std::make_unique<const RelevanceIndex>(data.items, data.index);
    });
    return *data.relevance;
}

std::string_view FileNamePart(std::string_view path) {
    return path.substr(PathNameStart(path));
}

std::string_view CatalogDisplayName(const CatalogItem& item) {
    return item.name.empty() ? FileNamePart(item.path) : std::string_view(item.name);
}

namespace {

// Appends the upper-cased key of an entry without building "path&name" first.
void AppendSearchKey(std::string& out, const CatalogItem& item) {
    // The cut falls in the name when the name has a backslash or colon, else in the path. A
    // name that starts the entry's own file name (the file name itself, or a shortcut's
    // without ".lnk") is never cut: a Windows file name holds neither character, so there
    // this changes nothing, but the colons of a Linux file name belong to its name.
    const std::string_view file = FileNamePart(item.path);
    const bool ownName = file.substr(0, item.name.size()) == item.name;
    const std::size_t inName = ownName ? 0 : NameStart(item.name);
    std::string_view first;
    std::string_view second;
    if (inName > 0) {
        second = std::string_view(item.name).substr(inName);
    } else {
        first = file;
        second = item.name;
    }
    const std::size_t start = out.size();
    out.append(first);
    if (inName == 0)
        out.push_back('&');
    out.append(second);
    for (std::size_t i = start; i < out.size(); ++i)
        if (out[i] >= 'a' && out[i] <= 'z')
            out[i] = static_cast<char>(out[i] - 32);
}

} // namespace

std::string CatalogSearchKey(const CatalogItem& item) {
    std::string key;
    AppendSearchKey(key, item);
    return key;
}

namespace {

// The search keys in catalog order, one after the other, and for each entry its sort entry,
// which knows where its key lies among them.
struct KeysInCatalogOrder {
    std::string keys;
    std::vector<SortEntry> entries;
};

// One pass in catalog order, where the entries lie in memory as they were made: the keys and
// the sort entries. The display order then only moves finished keys around.
KeysInCatalogOrder MakeKeys(const std::vector<CatalogItem>& items) {
    const auto count = static_cast<std::uint32_t>(items.size());
    KeysInCatalogOrder made;
    made.entries.resize(count);
    std::size_t keyBytes = 0;
    for (const CatalogItem& item : items)
        keyBytes += FileNamePart(item.path).size() + item.name.size() + 1;
    if (keyBytes + count >= 0xFFFFFFFFu)
        throw std::length_error("catalog too large");
    made.keys.reserve(keyBytes);
    for (std::uint32_t i = 0; i < count; ++i) {
        SortEntry& entry = made.entries[i];
        entry = MakeSortEntry(CatalogDisplayName(items[i]), i);
        const std::size_t start = made.keys.size();
        AppendSearchKey(made.keys, items[i]);
        entry.keyOffset = static_cast<std::uint32_t>(start);
        entry.keyLength = static_cast<std::uint32_t>(made.keys.size() - start);
    }
    return made;
}

// Display name, then path, then catalog order; mostly decided by the prefixes held in the
// entries, only ties look at the texts.
void SortIntoDisplayOrder(std::vector<SortEntry>& entries, const std::vector<CatalogItem>& items) {
    std::sort(entries.begin(), entries.end(), [&items](const SortEntry& a, const SortEntry& b) {
        int c = ComparePrefixes(a, b);
        if (c == 0 || c == 2) {
            const CatalogItem& x = items[a.item];
            const CatalogItem& y = items[b.item];
            c = c == 0 ? Sign(x.path.compare(y.path))
                       : ComparePair(CatalogDisplayName(x), x.path, CatalogDisplayName(y), y.path);
        }
        return c != 0 ? c < 0 : a.item < b.item;
    });
}

// Whether two entries, neighbours in display order, have the same display name and path.
bool SamePair(const SortEntry& a, const SortEntry& b, const std::vector<CatalogItem>& items) {
    const int c = ComparePrefixes(a, b);
    if (c == -1 || c == 1)
        return false;
    const CatalogItem& x = items[a.item];
    const CatalogItem& y = items[b.item];
    return x.path == y.path && CatalogDisplayName(x) == CatalogDisplayName(y);
}

} // namespace

CatalogSearchIndex::CatalogSearchIndex(const std::vector<CatalogItem>& items) {
    if (items.size() >= 0xFFFFFFFFu)
        throw std::length_error("catalog too large");
    KeysInCatalogOrder made = MakeKeys(items);
    std::vector<SortEntry>& entries = made.entries;
    SortIntoDisplayOrder(entries, items);

    // The keys in display order, each followed by a filler.
    const std::size_t count = items.size();
    order_.resize(count);
    keyStart_.resize(count + 1);
    groupStart_.resize(count);
    keys_.assign(made.keys.size() + count + kKeyPadding, '\0'); // the padding stays zero
    std::size_t at = 0;
    for (std::size_t p = 0; p < count; ++p) {
        const SortEntry& e = entries[p];
        order_[p] = e.item;
        groupStart_[p] = p == 0 || !SamePair(e, entries[p - 1], items) ? 1 : 0;
        keyStart_[p] = static_cast<std::uint32_t>(at);
        std::memcpy(keys_.data() + at, made.keys.data() + e.keyOffset, e.keyLength);
        MarkPresentBytes(p, std::string_view(keys_).substr(at, e.keyLength));
        at += e.keyLength + 1; // the filler stays '\0'
    }
    keyStart_[count] = static_cast<std::uint32_t>(at);
    CountBytes(made.keys);
}

void CatalogSearchIndex::MarkPresentBytes(std::size_t position, std::string_view key) {
    // Which ASCII bytes the key holds, as a 128-bit set, then one bit per byte present.
    std::uint64_t present[2] = {0, 0};
    for (const char byte : key) {
        const auto c = static_cast<unsigned char>(byte);
        if (c < 128)
            present[c / 64] |= std::uint64_t{1} << (c % 64);
    }
    present[0] &= ~std::uint64_t{1}; // never for the zero byte
    const std::uint64_t bit = std::uint64_t{1} << (position % 64);
    for (std::size_t half = 0; half < 2; ++half) {
        for (std::uint64_t set = present[half]; set != 0; set &= set - 1) {
            std::vector<std::uint64_t>& presence =
                presence_[half * 64 + static_cast<std::size_t>(std::countr_zero(set))];
            if (presence.empty())
                presence.assign((order_.size() + 63) / 64, 0);
            presence[position / 64] |= bit;
        }
    }
}

void CatalogSearchIndex::CountBytes(std::string_view keysWithoutFillers) {
    for (const char c : keysWithoutFillers)
        ++byteCount_[static_cast<unsigned char>(c)];
    byteCount_[0] += order_.size(); // one filler after each key
}

std::pair<std::size_t, std::size_t>
CatalogSearchIndex::FindPair(const std::vector<CatalogItem>& items, std::string_view name,
                             std::string_view path) const {
    auto compareAt = [&](std::size_t position) {
        const CatalogItem& item = items[order_[position]];
        return ComparePair(CatalogDisplayName(item), item.path, name, path);
    };
    std::size_t low = 0;
    std::size_t high = order_.size();
    while (low < high) { // first position not less than the pair
        const std::size_t mid = low + (high - low) / 2;
        if (compareAt(mid) < 0)
            low = mid + 1;
        else
            high = mid;
    }
    if (low == order_.size() || compareAt(low) != 0)
        return {low, low};
    return {low, GroupEnd(low)};
}

} // namespace orvan
