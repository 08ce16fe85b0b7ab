#include "core/search/run_available.h"

#include "core/base/utf.h"
#include "core/catalog/catalog_index.h"
#include "core/catalog/relevance_index.h"
#include "core/search/catalog_match.h"
#include "core/search/input_steps.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace orvan {

namespace {

std::size_t PairHash(std::string_view name, std::string_view path) {
    const std::size_t h = std::hash<std::string_view>()(name);
    return h ^ (std::hash<std::string_view>()(path) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2));
}

bool NameLess(std::string_view a, std::string_view b) {
    return CompareUtf16(a, b) < 0;
}

} // namespace

RunAvailableRow RunAvailableList::OwnRow(std::size_t own) const {
    const RunAvailable& e = own_[own];
    return {e.name, e.path, e.kind, e.description};
}

RunAvailableRow RunAvailableList::CatalogRow(std::size_t row) const {
    const CatalogItem& item = catalog_[catalog_.SearchIndex().ItemAt(catalogRows_[row])];
    return {CatalogDisplayName(item), item.path, RunKind::Catalog, {}};
}

RunAvailableRow RunAvailableList::PositionRow(std::uint32_t position) const {
    const CatalogItem& item = catalog_[catalog_.SearchIndex().ItemAt(position)];
    return {CatalogDisplayName(item), item.path, RunKind::Catalog, {}};
}

RunAvailableRow RunAvailableList::ShownCatalogRow(std::size_t place) const {
    return relevance_ ? PositionRow(rank_[place]) : CatalogRow(place);
}

RunAvailableRow RunAvailableList::RefRow(std::uint32_t ref) const {
    if ((ref & kOwnRef) != 0)
        return OwnRow(ref & ~kOwnRef);
    return relevance_ ? PositionRow(ref) : CatalogRow(ref);
}

RunAvailableRow RunAvailableList::operator[](std::size_t index) const {
    if (ordered_)
        return RefRow(order_[index]);
    // Unsorted: the steps' entries before the catalog step, the catalog matches, the rest.
    if (index < ownBeforeCatalog_)
        return OwnRow(index);
    index -= ownBeforeCatalog_;
    if (index < CatalogCount())
        return ShownCatalogRow(index);
    return OwnRow(ownBeforeCatalog_ + index - CatalogCount());
}

void RunAvailableList::Clear() {
    own_.clear();
    ownHash_.clear();
    ownSlots_.clear();
    ownHashed_ = 0;
    catalog_ = CatalogItems();
    hasCatalogRows_ = false;
    catalogRows_.clear();
    ownBeforeCatalog_ = 0;
    relevance_ = false;
    catalogFits_.clear();
    rank_.clear();
    listedByBits_ = false;
    ordered_ = false;
    order_.clear();
}

bool RunAvailableList::OwnContains(std::string_view name, std::string_view path,
                                   std::size_t hash) const {
    HashPendingOwn();
    if (ownSlots_.empty())
        return false;
    const std::size_t mask = ownSlots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t entry = ownSlots_[slot];
        if (entry == 0)
            return false;
        const RunAvailable& e = own_[entry - 1];
        if (ownHash_[entry - 1] == hash && e.name == name && e.path == path)
            return true;
    }
}

bool RunAvailableList::CatalogContains(std::string_view name, std::string_view path) const {
    if (CatalogCount() == 0)
        return false;
    const CatalogSearchIndex& index = catalog_.SearchIndex();
    const auto [first, last] = index.FindPair(catalog_.items(), name, path);
    if (first == last)
        return false;
    if (listedByBits_) {
        for (std::size_t p = first; p < last; ++p)
            if ((listedBits_[p / 64] >> (p % 64)) & 1)
                return true;
        return false;
    }
    const auto it = std::lower_bound(catalogRows_.begin(), catalogRows_.end(), first);
    return it != catalogRows_.end() && *it < last;
}

bool RunAvailableList::Contains(std::string_view name, std::string_view path) const {
    return OwnContains(name, path, PairHash(name, path)) || CatalogContains(name, path);
}

void RunAvailableList::HashPendingOwn() const {
    if (ownHashed_ == own_.size())
        return;
    const std::size_t known = ownHashed_;
    ownHash_.resize(own_.size());
    for (std::size_t i = known; i < own_.size(); ++i)
        ownHash_[i] = PairHash(own_[i].name, own_[i].path);
    std::size_t first = known;
    if (own_.size() * 2 > ownSlots_.size()) { // keep the table at most half full
        std::size_t size = std::max<std::size_t>(16, ownSlots_.size());
        while (own_.size() * 2 > size)
            size *= 2;
        ownSlots_.assign(size, 0);
        first = 0; // everything goes into the larger table
    }
    const std::size_t mask = ownSlots_.size() - 1;
    for (std::size_t i = first; i < own_.size(); ++i) {
        std::size_t slot = ownHash_[i] & mask;
        while (ownSlots_[slot] != 0)
            slot = (slot + 1) & mask;
        ownSlots_[slot] = static_cast<std::uint32_t>(i + 1);
    }
    ownHashed_ = own_.size();
}

