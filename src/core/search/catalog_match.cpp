#include "core/search/catalog_match.h"

#include <bit>
#include <cstring>

namespace orvan {

namespace {

// Sixteen key bytes at a time, compared with up to three bytes of the query at their
// offsets: a position survives only if all of them match there, so the full comparison
// runs at few places even for queries of common letters. GCC and Clang lower these vectors
// to the target's SIMD instructions (SSE2 on every x86-64).
using Bytes16 = unsigned char __attribute__((vector_size(16)));

Bytes16 Load16(const char* at) {
    Bytes16 v;
    std::memcpy(&v, at, sizeof v);
    return v;
}

Bytes16 Splat16(char c) {
    const auto u = static_cast<unsigned char>(c);
    return Bytes16{u, u, u, u, u, u, u, u, u, u, u, u, u, u, u, u};
}

// Which query bytes to test first: the rarest byte, plus the first and last ones, at
// distinct offsets.
struct Anchors {
    std::size_t offset[3] = {0, 0, 0};
    std::size_t count = 0;
};

Anchors PickAnchors(const CatalogSearchIndex& index, std::string_view query) {
    Anchors anchors;
    std::size_t rarest = 0;
    for (std::size_t i = 1; i < query.size(); ++i)
        if (index.ByteCount(static_cast<unsigned char>(query[i])) <
            index.ByteCount(static_cast<unsigned char>(query[rarest])))
            rarest = i;
    auto add = [&](std::size_t offset) {
        for (std::size_t i = 0; i < anchors.count; ++i)
            if (anchors.offset[i] == offset)
                return;
        anchors.offset[anchors.count++] = offset;
    };
    add(rarest);
    add(0);
    add(query.size() - 1);
    for (std::size_t i = 1; anchors.count < 3 && i + 1 < query.size(); ++i)
        add(i); // a query of one repeated letter still gets three places to test
    return anchors;
}

class KeyCursor {
public:
    explicit KeyCursor(const CatalogSearchIndex& index) : index_(index) {}

