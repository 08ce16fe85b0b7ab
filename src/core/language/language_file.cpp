#include "core/language/language_file.h"

#include "core/base/path_parts.h"
#include "core/base/utf.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>

namespace orvan {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";
// The table's form of a line break inside a text.
constexpr std::string_view kStoredLineBreak = "\\r";

// UTF-16 text, as Notepad saves "Unicode": a byte-order mark, or without one a zero byte in
// the first character (a language file starts with ASCII: ";", "[" or a letter).
bool LooksLikeUtf16(std::string_view bytes) {
    return bytes.starts_with(kUtf16LittleEndianMark) || bytes.starts_with(kUtf16BigEndianMark) ||
           (bytes.size() >= 2 && (bytes[0] == '\0' || bytes[1] == '\0'));
}
constexpr std::string_view kLanguageSection = "language";
constexpr std::string_view kTextsSection = "texts";
constexpr char32_t kReplacementCharacter = 0xFFFD;

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        // A replacement character written as such is three bytes; an invalid byte gives
        // one and moves on by one.
        if (DecodeUtf8(text, pos) == kReplacementCharacter && pos - start == 1) {
            return false;
        }
    }
    return true;
}

// Windows controls show no control characters but tabs, and a NUL would end the text.
bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\t') || byte == 0x7F;
    });
}

