#include "core/base/utf.h"

#include <cstdint>
#include <cstring>

namespace orvan {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Simple case pairs for the bicameral blocks of the BMP. Each range maps a span of upper-case
// letters to lower case by a fixed offset, either for every code point or for every other one.
struct CaseRange {
    char32_t first;
    char32_t last;
    int offset;       // lower = upper + offset
    bool alternating; // upper and lower alternate: even code points upper
};

constexpr CaseRange kCaseRanges[] = {
    {0x0041, 0x005A, 32, false}, {0x00C0, 0x00D6, 32, false}, {0x00D8, 0x00DE, 32, false},
    {0x0100, 0x012F, 1, true},   {0x0132, 0x0137, 1, true},   {0x0139, 0x0148, 1, true},
    {0x014A, 0x0177, 1, true},   {0x0179, 0x017E, 1, true},   {0x0386, 0x0386, 38, false},
    {0x0388, 0x038A, 37, false}, {0x038C, 0x038C, 64, false}, {0x038E, 0x038F, 63, false},
    {0x0391, 0x03A1, 32, false}, {0x03A3, 0x03AB, 32, false}, {0x0400, 0x040F, 80, false},
    {0x0410, 0x042F, 32, false}, {0x0460, 0x0481, 1, true},   {0x048A, 0x04BF, 1, true},
    {0x04C1, 0x04CE, 1, true},   {0x04D0, 0x052F, 1, true},   {0x0531, 0x0556, 48, false},
    {0x1E00, 0x1E95, 1, true},   {0x1EA0, 0x1EFF, 1, true},   {0xFF21, 0xFF3A, 32, false},
};

char32_t ToLower(char32_t c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 32 : c;
    for (const CaseRange& r : kCaseRanges) {
        if (c < r.first || c > r.last)
            continue;
        if (r.alternating) {
            // In alternating ranges the upper-case letter sits on the range's own parity.
            if (((c - r.first) & 1) == 0)
                return c + static_cast<char32_t>(r.offset);
            return c;
        }
        return c + static_cast<char32_t>(r.offset);
    }
    return c;
}

char32_t ToUpper(char32_t c) {
    if (c < 0x80)
        return c >= 'a' && c <= 'z' ? c - 32 : c;
    for (const CaseRange& r : kCaseRanges) {
        if (r.alternating) {
            if (c > r.first && c <= r.last + 1 && ((c - r.first) & 1) == 1)
                return c - 1;
            continue;
        }
        const char32_t lowFirst = r.first + static_cast<char32_t>(r.offset);
        const char32_t lowLast = r.last + static_cast<char32_t>(r.offset);
        if (c >= lowFirst && c <= lowLast)
            return c - static_cast<char32_t>(r.offset);
    }
    return c;
}

// The UTF-16 code units of UTF-8 text one at a time, invalid bytes as U+FFFD (as
// Utf8ToUtf16 converts them).
class Utf16Units {
public:
    Utf16Units(std::string_view text, std::size_t from) : text_(text), pos_(from) {}
    bool Next(char32_t& unit) {
        if (low_ != 0) {
            unit = low_;
            low_ = 0;
            return true;
        }
        if (pos_ >= text_.size())
            return false;
        const char32_t cp = DecodeUtf8(text_, pos_);
        if (cp >= 0x10000) {
            unit = 0xD800 + ((cp - 0x10000) >> 10);
            low_ = 0xDC00 + ((cp - 0x10000) & 0x3FF);
        } else {
            unit = cp;
        }
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_;
    char32_t low_ = 0;
};

} // namespace

char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto c0 = static_cast<unsigned char>(text[pos]);
    if (c0 < 0x80) {
        ++pos;
        return c0;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((c0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = c0 & 0x1Fu;
        minimum = 0x80;
    } else if ((c0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = c0 & 0x0Fu;
        minimum = 0x800;
    } else if ((c0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = c0 & 0x07u;
        minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (text.size() - pos <= static_cast<std::size_t>(extra)) {
        ++pos;
        return kReplacement;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto c = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(i)]);
        if (!IsContinuation(c)) {
            ++pos;
            return kReplacement;
        }
        cp = (cp << 6) | (c & 0x3Fu);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += static_cast<std::size_t>(extra) + 1;
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = kReplacement;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t cp = DecodeUtf8(text, pos);
        if (cp >= 0x10000) {
            const char32_t v = cp - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::size_t Utf16Length(std::string_view text) {
    std::size_t n = 0;
    std::size_t pos = 0;
    while (pos < text.size())
        n += DecodeUtf8(text, pos) >= 0x10000 ? 2 : 1;
    return n;
}

std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return out;
}

bool AsciiEqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && AsciiStartsWithIgnoringCase(a, b);
}

bool AsciiStartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (AsciiUpperChar(text[i]) != AsciiUpperChar(prefix[i]))
            return false;
    return true;
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return out;
}

namespace {

// Maps every decodable character; undecodable bytes are kept as they were, so that case
// mapping never changes anything but letters.
std::string MapCase(std::string_view text, char32_t (*map)(char32_t)) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto c = static_cast<unsigned char>(text[pos]);
        if (c < 0x80) {
            // ASCII, most of every path and name: no need to decode or search the ranges.
            out.push_back(static_cast<char>(map(c)));
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        const char32_t cp = DecodeUtf8(text, pos);
        if (cp == kReplacement && pos == start + 1 && c >= 0x80)
            out.push_back(static_cast<char>(c));
        else
            AppendUtf8(out, map(cp));
    }
    return out;
}

} // namespace

std::string Lower(std::string_view text) {
    return MapCase(text, ToLower);
}

std::string Upper(std::string_view text) {
    return MapCase(text, ToUpper);
}

std::string_view TrimControl(std::string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32)
        --e;
    return text.substr(b, e - b);
}

int CompareUtf16(std::string_view a, std::string_view b) {
    // Find the first difference eight bytes at a time; plain ASCII on both sides there
    // decides at once (the bytes before it decode alike in both texts).
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a.data() + i, 8);
        std::memcpy(&y, b.data() + i, 8);
        if (x != y)
            break;
    }
    while (i < n && a[i] == b[i])
        ++i;
    if (i == a.size() && i == b.size())
        return 0;
    const bool asciiA = i == a.size() || static_cast<unsigned char>(a[i]) < 0x80;
    const bool asciiB = i == b.size() || static_cast<unsigned char>(b[i]) < 0x80;
    if (asciiA && asciiB) {
        if (i == a.size() || i == b.size()) // a prefix, ended before a character boundary
            return i == a.size() ? -1 : 1;
        return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
    }
    // Decode both from the last common ASCII byte on: a character boundary in both.
    std::size_t from = i;
    while (from > 0 && static_cast<unsigned char>(a[from - 1]) >= 0x80)
        --from;
    Utf16Units unitsA(a, from);
    Utf16Units unitsB(b, from);
    for (;;) {
        char32_t ua = 0;
        char32_t ub = 0;
        const bool moreA = unitsA.Next(ua);
        const bool moreB = unitsB.Next(ub);
        if (!moreA || !moreB)
            return moreA == moreB ? 0 : (moreA ? 1 : -1);
        if (ua != ub)
            return ua < ub ? -1 : 1;
    }
}

} // namespace orvan
