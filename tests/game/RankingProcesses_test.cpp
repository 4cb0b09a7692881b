// Two games, two real programs, winning at the same moment on one ranking
// file: every result is kept. Each program wins once on each of ten board
// sizes, in its own order, so that the saves of the two overlap all the time;
// each save rewrites the whole file, so a save that read the file before the
// other's save landed would take that result away again.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>

#include "framework/FileUtils.h"
#include "framework/SysUtils.h"
#include "game/RankingStore.h"
#include "game/RankingUpdate.h"
#include "support/FakeDialogs.h"
#include "support/TempDir.h"

namespace {

constexpr int kFirstSize = 3;
constexpr int kSizes = 10;

// The score of game `game` (0 or 1) on board size `size`: the two differ.
int ScoreOf(int game, int size) { return 100 * size + game; }

std::string NameOf(int game, int size) {
    return std::string(game == 0 ? "A" : "B") + std::to_string(size);
}

// One game's program: this test program started again by the test below,
// with HORONPA_TEST_GAME set. It waits for the start, wins once on every
// size (game 0 from the smallest, game 1 from the largest) and ends before
// any test runs: 0 when every save went through.
int PlayOneGame(const char* ini, int game, const char* start) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!framework::FileExists(start)) {
        if (std::chrono::steady_clock::now() > deadline) return 2;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    try {
        for (int i = 0; i < kSizes; ++i) {
            const int size = game == 0 ? kFirstSize + i : kFirstSize + kSizes - 1 - i;
            TCellTable table(ranking::kColumns, ranking::kRows + 1);
            testsupport::FakeDialogs dialogs;
            dialogs.answer = NameOf(game, size);
            ranking::RunRankingUpdate(table, ini, size, {ScoreOf(game, size), 10, 10, 4}, dialogs);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "game %d: %s\n", game, e.what());
        return 1;
    }
    return 0;
}

[[maybe_unused]] const bool kPlayedAsAChild = [] {
    const char* game = std::getenv("HORONPA_TEST_GAME");
    if (game == nullptr) return false;
    std::exit(PlayOneGame(std::getenv("HORONPA_TEST_RANKING"), std::atoi(game),
                          std::getenv("HORONPA_TEST_START")));
}();

TEST(RankingProcesses, TwoProgramsWinningAtOnceKeepEveryResult) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("horonpa.ini");
    const std::string start = dir.file("start");
    std::intptr_t games[2];
    for (int g = 0; g < 2; ++g) {
        games[g] = testsupport::StartSelf({"HORONPA_TEST_RANKING=" + ini,
                                           "HORONPA_TEST_GAME=" + std::to_string(g),
                                           "HORONPA_TEST_START=" + start});
        ASSERT_NE(games[g], -1);
    }
    testsupport::WriteAll(start, "");
    EXPECT_EQ(testsupport::ExitCodeOfSelf(games[0]), 0);
    EXPECT_EQ(testsupport::ExitCodeOfSelf(games[1]), 0);
    for (int size = kFirstSize; size < kFirstSize + kSizes; ++size) {
        // The better score first, then the other, then the defaults.
        EXPECT_EQ(ReadRankRecord(ini, size, 1),
                  (rRanking{1, NameOf(1, size), ScoreOf(1, size), 10, 10, 4}))
            << "size " << size;
        EXPECT_EQ(ReadRankRecord(ini, size, 2),
                  (rRanking{2, NameOf(0, size), ScoreOf(0, size), 10, 10, 4}))
            << "size " << size;
        EXPECT_EQ(ReadRankRecord(ini, size, 3), DefaultRankRecord(3)) << "size " << size;
    }
}

}  // namespace
