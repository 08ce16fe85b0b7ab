#include "core/config/ini_file.h"

#include "core/base/utf.h"

#include <algorithm>

namespace orvan {

namespace {

// The blanks the profile functions strip around names and values; ^Z is the DOS end mark.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A;
}

std::string_view Trim(std::string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && IsBlank(text[b]))
        ++b;
    while (e > b && IsBlank(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

std::string Fold(std::string_view name) {
    return Upper(Trim(name));
}

// Windows-1252 for the bytes 0x80..0x9F; the rest of the upper half is Latin-1. Undefined
// positions keep their C1 code point, as MultiByteToWideChar does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[pos]);
        if (c < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        if (DecodeUtf8(bytes, pos) == 0xFFFD && pos == start + 1)
            return false;
    }
    return true;
}

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
    }
    return Utf16ToUtf8(units);
}

std::string DecodeAnsi(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 4);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            text.push_back(ch);
        else
            AppendUtf8(text, c < 0xA0 ? kCp1252High[c - 0x80] : c);
    }
    return text;
}

// Names compare as the profile functions compare them: letter case ignored.
bool IsAscii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

char AsciiFold(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

std::size_t FoldHash(std::string_view name) {
    std::string folded;
    if (!IsAscii(name)) {
        folded = Upper(name);
        name = folded;
    }
    std::uint64_t h = 1469598103934665603ull;
    for (const char c : name) {
        h ^= static_cast<unsigned char>(AsciiFold(c));
        h *= 1099511628211ull;
    }
    return static_cast<std::size_t>(h ^ (h >> 29));
}

bool FoldEqual(std::string_view a, std::string_view b) {
    if (IsAscii(a) && IsAscii(b)) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (AsciiFold(a[i]) != AsciiFold(b[i]))
                return false;
        return true;
    }
    return Upper(a) == Upper(b);
}

std::string StripQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

} // namespace

IniFile IniFile::FromBytes(std::string_view bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE)
        return FromText(DecodeUtf16(bytes.substr(2), false));
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
        static_cast<unsigned char>(bytes[1]) == 0xFF)
        return FromText(DecodeUtf16(bytes.substr(2), true));
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return FromText(bytes.substr(3));
    if (IsValidUtf8(bytes))
        return FromText(bytes);
    return FromText(DecodeAnsi(bytes));
}

IniFile IniFile::FromText(std::string_view text) {
    IniFile file;
    file.sections_.emplace_back();
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        file.AddLine(line);
    }
    return file;
}

std::size_t IniFile::KeyTable::Find(const std::vector<std::string>& lines,
                                    std::string_view name) const {
    if (slots_.empty())
        return std::string_view::npos;
    const std::size_t hash = FoldHash(name);
    const std::uint64_t tag = static_cast<std::uint64_t>(hash) >> 32 << 32;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
        if ((slots_[slot] >> 32 << 32) != tag)
            continue;
        const std::size_t line = (slots_[slot] & 0xFFFFFFFFu) - 1;
        if (FoldEqual(SplitKeyLine(lines[line])->first, name))
            return line;
    }
    return std::string_view::npos;
}

void IniFile::KeyTable::Insert(const std::vector<std::string>& lines, std::string_view name,
                               std::size_t line) {
    if (Find(lines, name) != std::string_view::npos)
        return;
    if ((used_ + 1) * 2 > slots_.size()) { // keep it at most half full
        std::vector<std::uint64_t> old = std::move(slots_);
        slots_.assign(std::max<std::size_t>(16, old.size() * 2), 0);
        const std::size_t mask = slots_.size() - 1;
        for (const std::uint64_t entry : old) {
            if (entry == 0)
                continue;
            // The tag holds the hash's high half; the low half is hashed again.
            const std::size_t hash =
                FoldHash(SplitKeyLine(lines[(entry & 0xFFFFFFFFu) - 1])->first);
            std::size_t slot = hash & mask;
            while (slots_[slot] != 0)
                slot = (slot + 1) & mask;
            slots_[slot] = entry;
        }
    }
    const std::size_t hash = FoldHash(name);
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hash & mask;
    while (slots_[slot] != 0)
        slot = (slot + 1) & mask;
    slots_[slot] = (static_cast<std::uint64_t>(hash) >> 32 << 32) | (line + 1);
    ++used_;
}

