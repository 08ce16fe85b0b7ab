#include "core/language/language.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace orvan {
namespace {

constexpr std::string_view kErrorWord = "Error";
constexpr std::string_view kIdWord = "ID";
constexpr std::string_view kColon = ":";
constexpr std::string_view kSpace = " ";
constexpr std::string_view kDots = "...";
constexpr std::string_view kPlaceholder = "%s";

// The live table together with an index sorted by ID. Texts are fetched on every
// keystroke of the search window, so a lookup is a binary search, not a scan.
struct TextTable {
    std::array<LanguageText, kLanguageTextCount> entries;
    std::vector<std::pair<int, std::size_t>> byId;

    TextTable() {
        for (std::size_t i = 0; i < kLanguageTextCount; ++i) {
            const LanguageTextDefault& d = kLanguageTextDefaults[i];
            entries[i] = LanguageText{d.group, d.id, std::string(d.defaultText), d.defaultText};
        }
        byId.reserve(kLanguageTextCount);
        for (std::size_t i = 0; i < kLanguageTextCount; ++i) {
            byId.emplace_back(entries[i].id, i);
        }
        // Stable, so of several entries with one ID the first in table order comes first.
        std::stable_sort(byId.begin(), byId.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    }

    const LanguageText* Find(int id) const {
        const auto it =
            std::lower_bound(byId.begin(), byId.end(), id,
                             [](const auto& item, int key) { return item.first < key; });
        if (it == byId.end() || it->first != id) {
            return nullptr;
        }
        return &entries[it->second];
    }
};

const TextTable& Table() {
    static const TextTable table;
    return table;
}

// The table stores a line break as the two characters backslash and r.
std::string ExpandLineBreaks(std::string_view stored) {
    std::string result;
    result.reserve(stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '\\' && i + 1 < stored.size() && stored[i + 1] == 'r') {
            result += '\r';
            ++i;
        } else {
            result += stored[i];
        }
    }
    return result;
}

bool FillFirstPlaceholder(std::string& text, std::string_view arg) {
    const std::size_t pos = text.find(kPlaceholder);
    if (pos == std::string::npos) {
        return false;
    }
    text.replace(pos, kPlaceholder.size(), arg);
    return true;
}

} // namespace

const std::array<LanguageText, kLanguageTextCount>& LanguageTexts() {
    return Table().entries;
}

std::string AppendDots(std::string text) {
    if (!text.ends_with(kDots)) {
        text += kDots;
    }
    return text;
}

std::string FillPlaceholders(std::string text, std::initializer_list<std::string_view> args) {
    for (std::string_view arg : args) {
        if (!FillFirstPlaceholder(text, arg)) {
            break;
        }
    }
    return text;
}

std::string FillPlaceholders(std::string text, std::span<const std::string> args) {
    for (const std::string& arg : args) {
        if (!FillFirstPlaceholder(text, arg)) {
            break;
        }
    }
    return text;
}

std::string Languages::Text(int id) {
    const LanguageText* entry = Table().Find(id);
    if (entry == nullptr || entry->text.empty()) {
        std::string fallback(kErrorWord);
        fallback += " (";
        fallback += kIdWord;
        fallback += ' ';
        fallback += std::to_string(id);
        fallback += ')';
        return fallback;
    }
    return ExpandLineBreaks(entry->text);
}

std::string Languages::TextFmt(int id, std::initializer_list<std::string_view> args) {
    return FillPlaceholders(Text(id), args);
}

std::string Languages::TextFmt(int id, std::span<const std::string> args) {
    return FillPlaceholders(Text(id), args);
}

std::string Languages::TextColon(int id) {
    return Text(id) + std::string(kColon);
}

std::string Languages::TextSpace(int id) {
    return Text(id) + std::string(kSpace);
}

std::string Languages::TextDots(int id) {
    return AppendDots(Text(id));
}

std::string Languages::YesNo(bool value) {
    return Text(YesNoIDs[value ? 1 : 0]);
}

} // namespace orvan
