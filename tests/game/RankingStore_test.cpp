#include "game/RankingStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "framework/Codepage.h"
#include "framework/SysUtils.h"
#include "support/TempDir.h"

using testsupport::ReadAll;
using testsupport::TempDir;
using testsupport::WriteAll;

namespace {

class RankingStoreTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::string ini = dir.file("horonpa.ini");
};

std::string Cp(const char* utf8) { return framework::Utf8ToCp932(utf8); }

TEST_F(RankingStoreTest, NoFileGivesDefaultEntriesForEveryRank) {
    for (int size : {3, 12, 20}) {
        for (int rank = 1; rank <= 10; ++rank) {
            EXPECT_EQ(ReadRankRecord(ini, size, rank),
                      (rRanking{rank, "NoName", 0, 99999, 99999, 20}));
        }
    }
    EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST_F(RankingStoreTest, FirstSaveOfATableWritesTheseExactBytes) {
    WriteRankRecord(ini, 5, {1, "NoName", 56, 35, 12, 3});
    for (int r = 2; r <= 10; ++r) WriteRankRecord(ini, 5, DefaultRankRecord(r));
    std::string expected = "[5]\r\n1=1,NoName,56,35,12,3\r\n";
    for (int r = 2; r <= 10; ++r) {
        expected += std::to_string(r) + "=" + std::to_string(r) + ",NoName,0,99999,99999,20\r\n";
    }
    EXPECT_EQ(ReadAll(ini), expected);
    WriteRankRecord(ini, 12, {10, "x", -1, 0, 1, 2});
    EXPECT_EQ(ReadAll(ini), expected + "[12]\r\n10=10,x,-1,0,1,2\r\n");
    EXPECT_EQ(ReadRankRecord(ini, 5, 7), DefaultRankRecord(7));
    EXPECT_EQ(ReadRankRecord(ini, 12, 10), (rRanking{10, "x", -1, 0, 1, 2}));
}

TEST_F(RankingStoreTest, MissingKeysAndEmptyValuesReadAsDefaults) {
    WriteAll(ini, "[4]\r\n1=1,A,9,9,9,9\r\n3=\r\n5=5,B,1,2,3,4\r\n");
    EXPECT_EQ(ReadRankRecord(ini, 4, 1).Name, "A");
    EXPECT_EQ(ReadRankRecord(ini, 4, 2), DefaultRankRecord(2));
    EXPECT_EQ(ReadRankRecord(ini, 4, 3), DefaultRankRecord(3));
    EXPECT_EQ(ReadRankRecord(ini, 4, 5), (rRanking{5, "B", 1, 2, 3, 4}));
}

TEST_F(RankingStoreTest, StoredRankFieldIsReturnedAsStored) {
    WriteAll(ini, "[4]\r\n2=7,A,1,2,3,4,extra,fields\r\n");
    EXPECT_EQ(ReadRankRecord(ini, 4, 2), (rRanking{7, "A", 1, 2, 3, 4}));
}

TEST_F(RankingStoreTest, HandWrittenNamesWithBlanksAndCommas) {
    WriteAll(ini,
             "[6]\r\n"
             "1=1,  padded  ,10,1,1,3\r\n"
             "2=2,   ,10,1,1,3\r\n"
             "3=3,two words,10,1,1,3\r\n"
             "4=4,two 99,10,1,1,3\r\n"
             "5=5,a,b,10,1,1,3\r\n"
             "6=6,\"open,10,1,1,3\r\n"
             "7=7,only,5\r\n");
    EXPECT_EQ(ReadRankRecord(ini, 6, 1).Name, "padded");
    // Blanks only: the fields shift, "10" becomes the name.
    EXPECT_EQ(ReadRankRecord(ini, 6, 2), (rRanking{2, "", 10, 1, 1, 3}));
    try {
        ReadRankRecord(ini, 6, 3);
        ADD_FAILURE();
    } catch (const framework::EConvertError& e) {
        EXPECT_EQ(e.Message(), "'words'" + Cp(" は整数ではありません"));
    }
    EXPECT_EQ(ReadRankRecord(ini, 6, 4), (rRanking{4, "two", 99, 10, 1, 1}));
    EXPECT_THROW(ReadRankRecord(ini, 6, 5), framework::EConvertError);  // "b" as the score
    try {
        ReadRankRecord(ini, 6, 6);
        ADD_FAILURE();
    } catch (const framework::EStringListError& e) {
        EXPECT_EQ(e.Message(), Cp("リストのインデックスが範囲を超えています (2)"));
    }
    try {
        ReadRankRecord(ini, 6, 7);
        ADD_FAILURE();
    } catch (const framework::EStringListError& e) {
        EXPECT_EQ(e.Message(), Cp("リストのインデックスが範囲を超えています (3)"));
    }
}

TEST_F(RankingStoreTest, EarlierConversionErrorWinsOverMissingFields) {
    WriteAll(ini, "[3]\r\n1=x\r\n");
    EXPECT_THROW(ReadRankRecord(ini, 3, 1), framework::EConvertError);
}

TEST_F(RankingStoreTest, OverlongValueIsCutAt2047Bytes) {
    std::string name(2100, 'n');
    WriteAll(ini, "[3]\r\n1=1," + name + ",1,2,3,4\r\n");
    // The cut leaves the name and nothing after it: the list ends after field 2.
    try {
        ReadRankRecord(ini, 3, 1);
        ADD_FAILURE();
    } catch (const framework::EStringListError& e) {
        EXPECT_EQ(e.Message(), Cp("リストのインデックスが範囲を超えています (2)"));
    }
}

TEST_F(RankingStoreTest, NamesRoundTrip) {
    const std::string names[] = {
        Cp("ホロンパ名人"),
        Cp("山田　太郎"),
        "NoName",
        "",
        "two words",
        " leading",
        "trailing ",
        "a,b",
        "\"quoted\"",
        "\"",
        "say \"hi\"",
        "mid\"q",
        ",",
        Cp("ソ表") /* trail bytes 0x5C */,
    };
    int rank = 1;
    for (const std::string& name : names) {
        rRanking e{rank, name, 100, 20, 30, 5};
        WriteRankRecord(ini, 9, e);
        EXPECT_EQ(ReadRankRecord(ini, 9, rank), e) << name;
        ++rank;
        if (rank > 10) rank = 1;
    }
}

TEST_F(RankingStoreTest, PlainNamesAreWrittenByteForByte) {
    WriteRankRecord(ini, 3, {1, Cp("太郎"), 1, 2, 3, 4});
    WriteRankRecord(ini, 3, {2, "mid\"q", 1, 2, 3, 4});
    // Only what the reader would take apart is quoted: here a leading quote.
    WriteRankRecord(ini, 3, {3, "\"lead", 1, 2, 3, 4});
    EXPECT_EQ(ReadAll(ini), "[3]\r\n1=1," + Cp("太郎") +
                                ",1,2,3,4\r\n2=2,mid\"q,1,2,3,4\r\n3=3,\"\"\"lead\",1,2,3,4\r\n");
}

TEST_F(RankingStoreTest, ControlBytesAndBrokenCharactersCannotBreakTheFile) {
    WriteRankRecord(ini, 3, {1, "a\r\nb\tc\x7F", 1, 2, 3, 4});
    WriteRankRecord(ini, 3, {2, "end\x83", 1, 2, 3, 4});  // lead byte with no trail
    WriteRankRecord(ini, 3, {3, "x\x83,y", 1, 2, 3, 4});  // lead byte before a comma
    WriteRankRecord(ini, 3, {4, std::string("n\0ul", 4), 1, 2, 3, 4});
    EXPECT_EQ(ReadRankRecord(ini, 3, 1), (rRanking{1, "a  b c ", 1, 2, 3, 4}));
    EXPECT_EQ(ReadRankRecord(ini, 3, 2), (rRanking{2, "end?", 1, 2, 3, 4}));
    EXPECT_EQ(ReadRankRecord(ini, 3, 3), (rRanking{3, "x?,y", 1, 2, 3, 4}));
    EXPECT_EQ(ReadRankRecord(ini, 3, 4), (rRanking{4, "n ul", 1, 2, 3, 4}));
    std::string bytes = ReadAll(ini);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 5);  // header + four lines
}

TEST_F(RankingStoreTest, RefusedWriteRaisesWithThePath) {
    std::filesystem::create_directory(ini);
    try {
        WriteRankRecord(ini, 3, DefaultRankRecord(1));
        ADD_FAILURE();
    } catch (const framework::EIniFileException& e) {
        EXPECT_EQ(e.Message(), ini + Cp(" に書き込めません"));
    }
}

}  // namespace
