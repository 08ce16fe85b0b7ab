#pragma once
// The Quick page's pinned entries: their stored form in the options file ("PATH|NAME", split
// as catalog path lines are), the name a row shows, filtering by name and the edits the page
// makes (pin, remove, move).
#include "core/search/run_available.h"

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace orvan {

struct QuickItem {
    std::string path;
    std::string name; // empty: the row shows the path's file name

    bool operator==(const QuickItem&) const = default;
};
// For test messages.
inline void PrintTo(const QuickItem& item, std::ostream* out) {
    *out << '"' << item.path << '|' << item.name << '"';
}
using QuickItems = std::vector<QuickItem>;

// "PATH|NAME". A name cannot hold the separator: each "|" in it becomes a blank.
std::string FormatQuickLine(const QuickItem& item);
// Exactly two fields, the path not empty (catalog path lines are split the same way, and
// file paths hold no "|"); nothing for any other line.
std::optional<QuickItem> ParseQuickLine(std::string_view line);

// The name a row shows: the stored name, else the path's last part ("C:\Tools\" shows
// "Tools"), else the path itself ("C:\").
std::string QuickItemName(const QuickItem& item);

// The positions (into items) of the entries whose shown name contains the filter, letter
// case ignored, in list order; every entry for an empty filter.
std::vector<std::size_t> FilterQuickItems(const QuickItems& items, std::string_view filter);

// Pins a run page row. An entry for the same path (letter case ignored) is not added
// twice. The name is kept only where it differs from what the path alone would show, so
// that a renamed file still shows its own name. Returns the entry's position.
std::size_t PinQuickItem(QuickItems& items, std::string_view path, std::string_view name);

// Moves the entry shown in row `row` (of the rows `shown` lists) one shown row up or down,
// swapping it with its shown neighbour. The row it is on afterwards, or nothing when it
// cannot move.
std::optional<std::size_t> MoveQuickItem(QuickItems& items, const std::vector<std::size_t>& shown,
                                         std::size_t row, bool up);

// What starting an entry asks of the run page's launch path: a folder for a path ending in
// a backslash, else a catalog entry.
RunAvailable QuickRunCandidate(const QuickItem& item);

// Alt+1 .. Alt+9 start the first nine entries; slot is 1-based.
inline constexpr std::size_t kQuickSlots = 9;

} // namespace orvan
