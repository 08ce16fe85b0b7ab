#include "core/search/relevance.h"

#include "core/base/utf.h"
#include "core/catalog/catalog_index.h"
#include "core/catalog/relevance_index.h"
#include "core/search/catalog_match.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace orvan {

RelevanceQuery::RelevanceQuery(std::string_view text) : upper(AsciiUpper(text)), initials(true) {
    for (const char c : upper) {
        if (IsWordByte(c))
            compact.push_back(c);
        initials = initials && IsWordByte(c) && static_cast<unsigned char>(c) < 0x80;
    }
    initials = initials && !upper.empty();
}

namespace {

bool SeparatorBefore(std::string_view name, std::size_t at) {
    return at == 0 || !IsWordByte(name[at - 1]);
}

bool SeparatorAt(std::string_view name, std::size_t at) {
    return at >= name.size() || !IsWordByte(name[at]);
}

bool WordStartsAt(std::string_view name, std::uint64_t wordStarts, std::size_t at) {
    if (at < RelevanceIndex::kWordStartBits)
        return ((wordStarts >> at) & 1) != 0;
    return SeparatorBefore(name, at) && IsWordByte(name[at]);
}

// Whether the name holds the compact query's letters in order, the first at a word's start.
bool FitsLetters(std::string_view name, std::uint64_t wordStarts, std::string_view compact) {
    if (compact.empty())
        return false;
    for (std::size_t start = 0; start < name.size(); ++start) {
        if (name[start] != compact[0] || !WordStartsAt(name, wordStarts, start))
            continue;
        std::size_t next = 1;
        for (std::size_t at = start + 1; at < name.size() && next < compact.size(); ++at)
            if (name[at] == compact[next])
                ++next;
        return next == compact.size(); // a later start finds no more than the first
    }
    return false;
}

// The words of a name: where each starts and ends (at the next word's start or separator).
struct Words {
    static constexpr std::size_t kMost = 32;
    std::size_t begin[kMost];
    std::size_t end[kMost];
    std::size_t count = 0;
};

Words FindWords(std::string_view name, std::uint64_t wordStarts) {
    Words words;
    auto add = [&](std::size_t at) {
        if (words.count == Words::kMost)
            return;
        if (words.count > 0 && words.end[words.count - 1] > at)
            words.end[words.count - 1] = at;
        std::size_t end = at;
        while (end < name.size() && IsWordByte(name[end]))
            ++end;
        words.begin[words.count] = at;
        words.end[words.count] = end;
        ++words.count;
    };
    for (std::uint64_t starts = wordStarts; starts != 0; starts &= starts - 1)
        add(static_cast<std::size_t>(std::countr_zero(starts)));
    for (std::size_t at = RelevanceIndex::kWordStartBits; at < name.size(); ++at)
        if (WordStartsAt(name, wordStarts, at))
            add(at);
    return words;
}

// Whether letters[from..] is made of the starts of words from word `first` on, in order:
// each piece the start of one word, at least a letter long. consecutive: every word from
// `first` on gives a piece, none is skipped.
bool FitsWordStarts(std::string_view name, const Words& words, std::string_view letters,
                    std::size_t from, std::size_t first, bool consecutive, int& budget) {
    if (from == letters.size())
        return true;
    for (std::size_t w = first; w < words.count; ++w) {
        if (--budget < 0)
            return false;
        std::size_t common = 0;
        const std::size_t room = words.end[w] - words.begin[w];
        while (common < room && from + common < letters.size() &&
               name[words.begin[w] + common] == letters[from + common])
            ++common;
        for (std::size_t length = common; length > 0; --length)
            if (FitsWordStarts(name, words, letters, from + length, w + 1, consecutive, budget))
                return true;
        if (consecutive)
            return false;
    }
    return false;
}

// Whether the query is made of the starts of the name's words, in order ("ie" for
// "Internet Explorer", "regedit" for "Registry Editor"): of the first words one after the
// other (Initials), or of any (SomeInitials).
MatchFit FitsInitials(std::string_view name, std::uint64_t wordStarts, std::string_view letters) {
    // Starts of words in order are letters in order from a word's start: that quick test
    // turns most names away before their words are looked at.
    if (!FitsLetters(name, wordStarts, letters))
        return MatchFit::None;
    const Words words = FindWords(name, wordStarts);
    int budget = 256; // a name of many repeated letters must not take long
    if (FitsWordStarts(name, words, letters, 0, 0, true, budget))
        return MatchFit::Initials;
    budget = 256;
    if (FitsWordStarts(name, words, letters, 0, 0, false, budget))
        return MatchFit::SomeInitials;
    return MatchFit::None;
}

// Whether the name without separators holds the compact query from the start of a word.
bool FitsCompact(std::string_view name, std::uint64_t wordStarts, std::string_view compact) {
    if (compact.empty())
        return false;
    // Tries each word start of the name, skipping separators as it compares.
    for (std::size_t start = 0; start < name.size(); ++start) {
        if (name[start] != compact[0] || !WordStartsAt(name, wordStarts, start))
            continue;
        std::size_t at = start;
        std::size_t matched = 0;
        while (at < name.size() && matched < compact.size()) {
            if (!IsWordByte(name[at])) {
                ++at;
                continue;
            }
            if (name[at] != compact[matched])
                break;
            ++at;
            ++matched;
        }
        if (matched == compact.size())
            return true;
    }
    return false;
}

using Bytes16 = unsigned char __attribute__((vector_size(16)));

Bytes16 Load16(const char* at) {
    Bytes16 v;
    std::memcpy(&v, at, sizeof v);
    return v;
}

// The first place at or after `from` where the name holds the text. With padding the name
// may be read up to 16 bytes beyond its end (a name inside the padded keys): its first and
// last bytes are then compared sixteen places at a time, which a short name answers in one
// or two steps instead of a call to the library's search.
std::size_t FindText(std::string_view name, std::string_view text, std::size_t from, bool padded) {
    const std::size_t length = text.size();
    if (!padded || length == 0 || from + length > name.size())
        return name.find(text, from);
    const std::size_t last = name.size() - length;
    const auto first = static_cast<unsigned char>(text.front());
    const auto final = static_cast<unsigned char>(text.back());
    const Bytes16 wantFirst = Bytes16{} + first;
    const Bytes16 wantFinal = Bytes16{} + final;
    for (std::size_t at = from; at <= last; at += 16) {
        const Bytes16 hit = (Load16(name.data() + at) == wantFirst) &
                            (Load16(name.data() + at + length - 1) == wantFinal);
        std::uint64_t half[2];
        std::memcpy(half, &hit, sizeof half);
        for (std::size_t h = 0; h < 2; ++h) {
            for (std::uint64_t lanes = half[h]; lanes != 0;) {
                const std::size_t lane = static_cast<std::size_t>(std::countr_zero(lanes)) / 8;
                lanes &= ~(std::uint64_t{0xFF} << (lane * 8));
                const std::size_t start = at + h * 8 + lane;
                if (start > last)
                    return std::string_view::npos;
                std::size_t i = 1;
                while (i + 1 < length && name[start + i] == text[i])
                    ++i;
                if (i + 1 >= length)
                    return start;
            }
        }
    }
    return std::string_view::npos;
}

} // namespace

