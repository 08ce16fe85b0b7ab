#pragma once
// What the search window learns from the entries the user starts: how often each catalog
// entry was started (kept as the entry's priority in the catalog file) and, for each typed
// text, the entry last started for it (kept in a small file beside the options). Both feed
// the relevance order; neither changes the name order.
#include "core/ports/file_store.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvan {

// How often an entry was started, by path; the name tells which of the catalog's entries
// with that path was meant.
struct UseCount {
    std::int32_t count = 0;
    std::string name; // the display name it was listed under

    bool operator==(const UseCount&) const = default;
};
using UseCounts = std::map<std::string, UseCount, std::less<>>;

// The entry a typed text chose.
struct TypedChoice {
    std::string text; // as typed
    std::string name; // display name
    std::string path;

    bool operator==(const TypedChoice&) const = default;
};

class LaunchMemory {
public:
    // How many typed texts are kept; the least recently used goes first.
    static constexpr std::size_t kTextLimit = 1000;

    // Counts one start of the entry listed as name and path for the typed text.
    void Record(std::string_view text, std::string_view name, std::string_view path);
    // Forgets every count and every typed text.
    void Forget();

    // Takes the counts a catalog file held for paths not counted yet (the catalog loaded at
    // start-up); counts already known win, being newer.
    void SeedCounts(const UseCounts& counts);
    std::int32_t CountOf(std::string_view path) const;
    // The counts, shared and never changed afterwards: for a save on another thread.
    std::shared_ptr<const UseCounts> Counts() const { return counts_; }

    // The entry last started for the text or, failing that, for the longest remembered text
    // that the text starts with; letter case is ignored. accept says whether a choice can
    // be used (its entry is listed); the next shorter text is tried when it cannot.
    template <typename Accept>
    const TypedChoice* ChoiceFor(std::string_view text, Accept accept) const {
        std::string key = TextKey(text);
        while (!key.empty()) {
            if (const auto it = byText_.find(key); it != byText_.end() && accept(*it->second))
                return &*it->second;
            key.pop_back();
        }
        return nullptr;
    }

    // Counted up by every change, so that derived data knows when to be made again.
    std::uint64_t Version() const { return version_; }
    bool Empty() const { return counts_->empty() && texts_.empty(); }

    // The typed texts, oldest first, as the file keeps them.
    std::vector<TypedChoice> Texts() const;
    void SetTexts(const std::vector<TypedChoice>& texts);

private:
    static std::string TextKey(std::string_view text);

    std::shared_ptr<const UseCounts> counts_ = std::make_shared<const UseCounts>();
    std::list<TypedChoice> texts_; // most recent first
    std::unordered_map<std::string, std::list<TypedChoice>::iterator> byText_;
    std::uint64_t version_ = 0;
};

// The typed texts' file: the options file name with its extension replaced by
// "_Learned.txt" ("C:\x\Orvan.ini" -> "C:\x\Orvan_Learned.txt").
std::string LaunchMemoryFileName(std::string_view optionsFileName);

// The file's text: a comment line, then one line per text, oldest first: the text, the
// entry's path and its name, separated by tabs; UTF-8, CR LF line ends.
std::string SerializeTypedChoices(const std::vector<TypedChoice>& texts);
// Reads that text; lines that do not have the three fields, or hold a control character,
// are skipped. At most the newest kTextLimit are kept.
std::vector<TypedChoice> ParseTypedChoices(std::string_view text);

// Reads the file into memory; a missing file is no failure. False when it exists but could
// not be read (then the memory is left as it was, and the file must not be written over).
bool LoadTypedChoices(LaunchMemory& memory, const std::string& fileName,
                      const FileStorePort& files);
// Replaces the file in one step; false when it could not be written.
bool SaveTypedChoices(const LaunchMemory& memory, const std::string& fileName,
                      const FileStorePort& files);

// Use counts from the priorities of a catalog's entries.
struct CatalogItem;
UseCounts CountsFromCatalog(const std::vector<CatalogItem>& items);

} // namespace orvan
