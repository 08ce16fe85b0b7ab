// Grid benchmarks: a header click that sorts 100 000 rows, and planning the paint of a grid
// that holds 100 000 rows, of which only the visible band may cost anything.
#include "catalog_data.h"

#include "core/ui/list_view.h"

#include <benchmark/benchmark.h>

#include <map>

namespace orvan::bench {
namespace {

// The settings dialog's layout (a tick, a path and a mask) with one row per catalog entry
// of the synthetic catalog, in the catalog's unsorted order of adding.
std::unique_ptr<ListView> MakeGrid(std::size_t count) {
    auto grid = std::make_unique<ListView>();
    grid->SetClientSize(600, 400);
    grid->AddColumn("*", ColumnAlignment::Center, true, 10, ColumnKind::CheckBox);
    grid->AddColumn("Path", ColumnAlignment::Left, true, 140, ColumnKind::Text);
    grid->AddColumn("Mask", ColumnAlignment::Left, true, 50, ColumnKind::Text);
    const std::vector<CatalogItem> items = MakeCatalog(count);
    grid->BeginUpdate();
    for (std::size_t i = 0; i < items.size(); ++i)
        grid->AddItem({i % 7 != 0, items[i].path, std::string(CatalogDisplayName(items[i]))},
                      i == count / 2, 0, static_cast<std::int32_t>(i));
    grid->EndUpdate();
    return grid;
}

// The header cell of a column, as the window would hit it.
UiPoint HeaderPoint(const ListView& grid, int column) {
    for (const ListViewHeaderCellPlan& cell : grid.PlanPaint().headerCells)
        if (cell.column == column)
            return {cell.rect.left + cell.rect.width / 2, cell.rect.top + 5};
    return {};
}

void ClickHeader(ListView& grid, UiPoint point) {
    grid.MouseDown(MouseButton::Left, point, ShiftState::Left);
    grid.MouseUp(MouseButton::Left, point);
}

// Unsorted to ascending by a text column: every row moves.
void GridHeaderSortText(benchmark::State& state) {
    const auto grid = MakeGrid(static_cast<std::size_t>(state.range(0)));
    const UiPoint header = HeaderPoint(*grid, 1);
    for (auto _ : state) {
        state.PauseTiming();
        grid->SetSort(-1, false);
        state.ResumeTiming();
        ClickHeader(*grid, header);
    }
    if (grid->SortedColumn() != 1)
        state.SkipWithError("the click did not sort");
}
BENCHMARK(GridHeaderSortText)->Arg(100000)->Unit(benchmark::kMillisecond);

// Ascending to descending: the rows are in order already and come back reversed.
void GridHeaderSortReverse(benchmark::State& state) {
    const auto grid = MakeGrid(static_cast<std::size_t>(state.range(0)));
    const UiPoint header = HeaderPoint(*grid, 1);
    for (auto _ : state) {
        state.PauseTiming();
        grid->SetSort(1, false);
        state.ResumeTiming();
        ClickHeader(*grid, header);
    }
    if (!grid->SortedColumnReverse())
        state.SkipWithError("the click did not reverse");
}
BENCHMARK(GridHeaderSortReverse)->Arg(100000)->Unit(benchmark::kMillisecond);

// Unsorted to ascending by the tick column: two values, ties broken by the order of adding.
void GridHeaderSortTicks(benchmark::State& state) {
    const auto grid = MakeGrid(static_cast<std::size_t>(state.range(0)));
    const UiPoint header = HeaderPoint(*grid, 0);
    for (auto _ : state) {
        state.PauseTiming();
        grid->SetSort(-1, false);
        state.ResumeTiming();
        ClickHeader(*grid, header);
    }
}
BENCHMARK(GridHeaderSortTicks)->Arg(100000)->Unit(benchmark::kMillisecond);

// The plan of one paint, scrolled to the middle: the cost must not grow with the rows.
void GridPlanPaint(benchmark::State& state) {
    const auto grid = MakeGrid(static_cast<std::size_t>(state.range(0)));
    grid->SetHasFocus(true);
    grid->SetScrollOffset(grid->MaxScrollOffset() / 2);
    std::size_t rows = 0;
    for (auto _ : state) {
        const ListViewPaintPlan plan = grid->PlanPaint();
        rows = plan.rows.size();
        benchmark::DoNotOptimize(plan.rows.data());
    }
    state.counters["rows_planned"] = static_cast<double>(rows);
}
BENCHMARK(GridPlanPaint)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace orvan::bench