MatchFit FitOf(std::string_view name, std::uint64_t wordStarts, const RelevanceQuery& query,
               bool inKey, bool padded) {
    const std::string_view text = query.upper;
    const std::size_t length = text.size();
    std::size_t at = length == 0 ? std::string_view::npos : FindText(name, text, 0, padded);
    if (at == 0) {
        if (length == name.size())
            return MatchFit::WholeName;
        return SeparatorAt(name, length) ? MatchFit::FirstWord : MatchFit::NameStart;
    }
    if (at != std::string_view::npos) {
        MatchFit best = MatchFit::InName;
        for (; at != std::string_view::npos; at = FindText(name, text, at + 1, padded)) {
            if (SeparatorBefore(name, at) && SeparatorAt(name, at + length))
                return MatchFit::WholeWord;
            if (WordStartsAt(name, wordStarts, at))
                best = MatchFit::WordStart;
        }
        if (best == MatchFit::InName && query.initials && length > 1) {
            if (const MatchFit initials = FitsInitials(name, wordStarts, text);
                initials != MatchFit::None)
                return initials;
        }
        return best;
    }
    if (query.initials) {
        if (const MatchFit initials = FitsInitials(name, wordStarts, text);
            initials != MatchFit::None)
            return initials;
    }
    if (FitsCompact(name, wordStarts, query.compact))
        return MatchFit::Compact;
    if (inKey)
        return MatchFit::FileName;
    return FitsLetters(name, wordStarts, query.compact) ? MatchFit::Letters : MatchFit::None;
}