// A plain decimal number of at most nine digits: every ID and locale identifier fits.
std::optional<int> ParseNumber(std::string_view text) {
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

bool IsSelectableLanguage(int code) {
    // The first two entries are "None" and "Default", which no file can stand for.
    return std::any_of(LanguageList.begin() + 2, LanguageList.end(),
                       [code](const LanguageListItem& item) { return item.lcid == code; });
}

// The English defaults by ID (the first entry of a repeated ID wins, as in the table).
const std::map<int, std::string_view>& EnglishTexts() {
    static const std::map<int, std::string_view> texts = [] {
        std::map<int, std::string_view> result;
        for (const LanguageText& entry : LanguageTexts()) {
            result.emplace(entry.id, entry.defaultText);
        }
        return result;
    }();
    return texts;
}

std::string EnglishLanguageName(int code) {
    for (const LanguageListItem& item : LanguageList) {
        if (item.lcid == code) {
            const auto english = EnglishTexts().find(item.textId);
            return english == EnglishTexts().end() ? std::string() : std::string(english->second);
        }
    }
    return {};
}

enum class Section { None, Language, Texts, Other };

class Parser {
public:
    explicit Parser(bool headerOnly) : headerOnly_(headerOnly) {}

    LanguageFile Parse(std::string_view bytes) {
        if (bytes.starts_with(kByteOrderMark)) {
            bytes.remove_prefix(kByteOrderMark.size());
        } else if (LooksLikeUtf16(bytes)) {
            file_.utf16 = true;
            file_.problems.push_back(
                {1, "UTF-16 text; a language file must be UTF-8, so none of it is read", true});
            return std::move(file_);
        }
        int number = 0;
        while (!bytes.empty()) {
            const std::size_t end = bytes.find('\n');
            std::string_view line = bytes.substr(0, end);
            bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
            if (line.ends_with('\r')) {
                line.remove_suffix(1);
            }
            ++number;
            if (line.find('\r') != std::string_view::npos) {
                // A file saved with old Macintosh line ends is one long line here.
                file_.problems.push_back(
                    {number,
                     "a bare CR (no LF after it) does not end a line; lines end in LF "
                     "or CR LF",
                     true});
            }
            if (!Line(number, TrimBlanks(line))) {
                break;
            }
        }
        return std::move(file_);
    }

private:
    // False once the rest of the file is not wanted.
    bool Line(int number, std::string_view line) {
        if (line.empty() || line.front() == ';') {
            return true;
        }
        if (!IsValidUtf8(line)) {
            return Skip(number, "not UTF-8 text");
        }
        if (line.front() == '[' && line.back() == ']') {
            const std::string name = AsciiLower(TrimBlanks(line.substr(1, line.size() - 2)));
            if (name == kLanguageSection && textsSeen_) {
                // Listing reads no further than the texts; a header after them would make
                // the list and the loaded file disagree.
                section_ = Section::Other;
                Skip(number, "the [Language] section must come before the texts");
            } else if (name == kLanguageSection) {
                section_ = Section::Language;
                if (file_.languageLine == 0) {
                    file_.languageLine = number;
                }
            } else if (name == kTextsSection) {
                if (headerOnly_) {
                    return false;
                }
                section_ = Section::Texts;
                textsSeen_ = true;
            } else {
                section_ = Section::Other;
                Skip(number, "unknown section; its lines are skipped");
            }
            return true;
        }
        if (section_ == Section::Other) {
            return true;
        }
        const std::size_t equals = line.find('=');
        if (section_ == Section::None || equals == std::string_view::npos) {
            return Skip(number, section_ == Section::None ? "outside a section"
                                                          : "not a line of the form ID=Text");
        }
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        const std::string_view value = TrimBlanks(line.substr(equals + 1));
        if (HasControlCharacter(value)) {
            return Skip(number, "control character in the text");
        }
        return section_ == Section::Language ? HeaderLine(number, key, value)
                                             : TextLine(number, key, value);
    }

    bool HeaderLine(int number, std::string_view key, std::string_view value) {
        const std::string name = AsciiLower(key);
        if (name == "code") {
            file_.codeLine = number;
            const std::optional<int> code = ParseNumber(value);
            if (!code || !IsSelectableLanguage(*code)) {
                file_.problems.push_back({number,
                                          "not a language code of the language list; the "
                                          "language lists leave the file out",
                                          true});
                return true;
            }
            file_.code = *code;
        } else if (name == "name") {
            file_.name = value;
        }
        // Other keys (a translator's name, say) are remarks for people.
        return true;
    }

    bool TextLine(int number, std::string_view key, std::string_view value) {
        const std::optional<int> id = ParseNumber(key);
        if (!id) {
            return Skip(number, "not a line of the form ID=Text");
        }
        const auto english = EnglishTexts().find(*id);
        if (english == EnglishTexts().end() || english->second.empty()) {
            return Skip(number, "no text has the ID " + std::to_string(*id));
        }
        if (value.empty()) {
            return true;
        }
        if (IsColonLabel(*id) && (value.find(':') != std::string_view::npos ||
                                  value.find(kStoredLineBreak) != std::string_view::npos)) {
            return Skip(number, "a details label holds no \":\" or line break: the details cut "
                                "their lines into name and value at the first colon");
        }
        const std::size_t want = PlaceholderCount(english->second);
        const std::size_t got = PlaceholderCount(value);
        if (want != got) {
            return Skip(number, "the text has " + std::to_string(got) +
                                    " %s placeholder(s), the English text " + std::to_string(want));
        }
        // Of a repeated ID the last text counts, as when a translator adds a corrected line.
        if (const auto seen = seen_.find(*id); seen != seen_.end()) {
            file_.texts[seen->second.index].text = value;
            Skip(number, "the ID " + std::to_string(*id) + " was given on line " +
                             std::to_string(seen->second.line) + "; this text replaces it");
            seen->second.line = number;
            return true;
        }
        seen_.emplace(*id, Seen{file_.texts.size(), number});
        file_.texts.push_back({*id, std::string(value)});
        return true;
    }

    bool Skip(int number, std::string reason) {
        file_.problems.push_back({number, std::move(reason)});
        return true;
    }

    bool headerOnly_;
    Section section_ = Section::None;
    bool textsSeen_ = false;
    LanguageFile file_;
    struct Seen {
        std::size_t index;
        int line;
    };
    std::map<int, Seen> seen_;
};

} // namespace

LanguageFile ParseLanguageFile(std::string_view bytes, bool headerOnly) {
    return Parser(headerOnly).Parse(bytes);
}

