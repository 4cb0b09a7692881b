#include "game/RankingUpdate.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "framework/Codepage.h"
#include "framework/SysUtils.h"
#include "game/RankingStore.h"
#include "support/FakeDialogs.h"
#include "support/TempDir.h"

using namespace ranking;
using testsupport::ReadAll;
using testsupport::TempDir;
using testsupport::WriteAll;

namespace {

using testsupport::FakeDialogs;

class RankingUpdateTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::string ini = dir.file("horonpa.ini");
    TCellTable table{kColumns, kRows + 1};
    FakeDialogs dialogs;

    // Stores a table of `size` whose ranks 1..10 have these scores.
    void Store(int size, const std::vector<int>& scores) {
        for (int r = 1; r <= static_cast<int>(scores.size()); ++r) {
            WriteRankRecord(ini, size, {r, "P" + std::to_string(r), scores[r - 1], r, r, 4});
        }
    }
    std::vector<int> Scores() const {
        std::vector<int> out;
        for (int r = 1; r <= kRows; ++r)
            out.push_back(framework::StrToInt(table.Cell(colScore, r)));
        return out;
    }
    std::set<std::filesystem::path> Files() const {
        return {std::filesystem::directory_iterator(dir.path()), {}};
    }
    int Win(int size, int score, int seconds = 30, int clicks = 12, int colors = 4) {
        return RunRankingUpdate(table, ini, size, {score, seconds, clicks, colors}, dialogs);
    }
};

TEST_F(RankingUpdateTest, FirstWinTakesRankOneAndSavesTheWholeTable) {
    dialogs.answer = framework::Utf8ToCp932("太郎");
    EXPECT_EQ(Win(5, 56, 35, 12, 3), 1);
    EXPECT_EQ(dialogs.shown,
              (std::vector<std::string>{
                  "56", "name:" + framework::Utf8ToCp932("【1位】名前を入力してください")}));
    std::string expected = "[5]\r\n1=1," + dialogs.answer + ",56,35,12,3\r\n";
    for (int r = 2; r <= 10; ++r) {
        expected += std::to_string(r) + "=" + std::to_string(r) + ",NoName,0,99999,99999,20\r\n";
    }
    EXPECT_EQ(ReadAll(ini), expected);
    // The table shows what the file now holds, one row per rank, no row 11.
    EXPECT_EQ(table.RowCount(), kRows + 1);
    EXPECT_EQ(table.Cell(colName, 1), dialogs.answer);
    EXPECT_EQ(table.Cell(colRank, 10), "10");
    EXPECT_EQ(table.Cell(colName, 10), "NoName");
}

TEST_F(RankingUpdateTest, TiesRankTheNewerResultHigher) {
    Store(4, {900, 800, 700, 600, 500, 400, 300, 200, 150, 100});
    EXPECT_EQ(Win(4, 900), 1);
    EXPECT_EQ(Scores(), (std::vector<int>{900, 900, 800, 700, 600, 500, 400, 300, 200, 150}));
    EXPECT_EQ(table.Cell(colName, 1), "NoName");  // empty answer
    EXPECT_EQ(table.Cell(colName, 2), "P1");

    EXPECT_EQ(Win(4, 150), 10);
    EXPECT_EQ(Scores(), (std::vector<int>{900, 900, 800, 700, 600, 500, 400, 300, 200, 150}));
    EXPECT_EQ(table.Cell(colName, 10), "NoName");
    EXPECT_EQ(dialogs.shown.back(),
              "name:" + framework::Utf8ToCp932("【10位】名前を入力してください"));
}

TEST_F(RankingUpdateTest, NoPlaceLeavesTheFileUntouched) {
    Store(4, {900, 800, 700, 600, 500, 400, 300, 200, 150, 100});
    const std::string before = ReadAll(ini);
    struct stat st1 {};
    stat(ini.c_str(), &st1);
    EXPECT_EQ(Win(4, 99), 11);
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"99", "Congratulations!!"}));
    EXPECT_EQ(ReadAll(ini), before);
    struct stat st2 {};
    stat(ini.c_str(), &st2);
    EXPECT_EQ(st1.st_ino, st2.st_ino);  // not even rewritten
    EXPECT_EQ(Scores()[9], 100);
}