namespace {

// Bit sets ANDed together one 64-bit word at a time; empty when any of them is.
class BitsAnd {
public:
    void Add(const RelevanceIndex::Bits& bits) {
        if (bits.empty())
            empty_ = true;
        if (empty_ ||
            std::find(sets_.begin(), sets_.begin() + count_, &bits) != sets_.begin() + count_)
            return;
        if (count_ < sets_.size())
            sets_[count_++] = &bits;
    }
    void MakeEmpty() { empty_ = true; }
    bool Empty() const { return empty_ || count_ == 0; }
    std::size_t Words() const { return Empty() ? 0 : sets_[0]->size(); }
    std::uint64_t Word(std::size_t w) const {
        std::uint64_t word = (*sets_[0])[w];
        for (std::size_t i = 1; i < count_; ++i)
            word &= (*sets_[i])[w];
        return word;
    }
    bool Has(std::size_t position) const {
        for (std::size_t i = 0; i < count_; ++i)
            if ((((*sets_[i])[position / 64] >> (position % 64)) & 1) == 0)
                return false;
        return !empty_;
    }

private:
    std::array<const RelevanceIndex::Bits*, 12> sets_{};
    std::size_t count_ = 0;
    bool empty_ = false;
};

// The positions whose names hold every ASCII byte of the text; empty when a byte is not
// ASCII (then no bit set can say it).
BitsAnd NameHoldsBytes(const RelevanceIndex& relevance, std::string_view bytes) {
    BitsAnd names;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            names.MakeEmpty();
            return names;
        }
        names.Add(relevance.NamePresence(static_cast<unsigned char>(c)));
    }
    return names;
}

} // namespace