std::string LanguagesFolder(std::string_view programFileName) {
    return std::string(PathFolderPart(programFileName)) + std::string(kLanguagesFolderName);
}

namespace {

// Reads up to the size limit, and one byte more to see that a file passes it.
FileContent ReadLimited(const std::string& path, const FileStorePort& files, std::size_t limit) {
    FileContent content;
    std::unique_ptr<FileReader> reader = files.OpenFile(path, content.status);
    if (reader == nullptr) {
        return content;
    }
    if (reader->SizeHint() > limit) {
        content.status = FileContent::Status::Unreadable;
        return content;
    }
    char buffer[16 * 1024];
    while (true) {
        const std::size_t n = reader->Read(buffer, sizeof buffer);
        if (n == 0) {
            break;
        }
        content.bytes.append(buffer, n);
        if (content.bytes.size() > limit) {
            break;
        }
    }
    if (reader->Failed() || content.bytes.size() > limit) {
        content.status = FileContent::Status::Unreadable;
        content.bytes.clear();
    }
    return content;
}

} // namespace

std::vector<std::string> LanguageFileNames(const std::string& folder,
                                           const FileSystemPort& fileSystem) {
    std::vector<std::string> names;
    fileSystem.Enumerate(folder, "*" + std::string(kLanguageFileExtension),
                         [&names](const DirEntry& entry) {
                             // Windows also matches "*.lng" against short names, so a
                             // "x.lngx" could come along; the extension is checked again.
                             if ((entry.attributes & FileAttribute::Directory) == 0 &&
                                 AsciiLower(entry.name).ends_with(kLanguageFileExtension)) {
                                 names.push_back(entry.name);
                             }
                             return true;
                         });
    // The file system's order differs between systems; names decide which of two files
    // for one language is taken, the same everywhere.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return CompareUtf16(Lower(a), Lower(b)) < 0;
    });
    return names;
}

std::vector<LanguageFileInfo> ListLanguageFiles(const std::string& folder,
                                                const FileSystemPort& fileSystem,
                                                const FileStorePort& files) {
    const std::vector<std::string> names = LanguageFileNames(folder, fileSystem);
    const std::string prefix = folder.empty() || folder.ends_with('\\') ? folder : folder + '\\';
    std::vector<LanguageFileInfo> list;
    for (const std::string& name : names) {
        const std::string path = prefix + name;
        const FileContent content = ReadLimited(path, files, kLanguageFileMaxBytes);
        if (content.status != FileContent::Status::Read) {
            continue;
        }
        LanguageFile file = ParseLanguageFile(content.bytes, true);
        if (file.code == 0 || FindLanguageFile(list, file.code) != nullptr) {
            continue;
        }
        std::string shown = file.name.empty() ? EnglishLanguageName(file.code) : file.name;
        list.push_back({file.code, std::move(shown), path});
    }
    return list;
}

const LanguageFileInfo* FindLanguageFile(const std::vector<LanguageFileInfo>& list, int code) {
    const auto it = std::find_if(list.begin(), list.end(), [code](const LanguageFileInfo& info) {
        return info.code == code;
    });
    return it == list.end() ? nullptr : &*it;
}

bool LanguageHasTexts(const std::vector<LanguageFileInfo>& list, int code) {
    return code == 1 || FindLanguageFile(list, code) != nullptr;
}

std::string LanguageChoiceText(const LanguageListItem& language,
                               const std::vector<LanguageFileInfo>& list) {
    std::string text = Languages::Text(language.textId);
    if (language.lcid == 1)
        return text;
    const LanguageFileInfo* file = FindLanguageFile(list, language.lcid);
    if (file == nullptr)
        return text;
    // Shown in its own language the name would only repeat itself ("Deutsch (Deutsch)"):
    // then the English name marks it, or failing that its code.
    for (const std::string& other : {file->name, EnglishLanguageName(language.lcid)})
        if (!other.empty() && Upper(other) != Upper(text))
            return text + " (" + other + ")";
    return text + " (" + std::to_string(language.lcid) + ")";
}

