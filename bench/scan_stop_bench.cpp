// How long a background scan takes to end after it is asked to stop, in a folder of 3 000
// files whose display names cost 1 ms each (about what the shell costs under Wine): looked
// at once per folder, the stop waits for the rest of the folder; looked at between entries
// too, for the one entry under way.
#include "core/catalog/scanner.h"
#include "core/config/path_convert.h"
#include "platform/native.h"

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace orvan::bench {
namespace {

class SlowShell final : public ShellNamePort {
public:
    std::string DisplayName(const std::string& path) const override {
        ++calls;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return std::string(FileNamePart(path));
    }
    mutable std::atomic<int> calls{0};
};

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvan-stop-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        for (int i = 0; i < 3000; ++i)
            std::ofstream(std::filesystem::path(pattern) / ("f" + std::to_string(i) + ".exe"));
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(Folder(), error);
        });
        return std::filesystem::path(pattern);
    }();
    return folder;
}

void ScanStop(benchmark::State& state, bool betweenEntries) {
    SettingsOptionsCatalogPath path;
    path.path = NativeToCorePath(Folder().string());
    path.mask = "*.*";
    for (auto _ : state) {
        SlowShell shell;
        CatalogScan scan;
        std::atomic<bool> stop{false};
        const auto check = [&] {
            if (stop.load())
                scan.Stop();
        };
        const ScanServices services{platform::FileSystem(),
                                    platform::SpecialFolders(),
                                    shell,
                                    platform::Clock(),
                                    check,
                                    betweenEntries ? std::function<void()>(check) : nullptr};
        std::thread worker([&] {
            SettingsOptions options;
            options.catalog.paths = {path};
            scan.Rebuild(options, services);
        });
        while (shell.calls.load() < 100) // well inside the folder
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const auto asked = std::chrono::steady_clock::now();
        stop = true;
        worker.join();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count());
    }
}
BENCHMARK_CAPTURE(ScanStop, per_folder, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(ScanStop, between_entries, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
} // namespace orvan::bench
