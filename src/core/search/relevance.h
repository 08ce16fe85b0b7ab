#pragma once
// The relevance order of the catalog's matches: what the user chose before for the typed
// text, then how well the text fits the entry's name, then how often the entry was started,
// then the name order. Matches are grouped by fit, keeping the name order inside each
// group, so a keystroke never sorts the matches themselves.
#include "core/catalog/catalog.h"
#include "core/catalog/launch_memory.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvan {

// How well a typed text fits an entry, best first.
enum class MatchFit : std::uint8_t {
    WholeName = 1, // the whole name
    FirstWord,     // the whole first word: "git" for "Git Bash"
    NameStart,     // the start of the name: "git" for "GitHub Desktop"
    WholeWord,     // a whole word: "bash" for "Git Bash"
    WordStart,     // the start of a word, a capital inside one included: "tube" for "YouTube"
    Initials,      // the first letters of the first words: "ie" for "Internet Explorer"
    SomeInitials,  // first letters of some words, in order: "ps" for "Windows PowerShell"
    InName,        // elsewhere in the name
    Compact,       // the name without blanks and punctuation: "soundr" for "Sound Recorder"
    FileName,      // only in the file name
    Letters,       // the letters one after the other, from a word's start: "taskmgr"
    None = 0xFF,   // not listed
};

// The typed text as the fits compare it.
struct RelevanceQuery {
    explicit RelevanceQuery(std::string_view text);
    std::string upper;   // ASCII letters upper-cased, as the keys hold them
    std::string compact; // without blanks and punctuation
    bool initials;       // only ASCII letters and digits: the words' first letters may fit
};

// The fit of the query in an upper-cased name whose words start where wordStarts says (for
// its first 64 bytes; further on, after separators). inKey tells whether the entry's whole
// key holds the text, which makes a fit in the file name alone. padded: the name may be read
// up to 16 bytes beyond its end (it lies inside a catalog's padded keys).
MatchFit FitOf(std::string_view name, std::uint64_t wordStarts, const RelevanceQuery& query,
               bool inKey, bool padded = false);

// The catalog entries the relevance order lists for the query: positions of the display
// order, ascending, one per group of equal entries, with their fits.
void MatchRelevantRows(const CatalogItems& catalog, const RelevanceQuery& query,
                       std::vector<std::uint32_t>& rows, std::vector<MatchFit>& fits);

// Where the entries the memory counted lie in a catalog's display order, with their counts:
// looked up once per catalog and state of the memory, not on every keystroke.
class UsedPositions {
public:
    struct Entry {
        std::uint32_t position; // the first of its group
        std::int32_t count;
    };
    const std::vector<Entry>& For(const CatalogItems& catalog, const LaunchMemory& memory);

private:
    CatalogItems catalog_;
    const LaunchMemory* memory_ = nullptr;
    std::uint64_t version_ = 0;
    std::vector<Entry> entries_;
};

// For a text of one ASCII letter or digit the order comes straight from bit sets, without
// reading a key: listed holds a bit per position of the display order (the group starts
// whose keys hold the text, less any the list already has); ranked gets the positions in
// relevance order.
bool IsSingleByteQuery(std::string_view text);
void RankSingleByte(const CatalogItems& catalog, std::string_view text, const LaunchMemory* memory,
                    const std::vector<std::uint64_t>& listed, std::vector<std::uint32_t>& ranked,
                    UsedPositions* used = nullptr);

// The relevance order of those rows: their positions, in the order they are shown.
void RankRows(const CatalogItems& catalog, std::string_view text, const LaunchMemory* memory,
              const std::vector<std::uint32_t>& rows, const std::vector<MatchFit>& fits,
              std::vector<std::uint32_t>& rank, UsedPositions* used = nullptr);

} // namespace orvan
