// Catalog benchmarks: the candidate list on catalogs of 10 thousand to 1 million entries,
// the catalog file's save and load, and a rebuild against `find -type f` on the same tree.
#include "catalog_data.h"

#include "core/catalog/catalog_file.h"
#include "core/catalog/catalog_index.h"
#include "core/catalog/relevance_index.h"
#include "core/catalog/scanner.h"
#include "core/config/options.h"
#include "core/config/path_convert.h"
#include "core/search/run_available.h"
#include "platform/native.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace orvan::bench {
namespace {

const CatalogItems& Catalog(std::size_t count) {
    static std::map<std::size_t, CatalogItems> cache;
    auto it = cache.find(count);
    if (it == cache.end())
        it = cache.emplace(count, CatalogItems(MakeCatalog(count))).first;
    return it->second;
}

// A scratch folder for the benchmark files, removed at exit.
class ScratchFolder {
public:
    ScratchFolder() {
        std::filesystem::path base = std::filesystem::temp_directory_path();
        if (const char* dir = std::getenv("ORVAN_BENCH_DIR"))
            base = dir;
        std::string pattern = (base / "orvan-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path = pattern;
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
    std::filesystem::path path;
};

const std::filesystem::path& Scratch() {
    static const ScratchFolder folder;
    return folder.path;
}

std::string Core(const std::filesystem::path& native) {
    return NativeToCorePath(native.string());
}

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// --- The candidate list ----------------------------------------------------------------

void CandidateList(benchmark::State& state, const char* text) {
    const CatalogItems& catalog = Catalog(static_cast<std::size_t>(state.range(0)));
    RunAvailableList list;
    for (auto _ : state) {
        BuildRunAvailableList(text, catalog, list);
        benchmark::DoNotOptimize(list.size());
    }
    state.counters["rows"] = static_cast<double>(list.size());
}

// The same in the relevance order, with a little learned (a few entries started), as after a
// day of use. The relevance data is made before the timing: once per published catalog.
void CandidateListByRelevance(benchmark::State& state, const char* text) {
    const CatalogItems& catalog = Catalog(static_cast<std::size_t>(state.range(0)));
    catalog.Relevance();
    LaunchMemory memory;
    for (std::size_t i = 0; i < catalog.size(); i += catalog.size() / 50) {
        const CatalogItem& item = catalog[i];
        memory.Record(std::string(CatalogDisplayName(item)).substr(0, 2), CatalogDisplayName(item),
                      item.path);
    }
    RunBuildEnvironment environment;
    environment.order = ResultOrder::Relevance;
    environment.memory = &memory;
    RunAvailableList list;
    for (auto _ : state) {
        BuildRunAvailableList(text, catalog, list, environment);
        benchmark::DoNotOptimize(list.size());
    }
    state.counters["rows"] = static_cast<double>(list.size());
}

// Making the relevance data of a published catalog (the first relevance keystroke after it).
void MakeRelevanceIndex(benchmark::State& state) {
    const std::vector<CatalogItem> items = MakeCatalog(static_cast<std::size_t>(state.range(0)));
    const CatalogSearchIndex index(items);
    for (auto _ : state) {
        const RelevanceIndex relevance(items, index);
        benchmark::DoNotOptimize(&relevance);
    }
}
BENCHMARK(MakeRelevanceIndex)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The catalog step alone (matching, add-if-absent, the name order), without the steps for
// what the typed text itself stands for.
void CatalogStep(benchmark::State& state, const char* text) {
    const CatalogItems& catalog = Catalog(static_cast<std::size_t>(state.range(0)));
    RunAvailableList list;
    for (auto _ : state) {
        list.Clear();
        list.AddCatalogMatches(text, catalog);
        list.Sort();
        benchmark::DoNotOptimize(list.size());
    }
    state.counters["rows"] = static_cast<double>(list.size());
}

#define ORVAN_QUERY(label, text)                                                                   \
    BENCHMARK_CAPTURE(CandidateList, label, text)                                                  \
        ->Arg(10000)                                                                               \
        ->Arg(100000)                                                                              \
        ->Arg(1000000)                                                                             \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Repetitions(7)                                                                           \
        ->ReportAggregatesOnly(true);                                                              \
    BENCHMARK_CAPTURE(CandidateListByRelevance, label, text)                                       \
        ->Arg(100000)                                                                              \
        ->Arg(1000000)                                                                             \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Repetitions(7)                                                                           \
        ->ReportAggregatesOnly(true);                                                              \
    BENCHMARK_CAPTURE(CatalogStep, label, text)                                                    \
        ->Arg(1000000)                                                                             \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Repetitions(7)                                                                           \
        ->ReportAggregatesOnly(true)

ORVAN_QUERY(q1_e, "e");               // one character, in almost every entry
ORVAN_QUERY(q1_7, "7");               // one character, a digit in about a third
ORVAN_QUERY(q2_ex, "ex");             // two characters, the extension of many program files
ORVAN_QUERY(q2_kz, "kz");             // two characters, both common, never side by side
ORVAN_QUERY(q4_note, "note");         // four characters, a word
ORVAN_QUERY(q4_eeee, "eeee");         // four frequent characters that never occur together
ORVAN_QUERY(q8_launcher, "launcher"); // eight characters, a word
ORVAN_QUERY(q8_setup_ex, "setup ex"); // eight characters, nowhere

// Deriving the search keys and the display order when a catalog is published.
void PublishCatalog(benchmark::State& state) {
    const std::vector<CatalogItem> items = MakeCatalog(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const CatalogSearchIndex index(items);
        benchmark::DoNotOptimize(index.size());
    }
}
BENCHMARK(PublishCatalog)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// --- The catalog file --------------------------------------------------------------------

SettingsOptions OptionsBeside(const std::filesystem::path& folder) {
    SettingsOptions options;
    options.fileName = Core(folder / "Orvan.ini");
    return options;
}

CatalogFileServices FileServices() {
    return {platform::FileStore(), platform::XmlReader()};
}

void SaveCatalogFile(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(state.range(0));
    SettingsOptions options = OptionsBeside(Scratch());
    options.catalog.items = Catalog(count);
    for (auto _ : state) {
        const FileResult saved = SaveCatalog(options, FileServices());
        if (!saved)
            state.SkipWithError(saved.Error().c_str());
    }
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(Scratch() / "Orvan_Catalog.xml")) / 1e6;
}
BENCHMARK(SaveCatalogFile)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void PrepareCatalogFile(std::size_t count) {
    static std::size_t prepared = 0;
    if (prepared == count)
        return;
    SettingsOptions options = OptionsBeside(Scratch());
    options.catalog.items = Catalog(count);
    if (!SaveCatalog(options, FileServices()))
        std::abort();
    prepared = count;
}

// The whole load as the search window does it: read, parse, publish (with the search keys).
void LoadCatalogFile(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(state.range(0));
    PrepareCatalogFile(count);
    SettingsOptions options = OptionsBeside(Scratch());
    for (auto _ : state) {
        const FileResult loaded = LoadCatalog(options, FileServices());
        if (!loaded || options.catalog.items.size() != count)
            state.SkipWithError("the catalog did not load");
    }
    // What the loaded catalog holds beyond its texts, per entry: the entry records, the
    // search keys and order, and the allocator's overhead.
    options.catalog.items = CatalogItems();
    malloc_trim(0);
    const std::size_t before = HeapInUse();
    if (!LoadCatalog(options, FileServices()))
        state.SkipWithError("the catalog did not load");
    const std::size_t after = HeapInUse();
    std::size_t text = 0;
    for (const CatalogItem& item : options.catalog.items)
        text += item.path.size() + item.name.size();
    state.counters["bytes_per_entry_beyond_text"] =
        (static_cast<double>(after - before) - static_cast<double>(text)) /
        static_cast<double>(count);
    state.counters["text_bytes_per_entry"] = static_cast<double>(text) / static_cast<double>(count);
}
BENCHMARK(LoadCatalogFile)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The parse alone, without reading the file or publishing.
void ParseCatalogDocument(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(state.range(0));
    const std::string document = SerializeCatalog(Catalog(count).items());
    for (auto _ : state) {
        const CatalogReadResult read = ParseCatalog(document, platform::XmlReader());
        benchmark::DoNotOptimize(read.items.size());
    }
}
BENCHMARK(ParseCatalogDocument)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// --- The rebuild against find -------------------------------------------------------------

// 10 x 10 x 10 folders with 100 files each: 100 000 files, 1 110 folders.
const std::filesystem::path& Tree() {
    static const std::filesystem::path tree = [] {
        const std::filesystem::path root = Scratch() / "tree";
        static const char* const kExtensions[] = {".exe", ".lnk", ".txt", ".dll", ".pdf"};
        for (int a = 0; a < 10; ++a)
            for (int b = 0; b < 10; ++b)
                for (int c = 0; c < 10; ++c) {
                    const std::filesystem::path folder = root / ("Vendor " + std::to_string(a)) /
                                                         ("Product " + std::to_string(b)) /
                                                         ("Part " + std::to_string(c));
                    std::filesystem::create_directories(folder);
                    for (int f = 0; f < 100; ++f)
                        std::ofstream(folder / ("file " + std::to_string(f) + kExtensions[f % 5]));
                }
        return root;
    }();
    return tree;
}

void RebuildCatalogTree(benchmark::State& state) {
    const std::filesystem::path& tree = Tree();
    SettingsOptions options;
    SettingsOptionsCatalogPath path;
    path.path = Core(tree);
    path.mask = "*.*";
    options.catalog.paths = {path};
    const ScanServices services{platform::FileSystem(),
                                platform::SpecialFolders(),
                                platform::ShellNames(),
                                platform::Clock(),
                                {},
                                {}};
    CatalogScan scan;
    for (auto _ : state) {
        if (!scan.Rebuild(options, services))
            state.SkipWithError("the rebuild did not complete");
    }
    state.counters["entries"] = static_cast<double>(options.catalog.items.size());
}
BENCHMARK(RebuildCatalogTree)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void FindTypeF(benchmark::State& state) {
    const std::string command = "find '" + Tree().string() + "' -type f > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("find failed");
    }
}
BENCHMARK(FindTypeF)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// --- Damaged options ----------------------------------------------------------------------

// An options file with a million Path_n keys (and a Count that claims them all).
void LoadOptionsMillionPaths(benchmark::State& state) {
    const std::filesystem::path file = Scratch() / "Million.ini";
    {
        std::ofstream out(file, std::ios::binary);
        out << "[Paths]\nCount=2147483647\n";
        for (int i = 1000000; i >= 1; --i)
            out << "Path_" << i << "=C:\\p" << i << "|*.*|-1|False|True\n";
    }
    const OptionsServices services{platform::SpecialFolders(), platform::FileSystem(),
                                   platform::FileStore(), "Orvan.exe"};
    for (auto _ : state) {
        const SettingsOptions options = LoadOptions(services, Core(file));
        if (options.catalog.paths.size() != 1000000)
            state.SkipWithError("the paths did not load");
    }
}
BENCHMARK(LoadOptionsMillionPaths)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace orvan::bench