void MatchRelevantRows(const CatalogItems& catalog, const RelevanceQuery& query,
                       std::vector<std::uint32_t>& rows, std::vector<MatchFit>& fits) {
    rows.clear();
    fits.clear();
    if (catalog.empty())
        return;
    const CatalogSearchIndex& index = catalog.SearchIndex();
    const RelevanceIndex& relevance = catalog.Relevance();
    MatchCatalogKeys(index, query.upper, rows);
    fits.resize(rows.size());
    // A name that lacks a byte of the text can only hold it in the file name: most keys
    // hold ".EXE", few names do.
    bool ascii = true;
    for (const char c : query.upper)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    std::vector<std::uint64_t> inNameWords; // kept for the extra matches below
    if (ascii) {
        // The names that hold every byte: for many rows as one bit set made a word at a
        // time, so that each row costs one look; only those rows are fitted one by one.
        const BitsAnd holds = NameHoldsBytes(relevance, query.upper);
        std::vector<std::uint64_t>& inName = inNameWords;
        if (!holds.Empty() && rows.size() > holds.Words())
            for (std::size_t w = 0; w < holds.Words(); ++w)
                inName.push_back(holds.Word(w));
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const std::uint32_t p = rows[r];
            const bool named =
                inName.empty() ? holds.Has(p) : ((inName[p / 64] >> (p % 64)) & 1) != 0;
            fits[r] =
                named ? FitOf(relevance.Name(index, p), relevance.WordStarts(p), query, true, true)
                      : MatchFit::FileName;
        }
    } else {
        for (std::size_t r = 0; r < rows.size(); ++r)
            fits[r] =
                FitOf(relevance.Name(index, rows[r]), relevance.WordStarts(rows[r]), query, true);
    }

    // Entries whose key does not hold the text but whose words' starts, name without
    // separators or letters do: their names hold each of its bytes and a word starting with
    // its first, which the bit sets find.
    const bool more = query.compact.size() > 1 || query.compact != query.upper;
    if (!more || query.compact.empty())
        return;
    BitsAnd candidates;
    if (query.compact == query.upper && !inNameWords.empty())
        candidates.Add(inNameWords); // the same bytes: the set made above
    else
        candidates = NameHoldsBytes(relevance, query.compact);
    candidates.Add(relevance.WordStartPresence(static_cast<unsigned char>(query.compact[0])));
    if (static_cast<unsigned char>(query.compact[0]) >= 0x80)
        candidates.MakeEmpty();
    if (candidates.Empty())
        return;
    const std::uint64_t wantedLetters = CountLetters(query.compact);
    std::vector<std::uint32_t> extraRows;
    std::vector<MatchFit> extraFits;
    std::size_t next = 0; // the first listed row not before the candidate
    for (std::size_t w = 0; w < candidates.Words(); ++w) {
        for (std::uint64_t word = candidates.Word(w); word != 0; word &= word - 1) {
            const std::size_t p = w * 64 + static_cast<std::size_t>(std::countr_zero(word));
            if (!index.StartsGroup(p))
                continue;
            // Gallops: the candidates are far fewer than the rows.
            std::size_t step = 1;
            while (next + step < rows.size() && rows[next + step] < p)
                step *= 2;
            next = static_cast<std::size_t>(
                std::lower_bound(rows.begin() + static_cast<std::ptrdiff_t>(next),
                                 rows.begin() + static_cast<std::ptrdiff_t>(
                                                    std::min(next + step + 1, rows.size())),
                                 p) -
                rows.begin());
            if (next < rows.size() && rows[next] == p)
                continue;
            // Every fit of a name that does not hold the text has its letters in order
            // from a word's start, so at least as many of each: most candidates fail these
            // quick tests.
            if (!HasLetters(relevance.LetterCounts(p), wantedLetters))
                continue;
            const std::string_view name = relevance.Name(index, p);
            if (!FitsLetters(name, relevance.WordStarts(p), query.compact))
                continue;
            const MatchFit fit = FitOf(name, relevance.WordStarts(p), query, false, true);
            if (fit == MatchFit::None)
                continue;
            extraRows.push_back(static_cast<std::uint32_t>(p));
            extraFits.push_back(fit);
        }
    }
    if (extraRows.empty())
        return;
    // Both lists are ascending: merge them from the back in place.
    std::size_t a = rows.size();
    std::size_t b = extraRows.size();
    rows.resize(a + b);
    fits.resize(a + b);
    for (std::size_t out = a + b; b > 0;) {
        --out;
        if (a > 0 && rows[a - 1] > extraRows[b - 1]) {
            --a;
            rows[out] = rows[a];
            fits[out] = fits[a];
        } else {
            --b;
            rows[out] = extraRows[b];
            fits[out] = extraFits[b];
        }
    }
}

namespace {

struct Special {
    std::uint32_t row; // index into rows
    std::int32_t count;
};

// The index into rows of the listed entry with this name and path, or -1.
std::ptrdiff_t ListedRow(const CatalogItems& catalog, const std::vector<std::uint32_t>& rows,
                         std::string_view name, std::string_view path) {
    const auto [first, last] = catalog.SearchIndex().FindPair(catalog.items(), name, path);
    if (first == last)
        return -1;
    const auto it = std::lower_bound(rows.begin(), rows.end(), first);
    if (it == rows.end() || *it >= last)
        return -1;
    return it - rows.begin();
}

} // namespace

const std::vector<UsedPositions::Entry>& UsedPositions::For(const CatalogItems& catalog,
                                                            const LaunchMemory& memory) {
    if (catalog.SharesWith(catalog_) && memory_ == &memory && version_ == memory.Version())
        return entries_;
    catalog_ = catalog;
    memory_ = &memory;
    version_ = memory.Version();
    entries_.clear();
    const CatalogSearchIndex& index = catalog.SearchIndex();
    for (const auto& [path, count] : *memory.Counts()) {
        if (count.count <= 0)
            continue;
        const auto range = index.FindPair(catalog.items(), count.name, path);
        if (range.first < range.second)
            entries_.push_back({static_cast<std::uint32_t>(range.first), count.count});
    }
    return entries_;
}

