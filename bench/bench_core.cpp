// The rules a player waits on, without any window: dealing a 20 x 20 board
// (the mend included when the drawn board cannot be won), one move with the
// solved test, the score, and the panel-name parsing of a click.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "framework/SysUtils.h"
#include "game/PanelBoard.h"
#include "game/Solver.h"
#include "game/score.h"
#include "util/modStringCut.h"

namespace {

// A 20 x 20 deal with the size's analysis already kept (as from the second
// game of a size on). With 20 colours every drawn board can be won; with 7
// nearly every drawn board needs the mend. "mended" is the share of deals
// that the mend changed.
void BM_Deal20(benchmark::State& state) {
    const auto colors = static_cast<std::int32_t>(state.range(0));
    FillPanelPalette();
    solver::AnalyseBoard(20, colors);
    RandSeed = 4242;
    TPanelBoard board;
    for (auto _ : state) {
        board.Deal(20, colors);
        benchmark::DoNotOptimize(board.Cell(19, 19));
    }
    // The share of mended deals, counted apart so that it costs the timing nothing.
    RandSeed = 4242;
    int mended = 0;
    constexpr int kSample = 1000;
    for (int d = 0; d < kSample; ++d) {
        board.Deal(20, colors);
        for (std::int32_t i = 0; i < 400; ++i) {
            if (board.CellIndex(i / 20, i % 20) !=
                board.DrawnIndices()[static_cast<std::size_t>(i)]) {
                ++mended;
                break;
            }
        }
    }
    state.counters["mended"] = static_cast<double>(mended) / kSample;
}
BENCHMARK(BM_Deal20)->Arg(20)->Arg(7)->Unit(benchmark::kMicrosecond);

// One move on a dealt 20 x 20 board of 20 colours, then the solved test, at
// every panel in turn. On an unsolved board the test stops at the first cell
// that differs from the top-left one.
void BM_MoveAndSolvedTest20(benchmark::State& state) {
    FillPanelPalette();
    RandSeed = 99;
    TPanelBoard board;
    board.Deal(20, 20);
    std::int32_t at = 0;
    for (auto _ : state) {
        board.ApplyMove(at / 20, at % 20);
        benchmark::DoNotOptimize(board.IsSolved());
        at = (at + 7) % 400;
    }
}
BENCHMARK(BM_MoveAndSolvedTest20)->Unit(benchmark::kNanosecond);

// The solved test's longest walk: a board of one colour but for the cells the
// bottom-right move changed, so the test reads 379 cells before it fails.
void BM_MoveAndSolvedTest20Worst(benchmark::State& state) {
    FillPanelPalette();
    TPanelBoard board;
    board.Deal(20, 20);
    for (std::int32_t r = 0; r < 20; ++r)
        for (std::int32_t c = 0; c < 20; ++c) board.SetCell(r, c, PanelPalette[0]);
    for (auto _ : state) {
        board.ApplyMove(19, 19);
        benchmark::DoNotOptimize(board.IsSolved());
    }
}
BENCHMARK(BM_MoveAndSolvedTest20Worst)->Unit(benchmark::kNanosecond);

void BM_CalcScore(benchmark::State& state) {
    std::int32_t clicks = 150;
    std::int32_t seconds = 120;
    std::int32_t colors = 20;
    for (auto _ : state) {
        benchmark::DoNotOptimize(clicks);
        benchmark::DoNotOptimize(seconds);
        benchmark::DoNotOptimize(colors);
        benchmark::DoNotOptimize(CalcScore(clicks, seconds, colors));
    }
}
BENCHMARK(BM_CalcScore)->Unit(benchmark::kNanosecond);

// What a click does with the panel's name: the text after "btn", then the
// row before the last "_" and the column after it.
void BM_PanelNameStringCut(benchmark::State& state) {
    const std::vector<std::string> names = {"btn0_0", "btn12_3", "btn19_19", "btn10_11"};
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string& name = names[i++ % names.size()];
        const std::string rest = StringCut(name, "btn", 2, true);
        const std::int32_t row = framework::StrToInt(StringCut(rest, "_", 0, false));
        const std::int32_t col = framework::StrToInt(StringCut(rest, "_", 2, false));
        benchmark::DoNotOptimize(row + col);
    }
}
BENCHMARK(BM_PanelNameStringCut)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
