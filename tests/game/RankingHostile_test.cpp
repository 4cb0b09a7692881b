// Damaged and unusual ranking files read through the store, and saved into.
#include <gtest/gtest.h>

#include "framework/SysUtils.h"
#include "game/RankingStore.h"
#include "support/HostileFiles.h"
#include "support/TempDir.h"

namespace {

using testsupport::HostileFile;

const std::vector<HostileFile>& Files() {
    static const std::vector<HostileFile> files = testsupport::HostileFiles();
    return files;
}

class RankingHostile : public ::testing::TestWithParam<std::size_t> {
  protected:
    testsupport::TempDir dir;
    std::string ini = dir.file("horonpa.ini");
    const HostileFile& file = Files()[GetParam()];
};

TEST_P(RankingHostile, ReadsGiveTheEntryOrTheError) {
    testsupport::WriteAll(ini, file.bytes);
    for (int rank = 1; rank <= 10; ++rank) {
        EXPECT_EQ(testsupport::ReadOutcome(ini, 5, rank), file.size5[rank - 1]) << "rank " << rank;
    }
    // A size the file has nothing of reads as defaults.
    EXPECT_EQ(testsupport::ReadOutcome(ini, 4, 3), "3|NoName|0|99999|99999|20");
}

TEST_P(RankingHostile, SavingOneSizeChangesNoOtherByte) {
    testsupport::WriteAll(ini, file.bytes);
    std::string table = "[4]\r\n";
    try {
        for (int r = 1; r <= 10; ++r) {
            rRanking e{r, "P" + std::to_string(r), 100 - r, r, r, 4};
            WriteRankRecord(ini, 4, e);
            table += std::to_string(r) + "=" + FormatRankValue(e) + "\r\n";
        }
        EXPECT_FALSE(file.saveRefused) << "the save went through";
    } catch (const framework::EIniFileException& e) {
        EXPECT_TRUE(file.saveRefused) << e.Message();
        EXPECT_EQ(e.Message(), ini + framework::Cp932(" に書き込めません"));
        EXPECT_EQ(testsupport::ReadAll(ini), file.bytes);
        return;
    }
    const std::string after = testsupport::ReadAll(ini);
    const bool ended = file.bytes.empty() || file.bytes.back() == '\n' ||
                       file.bytes.back() == '\r' || file.bytes == "\xEF\xBB\xBF";
    EXPECT_TRUE(after == file.bytes + (ended ? "" : "\r\n") + table)
        << "the section was not simply appended";
    for (int rank = 1; rank <= 10; ++rank) {
        EXPECT_EQ(testsupport::ReadOutcome(ini, 5, rank), file.size5[rank - 1]) << "rank " << rank;
    }
    EXPECT_EQ(ReadRankRecord(ini, 4, 1), (rRanking{1, "P1", 99, 1, 1, 4}));
}

INSTANTIATE_TEST_SUITE_P(Files, RankingHostile, ::testing::Range<std::size_t>(0, Files().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             return Files()[info.param].name;
                         });

// Names holding every byte value, written by the program: the file stays one
// line per rank, and each rank reads back.
TEST(RankingHostileNames, EveryByteValueInANameIsSavedSafely) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("horonpa.ini");
    testsupport::WriteAll(ini, "[9]\r\n1=1,Keep,1,2,3,4\r\n");
    for (int b = 0; b < 256; ++b) {
        const std::string name = "N" + std::string(1, static_cast<char>(b)) + "N";
        WriteRankRecord(ini, 5, {b + 1, name, 1, 2, 3, 4});
        const rRanking back = ReadRankRecord(ini, 5, b + 1);
        EXPECT_EQ(back.Rank, b + 1);
        EXPECT_EQ(back.Score, 1);
        EXPECT_EQ(back.Colors, 4);
        // A byte that can stand in a name comes back as written; a control
        // byte becomes a blank.
        const bool kept = b >= 0x20 && b != 0x7F;
        EXPECT_EQ(back.Name, kept ? name : "N N") << "byte " << b;
    }
    const std::string bytes = testsupport::ReadAll(ini);
    EXPECT_EQ(bytes.substr(0, 23), "[9]\r\n1=1,Keep,1,2,3,4\r\n");
    std::size_t lines = 0;
    for (char c : bytes) lines += c == '\n';
    EXPECT_EQ(lines, 2u + 1u + 256u);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(ReadRankRecord(ini, 5, b + 1).Clicks, 3) << b;
    EXPECT_EQ(ReadRankRecord(ini, 9, 1).Name, "Keep");
}

}  // namespace
