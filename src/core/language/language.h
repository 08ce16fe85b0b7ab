#pragma once
// The numbered text table through which every translatable user-visible text is fetched,
// the list of selectable languages and the weekday and Yes/No text numbers.
#include <array>
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace orvan {

inline constexpr std::size_t kLanguageTextCount = 518;
inline constexpr std::size_t kLanguageListCount = 205;

// One compiled-in entry: the area it belongs to, its number and its English default.
struct LanguageTextDefault {
    int group;
    int id;
    const char* defaultText;
};

// One entry of the live table. `text` is the current text; it starts as the default.
struct LanguageText {
    int group;
    int id;
    std::string text;
    std::string_view defaultText;
};

// A selectable language: its Windows locale identifier and the number of its name text.
struct LanguageListItem {
    int lcid;
    int textId;
};

// The defaults in table order. IDs are unique except 3000000; the first entry wins.
extern const std::array<LanguageTextDefault, kLanguageTextCount> kLanguageTextDefaults;

// The first pair is "None" (LCID 0), the second "Default" (LCID 1); the n-th pair names
// text 1100 + n. Language pickers skip the first pair.
extern const std::array<LanguageListItem, kLanguageListCount> LanguageList;

// "Monday" to "Sunday".
inline constexpr std::array<int, 7> DayNameIDs{12002, 12003, 12004, 12005, 12006, 12007, 12008};

// The details labels ("File size", "Product version", ...), which show as "Label: value" in
// the details text. The details window cuts that text into lines at line breaks and each
// line into name and value at its first colon, so a label's text holds neither.
inline constexpr bool IsColonLabel(int id) {
    return id >= 13010 && id <= 13039;
}

// Indexed by a Boolean: false gives "No", true gives "Yes".
inline constexpr std::array<int, 2> YesNoIDs{9, 8};

// The table as compiled, built on first use: every entry's `text` is its English default.
// A loaded translation lies over it and is read through Languages and StoredText.
const std::array<LanguageText, kLanguageTextCount>& LanguageTexts();

// One translated text: the ID and the text in stored form (line breaks as backslash-r).
struct TranslatedText {
    int id;
    std::string text;
};

// Replaces every translation at once with these texts and records code as the language
// shown. IDs without an English text are ignored, an empty text keeps the English one, and
// of repeated IDs the last wins. Readers on other threads see the old texts or the new
// ones, never a mixture.
void SetTranslations(int code, std::span<const TranslatedText> texts);
// Back to the English defaults; the language shown becomes 1 ("Default").
void ClearTranslations();
// The locale identifier of the language whose texts are shown; 1 for English.
int CurrentLanguageCode();

// The current text of id in stored form, line breaks still as backslash-r; "" when the
// table has no text for id.
std::string StoredText(int id);

// How many "%s" placeholders a text holds; a translation must keep the English count.
std::size_t PlaceholderCount(std::string_view text);

// Appends "..." unless the text already ends with it.
std::string AppendDots(std::string text);

// Fills "%s" placeholders in order. Each argument replaces the text's next "%s" after the
// one filled before, so a "%s" brought in by an argument stays as it is and never takes
// the next argument. Left-over placeholders stay; surplus arguments are ignored.
std::string FillPlaceholders(std::string text, std::initializer_list<std::string_view> args);
std::string FillPlaceholders(std::string text, std::span<const std::string> args);

// The only way to read the text table. A missing ID or an empty text yields
// "Error (ID n)"; every stored backslash-r pair comes back as a carriage return.
class Languages {
public:
    Languages() = delete;

    static std::string Text(int id);
    static std::string TextFmt(int id, std::initializer_list<std::string_view> args);
    static std::string TextFmt(int id, std::span<const std::string> args);
    static std::string TextColon(int id);
    static std::string TextSpace(int id);
    static std::string TextDots(int id);
    static std::string YesNo(bool value);
};

} // namespace orvan
