// One ranking file, byte for byte, on every platform: the same bytes read in,
// the same tables saved, the same bytes out (CP932 text, CR LF line ends).
#include <gtest/gtest.h>

#include <string>

#include "framework/IniFile.h"
#include "framework/MemIniFile.h"
#include "game/RankingStore.h"
#include "support/TempDir.h"

namespace {

// A file as a player's game leaves it: size 5 saved with a Japanese name on
// rank 1 (ホロンパ) and a quoted name, size 12 after it.
const std::string kGoldenFile =
    "[5]\r\n"
    "1=1,\x83\x7A\x83\x8D\x83\x93\x83\x70,56,35,12,3\r\n"
    "2=2,\"a b\",40,50,20,3\r\n"
    "3=3,NoName,0,99999,99999,20\r\n"
    "4=4,NoName,0,99999,99999,20\r\n"
    "5=5,NoName,0,99999,99999,20\r\n"
    "6=6,NoName,0,99999,99999,20\r\n"
    "7=7,NoName,0,99999,99999,20\r\n"
    "8=8,NoName,0,99999,99999,20\r\n"
    "9=9,NoName,0,99999,99999,20\r\n"
    "10=10,NoName,0,99999,99999,20\r\n"
    "[12]\r\n"
    "1=1,x,-1,0,1,2\r\n";

// Size 5 after a better game by 新人 (\x90\x56\x90\x6C), and the first save of
// size 3: every other byte as it was.
const std::string kGoldenAfterSaves =
    "[5]\r\n"
    "1=1,\x90\x56\x90\x6C,80,20,9,3\r\n"
    "2=2,\x83\x7A\x83\x8D\x83\x93\x83\x70,56,35,12,3\r\n"
    "3=3,\"a b\",40,50,20,3\r\n"
    "4=4,NoName,0,99999,99999,20\r\n"
    "5=5,NoName,0,99999,99999,20\r\n"
    "6=6,NoName,0,99999,99999,20\r\n"
    "7=7,NoName,0,99999,99999,20\r\n"
    "8=8,NoName,0,99999,99999,20\r\n"
    "9=9,NoName,0,99999,99999,20\r\n"
    "10=10,NoName,0,99999,99999,20\r\n"
    "[12]\r\n"
    "1=1,x,-1,0,1,2\r\n"
    "[3]\r\n"
    "1=1,NoName,900,45,12,3\r\n"
    "2=2,NoName,0,99999,99999,20\r\n"
    "3=3,NoName,0,99999,99999,20\r\n"
    "4=4,NoName,0,99999,99999,20\r\n"
    "5=5,NoName,0,99999,99999,20\r\n"
    "6=6,NoName,0,99999,99999,20\r\n"
    "7=7,NoName,0,99999,99999,20\r\n"
    "8=8,NoName,0,99999,99999,20\r\n"
    "9=9,NoName,0,99999,99999,20\r\n"
    "10=10,NoName,0,99999,99999,20\r\n";

// The two saves, as a win saves a table: the ten ranks, rank 1 first.
void SaveTheTwoTables(framework::TMemIniFile& file) {
    const rRanking first = ReadRankRecord(file, 5, 1);
    const rRanking second = ReadRankRecord(file, 5, 2);
    WriteRankRecord(file, 5, {1, "\x90\x56\x90\x6C", 80, 20, 9, 3});
    WriteRankRecord(file, 5, {2, first.Name, first.Score, first.Seconds, first.Clicks, 3});
    WriteRankRecord(file, 5, {3, second.Name, second.Score, second.Seconds, second.Clicks, 3});
    for (int r = 4; r <= 10; ++r) WriteRankRecord(file, 5, ReadRankRecord(file, 5, r));
    WriteRankRecord(file, 3, {1, "NoName", 900, 45, 12, 3});
    for (int r = 2; r <= 10; ++r) WriteRankRecord(file, 3, DefaultRankRecord(r));
}

TEST(RankingGolden, TheGoldenFileReadsAlike) {
    const framework::TMemIniFile file(kGoldenFile);
    EXPECT_EQ(ReadRankRecord(file, 5, 1),
              (rRanking{1, "\x83\x7A\x83\x8D\x83\x93\x83\x70", 56, 35, 12, 3}));
    EXPECT_EQ(ReadRankRecord(file, 5, 2), (rRanking{2, "a b", 40, 50, 20, 3}));
    EXPECT_EQ(ReadRankRecord(file, 12, 1), (rRanking{1, "x", -1, 0, 1, 2}));
    EXPECT_EQ(ReadRankRecord(file, 12, 2), DefaultRankRecord(2));
}

TEST(RankingGolden, SavingTablesGivesTheGoldenBytes) {
    framework::TMemIniFile file(kGoldenFile);
    SaveTheTwoTables(file);
    EXPECT_EQ(file.Text(), kGoldenAfterSaves);
}

TEST(RankingGolden, TheFileOnDiskGetsTheGoldenBytes) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("horonpa.ini");
    testsupport::WriteAll(ini, kGoldenFile);
    framework::TIniFile(ini).Update([](framework::TMemIniFile& file) {
        SaveTheTwoTables(file);
        return true;
    });
    EXPECT_EQ(testsupport::ReadAll(ini), kGoldenAfterSaves);
}

}  // namespace
