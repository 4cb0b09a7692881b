// The win flow as the ranking window runs it, without its dialogs: the score,
// then loading the table of the board size, placing the result, saving the
// ten rows and loading them again, in a ranking file that holds the tables of
// all 18 sizes. The file lies beside this executable, as the game's does, so
// it sits on the same kind of disk.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "framework/IniFile.h"
#include "framework/SysUtils.h"
#include "game/CellTable.h"
#include "game/RankingStore.h"
#include "game/RankingUpdate.h"
#include "game/score.h"

namespace {

// Answers the update's boxes at once: the score and "Congratulations!!" are
// dropped, the name box is answered with a name.
class SilentDialogs : public ranking::RankingDialogs {
  public:
    void ShowMessage(const std::string& text) override { benchmark::DoNotOptimize(text.data()); }
    std::string InputName(const std::string&) override { return "Player"; }
};

std::string BesideExecutable(const std::string& name) {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0) return name;
    std::string exe(path, static_cast<std::size_t>(n));
    return exe.substr(0, exe.find_last_of('/') + 1) + name;
}

// A ranking file with ten ranked entries for every size 3..20, scores
// descending, written as the game writes them.
void WriteFullRankingFile(const std::string& path) {
    std::remove(path.c_str());
    for (std::int32_t size = 3; size <= 20; ++size) {
        for (std::int32_t rank = 1; rank <= 10; ++rank) {
            WriteRankRecord(path, size,
                            {rank, "Name" + framework::IntToStr(rank), 1100 - rank * 100, 60 + rank,
                             80 + rank, 20});
        }
    }
}

// A 20 x 20 game of 20 colours won in 120 s and 150 clicks scores 2857: it
// always takes rank 1 (equal scores rank the newer result higher), so every
// run asks the name and saves the whole table.
void BM_WinFlow(benchmark::State& state) {
    const auto size = static_cast<std::int32_t>(state.range(0));
    const std::string path = BesideExecutable("bench-ranking.ini");
    WriteFullRankingFile(path);
    SilentDialogs dialogs;
    TCellTable table(ranking::kColumns, ranking::kRows + 1);
    std::int32_t clicks = 150;
    std::int32_t seconds = 120;
    for (auto _ : state) {
        benchmark::DoNotOptimize(clicks);
        const ranking::GameResult result{CalcScore(clicks, seconds, 20), seconds, clicks, 20};
        const std::int32_t rank = ranking::RunRankingUpdate(table, path, size, result, dialogs);
        if (rank != 1) state.SkipWithError("the result did not take rank 1");
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_WinFlow)->Arg(20)->Arg(3)->Unit(benchmark::kMillisecond);

long PeakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The worst file a table load still parses: 16 MiB, all but the last lines
// empty (the most lines for its size), the table of size 5 at its very end.
// The counter gives how far the process's peak memory rose over all loads.
void BM_LoadLargestFile(benchmark::State& state) {
    const std::string path = BesideExecutable("bench-large.ini");
    const std::string tail = "[5]\r\n1=1,Far,9,9,9,9\r\n";
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        const std::string block(1 << 16, '\n');
        std::size_t left = framework::TIniFile::kMaxFileBytes - tail.size();
        for (; left >= block.size(); left -= block.size())
            std::fwrite(block.data(), 1, block.size(), f);
        std::fwrite(block.data(), 1, left, f);
        std::fputs(tail.c_str(), f);
        std::fclose(f);
    }
    TCellTable table(ranking::kColumns, ranking::kRows + 1);
    // Taken once: later runs of this benchmark start with the peak already reached.
    static const long before = PeakRssKb();
    for (auto _ : state) {
        ranking::LoadTable(table, path, 5);
        if (table.Cell(ranking::colName, 1) != "Far") state.SkipWithError("rank 1 not read");
    }
    state.counters["peak_rss_rise_MB"] = static_cast<double>(PeakRssKb() - before) * 1024 / 1e6;
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadLargestFile)->Unit(benchmark::kMillisecond);

// A table saved beside 16 MiB of other sections, the most a file may hold
// and still be rewritten: the time is how long a win holds the lock (read,
// change, write, flush, rename), which every other game saving meanwhile
// waits for.
void BM_SaveBesideLargestFile(benchmark::State& state) {
    const std::string path = BesideExecutable("bench-large-save.ini");
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        const std::string line = "1=1,Other,9,9,9,9\r\n";
        std::size_t written = 0;
        // Room left for the table of size 5 and a longer name at rank 1.
        for (int section = 100; written + 4096 < framework::TIniFile::kMaxFileBytes; ++section) {
            const std::string header = "[" + std::to_string(section) + "]\r\n";
            std::fputs(header.c_str(), f);
            written += header.size();
            for (int key = 0; key < 10; ++key, written += line.size()) std::fputs(line.c_str(), f);
        }
        std::fclose(f);
    }
    TCellTable table(ranking::kColumns, ranking::kRows + 1);
    ranking::LoadTable(table, path, 5);
    for (auto _ : state) {
        // One save of the whole table: what a win does under the lock.
        ranking::SaveRanking(table, path, 5);
    }
    if (framework::TIniFile(path).ReadString("5", "10", "") == "") state.SkipWithError("not saved");
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveBesideLargestFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
