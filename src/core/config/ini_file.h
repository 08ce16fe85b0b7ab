#pragma once
// An INI file as text, read and changed the way the Windows profile functions
// (GetPrivateProfileStringW / WritePrivateProfileStringW) treat it: section and key names
// compared without regard to case, names and values trimmed, the first section and the first
// key of a name win, and a write changes only the one line it concerns, so unknown
// sections, keys, comments and stray lines stay where they are.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace orvan {

class IniFile {
public:
    IniFile() = default;

    // Decodes a file's bytes: UTF-16LE or UTF-16BE with byte-order mark, UTF-8 with or
    // without one, and anything else as Windows-1252 (the ANSI code page of Western Windows).
    static IniFile FromBytes(std::string_view bytes);
    // Parses UTF-8 text; lines end with LF or CR LF.
    static IniFile FromText(std::string_view text);

    // The trimmed value, without one pair of enclosing quotes; nothing when the section or
    // key is missing (a line without "=" holds no value).
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;

    // The keys of the first section of that name, first occurrences only, in file order,
    // with their values as Read gives them.
    std::vector<std::pair<std::string, std::string>> ReadSection(std::string_view section) const;

    // Sets a key: replaces the value of its line, or adds the line at the end of the section,
    // or adds the section at the end of the file. Line breaks in the value become blanks,
    // since a value cannot span lines.
    void Write(std::string_view section, std::string_view key, std::string_view value);

    // The text with CR LF line ends.
    std::string ToText() const;
    // The file's bytes: UTF-16LE with byte-order mark, which the Windows profile functions
    // read and write as Unicode, so every character survives their round trip.
    std::string ToBytes() const;

private:
    // Key lines of a section by name, letter case ignored: an open-addressing table of line
    // numbers, so that a section of a million keys costs no string per key.
    class KeyTable {
    public:
        // The line of the first key of that name, or npos.
        std::size_t Find(const std::vector<std::string>& lines, std::string_view name) const;
        // Records a key line unless its name is already there.
        void Insert(const std::vector<std::string>& lines, std::string_view name, std::size_t line);

    private:
        // Line + 1 in the low half (0 is a free slot), part of the name's hash in the high
        // half, so that a probe rarely has to look at a line.
        std::vector<std::uint64_t> slots_;
        std::size_t used_ = 0;
    };

    struct Section {
        std::string name;               // as between the brackets
        std::vector<std::string> lines; // the header first (none for the lines before any)
        KeyTable keys;
    };

    static std::optional<std::pair<std::string_view, std::string_view>>
    SplitKeyLine(std::string_view line);
    const Section* FindSection(std::string_view name) const;
    void AddLine(std::string_view line);

    std::vector<Section> sections_; // sections_[0] holds the lines before the first header
    std::unordered_map<std::string, std::size_t> sectionIndex_; // upper-cased -> first
};

} // namespace orvan
