#pragma once
// The Clipboard page's history of copied texts: newest first, a text already listed moves
// to the top instead of appearing twice, at most 100 entries, texts cut to their first
// 64 KB; the privacy markers that keep a copy out of it; its rows; and the file it is kept
// in between starts.
#include "core/ports/file_store.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvan {

inline constexpr std::size_t kClipboardHistoryEntries = 100;
inline constexpr std::size_t kClipboardTextLimit = 64 * 1024; // bytes of UTF-8

struct ClipboardEntry {
    std::string text; // UTF-8, at most kClipboardTextLimit bytes
    bool cut = false; // the copied text was longer

    bool operator==(const ClipboardEntry&) const = default;
};

// What the clipboard holds beside its text that decides whether the text may be recorded:
// password managers mark secrets with the registered format
// "ExcludeClipboardContentFromMonitorProcessing" (any content), or with
// "CanIncludeInClipboardHistory" holding the DWORD 0.
struct ClipboardMarkers {
    bool excludeFromMonitoring = false;
    std::optional<std::uint32_t> canIncludeInHistory; // its value, when present and readable
};

bool ClipboardTextRecordable(const ClipboardMarkers& markers);

// The first `limit` bytes of a text, shortened to whole UTF-8 characters.
std::string_view CutUtf8(std::string_view text, std::size_t limit);

class ClipboardHistory {
public:
    const std::vector<ClipboardEntry>& Entries() const { return entries_; }

    // A copied text: put on top (moved there when it is already listed, cut to the limit
    // first). Empty texts are not recorded. True when the history changed.
    bool Record(std::string_view text);
    // False for a row that is not there.
    bool Remove(std::size_t index);
    void Clear() { entries_.clear(); }

    // The stored form: a first line naming the format, then per entry a line with the
    // text's length in bytes and 1 or 0 for cut, the text, and a line break.
    std::string Serialize() const;
    // Reads what Serialize wrote. A damaged or truncated file gives the entries before the
    // fault; entries beyond the limits are cut or dropped as recording would.
    static ClipboardHistory Parse(std::string_view bytes);

private:
    std::vector<ClipboardEntry> entries_;
};

// The options file name with its extension replaced:
// "C:\x\Orvan.ini" -> "C:\x\Orvan_Clipboard.txt".
std::string ClipboardHistoryFileName(std::string_view optionsFileName);

// What the history file gave at start. A file that exists but cannot be read is never
// written over (`blocked`), so that a passing lock does not cost the saved history.
struct ClipboardHistoryLoad {
    ClipboardHistory history;
    bool blocked = false;
};
ClipboardHistoryLoad LoadClipboardHistory(const FileStorePort& files, const std::string& path);

// The positions of the entries whose text contains the filter, letter case ignored.
std::vector<std::size_t> FilterClipboardEntries(const std::vector<ClipboardEntry>& entries,
                                                std::string_view filter);

// A row as the list shows it: the text on one line (each run of line breaks, tabs and other
// control characters one blank, blanks at the ends gone), at most `width` characters, then
// the cut mark after a cut text.
std::string ClipboardRowText(const ClipboardEntry& entry, std::string_view cutMark,
                             std::size_t width = 200);

} // namespace orvan
