#include "core/pages/clipboard_history.h"

#include "core/base/utf.h"
#include "core/config/options.h"

#include <algorithm>
#include <charconv>

namespace orvan {

namespace {

constexpr std::string_view kHeader = "Orvan clipboard history 1\n";

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

} // namespace

bool ClipboardTextRecordable(const ClipboardMarkers& markers) {
    if (markers.excludeFromMonitoring)
        return false;
    return !(markers.canIncludeInHistory && *markers.canIncludeInHistory == 0);
}

std::string_view CutUtf8(std::string_view text, std::size_t limit) {
    if (text.size() <= limit)
        return text;
    std::size_t end = limit;
    // Back to the start of the character the cut falls into; it is left out whole.
    while (end > 0 && IsContinuation(static_cast<unsigned char>(text[end])))
        --end;
    return text.substr(0, end);
}

bool ClipboardHistory::Record(std::string_view text) {
    if (text.empty())
        return false;
    ClipboardEntry entry{std::string(CutUtf8(text, kClipboardTextLimit)),
                         text.size() > kClipboardTextLimit};
    if (!entries_.empty() && entries_.front() == entry)
        return false;
    const auto listed = std::find(entries_.begin(), entries_.end(), entry);
    if (listed != entries_.end()) {
        std::rotate(entries_.begin(), listed, listed + 1);
        return true;
    }
    entries_.insert(entries_.begin(), std::move(entry));
    if (entries_.size() > kClipboardHistoryEntries)
        entries_.resize(kClipboardHistoryEntries);
    return true;
}

bool ClipboardHistory::Remove(std::size_t index) {
    if (index >= entries_.size())
        return false;
    entries_.erase(entries_.begin() + std::ptrdiff_t(index));
    return true;
}

std::string ClipboardHistory::Serialize() const {
    std::string out(kHeader);
    for (const ClipboardEntry& entry : entries_) {
        out += std::to_string(entry.text.size());
        out += entry.cut ? " 1\n" : " 0\n";
        out += entry.text;
        out += '\n';
    }
    return out;
}

ClipboardHistory ClipboardHistory::Parse(std::string_view bytes) {
    ClipboardHistory history;
    if (bytes.substr(0, kHeader.size()) != kHeader)
        return history;
    std::size_t pos = kHeader.size();
    while (pos < bytes.size() && history.entries_.size() < kClipboardHistoryEntries) {
        const std::size_t lineEnd = bytes.find('\n', pos);
        if (lineEnd == std::string_view::npos)
            break;
        const std::string_view line = bytes.substr(pos, lineEnd - pos);
        std::size_t length = 0;
        const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), length);
        const std::string_view flag(rest, std::size_t(line.data() + line.size() - rest));
        if (error != std::errc() || (flag != " 0" && flag != " 1"))
            break;
        const std::size_t textStart = lineEnd + 1;
        if (length > bytes.size() - textStart || textStart + length >= bytes.size() ||
            bytes[textStart + length] != '\n')
            break;
        const std::string_view text = bytes.substr(textStart, length);
        if (!text.empty()) {
            ClipboardEntry entry{std::string(CutUtf8(text, kClipboardTextLimit)),
                                 flag == " 1" || text.size() > kClipboardTextLimit};
            // Oldest last: a file written by hand with repeats keeps the first of them.
            if (std::find(history.entries_.begin(), history.entries_.end(), entry) ==
                history.entries_.end())
                history.entries_.push_back(std::move(entry));
        }
        pos = textStart + length + 1;
    }
    return history;
}

std::string ClipboardHistoryFileName(std::string_view optionsFileName) {
    return ChangeFileExtension(optionsFileName, "_Clipboard.txt");
}

ClipboardHistoryLoad LoadClipboardHistory(const FileStorePort& files, const std::string& path) {
    const FileContent content = files.ReadWholeFile(path);
    switch (content.status) {
    case FileContent::Status::Missing:
        return {};
    case FileContent::Status::Unreadable:
        return {{}, true};
    case FileContent::Status::Read:
        break;
    }
    return {ClipboardHistory::Parse(content.bytes), false};
}

std::vector<std::size_t> FilterClipboardEntries(const std::vector<ClipboardEntry>& entries,
                                                std::string_view filter) {
    std::vector<std::size_t> shown;
    const std::string wanted = Lower(filter);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (wanted.empty() || Lower(entries[i].text).find(wanted) != std::string::npos)
            shown.push_back(i);
    return shown;
}

std::string ClipboardRowText(const ClipboardEntry& entry, std::string_view cutMark,
                             std::size_t width) {
    std::string row;
    std::size_t characters = 0;
    bool blank = false;
    bool truncated = false;
    for (std::size_t pos = 0; pos < entry.text.size();) {
        const char32_t c = DecodeUtf8(entry.text, pos);
        if (c <= 32 || c == 0x7F) {
            blank = !row.empty();
            continue;
        }
        if (characters + (blank ? 1 : 0) >= width) {
            truncated = true;
            break;
        }
        if (blank) {
            row += ' ';
            ++characters;
            blank = false;
        }
        AppendUtf8(row, c);
        ++characters;
    }
    if (truncated)
        row += "...";
    if (entry.cut) {
        row += ' ';
        row += cutMark;
    }
    return row;
}

} // namespace orvan
