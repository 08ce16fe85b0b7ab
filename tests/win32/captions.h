#pragma once
// Reading every text a window shows the user (its caption, its controls', tab captions,
// drop-down items, menu items and tool tips), so that a test can check that each one comes
// from the text table: under the pseudo-language every table text reads "[[Text]]", and
// a text without the brackets was written past the table.
#include "core/language/language.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace orvan::testing {

struct ShownText {
    std::wstring where; // which window or menu shows it, for the failure message
    std::wstring text;
    HWND window = nullptr; // the control, for telling data apart; none for menu items
};

// The window's own caption and those of its descendants, hidden ones too (the pages not
// shown). Edit boxes, hot-key boxes and list boxes hold the user's data and are left out,
// as are drop-downs with an edit box; a drop-down list gives its items.
std::vector<ShownText> WindowTexts(HWND root, const std::wstring& name);

// Every item of the menu and of its submenus; separators have no text.
std::vector<ShownText> MenuTexts(HMENU menu, const std::wstring& name);

// The texts of every tool tip of this thread.
std::vector<ShownText> ToolTipTexts();

// Whether a text came through the pseudo-language: it holds the brackets.
bool PseudoTranslated(const std::wstring& text);

// "where: text" for every non-empty text that did not come through the table, is not one
// of the texts above and that `isData` does not declare the user's data.
std::vector<std::wstring> Untranslated(const std::vector<ShownText>& texts,
                                       const std::function<bool(const ShownText&)>& isData = {});

// What the program shows untranslated by design: the application's title and the about
// text that begins with it, the maker's web link (its caption and the address in its tool
// tip), and the "*" that heads a grid's check-box column.
bool NotTranslatable(const ShownText& shown);

// "where: caption (width in room)" for every check box, radio button, push button and
// one-line label below root whose caption is wider than the room its control gives it.
std::vector<std::wstring> ClippedCaptions(HWND root, const std::wstring& name);

// Puts the English texts back when a test that loaded a language ends, however it ends.
struct EnglishAfterwards {
    EnglishAfterwards() = default;
    EnglishAfterwards(const EnglishAfterwards&) = delete;
    EnglishAfterwards& operator=(const EnglishAfterwards&) = delete;
    ~EnglishAfterwards() { ClearTranslations(); }
};

// The translations that come with the program, in res/languages.
struct ShippedLanguage {
    const char* file;
    int code;
};
inline constexpr ShippedLanguage kShippedLanguages[] = {{"German.lng", 1031}, {"French.lng", 1036}};
// A shipped file's bytes; "" when it cannot be read.
std::string ShippedLanguageBytes(const ShippedLanguage& language);

// A pseudo-language file for the code, written into the Languages folder beside the
// program file.
void WritePseudoLanguage(const std::string& programFileName, int code);

} // namespace orvan::testing
