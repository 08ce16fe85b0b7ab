#pragma once
// UTF-8 is the core's text encoding; these helpers convert at the places where the system
// counts, orders or indexes UTF-16 code units, as Windows does.
#include <cstddef>
#include <string>
#include <string_view>

namespace orvan {

// Invalid UTF-8 sequences become U+FFFD, so arbitrary bytes never stop a conversion.
std::u16string Utf8ToUtf16(std::string_view text);
// Lone surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Decodes the code point starting at text[pos] and advances pos past it.
// Invalid or truncated sequences give U+FFFD and advance by one byte.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);
void AppendUtf8(std::string& out, char32_t codePoint);

// Number of UTF-16 code units the text occupies.
std::size_t Utf16Length(std::string_view text);

// Letter case of the ASCII letters only; every other byte is left as it is.
std::string AsciiUpper(std::string_view text);
std::string AsciiLower(std::string_view text);
constexpr char AsciiUpperChar(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
// Comparisons that ignore the letter case of the ASCII letters, as file names are compared
// where the usual names need no table.
bool AsciiEqualIgnoringCase(std::string_view a, std::string_view b);
bool AsciiStartsWithIgnoringCase(std::string_view text, std::string_view prefix);

// Lower case for the whole Unicode range as far as simple one-to-one mappings reach
// (Latin, Greek, Cyrillic and the other bicameral scripts of the BMP).
std::string Lower(std::string_view text);
std::string Upper(std::string_view text);

// Removes characters with a code of 32 or less from both ends.
std::string_view TrimControl(std::string_view text);

// Compares as Windows orders strings ordinally: by UTF-16 code unit, the texts taken as
// Utf8ToUtf16 converts them, so 0 for texts that convert alike. Decided from the bytes
// where they are ASCII, since sorting a large catalog runs this for every pair it meets.
int CompareUtf16(std::string_view a, std::string_view b);

} // namespace orvan
