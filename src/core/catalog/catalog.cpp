#include "core/catalog/catalog.h"

#include "core/base/utf.h"
#include "core/catalog/catalog_index.h"

#include <algorithm>
#include <stdexcept>

namespace orvan {

struct TCatalogItems::Data {
    explicit Data(std::vector<TCatalogItem> list) : items(std::move(list)), index(items) {}
    std::vector<TCatalogItem> items;
    CatalogSearchIndex index;
};

namespace {

const std::shared_ptr<const TCatalogItems::Data>& EmptyData() {
    static const auto empty =
        std::make_shared<const TCatalogItems::Data>(std::vector<TCatalogItem>());
    return empty;
}

std::size_t NameStart(std::string_view text) {
    const std::size_t cut = text.find_last_of("\\:");
    return cut == std::string_view::npos ? 0 : cut + 1;
}

// Orders by display name (UTF-16 code units), then path (bytes: only equality matters),
// then catalog order, so equal pairs are adjacent and the layout is deterministic.
struct SortEntry {
    std::string_view name;
    std::string_view path;
    std::uint32_t item;
};

int ComparePair(std::string_view nameA, std::string_view pathA, std::string_view nameB,
                std::string_view pathB) {
    // Names mostly differ in plain ASCII; CompareUtf16 decodes only at the first difference.
    if (const int c = CompareUtf16(nameA, nameB); c != 0)
        return c;
    const int c = pathA.compare(pathB);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace

TCatalogItems::TCatalogItems() : data_(EmptyData()) {}

TCatalogItems::TCatalogItems(std::vector<TCatalogItem> items)
    : data_(items.empty() ? EmptyData() : std::make_shared<const Data>(std::move(items))) {}

const std::vector<TCatalogItem>& TCatalogItems::items() const {
    return data_->items;
}

const CatalogSearchIndex& TCatalogItems::SearchIndex() const {
    return data_->index;
}

std::string_view FileNamePart(std::string_view path) {
    return path.substr(NameStart(path));
}

std::string_view CatalogDisplayName(const TCatalogItem& item) {
    return item.name.empty() ? FileNamePart(item.path) : std::string_view(item.name);
}

namespace {

// Appends the upper-cased key of an entry without building "path&name" first.
void AppendSearchKey(std::string& out, const TCatalogItem& item) {
    // The cut falls in the name when the name has a backslash or colon, else in the path.
    std::string_view first;
    std::string_view second;
    const std::size_t inName = NameStart(item.name);
    if (inName > 0) {
        second = std::string_view(item.name).substr(inName);
    } else {
        first = FileNamePart(item.path);
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

std::string CatalogSearchKey(const TCatalogItem& item) {
    std::string key;
    AppendSearchKey(key, item);
    return key;
}

CatalogSearchIndex::CatalogSearchIndex(const std::vector<TCatalogItem>& items) {
    if (items.size() >= 0xFFFFFFFFu)
        throw std::length_error("catalog too large");
    const auto count = static_cast<std::uint32_t>(items.size());
    std::vector<SortEntry> entries(count);
    std::size_t keyBytes = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        entries[i] = {CatalogDisplayName(items[i]), items[i].path, i};
        keyBytes += FileNamePart(items[i].path).size() + items[i].name.size() + 2;
    }
    std::sort(entries.begin(), entries.end(), [](const SortEntry& a, const SortEntry& b) {
        const int c = ComparePair(a.name, a.path, b.name, b.path);
        return c != 0 ? c < 0 : a.item < b.item;
    });

    order_.resize(count);
    keyStart_.resize(std::size_t{count} + 1);
    groupStart_.resize(count);
    keys_.reserve(keyBytes);
    for (std::uint32_t p = 0; p < count; ++p) {
        const SortEntry& e = entries[p];
        order_[p] = e.item;
        groupStart_[p] = p == 0 || e.name != entries[p - 1].name || e.path != entries[p - 1].path;
        if (keys_.size() >= 0xFFFFFFFFu)
            throw std::length_error("catalog too large");
        keyStart_[p] = static_cast<std::uint32_t>(keys_.size());
        AppendSearchKey(keys_, items[e.item]);
        keys_.push_back('\0');
    }
    if (keys_.size() > 0xFFFFFFFFu)
        throw std::length_error("catalog too large");
    keyStart_[count] = static_cast<std::uint32_t>(keys_.size());
    for (const char c : keys_)
        ++byteCount_[static_cast<unsigned char>(c)];
}

std::size_t CatalogSearchIndex::GroupEnd(std::size_t position) const {
    ++position;
    while (position < order_.size() && !groupStart_[position])
        ++position;
    return position;
}

std::pair<std::size_t, std::size_t>
CatalogSearchIndex::FindPair(const std::vector<TCatalogItem>& items, std::string_view name,
                             std::string_view path) const {
    auto compareAt = [&](std::size_t position) {
        const TCatalogItem& item = items[order_[position]];
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
