// Saves that the system refuses, and files that are not ours to write: each
// save raises the write error naming the file, leaves the old file byte for
// byte, and a later save works once the cause is gone.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

#include <unistd.h>
#include <csignal>
#include <filesystem>
#include <functional>
#include <vector>

#include "framework/IniFile.h"
#include "framework/SysUtils.h"
#include "game/RankingSaves.h"
#include "game/RankingStore.h"
#include "support/FullDisk.h"

namespace {

using RankingRefusedWrite = testsupport::RankingSaves;

TEST_F(RankingRefusedWrite, ReadOnlyFile) {
    const std::string before = testsupport::ReadAll(ini);
    ASSERT_EQ(chmod(ini.c_str(), 0444), 0);
    EXPECT_EQ(testsupport::RunWithoutRoot({dir.path(), ini},
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
    EXPECT_EQ(testsupport::RunWithoutRoot({dir.path(), ini},
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
        EXPECT_EQ(name, "horonpa.ini");
    }
    EXPECT_EQ(Save(ini, entry, ""), 1);
    EXPECT_EQ(ReadRankRecord(ini, 5, 1), entry);
}

TEST_F(RankingRefusedWrite, DiskFullThroughALinkLeavesTheTarget) {
    std::filesystem::create_directory(dir.file("real"));
    const std::string target = dir.file("real/ranks.ini");
    std::filesystem::rename(ini, target);
    ASSERT_EQ(symlink("real/ranks.ini", ini.c_str()), 0);
    const std::string before = testsupport::ReadAll(target);
    {
        testsupport::FullDisk full(64);
        EXPECT_EQ(Save(ini, entry, Refused(ini)), 0);
    }
    EXPECT_EQ(testsupport::ReadAll(target), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("real")), {}), 1);
    // With room, the target is replaced whole (a new file) and the link stays.
    struct stat old {
    }, now{};
    ASSERT_EQ(stat(target.c_str(), &old), 0);
    EXPECT_EQ(Save(ini, entry, ""), 1);
    ASSERT_EQ(stat(target.c_str(), &now), 0);
    EXPECT_NE(now.st_ino, old.st_ino);
    EXPECT_TRUE(std::filesystem::is_symlink(ini));
    EXPECT_EQ(ReadRankRecord(target, 5, 1), entry);
}

TEST_F(RankingRefusedWrite, DiskFullInPlaceLeavesTheFile) {
    // A writable file in a directory that is not is rewritten in place.
    const std::string before = testsupport::ReadAll(ini);
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    const rRanking longer{1, std::string(200, 'L'), 500, 10, 20, 3};
    EXPECT_EQ(testsupport::RunWithoutRoot({dir.path(), ini},
                                          [&] {
                                              testsupport::FullDisk full(before.size() + 50);
                                              return Save(ini, longer, Refused(ini));
                                          }),
              0);
    EXPECT_EQ(testsupport::ReadAll(ini), before);
    EXPECT_EQ(testsupport::RunWithoutRoot({}, [&] { return Save(ini, longer, ""); }), 1);
    EXPECT_EQ(ReadRankRecord(ini, 5, 1), longer);
}

TEST_F(RankingRefusedWrite, LinksThatMayNotBeFollowed) {
    const std::string target = dir.file("someone-elses.txt");
    testsupport::WriteAll(target, "keep\n");
    // A dangling link: nothing is made at its end.
    const std::string dangling = dir.file("dangling.ini");
    ASSERT_EQ(symlink("nowhere.ini", dangling.c_str()), 0);
    EXPECT_EQ(Save(dangling, entry, Refused(dangling)), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("nowhere.ini")));
    if (geteuid() != 0) GTEST_SKIP() << "only root can make a link that another user owns";
    // A link another user made into a file of ours is not followed, for
    // reading or for writing.
    const std::string foreign = dir.file("foreign.ini");
    ASSERT_EQ(symlink(target.c_str(), foreign.c_str()), 0);
    ASSERT_EQ(lchown(foreign.c_str(), 65534, 65534), 0);
    testsupport::WriteAll(target, "[5]\r\n1=1,Mine,9,9,9,9\r\n");
    EXPECT_EQ(ReadRankRecord(foreign, 5, 1), DefaultRankRecord(1));
    EXPECT_EQ(Save(foreign, entry, Refused(foreign)), 0);
    EXPECT_EQ(testsupport::ReadAll(target), "[5]\r\n1=1,Mine,9,9,9,9\r\n");
    // Where the link's owner owns the target too, it is followed.
    ASSERT_EQ(lchown(target.c_str(), 65534, 65534), 0);
    EXPECT_EQ(ReadRankRecord(foreign, 5, 1).Name, "Mine");
}

TEST_F(RankingRefusedWrite, SpecialFilesNeverBlock) {
    // A FIFO, a socket and a device of this folder's own (never a system
    // one: a save gone wrong must not be able to replace it), and a link to
    // that device.
    std::vector<std::string> specials = {dir.file("fifo.ini"), dir.file("socket.ini")};
    ASSERT_EQ(mkfifo(specials[0].c_str(), 0644), 0);
    const int listening = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(specials[1].size(), sizeof(address.sun_path));
    specials[1].copy(address.sun_path, specials[1].size());
    ASSERT_EQ(bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    if (geteuid() == 0) {
        // Like /dev/zero: endless bytes to read, every write taken.
        specials.push_back(dir.file("zero.ini"));
        ASSERT_EQ(mknod(specials.back().c_str(), S_IFCHR | 0666, makedev(1, 5)), 0);
        specials.push_back(dir.file("zero-link.ini"));
        ASSERT_EQ(symlink("zero.ini", specials.back().c_str()), 0);
    }
    for (const std::string& path : specials) {
        EXPECT_EQ(Unblocked([&] { return ReadRankRecord(path, 5, 1) == DefaultRankRecord(1); }), 1)
            << path;
        EXPECT_EQ(Unblocked([&] { return Save(path, entry, Refused(path)); }), 0) << path;
    }
    close(listening);
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can make a device node: tried a FIFO and a socket";
    // Still the device: no save replaced it.
    EXPECT_EQ(std::filesystem::symlink_status(dir.file("zero.ini")).type(),
              std::filesystem::file_type::character);
}

TEST_F(RankingRefusedWrite, NothingIsMadeThroughWhatLiesBesideTheFile) {
    // Names beside the file that a save might be tricked into opening (the
    // lock file of earlier versions among them) as a FIFO, a dangling link and
    // a link to a file of ours: a save neither blocks on them nor makes or
    // changes anything through them.
    const std::string victim = dir.file("victim.txt");
    testsupport::WriteAll(victim, "keep\n");
    ASSERT_EQ(mkfifo(dir.file(".horonpa.ini.lock").c_str(), 0644), 0);
    ASSERT_EQ(symlink("made-through-a-link", (ini + ".lock").c_str()), 0);
    ASSERT_EQ(symlink(victim.c_str(), dir.file(".horonpa.ini.AAAAAA.tmp").c_str()), 0);
    EXPECT_EQ(Unblocked([&] { return Save(ini, entry, ""); }), 1);
    EXPECT_EQ(ReadRankRecord(ini, 5, 1), entry);
    EXPECT_FALSE(std::filesystem::exists(dir.file("made-through-a-link")));
    EXPECT_EQ(testsupport::ReadAll(victim), "keep\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 5);
}

TEST_F(RankingRefusedWrite, HugeFileIsNeitherParsedNorDestroyed) {
    // A valid section, then padding to one byte over the bound (sparse).
    testsupport::WriteAll(ini, "[5]\r\n1=1,Big,9,9,9,9\r\n");
    ASSERT_EQ(truncate(ini.c_str(), framework::TIniFile::kMaxFileBytes + 1), 0);
    EXPECT_EQ(ReadRankRecord(ini, 5, 1), DefaultRankRecord(1));
    EXPECT_EQ(Save(ini, entry, Refused(ini)), 0);
    EXPECT_EQ(std::filesystem::file_size(ini), framework::TIniFile::kMaxFileBytes + 1);
    EXPECT_EQ(testsupport::ReadAll(ini).substr(0, 8), "[5]\r\n1=1");
    // At the bound itself, it is a file like any other.
    ASSERT_EQ(truncate(ini.c_str(), framework::TIniFile::kMaxFileBytes), 0);
    EXPECT_EQ(ReadRankRecord(ini, 5, 1).Name, "Big");
}

}  // namespace
