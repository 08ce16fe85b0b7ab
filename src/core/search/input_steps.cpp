#include "core/search/input_steps.h"

#include "core/base/date_general.h"
#include "core/base/utf.h"
#include "core/expression/expression.h"
#include "core/ports/clock.h"
#include "core/ports/folder_listing.h"
#include "core/ports/locale.h"
#include "core/search/calculator.h"
#include "core/search/date_input.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace orvan {

namespace {

constexpr std::string_view kDateTimeName = "DateTime";
constexpr std::string_view kCalculatorName = "Calculator";

void ListFolder(std::string_view text, RunAvailableList& list, const RunFileAccess& files) {
    const std::size_t cut = text.rfind('\\');
    if (cut == std::string_view::npos)
        return; // an empty folder part is no folder
    const std::string folder(text.substr(0, cut + 1));
    if (!files.FileSystem().FolderExists(folder))
        return;
    // Taking the first L characters of a name, upper-casing and trimming them and comparing
    // them with the trimmed, upper-cased tail T is the same as asking whether the name
    // starts with T, ASCII letters in any case: a prefix that lost blanks to the trim would
    // be shorter than T.
    const std::string tail = AsciiUpper(TrimControl(text.substr(cut + 1)));
    // The names go into one buffer rather than a string each: a folder of 100 000 entries
    // would otherwise cost as many allocations before a single row is made.
    struct Taken {
        std::uint32_t offset;
        std::uint32_t size;
        bool isFolder;
    };
    std::string names;
    std::vector<Taken> taken;
    auto take = [&](std::string_view name, bool isFolder) {
        if (!name.empty() && name.front() != '.' && StartsWithAsciiFolded(name, tail) &&
            names.size() + name.size() <= UINT32_MAX) {
            taken.push_back({static_cast<std::uint32_t>(names.size()),
                             static_cast<std::uint32_t>(name.size()), isFolder});
            names += name;
        }
    };
    files.FolderListing().ListByPrefix(folder, tail, take);
    const auto nameOf = [&names](const Taken& entry) {
        return std::string_view(names).substr(entry.offset, entry.size);
    };
    // The build ends by sorting the list by name. Handed over in byte order, which differs
    // from UTF-16 code unit order only around supplementary characters, the final sort
    // finds the entries in order (or nearly) instead of the file system's.
    std::sort(taken.begin(), taken.end(), [&nameOf](const Taken& a, const Taken& b) {
        const int c = nameOf(a).compare(nameOf(b));
        return c != 0 ? c < 0 : a.offset < b.offset; // equal names: as listed
    });
    // Into an empty list the names go without the check for an equal entry: after the sort
    // a name listed twice (which a file system should never do) sits next to its twin.
    const bool fresh = list.empty();
    list.Reserve(taken.size());
    std::string path = folder;
    std::string_view previous;
    for (std::size_t i = 0; i < taken.size(); ++i) {
        const Taken& entry = taken[i];
        const std::string_view name = nameOf(entry);
        if (fresh && i > 0 && name == previous)
            continue; // the first one listed counts
        previous = name;
        path.resize(folder.size());
        path += name;
        const RunKind kind = entry.isFolder ? RunKind::Folder : RunKind::File;
        if (fresh)
            list.AddDistinct(name, path, {}, kind);
        else
            AddRunAvailable(list, name, path, {}, kind);
    }
}

} // namespace

void DriveAndFolderStep(std::string_view text, RunAvailableList& list,
                        const RunBuildEnvironment& environment) {
    if (!environment.files)
        return;
    const FileSystemPort& fileSystem = environment.files->FileSystem();
    const std::size_t length = Utf16Length(text);
    if (length == 1) {
        const std::string root = std::string(text) + ":\\";
        if (fileSystem.FolderExists(root)) {
            AddRunAvailable(list, root, root, {}, RunKind::Folder);
            return;
        }
    }
    if (length == 2 && text[1] == ':') {
        const std::string root = std::string(text) + "\\";
        if (fileSystem.FolderExists(root)) {
            AddRunAvailable(list, root, root, {}, RunKind::Folder);
            return;
        }
    }
    ListFolder(text, list, *environment.files);
}

void ExistingFileStep(std::string_view text, RunAvailableList& list,
                      const RunBuildEnvironment& environment) {
    if (!environment.files)
        return;
    if (!environment.files->FileSystem().FileExists(std::string(text)))
        return;
    AddRunAvailable(list, FileNamePart(text), text, {}, RunKind::File);
}

void DateTimeStep(std::string_view text, RunAvailableList& list,
                  const RunBuildEnvironment& environment) {
    if (Utf16Length(text) < 3)
        return;
    const LocaleSettings& locale = CurrentLocale();
    const std::optional<double> moment = TextToMoment(text, locale);
    if (!moment)
        return;
    const ClockPort& clock = environment.clock != nullptr ? *environment.clock : CurrentClock();
    const std::string general = FormatDateTimeGeneral(*moment, locale);
    AddRunAvailable(list, kDateTimeName, general, DateTimeDescription(*moment, clock.Now(), locale),
                    RunKind::DateTime);
}

void CalculatorStep(std::string_view text, RunAvailableList& list,
                    const RunBuildEnvironment& /*environment*/) {
    // The entry only ever joins an empty list, so a list with entries needs no evaluation.
    if (!list.empty() || text.empty())
        return;
    double value = 0;
    if (!Calculate(text, value)) {
        // Forgive a trailing "=" or a half-typed last character: drop its last code point.
        std::size_t last = text.size() - 1;
        while (last > 0 && (static_cast<unsigned char>(text[last]) & 0xC0) == 0x80)
            --last;
        if (!Calculate(text.substr(0, last), value))
            return;
    }
    if (value == 0 || !std::isfinite(value))
        return;
    const LocaleSettings& locale = CurrentLocale();
    AddRunAvailable(list, kCalculatorName, FormatCalculatorValue(value, locale),
                    CalculatorDescription(value, locale), RunKind::Calculator);
}

} // namespace orvan
