#pragma once
// The catalog: the entries the search window matches against, and the source folders they
// are scanned from. A published list of entries is immutable and shared by every holder;
// a rebuild or a load publishes a new list instead of changing the old one.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvan {

constexpr std::int32_t UnlimitedDepth = -1;

struct CatalogItem {
    std::string path; // full path, never holds path variables
    std::string name; // display name; "" for folder entries and when the file held none
    std::int32_t priority = 0;
};

class CatalogSearchIndex;
class RelevanceIndex;

// An immutable list of catalog entries shared by reference count. Copies share the same
// entries (and the search keys derived from them once, when the list is published).
class CatalogItems {
public:
    using const_iterator = std::vector<CatalogItem>::const_iterator;

    CatalogItems(); // the empty catalog
    // Publishes a list: takes the entries over and derives the search keys.
    explicit CatalogItems(std::vector<CatalogItem> items);

    std::size_t size() const { return items().size(); }
    bool empty() const { return items().empty(); }
    const CatalogItem& operator[](std::size_t index) const { return items()[index]; }
    const_iterator begin() const { return items().begin(); }
    const_iterator end() const { return items().end(); }
    const std::vector<CatalogItem>& items() const;

    const CatalogSearchIndex& SearchIndex() const;
    // Made on the first call (by any thread; a second caller waits for the first), since
    // only the relevance order needs it.
    const RelevanceIndex& Relevance() const;

    // True when both hold the very same published list.
    bool SharesWith(const CatalogItems& other) const { return data_ == other.data_; }

    struct Data; // opaque: the entries and their search index

private:
    std::shared_ptr<const Data> data_;
};

struct SettingsOptionsCatalogPath {
    std::string path; // may hold path variables; expanded when scanned
    std::int32_t depth = UnlimitedDepth;
    bool includeDirectories = false;
    std::string mask; // "*.exe;*.com"; "" means "*.*"
    bool active = true;

    bool operator==(const SettingsOptionsCatalogPath&) const = default;
};

using SettingsOptionsCatalogPaths = std::vector<SettingsOptionsCatalogPath>;

// The text after the last backslash of a path, or after the drive of one without a
// backslash ("D:file.txt"); the whole text when it has neither. Other colons belong to the
// name: a Linux file name may hold them.
std::string_view FileNamePart(std::string_view path);

// The name a catalog entry is listed under: its display name, or the file-name part of
// its path when it has none.
std::string_view CatalogDisplayName(const CatalogItem& item);

// The text the typed input is searched in: the file-name part of the path, "&" and the name,
// ASCII letters in upper case. A name holding a backslash or colon gives only its part after
// the last of them, without the file name, unless the name starts the file name (as a Linux
// file name with colons does).
std::string CatalogSearchKey(const CatalogItem& item);

} // namespace orvan
