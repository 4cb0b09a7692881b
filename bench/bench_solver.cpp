// The solver's costs: the first analysis of a board size and colour count,
// a deal (mend included) once the analysis is kept, solving a board, and the
// search for its fewest presses.
#include <benchmark/benchmark.h>

#include "game/PanelBoard.h"
#include "game/Solver.h"

namespace {

// Every iteration starts from an empty cache, so each one pays for the whole
// analysis: both diagonalisations of every prime-power part and the choice
// of the mend cells.
void BM_FirstAnalysis(benchmark::State& state) {
    const auto size = static_cast<std::int32_t>(state.range(0));
    const auto colors = static_cast<std::int32_t>(state.range(1));
    for (auto _ : state) {
        state.PauseTiming();
        solver::ClearAnalysisCache();
        state.ResumeTiming();
        benchmark::DoNotOptimize(solver::AnalyseBoard(size, colors));
    }
    solver::ClearAnalysisCache();
}
BENCHMARK(BM_FirstAnalysis)
    ->Args({20, 20})
    ->Args({19, 16})
    ->Args({17, 18})
    ->Args({20, 14})
    ->Unit(benchmark::kMillisecond);

// A full deal of a 20 x 20 board with the analysis already kept: 400 draws,
// the winnability test and, for most draws when K = 7 or 14, the mend.
void BM_CachedDeal20(benchmark::State& state) {
    const auto colors = static_cast<std::int32_t>(state.range(0));
    FillPanelPalette();
    solver::AnalyseBoard(20, colors);
    RandSeed = 12345;
    TPanelBoard board;
    for (auto _ : state) {
        board.Deal(20, colors);
        benchmark::DoNotOptimize(board.Cell(0, 0));
    }
}
BENCHMARK(BM_CachedDeal20)->Arg(20)->Arg(7)->Arg(14)->Unit(benchmark::kMicrosecond);

// The palette indices of a board dealt from `seed`.
std::vector<std::int32_t> DealtFrom(std::uint32_t seed, std::int32_t size, std::int32_t colors) {
    FillPanelPalette();
    RandSeed = seed;
    TPanelBoard board;
    board.Deal(size, colors);
    return board.Indices();
}

// Solving a dealt 20 x 20 board with the analysis kept.
void BM_CachedSolve20(benchmark::State& state) {
    const auto colors = static_cast<std::int32_t>(state.range(0));
    const std::vector<std::int32_t> cells = DealtFrom(777, 20, colors);
    const auto analysis = solver::AnalyseBoard(20, colors);
    for (auto _ : state) benchmark::DoNotOptimize(analysis->Solve(cells));
}
BENCHMARK(BM_CachedSolve20)->Arg(20)->Arg(7)->Unit(benchmark::kMicrosecond);

// The fewest-press search of a dealt board, all at once, with the analysis
// kept: K * M = 20 patterns on 20 x 20 with 20 colours, and some of the
// largest searches (K * M = 235,298, 117,649 and 262,144), which the board
// window therefore runs in slices of idle time.
void BM_CachedSolveFewest(benchmark::State& state) {
    const auto size = static_cast<std::int32_t>(state.range(0));
    const auto colors = static_cast<std::int32_t>(state.range(1));
    const std::vector<std::int32_t> cells = DealtFrom(2018, size, colors);
    const auto analysis = solver::AnalyseBoard(size, colors);
    for (auto _ : state) benchmark::DoNotOptimize(analysis->SolveFewest(cells));
}
BENCHMARK(BM_CachedSolveFewest)
    ->Args({20, 20})
    ->Args({20, 14})
    ->Args({20, 7})
    ->Args({16, 8})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
