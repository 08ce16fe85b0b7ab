#pragma once
// The candidate list: what the search window lists for the typed text. Catalog matches are
// held as references into the shared catalog rather than copies, so a text that matches a
// million entries costs a list of numbers, not a million strings.
#include "core/catalog/catalog.h"
#include "core/catalog/launch_memory.h"
#include "core/config/result_order.h"
#include "core/ports/clock.h"
#include "core/ports/file_system.h"
#include "core/ports/folder_listing.h"
#include "core/search/relevance.h"
#include "core/search/run_kind.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvan {

struct RunAvailable {
    std::string name;
    std::string path;
    RunKind kind{};
    std::string description;

    bool operator==(const RunAvailable&) const = default;
};

// One row as the list holds it. The views stay valid until the list is changed or cleared.
struct RunAvailableRow {
    std::string_view name;
    std::string_view path;
    RunKind kind{};
    std::string_view description;

    RunAvailable ToRunAvailable() const {
        return {std::string(name), std::string(path), kind, std::string(description)};
    }
};

class RunAvailableList {
public:
    std::size_t size() const { return own_.size() + CatalogCount(); }
    bool empty() const { return size() == 0; }
    RunAvailableRow operator[](std::size_t index) const;
    void Clear();

    // The catalog step: appends every entry of the catalog whose key holds the upper-cased
    // text, unless the list already has an entry with the same name and path.
    void AddCatalogMatches(std::string_view text, const CatalogItems& catalog);
    // The same in the relevance order: also the entries whose words' first letters or whose
    // name without separators hold the text; memory may be nullptr.
    void AddRelevantCatalogMatches(std::string_view text, const CatalogItems& catalog,
                                   const LaunchMemory* memory);
    // Appends unless an entry with the same name and path (exact comparison) is there.
    void Add(std::string_view name, std::string_view path, std::string_view description,
             RunKind kind);
    // Appends without looking for an equal entry: only for a caller that knows the list has
    // no entry with this name and path (the names of one folder, listed into an empty list).
    void AddDistinct(std::string_view name, std::string_view path, std::string_view description,
                     RunKind kind);
    bool Contains(std::string_view name, std::string_view path) const;
    // Room for this many more entries of the other steps.
    void Reserve(std::size_t more) { own_.reserve(own_.size() + more); }
    // Ascending by name in UTF-16 code units; entries of equal name keep no defined order.
    void Sort();

private:
    static constexpr std::uint32_t kOwnRef = 0x80000000u;

    RunAvailableRow CatalogRow(std::size_t row) const;
    RunAvailableRow PositionRow(std::uint32_t position) const;
    std::size_t CatalogCount() const { return relevance_ ? rank_.size() : catalogRows_.size(); }
    // How many of the catalog's rows have a name below this one (name order).
    std::size_t CatalogRowsNamedBefore(std::string_view name, std::size_t from) const;
    // The catalog match shown at this place among the catalog matches.
    RunAvailableRow ShownCatalogRow(std::size_t place) const;
    // The catalog step's rows, name order, less those an earlier step listed (and their
    // fits alongside, when there are fits).
    void DropListedByOwn(const CatalogItems& catalog);
    RunAvailableRow OwnRow(std::size_t own) const;
    RunAvailableRow RefRow(std::uint32_t ref) const;
    bool OwnContains(std::string_view name, std::string_view path, std::size_t hash) const;
    bool CatalogContains(std::string_view name, std::string_view path) const;
    void HashPendingOwn() const;
    void AppendRef(std::uint32_t ref);

    // Entries of the other build steps, with an open-addressing table over (name, path).
    // The table takes in entries only when a question needs it: a folder step that lists
    // 100 000 distinct names is usually followed by no other entry at all.
    std::vector<RunAvailable> own_;
    mutable std::vector<std::size_t> ownHash_;    // for the first ownHashed_ entries
    mutable std::vector<std::uint32_t> ownSlots_; // own index + 1; 0 is an empty slot
    mutable std::size_t ownHashed_ = 0;

    // Catalog matches: positions of the catalog's display order, ascending.
    CatalogItems catalog_;
    bool hasCatalogRows_ = false;
    std::vector<std::uint32_t> catalogRows_;
    std::size_t ownBeforeCatalog_ = 0;
    // In the relevance order: each catalog row's fit, and the order the rows are shown in
    // (positions of the catalog's display order). For a text of one letter or digit the
    // rows listed are a bit per position instead of catalogRows_.
    bool relevance_ = false;
    std::vector<MatchFit> catalogFits_;
    std::vector<std::uint32_t> rank_;
    bool listedByBits_ = false;
    std::vector<std::uint64_t> listedBits_;
    UsedPositions usedPositions_; // kept from build to build, made again when stale

    // The row order once the list has been sorted: own entries with kOwnRef set, catalog
    // matches as indexes into catalogRows_ (in the relevance order: as positions).
    bool ordered_ = false;
    std::vector<std::uint32_t> order_;
};

// The disk as the steps for typed paths see it: the file system, and the quick listing that
// the folder step needs to list a folder of 100 000 entries within one keystroke. They come
// together, so that no step can end up without the quick listing.
class RunFileAccess {
public:
    RunFileAccess(const FileSystemPort& fileSystem, const FolderListingPort& folderListing)
        : fileSystem_(&fileSystem), folderListing_(&folderListing) {}
    const FileSystemPort& FileSystem() const { return *fileSystem_; }
    const FolderListingPort& FolderListing() const { return *folderListing_; }

private:
    const FileSystemPort* fileSystem_;
    const FolderListingPort* folderListing_;
};

// Services the steps for the typed input use.
struct RunBuildEnvironment {
    // The disk; without it the drive, folder and file steps add nothing.
    std::optional<RunFileAccess> files;
    const ClockPort* clock = nullptr; // the date step's "now"; nullptr reads CurrentClock()
    ResultOrder order = ResultOrder::Name;
    const LaunchMemory* memory = nullptr; // what the relevance order learned; may be nullptr
};

void AddRunAvailable(RunAvailableList& list, std::string_view name, std::string_view path,
                     std::string_view description, RunKind kind);
void SortRunAvailableList(RunAvailableList& list);

// Empties the list and fills it for the typed text in the fixed step order, then sorts it
// (also when a step fails; the failure then continues to the caller).
void BuildRunAvailableList(std::string_view text, const CatalogItems& catalog,
                           RunAvailableList& list, const RunBuildEnvironment& environment = {});

} // namespace orvan
