// The ranking file's bounds and names, alike on every platform: the 16 MiB
// bound on reading and on saving, and a folder named in Japanese.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "framework/Codepage.h"
#include "framework/FileUtils.h"
#include "framework/IniFile.h"
#include "framework/SysUtils.h"
#include "game/RankingStore.h"
#include "support/TempDir.h"

using testsupport::ReadAll;
using testsupport::TempDir;
using testsupport::WriteAll;

namespace {

constexpr std::size_t kBound = framework::TIniFile::kMaxFileBytes;

const rRanking kEntry{1, "Me", 500, 10, 20, 3};

std::string RefusedMessage(const std::string& path) {
    return framework::Utf8ToCp932(path) + framework::Cp932(" に書き込めません");
}

// The message of the write error that a save of `entry` raises, or "" when
// it went through.
std::string SaveError(const std::string& ini, const rRanking& entry) {
    try {
        WriteRankRecord(ini, 5, entry);
    } catch (const framework::EIniFileException& e) {
        return e.Message();
    }
    return "";
}

std::size_t EntriesIn(const std::string& folder) {
    std::size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(testsupport::NativePath(folder))) {
        n += e.path().filename() != "horonpa.ini.lock";
    }
    return n;
}

class RankingFileBounds : public testing::Test {
  protected:
    TempDir dir;
    std::string ini = dir.file("horonpa.ini");
    // A table of size 5 and then line feeds, `size` bytes in all.
    std::string FileOf(std::size_t size) {
        std::string bytes = "[5]\r\n1=1,Kept,9,9,9,9\r\n";
        bytes.resize(size, '\n');
        return bytes;
    }
};

TEST_F(RankingFileBounds, AFileOfSixteenMebibytesIsReadAndOneByteMoreIsLeftAlone) {
    WriteAll(ini, FileOf(kBound));
    EXPECT_EQ(ReadRankRecord(ini, 5, 1).Name, "Kept");
    const std::string larger = FileOf(kBound + 1);
    WriteAll(ini, larger);
    EXPECT_EQ(ReadRankRecord(ini, 5, 1), DefaultRankRecord(1));
    EXPECT_EQ(SaveError(ini, kEntry), RefusedMessage(ini));
    EXPECT_TRUE(ReadAll(ini) == larger);
    EXPECT_EQ(EntriesIn(dir.path()), 1u);  // no temporary file left
}

TEST_F(RankingFileBounds, NoSaveMakesAFileTooLargeToReadBack) {
    const std::string bytes = FileOf(kBound - 10);
    WriteAll(ini, bytes);
    EXPECT_EQ(SaveError(ini, {1, std::string(40, 'N'), 500, 10, 20, 3}), RefusedMessage(ini));
    EXPECT_TRUE(ReadAll(ini) == bytes);
    EXPECT_EQ(ReadRankRecord(ini, 5, 1).Name, "Kept");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST_F(RankingFileBounds, AFolderNamedInJapaneseHoldsTheRanking) {
    const std::string folder = framework::JoinPath(dir.file("ゲーム"), "ホロンパ");
    ASSERT_TRUE(framework::CreateDirectories(folder));
    const std::string japanese = framework::JoinPath(folder, "horonpa.ini");
    const std::string name = framework::Cp932("新人");
    WriteRankRecord(japanese, 5, {1, name, 500, 10, 20, 3});
    EXPECT_EQ(ReadRankRecord(japanese, 5, 1), (rRanking{1, name, 500, 10, 20, 3}));
    const std::string start = "[5]\r\n1=1," + name + ",500,";
    EXPECT_EQ(ReadAll(japanese).substr(0, start.size()), start);
    EXPECT_TRUE(std::filesystem::is_regular_file(testsupport::NativePath(japanese)));
    EXPECT_EQ(EntriesIn(folder), 1u);
    // A refused write names the folder in the message's code page.
    const std::string taken = framework::JoinPath(folder, "taken.ini");
    ASSERT_TRUE(framework::CreateDirectories(taken));
    EXPECT_EQ(SaveError(taken, kEntry), RefusedMessage(taken));
}

}  // namespace