// A game won with help shows its score, then says it is not ranked: no
// place, no name box, no save, and the file stays as it was, byte for byte
// and inode, with nothing made beside it.
TEST_F(RankingUpdateTest, HelpedWinIsScoredButNotEntered) {
    Store(5, {900, 700, 600});
    const std::set<std::filesystem::path> files = Files();
    const std::string before = ReadAll(ini);
    struct stat st1 {};
    stat(ini.c_str(), &st1);
    bool saving = false;
    EXPECT_EQ(
        RunRankingUpdate(table, ini, 5, {800, 3, 9, 4, true}, dialogs, [&] { saving = true; }), 11);
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"800", HelpedGameText()}));
    EXPECT_FALSE(saving);
    EXPECT_EQ(ReadAll(ini), before);
    struct stat st2 {};
    stat(ini.c_str(), &st2);
    EXPECT_EQ(st1.st_ino, st2.st_ino);
    EXPECT_EQ(Files(), files);
    EXPECT_EQ(Scores(), (std::vector<int>{900, 700, 600, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(RankingUpdateTest, ZeroScoreTakesTheFirstDefaultEntry) {
    Store(7, {50, 40, 30});
    EXPECT_EQ(Win(7, 0), 4);
    EXPECT_EQ(Scores(), (std::vector<int>{50, 40, 30, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(table.Cell(colSeconds, 4), "30");  // the new result, not a default entry
}

TEST_F(RankingUpdateTest, UnsortedTableIsScannedToTheTop) {
    Store(8, {100, 900, 800, 700, 600, 500, 400, 300, 200, 150});
    EXPECT_EQ(Win(8, 550), 1);
    EXPECT_EQ(Scores(), (std::vector<int>{550, 900, 800, 700, 600, 100, 500, 400, 300, 200}));
}

TEST_F(RankingUpdateTest, SwapRowsKeepsColumnZero) {
    table.SetCell(colRank, 1, "1");
    table.SetCell(colRank, 2, "2");
    for (int c = colName; c <= colColors; ++c) {
        table.SetCell(c, 1, "a" + std::to_string(c));
        table.SetCell(c, 2, "b" + std::to_string(c));
    }
    SwapRows(table, 1, 2);
    EXPECT_EQ(table.Cell(colRank, 1), "1");
    for (int c = colName; c <= colColors; ++c) {
        EXPECT_EQ(table.Cell(c, 1), "b" + std::to_string(c));
        EXPECT_EQ(table.Cell(c, 2), "a" + std::to_string(c));
    }
}

TEST_F(RankingUpdateTest, ReadErrorEndsTheUpdateBeforeAnyDialog) {
    // Rows before the failing rank show the new size; the others keep their old text.
    for (int r = 1; r <= kRows; ++r) table.SetCell(colName, r, "old");
    WriteAll(ini, "[6]\r\n1=1,A,5,1,1,2\r\n2=2,B,4,1,1,2\r\n3=3,bad name,3,1,1,2\r\n");
    const std::string before = ReadAll(ini);
    EXPECT_THROW(Win(6, 1000), framework::EConvertError);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(table.Cell(colName, 1), "A");
    EXPECT_EQ(table.Cell(colName, 2), "B");
    EXPECT_EQ(table.Cell(colName, 3), "old");
    EXPECT_EQ(ReadAll(ini), before);
}

TEST_F(RankingUpdateTest, WriteErrorKeepsTheUpdatedRowsShown) {
    // The ranking file's path is a directory: every write is refused.
    std::filesystem::create_directory(ini);
    dialogs.answer = "Me";
    EXPECT_THROW(Win(3, 500), framework::EIniFileException);
    EXPECT_EQ(table.RowCount(), kRows + 1);
    EXPECT_EQ(table.Cell(colName, 1), "Me");
    EXPECT_EQ(table.Cell(colScore, 1), "500");
}

TEST_F(RankingUpdateTest, SaveRankingWritesRowsAsRanks) {
    LoadTable(table, ini, 10);
    table.SetCell(colName, 3, "Third");
    table.SetCell(colScore, 3, "77");
    SaveRanking(table, ini, 10);
    EXPECT_EQ(ReadRankRecord(ini, 10, 3), (rRanking{3, "Third", 77, 99999, 99999, 20}));
    table.SetCell(colClicks, 5, "x");
    EXPECT_THROW(SaveRanking(table, ini, 10), framework::EConvertError);
}

}  // namespace
