// Saves that the system refuses: each raises the write error naming the file,
// leaves the old file byte for byte, and a later save works once the cause is
// gone.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "framework/SysUtils.h"
#include "game/RankingStore.h"
#include "support/FullDisk.h"
#include "support/TempDir.h"

namespace {

class RankingRefusedWrite : public ::testing::Test {
  protected:
    testsupport::TempDir dir;
    std::string ini = dir.file("horonpa.ini");
    const rRanking entry{1, "Me", 500, 10, 20, 3};

    void SetUp() override {
        for (int r = 1; r <= 10; ++r) WriteRankRecord(ini, 5, DefaultRankRecord(r));
    }
    std::string Refused(const std::string& path) {
        return path + framework::Cp932(" に書き込めません");
    }
    // 0: refused with the write error naming `path`; 1: stored; 2: another error.
    static int Save(const std::string& path, const rRanking& e, const std::string& message) {
        try {
            WriteRankRecord(path, 5, e);
            return 1;
        } catch (const framework::EIniFileException& x) {
            return x.Message() == message ? 0 : 2;
        }
    }
};

TEST_F(RankingRefusedWrite, ReadOnlyFile) {
    const std::string before = testsupport::ReadAll(ini);
    ASSERT_EQ(chmod(ini.c_str(), 0444), 0);
    EXPECT_EQ(testsupport::RunWithoutRoot({dir.path(), ini, ini + ".lock"},
                                          [&] { return Save(ini, entry, Refused(ini)); }),
              0);
    EXPECT_EQ(testsupport::ReadAll(ini), before);
    ASSERT_EQ(chmod(ini.c_str(), 0644), 0);
    EXPECT_EQ(Save(ini, entry, ""), 1);
    EXPECT_EQ(ReadRankRecord(ini, 5, 1), entry);
}

TEST_F(RankingRefusedWrite, ReadOnlyDirectory) {
    // A new file cannot be made there; nor can a read-only file be replaced.
    const std::string fresh = dir.file("sub/horonpa.ini");
    std::filesystem::create_directory(dir.file("sub"));
    ASSERT_EQ(chmod(dir.file("sub").c_str(), 0555), 0);
    EXPECT_EQ(testsupport::RunWithoutRoot({dir.file("sub")},
                                          [&] { return Save(fresh, entry, Refused(fresh)); }),
              0);
    EXPECT_FALSE(std::filesystem::exists(fresh));

    const std::string before = testsupport::ReadAll(ini);
    ASSERT_EQ(chmod(ini.c_str(), 0444), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    EXPECT_EQ(testsupport::RunWithoutRoot({dir.path(), ini, ini + ".lock"},
                                          [&] { return Save(ini, entry, Refused(ini)); }),
              0);
    EXPECT_EQ(testsupport::ReadAll(ini), before);
}

TEST_F(RankingRefusedWrite, MissingDirectory) {
    const std::string missing = dir.file("gone/horonpa.ini");
    EXPECT_EQ(Save(missing, entry, Refused(missing)), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("gone")));
}

TEST_F(RankingRefusedWrite, FileThatIsADirectory) {
    const std::string folder = dir.file("folder.ini");
    std::filesystem::create_directory(folder);
    testsupport::WriteAll(folder + "/inside", "x");
    EXPECT_EQ(Save(folder, entry, Refused(folder)), 0);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(testsupport::ReadAll(folder + "/inside"), "x");
}

TEST_F(RankingRefusedWrite, DiskFull) {
    const std::string before = testsupport::ReadAll(ini);
    {
        testsupport::FullDisk full(64);  // room for a few lines only
        EXPECT_EQ(Save(ini, entry, Refused(ini)), 0);
    }
    EXPECT_EQ(testsupport::ReadAll(ini), before);
    for (auto& e : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = e.path().filename().string();
        EXPECT_TRUE(name == "horonpa.ini" || name == "horonpa.ini.lock") << name;
    }
    EXPECT_EQ(Save(ini, entry, ""), 1);
    EXPECT_EQ(ReadRankRecord(ini, 5, 1), entry);
}

}  // namespace