LanguageFileRead ReadLanguageFile(const std::string& path, const FileStorePort& files) {
    LanguageFileRead read;
    FileContent content = ReadLimited(path, files, kLanguageFileMaxBytes);
    read.status = content.status;
    if (content.status == FileContent::Status::Read) {
        read.file = ParseLanguageFile(content.bytes);
    }
    return read;
}

LanguageFileRead CheckLanguageFile(const std::string& path, const FileSystemPort& fileSystem,
                                   const FileStorePort& files) {
    LanguageFileRead read = ReadLanguageFile(path, files);
    if (read.status != FileContent::Status::Read) {
        return read;
    }
    LanguageFile& file = read.file;
    std::vector<LanguageFileProblem>& problems = file.problems;
    if (file.codeLine == 0 && !file.utf16) {
        problems.push_back({std::max(file.languageLine, 1),
                            "no Code= in the [Language] section; the language lists leave the "
                            "file out",
                            true});
    }
    if (file.code == 0) {
        return read;
    }
    // The language lists take the first file for a language in file-name order.
    const std::string folder(PathFolderPart(path));
    const std::string ownName = Lower(PathNamePart(path));
    std::vector<std::string> sameLanguage;
    for (const std::string& name : LanguageFileNames(folder, fileSystem)) {
        if (Lower(name) == ownName) {
            sameLanguage.push_back(name);
            continue;
        }
        const FileContent content = ReadLimited(folder + name, files, kLanguageFileMaxBytes);
        if (content.status == FileContent::Status::Read &&
            ParseLanguageFile(content.bytes, true).code == file.code) {
            sameLanguage.push_back(name);
        }
    }
    if (sameLanguage.size() < 2) {
        return read;
    }
    if (Lower(sameLanguage.front()) != ownName) {
        problems.push_back({file.codeLine,
                            "\"" + sameLanguage.front() +
                                "\" is for the same language and comes first; the language "
                                "lists leave this file out",
                            true});
        return read;
    }
    for (std::size_t i = 1; i < sameLanguage.size(); ++i) {
        problems.push_back({file.codeLine,
                            "\"" + sameLanguage[i] +
                                "\" is for the same language too; the language lists leave it "
                                "out",
                            true});
    }
    return read;
}

LanguageLoad LoadLanguage(int code, const std::vector<LanguageFileInfo>& list,
                          const FileStorePort& files) {
    LanguageLoad load;
    const LanguageFileInfo* info = code == 1 ? nullptr : FindLanguageFile(list, code);
    if (info == nullptr) {
        ClearTranslations();
        load.status = code == 1 ? LanguageLoadStatus::English : LanguageLoadStatus::NoFile;
        return load;
    }
    LanguageFileRead read = ReadLanguageFile(info->path, files);
    // The file may have changed since it was listed; it is still the language asked for.
    if (read.status != FileContent::Status::Read) {
        ClearTranslations();
        load.status = LanguageLoadStatus::Unreadable;
        return load;
    }
    SetTranslations(code, read.file.texts);
    load.status = LanguageLoadStatus::Loaded;
    load.problems = std::move(read.file.problems);
    return load;
}

LanguageLoad LoadProgramLanguage(int code, std::string_view programFileName,
                                 const FileSystemPort& fileSystem, const FileStorePort& files) {
    if (code == 1) {
        return LoadLanguage(code, {}, files);
    }
    return LoadLanguage(
        code, ListLanguageFiles(LanguagesFolder(programFileName), fileSystem, files), files);
}

std::string PseudoLanguageFile(int code) {
    std::string out = "; Every text wrapped in double brackets, for checking the windows.\n";
    out += "[Language]\nCode=" + std::to_string(code) + "\nName=[[Pseudo]]\n\n[Texts]\n";
    for (const auto& [id, english] : EnglishTexts()) {
        if (english.empty()) {
            continue;
        }
        out += std::to_string(id);
        out += "=[[";
        out += english;
        out += "]]\n";
    }
    return out;
}

} // namespace orvan
