// What typing costs beyond the catalog: the folder listing of a folder with 100 000
// entries through the Linux file system, and the date and calculator steps per keystroke.
#include "core/search/input_steps.h"
#include "platform/native.h"
#include "platform/native_shell.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace orvan;

constexpr int kBigFolderEntries = 100000;

// A folder of 100 000 empty files (and a few folders), made once per run and removed at
// the end of the program.
class BigFolder {
public:
    BigFolder() {
        native_ = (std::filesystem::temp_directory_path() /
                   ("orvan-bench-big-" + std::to_string(getpid())))
                      .string();
        std::filesystem::create_directories(native_);
        for (int i = 0; i < kBigFolderEntries; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, i % 100 == 0 ? "Folder%06d" : "file%06d.txt", i);
            const std::string path = native_ + "/" + name;
            if (i % 100 == 0)
                std::filesystem::create_directory(path);
            else
                std::ofstream(path).put('x');
        }
    }
    ~BigFolder() {
        std::error_code error;
        std::filesystem::remove_all(native_, error);
    }
    std::string Core() const { return "C:" + ReplaceSlashes(native_) + "\\"; }

private:
    static std::string ReplaceSlashes(std::string path) {
        for (char& c : path)
            if (c == '/')
                c = '\\';
        return path;
    }
    std::string native_;
};

const BigFolder& Big() {
    static const BigFolder folder;
    return folder;
}

void BuildFor(benchmark::State& state, const std::string& text) {
    RunBuildEnvironment environment;
    environment.files.emplace(platform::FileSystem(), platform::FolderListing());
    const CatalogItems catalog;
    RunAvailableList list;
    for (auto _ : state) {
        BuildRunAvailableList(text, catalog, list, environment);
        benchmark::DoNotOptimize(list.size());
    }
    state.counters["rows"] = static_cast<double>(list.size());
}

// "C:\...\big\": every entry becomes a row.
void BM_BuildBigFolderAll(benchmark::State& state) {
    BuildFor(state, Big().Core());
}
BENCHMARK(BM_BuildBigFolderAll)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// "C:\...\big\file01": 9 900 rows.
void BM_BuildBigFolderPrefix(benchmark::State& state) {
    BuildFor(state, Big().Core() + "file01");
}
BENCHMARK(BM_BuildBigFolderPrefix)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// "C:\...\big\file099999": one row.
void BM_BuildBigFolderOne(benchmark::State& state) {
    BuildFor(state, Big().Core() + "file099999");
}
BENCHMARK(BM_BuildBigFolderOne)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The date and the calculator step on an empty list, as they run after the other steps
// found nothing: what they add to one keystroke.
void DateAndCalculator(benchmark::State& state, const std::string& text) {
    RunBuildEnvironment environment;
    RunAvailableList list;
    for (auto _ : state) {
        list.Clear();
        DateTimeStep(text, list, environment);
        CalculatorStep(text, list, environment);
        benchmark::DoNotOptimize(list.size());
    }
}

void BM_DateAndCalculatorOnName(benchmark::State& state) {
    DateAndCalculator(state, "notepad");
}
BENCHMARK(BM_DateAndCalculatorOnName)->Unit(benchmark::kMicrosecond);

void BM_DateAndCalculatorOnDate(benchmark::State& state) {
    DateAndCalculator(state, "2024-03-05 14:07:09");
}
BENCHMARK(BM_DateAndCalculatorOnDate)->Unit(benchmark::kMicrosecond);

void BM_DateAndCalculatorOnExpression(benchmark::State& state) {
    DateAndCalculator(state, "(100+44)*3.5/7=");
}
BENCHMARK(BM_DateAndCalculatorOnExpression)->Unit(benchmark::kMicrosecond);

void BM_DateAndCalculatorOnLongText(benchmark::State& state) {
    DateAndCalculator(state, std::string(1000, '7') + "+");
}
BENCHMARK(BM_DateAndCalculatorOnLongText)->Unit(benchmark::kMicrosecond);

} // namespace