void RunAvailableList::AppendRef(std::uint32_t ref) {
    if (ordered_)
        order_.push_back(ref);
}

void RunAvailableList::Add(std::string_view name, std::string_view path,
                           std::string_view description, RunKind kind) {
    const std::size_t hash = PairHash(name, path);
    if (OwnContains(name, path, hash) || CatalogContains(name, path))
        return;
    AddDistinct(name, path, description, kind);
}

void RunAvailableList::AddDistinct(std::string_view name, std::string_view path,
                                   std::string_view description, RunKind kind) {
    const auto own = static_cast<std::uint32_t>(own_.size());
    own_.push_back({std::string(name), std::string(path), kind, std::string(description)});
    AppendRef(own | kOwnRef);
}

void RunAvailableList::AddCatalogMatches(std::string_view text, const CatalogItems& catalog) {
    if (catalog.empty())
        return;
    const CatalogSearchIndex& index = catalog.SearchIndex();
    if (hasCatalogRows_) {
        // A second catalog step in one build: its matches go in one by one.
        std::vector<std::uint32_t> rows;
        MatchCatalogKeys(index, AsciiUpper(text), rows);
        for (const std::uint32_t p : rows) {
            const CatalogItem& item = catalog[index.ItemAt(p)];
            Add(CatalogDisplayName(item), item.path, {}, RunKind::Catalog);
        }
        return;
    }
    MatchCatalogKeys(index, AsciiUpper(text), catalogRows_); // reuses the last build's storage
    DropListedByOwn(catalog);
    catalog_ = catalog;
    hasCatalogRows_ = true;
    ownBeforeCatalog_ = own_.size();
    if (ordered_)
        for (std::size_t r = 0; r < catalogRows_.size(); ++r)
            order_.push_back(static_cast<std::uint32_t>(r));
}

void RunAvailableList::AddRelevantCatalogMatches(std::string_view text, const CatalogItems& catalog,
                                                 const LaunchMemory* memory) {
    if (catalog.empty())
        return;
    if (hasCatalogRows_) {
        AddCatalogMatches(text, catalog);
        return;
    }
    if (IsSingleByteQuery(text)) {
        // One letter or digit lists nearly every entry: no key is read, no row classified
        // one by one; the bit sets of the relevance data give the order.
        const CatalogSearchIndex& index = catalog.SearchIndex();
        const RelevanceIndex& relevance = catalog.Relevance();
        const std::vector<std::uint64_t>& presence =
            index.Presence(static_cast<unsigned char>(AsciiUpperChar(text[0])));
        const std::vector<std::uint64_t>& groups = relevance.GroupStarts();
        listedBits_.assign(groups.size(), 0);
        if (!presence.empty())
            for (std::size_t w = 0; w < groups.size(); ++w)
                listedBits_[w] = presence[w] & groups[w];
        for (const RunAvailable& e : own_) { // the first producer wins
            const auto [first, last] = index.FindPair(catalog.items(), e.name, e.path);
            for (std::size_t p = first; p < last; ++p)
                listedBits_[p / 64] &= ~(std::uint64_t{1} << (p % 64));
        }
        catalogRows_.clear();
        catalogFits_.clear();
        RankSingleByte(catalog, text, memory, listedBits_, rank_, &usedPositions_);
        listedByBits_ = true;
    } else {
        MatchRelevantRows(catalog, RelevanceQuery(text), catalogRows_, catalogFits_);
        DropListedByOwn(catalog);
        RankRows(catalog, text, memory, catalogRows_, catalogFits_, rank_, &usedPositions_);
    }
    relevance_ = true;
    catalog_ = catalog;
    hasCatalogRows_ = true;
    ownBeforeCatalog_ = own_.size();
    if (ordered_)
        for (const std::uint32_t r : rank_)
            order_.push_back(r);
}

