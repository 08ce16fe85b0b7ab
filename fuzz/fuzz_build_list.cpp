// Builds the candidate list for arbitrary typed text over a small in-memory disk (listed
// through the general or the quick listing, by the input's length) and a small
// catalog, then asks the details area, Tab and Ctrl+Backspace about the result. A leading
// byte 1 to 4 selects the locale: 1 German separators and dates, 2 US dates with AM/PM,
// 3 a locale with multi-byte separators and blanks in its date, 4 empty designators.
// A crash, a hang, a sanitizer report or a broken list invariant (order, duplicates, the
// calculator entry not alone) is a bug.
#include "core/base/utf.h"
#include "core/ports/folder_listing.h"
#include "core/ports/locale.h"
#include "core/search/run_details.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace orvan;

std::string Upper(std::string_view text) {
    return AsciiUpper(text);
}

// '*' any run, '?' one byte; linear backtracking over the last star.
bool Matches(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

class TinyDisk final : public FileSystemPort, public FolderListingPort {
public:
    TinyDisk() {
        Folder("C:");
        Folder("D:");
        Folder("C:\\Windows");
        Folder("C:\\Windows\\System32");
        File("C:\\Windows\\notepad.exe", 1000);
        File("C:\\boot.ini", 5);
        File("C:\\.hidden", 1);
        Folder("C:\\.cache");
        Folder("C:\\Tools");
        File("C:\\Tools\\x.exe", 2048);
        File("C:\\Tools\\\xC3\xA9t\xC3\xA9 1.txt", 7);
        File("C:\\Tools\\ spaced ", 0);
        Folder("C:\\Locked"); // exists, but cannot be listed
    }

    bool Enumerate(const std::string& folder, const std::string& pattern,
                   const std::function<bool(const DirEntry&)>& visit) const override {
        const std::string key = Key(folder);
        if (!FolderExists(folder) || key == "C:\\LOCKED")
            return false;
        const std::string upperPattern = Upper(pattern);
        for (const auto& [childKey, entry] : nodes_) {
            const std::size_t cut = childKey.rfind('\\');
            if (cut == std::string::npos || childKey.substr(0, cut) != key)
                continue;
            if (Matches(upperPattern, Upper(entry.name)) && !visit(entry))
                break;
        }
        return true;
    }
    bool ListByPrefix(const std::string& folder, std::string_view upperPrefix,
                      const std::function<void(std::string_view, bool)>& visit) const override {
        return Enumerate(folder, "*", [&](const DirEntry& entry) {
            if (entry.name != "." && entry.name != ".." &&
                StartsWithAsciiFolded(entry.name, upperPrefix))
                visit(entry.name, (entry.attributes & FileAttribute::Directory) != 0);
            return true;
        });
    }
    bool RemoveFile(const std::string&) const override { return false; }
    bool RemoveFolder(const std::string&) const override { return false; }
    bool FileExists(const std::string& path) const override {
        const auto it = nodes_.find(Key(path));
        return it != nodes_.end() && (it->second.attributes & FileAttribute::Directory) == 0;
    }
    bool FolderExists(const std::string& path) const override {
        const auto it = nodes_.find(Key(path));
        return it != nodes_.end() && (it->second.attributes & FileAttribute::Directory) != 0;
    }

private:
    static std::string Key(std::string path) {
        while (!path.empty() && path.back() == '\\')
            path.pop_back();
        return Upper(path);
    }
    void Folder(const std::string& path) {
        nodes_[Key(path)] = {Name(path), FileAttribute::Directory, 0, 45000.5};
    }
    void File(const std::string& path, std::uint64_t size) {
        nodes_[Key(path)] = {Name(path), FileAttribute::Archive, size, 45000.25};
    }
    static std::string Name(const std::string& path) {
        const std::size_t cut = path.rfind('\\');
        return cut == std::string::npos ? path : path.substr(cut + 1);
    }

    std::map<std::string, DirEntry> nodes_;
};

class TinyVersions final : public VersionInfoPort {
public:
    ShellFileFacts ShellFacts(const std::string& path) const override {
        return {path.substr(path.find_last_of('\\') + 1), "Type", path.ends_with(".exe")};
    }
    std::optional<VersionResource> ReadVersionResource(const std::string&) const override {
        VersionResource resource;
        resource.strings[0] = "Maker";
        resource.fixed = FixedVersionInfo{0x3F, 0x15, 3, 7};
        return resource;
    }
};

class TinyVolumes final : public VolumePort {
public:
    std::string VolumeLabel(char32_t letter) const override {
        return letter == U'C' ? "System" : "";
    }
    DiskFigures Disk(int driveNumber, const std::string&) const override {
        return driveNumber == 3 ? DiskFigures{1LL << 40, 1LL << 33} : DiskFigures{};
    }
};

class TinyClock final : public ClockPort {
public:
    double Now() const override { return 45356.5; }
};

LocaleSettings LocaleFor(int variant) {
    LocaleSettings l;
    switch (variant) {
    case 1:
        l.decimalSeparator = ",";
        l.thousandSeparator = ".";
        l.shortDateFormat = "dd.MM.yyyy";
        l.longTimeFormat = "HH:mm:ss";
        break;
    case 2:
        l.shortDateFormat = "M/d/yyyy";
        l.longTimeFormat = "h:mm:ss tt";
        break;
    case 3:
        l.decimalSeparator = "\xD9\xAB";
        l.thousandSeparator = "\xC2\xA0";
        l.shortDateFormat = "yyyy. MMM d.";
        l.longTimeFormat = "tt h.mm.ss";
        l.amDesignator = "\xE5\x8D\x88\xE5\x89\x8D";
        l.pmDesignator = "\xE5\x8D\x88\xE5\x90\x8E";
        break;
    case 4:
        l.shortDateFormat = "'d'yy''MM";
        l.longTimeFormat = "H:mm tt";
        l.amDesignator = "";
        l.pmDesignator = "";
        break;
    default:
        break;
    }
    return l;
}

const CatalogItems& Catalog() {
    static const CatalogItems catalog(
        std::vector<CatalogItem>{{"C:\\Windows\\notepad.exe", "", 0, 0, ""},
                                 {"C:\\Apps\\mspaint.exe", "Paint", 0, 0, ""},
                                 {"C:\\Docs\\help.chm", "Help: Index", 0, 0, ""},
                                 {"C:\\Apps\\7.exe", "7", 0, 0, ""},
                                 {"C:\\Tools\\x.exe", "", 0, 0, ""}});
    return catalog;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TinyDisk disk;
    static const TinyVersions versions;
    static const TinyVolumes volumes;
    static const TinyClock clock;

    std::string text(reinterpret_cast<const char*>(data), size);
    int variant = 0;
    if (!text.empty() && text[0] >= 1 && text[0] <= 4) {
        variant = text[0];
        text.erase(0, 1);
    }
    SetCurrentLocale(LocaleFor(variant));

    RunBuildEnvironment environment;
    environment.fileSystem = &disk;
    environment.clock = &clock;
    if (size % 2 == 1) // both ways of listing a folder
        environment.folderListing = &disk;
    RunAvailableList list;
    BuildRunAvailableList(text, Catalog(), list, environment);

    for (std::size_t i = 0; i < list.size(); ++i) {
        const RunAvailableRow row = list[i];
        if (i > 0 && CompareUtf16(list[i - 1].name, row.name) > 0)
            __builtin_trap(); // not sorted
        if (row.kind == RunKind::Calculator && list.size() != 1)
            __builtin_trap(); // the calculator entry is never accompanied
        if (row.kind < RunKind::Folder || row.kind > RunKind::Catalog)
            __builtin_trap();
        for (std::size_t j = 0; j < i; ++j)
            if (list[j].name == row.name && list[j].path == row.path)
                __builtin_trap(); // a pair listed twice
    }

    const FileInfoServices services{&disk, &versions, &volumes};
    const std::optional<std::size_t> selected =
        list.empty() ? std::nullopt : std::optional<std::size_t>(size % list.size());
    const RunDetailsView view = UpdateRunDetails(text, list, selected, services);
    if (view.text.empty() && !text.empty() && !list.empty() &&
        list[*selected].kind != RunKind::Calculator && list[*selected].kind != RunKind::DateTime)
        __builtin_trap(); // folder and file texts are never empty
    CompleteSelected(list, selected);
    const std::size_t units = Utf16Length(text);
    const std::optional<InputEdit> cut =
        CutPathComponent(text, units == 0 ? 0 : size % (units + 1));
    if (cut && cut->caret > Utf16Length(cut->text))
        __builtin_trap();
    return 0;
}
