// A table save killed at any moment leaves either the old or the new file:
// never some rows of the new table among the old ones.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "framework/IniEdit.h"
#include "framework/SysUtils.h"
#include "game/RankingStore.h"
#include "game/RankingUpdate.h"
#include "support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

// Kills that must land before the save is done, and saves that must get
// through; at most kMaxTries children are started to get them.
constexpr int kWantEarly = 25;
constexpr int kWantNew = 10;
constexpr int kMaxTries = 600;

rRanking EntryOf(int i) { return {i % 10 + 1, "kill" + std::to_string(i), i, i, i, 3}; }

// The table that save `i` writes: every rank changes.
TCellTable TableOf(int i) {
    TCellTable table(ranking::kColumns, ranking::kRows + 1);
    for (int r = 1; r <= ranking::kRows; ++r) {
        table.SetCell(ranking::colName, r, "kill" + std::to_string(i) + "r" + std::to_string(r));
        for (int c = ranking::colScore; c <= ranking::colColors; ++c)
            table.SetCell(c, r, std::to_string(i + r + c));
    }
    return table;
}

// `text` with save `i` applied, as the save writes it.
std::string AfterSave(std::string text, int i) {
    const TCellTable table = TableOf(i);
    for (int r = 1; r <= ranking::kRows; ++r) {
        const rRanking e{r,        table.Cell(ranking::colName, r), i + r + 2, i + r + 3, i + r + 4,
                         i + r + 5};
        text = framework::ini::SetValue(text, "20", std::to_string(r), FormatRankValue(e));
    }
    return text;
}

// A ranking file of every size, and a long comment line so that writing it
// takes long enough to be hit in the middle.
std::string StartingFile() {
    std::string text = "; " + std::string(512 * 1024, 'x') + "\r\n";
    for (int size = 3; size <= 20; ++size) {
        text += "[" + std::to_string(size) + "]\r\n";
        for (int r = 1; r <= 10; ++r)
            text += std::to_string(r) + "=" + FormatRankValue(DefaultRankRecord(r)) + "\r\n";
    }
    return text;
}

// Starts a child that saves table `i` as the table of size 20 and exits.
pid_t StartSave(const std::string& ini, int i) {
    return testsupport::StartChild([&] {
        ranking::SaveRanking(TableOf(i), ini, 20);
        return 0;
    });
}

TEST(RankingInterrupted, KilledSaveLeavesTheOldOrTheNewFile) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("horonpa.ini");
    std::string current = StartingFile();
    testsupport::WriteAll(ini, current);

    // How long one whole save takes here; the kills are spread over a bit more.
    auto start = Clock::now();
    for (int i = 0; i < 3; ++i) {
        pid_t pid = StartSave(ini, 1000 + i);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        current = AfterSave(current, 1000 + i);
    }
    ASSERT_EQ(testsupport::ReadAll(ini), current);
    const auto oneSave =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start) / 3;

    std::mt19937 rng(20240607);
    long maxDelay = oneSave.count() * 3 / 2;
    int tries = 0, killedEarly = 0, keptOld = 0, gotNew = 0;
    for (; tries < kMaxTries && (killedEarly < kWantEarly || gotNew < kWantNew); ++tries) {
        // Under load a save takes longer than measured: when few kills land
        // early, kill sooner; when few saves get through, later.
        if (tries % 20 == 19) {
            if (killedEarly * 4 < tries) maxDelay = std::max(1L, maxDelay / 2);
            if (gotNew * 4 < tries) maxDelay *= 2;
        }
        const std::string next = AfterSave(current, tries);
        ASSERT_NE(next, current);
        pid_t pid = StartSave(ini, tries);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<long>(0, maxDelay)(rng)));
        kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        if (WIFSIGNALED(status)) ++killedEarly;
        const std::string now = testsupport::ReadAll(ini);
        if (now == current) {
            ++keptOld;
        } else {
            ASSERT_EQ(now, next) << "after kill " << tries << ": neither the old nor the new file";
            ++gotNew;
            current = next;
        }
    }
    // The kills did land both before and after the rename.
    EXPECT_GE(killedEarly, kWantEarly);
    EXPECT_GE(gotNew, kWantNew);
    EXPECT_GT(keptOld, 0);
    std::cout << "[          ] " << tries << " saves, " << killedEarly << " killed while running, "
              << keptOld << " old files, " << gotNew << " new files\n";

    // The next save finds the file whole and clears what the killed ones left.
    WriteRankRecord(ini, 3, EntryOf(7));
    EXPECT_EQ(ReadRankRecord(ini, 3, EntryOf(7).Rank), EntryOf(7));
    for (auto& e : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = e.path().filename().string();
        EXPECT_EQ(name, "horonpa.ini");
    }
}

}  // namespace
