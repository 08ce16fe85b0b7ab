// Builds the candidate list for arbitrary typed text over a small in-memory disk and a small
// catalog, then asks the details area, Tab and Ctrl+Backspace about the result. A leading
// byte 1 to 4 selects the locale: 1 German separators and dates, 2 US dates with AM/PM,
// 3 a locale with multi-byte separators and blanks in its date, 4 empty designators.
// A crash, a hang, a sanitizer report or a broken list invariant (order, duplicates, the
// calculator entry not alone) is a bug.
#include "core/base/utf.h"
#include "core/ports/locale.h"
#include "core/search/run_details.h"
#include "fakes/memory_file_system.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace orvan;

// The disk every input is looked up on.
const testing::MemoryFileSystem& Disk() {
    static const testing::MemoryFileSystem disk = [] {
        testing::MemoryFileSystem d;
        d.logging = false; // millions of runs would fill the log
        constexpr double kFolderTime = 45000.5;
        constexpr double kFileTime = 45000.25;
        d.AddFolder("D:\\", 0, kFolderTime);
        d.AddFolder("C:\\Windows\\System32", 0, kFolderTime);
        d.AddFile("C:\\Windows\\notepad.exe", testing::FileFacts{1000, 0, kFileTime});
        d.AddFile("C:\\boot.ini", testing::FileFacts{5, 0, kFileTime});
        d.AddFile("C:\\.hidden", testing::FileFacts{1, FileAttribute::Hidden, kFileTime});
        d.AddFolder("C:\\.cache", 0, kFolderTime);
        d.AddFile("C:\\Tools\\x.exe", testing::FileFacts{2048, 0, kFileTime});
        d.AddFile("C:\\Tools\\\xC3\xA9t\xC3\xA9 1.txt", testing::FileFacts{7, 0, kFileTime});
        d.AddFile("C:\\Tools\\ spaced ", testing::FileFacts{0, 0, kFileTime});
        d.AddFolder("C:\\Locked", 0, kFolderTime); // exists, but cannot be listed
        d.MakeUnlistable("C:\\Locked");
        return d;
    }();
    return disk;
}

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
        std::vector<CatalogItem>{{"C:\\Windows\\notepad.exe", "", 0},
                                 {"C:\\Apps\\mspaint.exe", "Paint", 0},
                                 {"C:\\Docs\\help.chm", "Help: Index", 0},
                                 {"C:\\Apps\\7.exe", "7", 0},
                                 {"C:\\Tools\\x.exe", "", 0}});
    return catalog;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing::MemoryFileSystem& disk = Disk();
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
    environment.files.emplace(disk, disk);
    environment.clock = &clock;
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