void RunAvailableList::DropListedByOwn(const CatalogItems& catalog) {
    std::vector<std::uint32_t>& rows = catalogRows_;
    if (own_.empty() || rows.empty())
        return;
    // Matches whose pair an earlier step has listed stay out: the first producer wins.
    const CatalogSearchIndex& index = catalog.SearchIndex();
    std::vector<bool> drop(rows.size(), false);
    std::size_t log2 = 1;
    while ((std::size_t{1} << log2) < index.size())
        ++log2;
    if (own_.size() * log2 < rows.size()) {
        for (const RunAvailable& e : own_) {
            const auto [first, last] = index.FindPair(catalog.items(), e.name, e.path);
            if (first == last)
                continue;
            const auto it = std::lower_bound(rows.begin(), rows.end(), first);
            if (it != rows.end() && *it < last)
                drop[static_cast<std::size_t>(it - rows.begin())] = true;
        }
    } else {
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const CatalogItem& item = catalog[index.ItemAt(rows[r])];
            const std::string_view name = CatalogDisplayName(item);
            drop[r] = OwnContains(name, item.path, PairHash(name, item.path));
        }
    }
    const bool fits = catalogFits_.size() == rows.size();
    std::size_t kept = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (drop[r])
            continue;
        if (fits)
            catalogFits_[kept] = catalogFits_[r];
        rows[kept++] = rows[r];
    }
    rows.resize(kept);
    if (fits)
        catalogFits_.resize(kept);
}

void RunAvailableList::Sort() {
    if (size() < 2)
        return;
    if (own_.empty() && !ordered_)
        return; // catalog matches alone are in name order already
    // Catalog matches are already in name order; sort the few other entries and merge
    // them in by binary search.
    std::vector<std::uint32_t> own(own_.size());
    for (std::uint32_t i = 0; i < own.size(); ++i)
        own[i] = i;
    const auto ownLess = [this](std::uint32_t a, std::uint32_t b) {
        return NameLess(own_[a].name, own_[b].name);
    };
    // A folder's entries usually come in name order already: one pass finds that out.
    const bool ownSorted = std::is_sorted(own.begin(), own.end(), ownLess);
    if (CatalogCount() == 0 && ownSorted && !ordered_)
        return; // the unsorted row order is then the sorted one
    if (!ownSorted)
        std::sort(own.begin(), own.end(), ownLess);
    // The other steps' rows take the places the name order gives them; in the relevance
    // order the catalog's rows fill the places between them in their own order.
    const auto shown = [this](std::size_t place) {
        return static_cast<std::uint32_t>(relevance_ ? rank_[place] : place);
    };
    std::vector<std::uint32_t> order;
    order.reserve(size());
    std::size_t nextRow = 0;
    for (const std::uint32_t i : own) {
        const std::size_t before = CatalogRowsNamedBefore(own_[i].name, nextRow);
        for (; nextRow < before; ++nextRow)
            order.push_back(shown(nextRow));
        order.push_back(i | kOwnRef);
    }
    for (; nextRow < CatalogCount(); ++nextRow)
        order.push_back(shown(nextRow));
    order_ = std::move(order);
    ordered_ = true;
}

std::size_t RunAvailableList::CatalogRowsNamedBefore(std::string_view name,
                                                     std::size_t from) const {
    if (!listedByBits_) {
        std::size_t low = from;
        std::size_t high = catalogRows_.size();
        while (low < high) { // first catalog row whose name is not less than this one
            const std::size_t mid = low + (high - low) / 2;
            if (NameLess(CatalogRow(mid).name, name))
                low = mid + 1;
            else
                high = mid;
        }
        return low;
    }
    // The first position whose name is not less, then the rows listed before it.
    const CatalogSearchIndex& index = catalog_.SearchIndex();
    std::size_t low = 0;
    std::size_t high = index.size();
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        if (NameLess(CatalogDisplayName(catalog_[index.ItemAt(mid)]), name))
            low = mid + 1;
        else
            high = mid;
    }
    std::size_t count = 0;
    for (std::size_t w = 0; w < low / 64; ++w)
        count += static_cast<std::size_t>(std::popcount(listedBits_[w]));
    if (low % 64 != 0)
        count += static_cast<std::size_t>(
            std::popcount(listedBits_[low / 64] & ((std::uint64_t{1} << (low % 64)) - 1)));
    return std::max(count, from);
}

void AddRunAvailable(RunAvailableList& list, std::string_view name, std::string_view path,
                     std::string_view description, RunKind kind) {
    list.Add(name, path, description, kind);
}

void SortRunAvailableList(RunAvailableList& list) {
    list.Sort();
}

void BuildRunAvailableList(std::string_view text, const CatalogItems& catalog,
                           RunAvailableList& list, const RunBuildEnvironment& environment) {
    list.Clear();
    if (!text.empty()) {
        try {
            DriveAndFolderStep(text, list, environment);
            if (environment.order == ResultOrder::Relevance)
                list.AddRelevantCatalogMatches(text, catalog, environment.memory);
            else
                list.AddCatalogMatches(text, catalog);
            ExistingFileStep(text, list, environment);
            DateTimeStep(text, list, environment);
            CalculatorStep(text, list, environment);
        } catch (...) {
            list.Sort();
            throw;
        }
    }
    list.Sort();
}

} // namespace orvan