void RankRows(const CatalogItems& catalog, std::string_view text, const LaunchMemory* memory,
              const std::vector<std::uint32_t>& rows, const std::vector<MatchFit>& fits,
              std::vector<std::uint32_t>& rank, UsedPositions* usedPositions) {
    const std::size_t n = rows.size();
    rank.resize(n);
    // The entry chosen before for this text, and the entries started before, in the order
    // they take within their fit: more starts first, then the name order.
    std::ptrdiff_t chosen = -1;
    std::vector<Special> used;
    if (memory != nullptr && !memory->Empty() && n > 0) {
        memory->ChoiceFor(text, [&](const TypedChoice& choice) {
            chosen = ListedRow(catalog, rows, choice.name, choice.path);
            return chosen >= 0;
        });
        UsedPositions local;
        for (const UsedPositions::Entry& entry :
             (usedPositions != nullptr ? *usedPositions : local).For(catalog, *memory)) {
            const auto it = std::lower_bound(rows.begin(), rows.end(), entry.position);
            if (it == rows.end() || *it != entry.position)
                continue;
            const std::ptrdiff_t r = it - rows.begin();
            if (r != chosen)
                used.push_back({static_cast<std::uint32_t>(r), entry.count});
        }
        std::sort(used.begin(), used.end(), [&fits](const Special& x, const Special& y) {
            if (fits[x.row] != fits[y.row])
                return fits[x.row] < fits[y.row];
            if (x.count != y.count)
                return x.count > y.count;
            return x.row < y.row;
        });
    }
    std::vector<std::uint32_t> special; // rows placed ahead of the rest of their fit
    special.reserve(used.size() + 1);
    if (chosen >= 0)
        special.push_back(static_cast<std::uint32_t>(chosen));
    for (const Special& s : used)
        special.push_back(s.row);
    std::sort(special.begin(), special.end());

    // A stable bucket order: count each fit, then lay the rows out in their buckets.
    constexpr std::size_t kBuckets = 13;
    std::array<std::size_t, kBuckets> plain{};
    std::array<std::size_t, kBuckets> ahead{};
    for (std::size_t r = 0; r < n; ++r)
        ++plain[static_cast<std::size_t>(fits[r])];
    for (const Special& s : used) {
        --plain[static_cast<std::size_t>(fits[s.row])];
        ++ahead[static_cast<std::size_t>(fits[s.row])];
    }
    if (chosen >= 0)
        --plain[static_cast<std::size_t>(fits[static_cast<std::size_t>(chosen)])];
    std::array<std::size_t, kBuckets> next{};
    std::size_t at = 0;
    if (chosen >= 0)
        rank[at++] = rows[static_cast<std::size_t>(chosen)];
    std::size_t u = 0;
    for (std::size_t b = 1; b < kBuckets; ++b) {
        for (std::size_t i = 0; i < ahead[b]; ++i)
            rank[at++] = rows[used[u++].row];
        next[b] = at;
        at += plain[b];
    }
    std::size_t s = 0;
    for (std::size_t r = 0; r < n; ++r) {
        if (s < special.size() && special[s] == r) {
            ++s;
            continue;
        }
        rank[next[static_cast<std::size_t>(fits[r])]++] = rows[r];
    }
}

} // namespace orvan

