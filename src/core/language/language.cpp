#include "core/language/language.h"

#include <algorithm>
#include <memory>
#include <mutex>
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

// The loaded language: one text per table entry, "" where the English default applies.
// It is never changed once made; a new language replaces the whole snapshot, so a reader
// that took one keeps a consistent set of texts while another thread switches.
struct Translation {
    int code = 1;
    std::vector<std::string> texts;
};

struct CurrentTranslation {
    std::mutex mutex;
    std::shared_ptr<const Translation> translation; // none: English
};

CurrentTranslation& Current() {
    static CurrentTranslation current;
    return current;
}

std::shared_ptr<const Translation> TranslationSnapshot() {
    CurrentTranslation& current = Current();
    const std::lock_guard<std::mutex> lock(current.mutex);
    return current.translation;
}

void ReplaceTranslation(std::shared_ptr<const Translation> translation) {
    CurrentTranslation& current = Current();
    const std::lock_guard<std::mutex> lock(current.mutex);
    current.translation.swap(translation);
    // The old snapshot is released here, or by its last reader.
}

// The entry's text in stored form under the loaded language; "" for an unknown ID.
std::string_view CurrentStoredText(int id, const Translation* translation) {
    const LanguageText* entry = Table().Find(id);
    if (entry == nullptr) {
        return {};
    }
    if (translation != nullptr) {
        const auto index = static_cast<std::size_t>(entry - Table().entries.data());
        if (!translation->texts[index].empty()) {
            return translation->texts[index];
        }
    }
    return entry->text;
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

// Fills the first "%s" at or after from and moves from past the inserted text, so that a
// "%s" inside an argument (a path may hold one) stays as it is and the next argument goes
// to the text's own next placeholder.
bool FillNextPlaceholder(std::string& text, std::size_t& from, std::string_view arg) {
    const std::size_t pos = text.find(kPlaceholder, from);
    if (pos == std::string::npos) {
        return false;
    }
    text.replace(pos, kPlaceholder.size(), arg);
    from = pos + arg.size();
    return true;
}

} // namespace

const std::array<LanguageText, kLanguageTextCount>& LanguageTexts() {
    return Table().entries;
}

void SetTranslations(int code, std::span<const TranslatedText> texts) {
    auto translation = std::make_shared<Translation>();
    translation->code = code;
    translation->texts.resize(kLanguageTextCount);
    const TextTable& table = Table();
    for (const TranslatedText& text : texts) {
        const LanguageText* entry = table.Find(text.id);
        if (entry == nullptr || entry->defaultText.empty()) {
            continue;
        }
        translation->texts[static_cast<std::size_t>(entry - table.entries.data())] = text.text;
    }
    ReplaceTranslation(std::move(translation));
}

void ClearTranslations() {
    ReplaceTranslation(nullptr);
}

int CurrentLanguageCode() {
    const std::shared_ptr<const Translation> translation = TranslationSnapshot();
    return translation == nullptr ? 1 : translation->code;
}

std::string StoredText(int id) {
    const std::shared_ptr<const Translation> translation = TranslationSnapshot();
    return std::string(CurrentStoredText(id, translation.get()));
}

std::size_t PlaceholderCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = text.find(kPlaceholder); pos != std::string_view::npos;
         pos = text.find(kPlaceholder, pos + kPlaceholder.size())) {
        ++count;
    }
    return count;
}

std::string AppendDots(std::string text) {
    if (!text.ends_with(kDots)) {
        text += kDots;
    }
    return text;
}

std::string FillPlaceholders(std::string text, std::initializer_list<std::string_view> args) {
    std::size_t from = 0;
    for (std::string_view arg : args) {
        if (!FillNextPlaceholder(text, from, arg)) {
            break;
        }
    }
    return text;
}

std::string FillPlaceholders(std::string text, std::span<const std::string> args) {
    std::size_t from = 0;
    for (const std::string& arg : args) {
        if (!FillNextPlaceholder(text, from, arg)) {
            break;
        }
    }
    return text;
}

std::string Languages::Text(int id) {
    const std::shared_ptr<const Translation> translation = TranslationSnapshot();
    const std::string_view stored = CurrentStoredText(id, translation.get());
    if (stored.empty()) {
        std::string fallback(kErrorWord);
        fallback += " (";
        fallback += kIdWord;
        fallback += ' ';
        fallback += std::to_string(id);
        fallback += ')';
        return fallback;
    }
    return ExpandLineBreaks(stored);
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