    // Moves to the key that holds the byte at offset; offsets only grow. Gallops forward, so
    // a hit a few keys on costs a few steps, not a search of the whole index.
    std::size_t KeyOf(std::size_t offset) {
        std::size_t low = p_; // KeyStart(low) <= offset
        std::size_t high = p_ + 1;
        std::size_t step = 1;
        while (high < index_.size() && index_.KeyStart(high) <= offset) {
            low = high;
            step *= 2;
            high = low + step;
        }
        if (high > index_.size())
            high = index_.size(); // KeyStart(size) lies beyond every offset
        while (high - low > 1) {
            const std::size_t mid = low + (high - low) / 2;
            if (index_.KeyStart(mid) <= offset)
                low = mid;
            else
                high = mid;
        }
        return p_ = low;
    }
    void JumpTo(std::size_t position) { p_ = position; }

private:
    const CatalogSearchIndex& index_;
    std::size_t p_ = 0;
};

} // namespace

namespace {

// Scans with a fixed number of anchors so that the compiler unrolls the comparisons.
template <std::size_t kAnchors>
void Scan(const CatalogSearchIndex& index, std::string_view query, const Anchors& anchors,
          std::vector<std::uint32_t>& rows) {
    const std::string_view keys = index.Keys();
    const char* const base = keys.data();
    const std::size_t size = keys.size();
    const std::size_t count = index.size();
    const std::size_t length = query.size();
    std::size_t offset[kAnchors];
    Bytes16 want[kAnchors];
    std::size_t span = 0; // the largest anchor offset
    for (std::size_t i = 0; i < kAnchors; ++i) {
        offset[i] = anchors.offset[i];
        want[i] = Splat16(query[offset[i]]);
        span = offset[i] > span ? offset[i] : span;
    }

    KeyCursor cursor(index);
    // Checks an occurrence starting at start; on a match records its key and returns where
    // the search goes on (the first key of the next group), else 0.
    // When the anchors cover every byte of the query, a set lane is already a match.
    const bool anchorsSuffice = kAnchors == length;
    auto check = [&](std::size_t start, bool anchorsMatched = true) -> std::size_t {
        if (start + length > size || (!(anchorsSuffice && anchorsMatched) &&
                                      std::memcmp(base + start, query.data(), length) != 0))
            return 0;
        const std::size_t p = cursor.KeyOf(start);
        if (start + length > index.KeyStart(p + 1) - 1) // runs into the next key
            return 0;
        rows.push_back(static_cast<std::uint32_t>(p));
        const std::size_t next = index.GroupEnd(p);
        cursor.JumpTo(next);
        return next < count ? index.KeyStart(next) : size;
    };
    auto hits = [&](std::size_t at) {
        Bytes16 hit = Load16(base + at + offset[0]) == want[0];
        for (std::size_t i = 1; i < kAnchors; ++i)
            hit &= Load16(base + at + offset[i]) == want[i];
        return hit;
    };

    // Tries the starts whose lanes are set in a block, in order; where the search goes on
    // after a match, else 0.
    auto tryLanes = [&](const Bytes16& block, std::size_t first) -> std::size_t {
        std::uint64_t half[2];
        std::memcpy(half, &block, sizeof half);
        for (std::size_t h = 0; h < 2; ++h) {
            while (half[h] != 0) {
                const std::size_t lane = static_cast<std::size_t>(std::countr_zero(half[h])) / 8;
                half[h] &= ~(std::uint64_t{0xFF} << (lane * 8));
                if (const std::size_t resume = check(first + h * 8 + lane))
                    return resume;
            }
        }
        return 0;
    };
    auto none = [](const Bytes16& block) {
        std::uint64_t half[2];
        std::memcpy(half, &block, sizeof half);
        return (half[0] | half[1]) == 0;
    };

    std::size_t at = 0; // candidate start of an occurrence
    while (at + span + 64 <= size) {
        // The first sixteen starts alone, since after a match the next one is often near;
        // then the next forty-eight together.
        const Bytes16 head = hits(at);
        if (!none(head)) {
            const std::size_t resume = tryLanes(head, at);
            at = resume != 0 ? resume : at + 16;
            continue;
        }
        const Bytes16 rest[3] = {hits(at + 16), hits(at + 32), hits(at + 48)};
        if (none(rest[0] | rest[1] | rest[2])) {
            at += 64;
            continue;
        }
        std::size_t resume = 0;
        for (std::size_t part = 0; part < 3 && resume == 0; ++part)
            resume = tryLanes(rest[part], at + 16 + part * 16);
        at = resume != 0 ? resume : at + 64;
    }
    while (at + length <= size) { // the tail, byte by byte
        const std::size_t resume = check(at, false);
        at = resume != 0 ? resume : at + 1;
    }
}

// A single ASCII byte: the positions come straight from the index's presence bits.
void ScanPresence(const CatalogSearchIndex& index, unsigned char byte,
                  std::vector<std::uint32_t>& rows) {
    const std::vector<std::uint64_t>& bits = index.Presence(byte);
    std::size_t next = 0; // the first position not inside a group already listed
    for (std::size_t w = 0; w < bits.size(); ++w) {
        std::uint64_t word = bits[w];
        while (word != 0) {
            const std::size_t p = w * 64 + static_cast<std::size_t>(std::countr_zero(word));
            word &= word - 1;
            if (p < next)
                continue;
            rows.push_back(static_cast<std::uint32_t>(p));
            next = index.GroupEnd(p);
        }
    }
}

// Whether the key [start, end) holds query: its first and last bytes compared sixteen
// places at a time, the rest where both agree. May read past the key (the keys are padded).
bool KeyHolds(const char* base, std::size_t start, std::size_t end, std::string_view query) {
    const std::size_t length = query.size();
    if (end - start < length)
        return false;
    const std::size_t last = end - length; // the last start that fits
    const Bytes16 first = Splat16(query.front());
    const Bytes16 final = Splat16(query.back());
    for (std::size_t at = start; at <= last; at += 16) {
        const Bytes16 hit =
            (Load16(base + at) == first) & (Load16(base + at + length - 1) == final);
        std::uint64_t half[2];
        std::memcpy(half, &hit, sizeof half);
        for (std::size_t h = 0; h < 2; ++h) {
            for (std::uint64_t lanes = half[h]; lanes != 0;) {
                const std::size_t lane = static_cast<std::size_t>(std::countr_zero(lanes)) / 8;
                lanes &= ~(std::uint64_t{0xFF} << (lane * 8));
                const std::size_t s = at + h * 8 + lane;
                if (s > last)
                    return false;
                if (length <= 2 || std::memcmp(base + s + 1, query.data() + 1, length - 2) == 0)
                    return true;
            }
        }
    }
    return false;
}

// The keys that hold every byte of an ASCII query, from the presence bits ANDed together.
class Candidates {
public:
    Candidates(const CatalogSearchIndex& index, std::string_view query) {
        for (const char c : query) {
            const std::vector<std::uint64_t>& bits = index.Presence(static_cast<unsigned char>(c));
            if (bits.empty()) { // some byte occurs in no key: nothing matches
                count_ = 0;
                sets_[0] = &bits;
                setCount_ = 1;
                return;
            }
            bool known = false;
            for (std::size_t i = 0; i < setCount_; ++i)
                known = known || sets_[i] == &bits;
            if (!known && setCount_ < 8)
                sets_[setCount_++] = &bits;
        }
        for (std::size_t w = 0; w < Words(); ++w)
            count_ += static_cast<std::size_t>(std::popcount(Word(w)));
    }
    std::size_t Count() const { return count_; }
    std::size_t Words() const { return sets_[0]->size(); }
    std::uint64_t Word(std::size_t w) const {
        std::uint64_t word = (*sets_[0])[w];
        for (std::size_t i = 1; i < setCount_; ++i)
            word &= (*sets_[i])[w];
        return word;
    }

private:
    const std::vector<std::uint64_t>* sets_[8] = {};
    std::size_t setCount_ = 0;
    std::size_t count_ = 0;
};

// Searches the candidate keys one by one; stops after maxTested candidates when that is
// not zero. Returns how many were tested.
std::size_t ScanCandidates(const CatalogSearchIndex& index, const Candidates& candidates,
                           std::string_view query, std::size_t maxTested,
                           std::vector<std::uint32_t>& rows) {
    const char* const base = index.Keys().data();
    std::size_t next = 0; // the first position not inside a group already listed
    std::size_t tested = 0;
    for (std::size_t w = 0; w < candidates.Words(); ++w) {
        for (std::uint64_t word = candidates.Word(w); word != 0; word &= word - 1) {
            const std::size_t p = w * 64 + static_cast<std::size_t>(std::countr_zero(word));
            if (p < next)
                continue;
            if (maxTested != 0 && tested == maxTested)
                return tested;
            ++tested;
            if (!KeyHolds(base, index.KeyStart(p), index.KeyStart(p + 1) - 1, query))
                continue;
            rows.push_back(static_cast<std::uint32_t>(p));
            next = index.GroupEnd(p);
        }
    }
    return tested;
}

// Which way is cheaper for an ASCII query: the candidate keys one by one, or the block scan
// over all keys whose cost grows with the keys' size and the number of matches. The share
// of matching candidates is estimated from the first ones. The costs per candidate, per
// match and per key byte were measured on the generated catalog of the benchmarks.
bool CandidatesAreCheaper(const CatalogSearchIndex& index, const Candidates& candidates,
                          std::string_view query) {
    constexpr double kPerCandidate = 12.0; // ns
    constexpr double kPerBlockMatch = 15.0;
    constexpr double kPerKeyByte = 0.045;
    constexpr std::size_t kSample = 256;
    const double count = static_cast<double>(candidates.Count());
    if (count * kPerCandidate <= static_cast<double>(index.Keys().size()) * kPerKeyByte)
        return true;
    std::vector<std::uint32_t> sample;
    const std::size_t tested = ScanCandidates(index, candidates, query, kSample, sample);
    const double share =
        tested == 0 ? 0 : static_cast<double>(sample.size()) / static_cast<double>(tested);
    return count * kPerCandidate <=
           static_cast<double>(index.Keys().size()) * kPerKeyByte + share * count * kPerBlockMatch;
}

} // namespace

void MatchCatalogKeys(const CatalogSearchIndex& index, std::string_view query,
                      std::vector<std::uint32_t>& rows) {
    rows.clear();
    const std::size_t count = index.size();
    if (count == 0)
        return;
    if (query.empty()) { // every key holds the empty text
        for (std::size_t p = 0; p < count; p = index.GroupEnd(p))
            rows.push_back(static_cast<std::uint32_t>(p));
        return;
    }
    const Anchors anchors = PickAnchors(index, query);
    const auto first = static_cast<unsigned char>(query[0]);
    if (query.size() == 1 && first != 0 && first < 128) {
        ScanPresence(index, first, rows);
        return;
    }
    bool ascii = true;
    for (const char c : query)
        ascii = ascii && c != 0 && static_cast<unsigned char>(c) < 128;
    if (ascii) {
        const Candidates candidates(index, query);
        if (candidates.Count() == 0)
            return;
        if (CandidatesAreCheaper(index, candidates, query)) {
            ScanCandidates(index, candidates, query, 0, rows);
            return;
        }
    }
    if (anchors.count == 1)
        Scan<1>(index, query, anchors, rows);
    else if (anchors.count == 2)
        Scan<2>(index, query, anchors, rows);
    else
        Scan<3>(index, query, anchors, rows);
}

} // namespace orvan