namespace orvan {

bool IsSingleByteQuery(std::string_view text) {
    return text.size() == 1 && static_cast<unsigned char>(text[0]) < 0x80 && IsWordByte(text[0]);
}

namespace {

std::uint64_t WordOf(const RelevanceIndex::Bits& bits, std::size_t w) {
    return bits.empty() ? 0 : bits[w];
}

bool BitAt(const std::vector<std::uint64_t>& bits, std::size_t position) {
    return position / 64 < bits.size() && ((bits[position / 64] >> (position % 64)) & 1) != 0;
}

struct UsedEntry {
    std::uint32_t position;
    std::int32_t count;
    MatchFit fit;
};

} // namespace

void RankSingleByte(const CatalogItems& catalog, std::string_view text, const LaunchMemory* memory,
                    const std::vector<std::uint64_t>& listed, std::vector<std::uint32_t>& ranked,
                    UsedPositions* usedPositions) {
    ranked.clear();
    if (catalog.empty())
        return;
    const CatalogSearchIndex& index = catalog.SearchIndex();
    const RelevanceIndex& relevance = catalog.Relevance();
    const RelevanceQuery query(text);
    const auto byte = static_cast<unsigned char>(query.upper[0]);
    const auto fitAt = [&](std::size_t p) {
        return FitOf(relevance.Name(index, p), relevance.WordStarts(p), query, true);
    };
    const auto listedEntry = [&](std::string_view name, std::string_view path) -> std::ptrdiff_t {
        const auto [first, last] = index.FindPair(catalog.items(), name, path);
        return first < last && BitAt(listed, first) ? static_cast<std::ptrdiff_t>(first) : -1;
    };

    // The entry chosen before and the entries started before go ahead of their fits' rest.
    std::ptrdiff_t chosen = -1;
    std::vector<UsedEntry> used;
    std::vector<std::uint64_t> plain = listed;
    if (memory != nullptr && !memory->Empty()) {
        memory->ChoiceFor(text, [&](const TypedChoice& choice) {
            chosen = listedEntry(choice.name, choice.path);
            return chosen >= 0;
        });
        UsedPositions local;
        for (const UsedPositions::Entry& entry :
             (usedPositions != nullptr ? *usedPositions : local).For(catalog, *memory)) {
            if (BitAt(listed, entry.position) &&
                static_cast<std::ptrdiff_t>(entry.position) != chosen)
                used.push_back({entry.position, entry.count, fitAt(entry.position)});
        }
        std::sort(used.begin(), used.end(), [](const UsedEntry& x, const UsedEntry& y) {
            if (x.fit != y.fit)
                return x.fit < y.fit;
            if (x.count != y.count)
                return x.count > y.count;
            return x.position < y.position;
        });
        if (chosen >= 0)
            plain[std::size_t(chosen) / 64] &= ~(std::uint64_t{1} << (std::size_t(chosen) % 64));
        for (const UsedEntry& u : used)
            plain[u.position / 64] &= ~(std::uint64_t{1} << (u.position % 64));
    }
    if (chosen >= 0)
        ranked.push_back(static_cast<std::uint32_t>(chosen));
    std::size_t nextUsed = 0;
    const auto usedOf = [&](MatchFit fit) {
        for (; nextUsed < used.size() && used[nextUsed].fit <= fit; ++nextUsed)
            ranked.push_back(used[nextUsed].position);
    };
    const auto each = [&](auto word, auto take) {
        for (std::size_t w = 0; w < plain.size(); ++w)
            for (std::uint64_t bits = word(w); bits != 0; bits &= bits - 1)
                take(static_cast<std::uint32_t>(w * 64 + std::countr_zero(bits)));
    };
    const RelevanceIndex::Bits& nameStart = relevance.NameStartPresence(byte);
    const RelevanceIndex::Bits& wordStart = relevance.WordStartPresence(byte);
    const RelevanceIndex::Bits& lone = relevance.LoneWordPresence(byte);
    const RelevanceIndex::Bits& inName = relevance.NamePresence(byte);

    // The names that start with it: the whole name, the whole first word, or its start.
    std::vector<std::uint32_t> whole;
    std::vector<std::uint32_t> firstWord;
    std::vector<std::uint32_t> starts;
    each([&](std::size_t w) { return plain[w] & WordOf(nameStart, w); },
         [&](std::uint32_t p) {
             const std::string_view name = relevance.Name(index, p);
             if (name.size() == 1)
                 whole.push_back(p);
             else if (!IsWordByte(name[1]))
                 firstWord.push_back(p);
             else
                 starts.push_back(p);
         });
    usedOf(MatchFit::WholeName);
    ranked.insert(ranked.end(), whole.begin(), whole.end());
    usedOf(MatchFit::FirstWord);
    ranked.insert(ranked.end(), firstWord.begin(), firstWord.end());
    usedOf(MatchFit::NameStart);
    ranked.insert(ranked.end(), starts.begin(), starts.end());
    const auto push = [&](std::uint32_t p) { ranked.push_back(p); };
    usedOf(MatchFit::WholeWord);
    each([&](std::size_t w) { return plain[w] & ~WordOf(nameStart, w) & WordOf(lone, w); }, push);
    usedOf(MatchFit::WordStart);
    each(
        [&](std::size_t w) {
            return plain[w] & ~WordOf(nameStart, w) & WordOf(wordStart, w) & ~WordOf(lone, w);
        },
        push);
    usedOf(MatchFit::InName);
    each(
        [&](std::size_t w) {
            return plain[w] & ~WordOf(nameStart, w) & ~WordOf(wordStart, w) & WordOf(inName, w);
        },
        push);
    usedOf(MatchFit::FileName);
    each([&](std::size_t w) { return plain[w] & ~WordOf(inName, w); }, push);
    usedOf(MatchFit::Letters);
}

} // namespace orvan
