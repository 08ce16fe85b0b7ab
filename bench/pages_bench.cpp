// The Clipboard page at its limits: a keystroke in its filter over a full history (100 texts
// of 64 KB), a copied text recorded into it, and its file read at start; and the Quick
// page's filter over a long list of pinned entries.
#include "core/pages/clipboard_history.h"
#include "core/pages/quick_list.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace orvan;

// Mixed-case words with some accented letters, as copied program output or documents are.
std::string Text(int seed, std::size_t size) {
    static const char* const kWords[] = {"Orvan ",
                                         "launcher ",
                                         "Stra\xC3\x9F"
                                         "e ",
                                         "copied ",
                                         "\xC3\x84pfel ",
                                         "TEXT ",
                                         "line\r\n",
                                         "value=42 "};
    std::string text = std::to_string(seed) + " ";
    for (std::size_t i = std::size_t(seed); text.size() < size; ++i)
        text += kWords[i % 8];
    return std::string(CutUtf8(text, size));
}

ClipboardHistory FullHistory() {
    ClipboardHistory history;
    for (int i = 0; i < int(kClipboardHistoryEntries); ++i)
        history.Record(Text(i, kClipboardTextLimit));
    return history;
}

void BM_ClipboardFilterFullHistory(benchmark::State& state) {
    const ClipboardHistory history = FullHistory();
    for (auto _ : state)
        benchmark::DoNotOptimize(FilterClipboardEntries(history.Entries(), "value=43"));
}
BENCHMARK(BM_ClipboardFilterFullHistory)->Unit(benchmark::kMillisecond);

void BM_ClipboardRecordIntoFullHistory(benchmark::State& state) {
    ClipboardHistory history = FullHistory();
    const std::string fresh = Text(1000, kClipboardTextLimit);
    const std::string listed = history.Entries().back().text;
    for (auto _ : state) {
        history.Record(fresh);  // new on top, the oldest dropped
        history.Record(listed); // listed: moves to the top
    }
}
BENCHMARK(BM_ClipboardRecordIntoFullHistory)->Unit(benchmark::kMicrosecond);

void BM_ClipboardRowsOfFullHistory(benchmark::State& state) {
    const ClipboardHistory history = FullHistory();
    for (auto _ : state)
        for (const ClipboardEntry& entry : history.Entries())
            benchmark::DoNotOptimize(ClipboardRowText(entry, "(cut)"));
}
BENCHMARK(BM_ClipboardRowsOfFullHistory)->Unit(benchmark::kMicrosecond);

void BM_ClipboardParseFullFile(benchmark::State& state) {
    const std::string file = FullHistory().Serialize();
    for (auto _ : state)
        benchmark::DoNotOptimize(ClipboardHistory::Parse(file));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(file.size()));
}
BENCHMARK(BM_ClipboardParseFullFile)->Unit(benchmark::kMillisecond);

void BM_QuickFilter1000Entries(benchmark::State& state) {
    QuickItems items;
    for (int i = 0; i < 1000; ++i)
        items.push_back({"C:\\Programs\\Tool" + std::to_string(i) + "\\tool.exe",
                         i % 2 ? "Tool " + std::to_string(i) : ""});
    for (auto _ : state)
        benchmark::DoNotOptimize(FilterQuickItems(items, "tool 99"));
}
BENCHMARK(BM_QuickFilter1000Entries)->Unit(benchmark::kMicrosecond);

} // namespace