std::optional<std::pair<std::string_view, std::string_view>>
IniFile::SplitKeyLine(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '[')
        return std::nullopt;
    const std::size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    const std::string_view name = Trim(trimmed.substr(0, eq));
    if (name.empty())
        return std::nullopt;
    return std::pair{name, Trim(trimmed.substr(eq + 1))};
}

void IniFile::AddLine(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (!trimmed.empty() && trimmed.front() == '[') {
        const std::size_t close = trimmed.rfind(']');
        if (close != std::string_view::npos) {
            Section section;
            section.name = std::string(trimmed.substr(1, close - 1));
            section.lines.emplace_back(line);
            sectionIndex_.try_emplace(Upper(section.name), sections_.size());
            sections_.push_back(std::move(section));
            return;
        }
    }
    Section& section = sections_.back();
    section.lines.emplace_back(line);
    if (const auto key = SplitKeyLine(section.lines.back()))
        section.keys.Insert(section.lines, key->first, section.lines.size() - 1);
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    const auto it = sectionIndex_.find(Fold(name));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::string> IniFile::Read(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr)
        return std::nullopt;
    const std::size_t line = found->keys.Find(found->lines, Trim(key));
    if (line == std::string_view::npos)
        return std::nullopt;
    return StripQuotes(SplitKeyLine(found->lines[line])->second);
}

std::vector<std::pair<std::string, std::string>>
IniFile::ReadSection(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    const Section* found = FindSection(section);
    if (found == nullptr)
        return entries;
    for (std::size_t i = 0; i < found->lines.size(); ++i) {
        const auto key = SplitKeyLine(found->lines[i]);
        if (!key)
            continue;
        if (found->keys.Find(found->lines, key->first) == i)
            entries.emplace_back(std::string(key->first), StripQuotes(key->second));
    }
    return entries;
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
    if (sections_.empty())
        sections_.emplace_back();
    std::string clean(value);
    for (char& c : clean)
        if (c == '\r' || c == '\n')
            c = ' ';
    const std::string_view keyName = Trim(key);

    const auto sectionIt = sectionIndex_.find(Fold(section));
    if (sectionIt == sectionIndex_.end()) {
        Section added;
        added.name = std::string(Trim(section));
        added.lines.push_back("[" + added.name + "]");
        added.lines.push_back(std::string(keyName) + "=" + clean);
        added.keys.Insert(added.lines, keyName, added.lines.size() - 1);
        sectionIndex_.emplace(Upper(added.name), sections_.size());
        sections_.push_back(std::move(added));
        return;
    }
    Section& target = sections_[sectionIt->second];
    const std::size_t existing = target.keys.Find(target.lines, keyName);
    if (existing != std::string_view::npos) {
        std::string& line = target.lines[existing];
        line = std::string(SplitKeyLine(line)->first) + "=" + clean;
        return;
    }
    // After the section's last non-blank line, so that blank lines keep separating it from
    // the next section; only blank lines move, and they hold no keys.
    std::size_t at = target.lines.size();
    while (at > 1 && Trim(target.lines[at - 1]).empty())
        --at;
    target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(at),
                        std::string(keyName) + "=" + clean);
    target.keys.Insert(target.lines, keyName, at);
}

std::string IniFile::ToText() const {
    std::string text;
    for (const Section& section : sections_)
        for (const std::string& line : section.lines) {
            text += line;
            text += "\r\n";
        }
    return text;
}

std::string IniFile::ToBytes() const {
    const std::string text = ToText();
    std::string bytes = "\xFF\xFE";
    bytes.reserve(2 + text.size() * 2);
    auto unit = [&bytes](char32_t u) {
        bytes.push_back(static_cast<char>(u & 0xFF));
        bytes.push_back(static_cast<char>((u >> 8) & 0xFF));
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto c = static_cast<unsigned char>(text[pos]);
        if (c < 0x80) {
            unit(c);
            ++pos;
            continue;
        }
        const char32_t cp = DecodeUtf8(text, pos);
        if (cp >= 0x10000) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return bytes;
}

} // namespace orvan
