// The ranking file at its edges: links in folders that every user may write,
// a folder swapped while a save runs, saves by users other than the file's
// owner, no room for a temporary file, and the size bound. A save that cannot
// be made is refused with the write error and leaves the file byte for byte.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>

#include "framework/FileUtils.h"
#include "framework/IniFile.h"
#include "framework/SafeFile.h"
#include "game/RankingSaves.h"
#include "support/FullDisk.h"

namespace {

using RankingFileEdges = testsupport::RankingSaves;
using testsupport::ReadAll;
using testsupport::RunAs;
using testsupport::WriteAll;

// Users and a group the system does not know: nobody's password entry can
// make them members of anything but what a test gives them.
constexpr uid_t kAlice = 54321;
constexpr uid_t kBob = 54322;
constexpr uid_t kCarol = 54323;
constexpr uid_t kDave = 54324;
constexpr gid_t kGames = 54400;
// Outcome of a child that skipped its check (no mount namespace here).
constexpr int kSkipped = 77;

struct Owner {
    uid_t uid;
    gid_t gid;
    mode_t mode;
    ino_t inode;
};
Owner OwnerOf(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return {};
    return {st.st_uid, st.st_gid, st.st_mode & 07777, st.st_ino};
}

TEST_F(RankingFileEdges, OnlyLinksTheProtectedRuleAllowsAreFollowedInAnOpenStickyFolder) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can make links and files of other users";
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    // A folder like /tmp, and Alice's link in it to a file of hers.
    const std::string open = dir.file("open");
    ASSERT_EQ(mkdir(open.c_str(), 0777), 0);
    ASSERT_EQ(chmod(open.c_str(), 01777), 0);
    const std::string hers = open + "/hers.ini";
    WriteAll(hers, "[5]\r\n1=1,Alice,9,9,9,9\r\n");
    ASSERT_EQ(chown(hers.c_str(), kAlice, kAlice), 0);
    const std::string link = open + "/horonpa.ini";
    ASSERT_EQ(symlink(hers.c_str(), link.c_str()), 0);
    ASSERT_EQ(lchown(link.c_str(), kAlice, kAlice), 0);
    // Root's game does not follow it, although it leads to a file of the link's owner.
    EXPECT_EQ(ReadRankRecord(link, 5, 1), DefaultRankRecord(1));
    EXPECT_EQ(Save(link, entry, Refused(link)), 0);
    EXPECT_EQ(ReadAll(hers), "[5]\r\n1=1,Alice,9,9,9,9\r\n");
    // Alice's own game follows it; so does root's where the folder is root's
    // own and not open to all.
    EXPECT_EQ(RunAs(kAlice, kAlice, {}, [&] { return ReadRankRecord(link, 5, 1).Name == "Alice"; }),
              1);
    ASSERT_EQ(chmod(open.c_str(), 0755), 0);
    EXPECT_EQ(ReadRankRecord(link, 5, 1).Name, "Alice");
}

TEST_F(RankingFileEdges, AFolderSwappedDuringTheSaveDoesNotRedirectIt) {
    // Between reading the file and replacing it, the folder that holds it is
    // moved away and another folder, with a file that must not be touched,
    // takes its name.
    const std::string game = dir.file("game");
    ASSERT_EQ(mkdir(game.c_str(), 0755), 0);
    const std::string path = game + "/horonpa.ini";
    WriteAll(path, "[5]\r\n");
    framework::TIniFile(path).Update([&](framework::TMemIniFile& file) {
        std::filesystem::rename(game, dir.file("moved"));
        std::filesystem::create_directory(game);
        WriteAll(path, "not yours\n");
        file.WriteString("5", "1", "saved");
        return true;
    });
    EXPECT_EQ(ReadAll(path), "not yours\n");
    EXPECT_EQ(ReadAll(dir.file("moved/horonpa.ini")), "[5]\r\n1=saved\r\n");
}

TEST_F(RankingFileEdges, RootsSaveKeepsTheOwnerGroupAndMode) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can save a file of another user";
    ASSERT_EQ(chown(dir.path().c_str(), kAlice, kAlice), 0);
    ASSERT_EQ(chown(ini.c_str(), kAlice, kGames), 0);
    ASSERT_EQ(chmod(ini.c_str(), 0640), 0);
    EXPECT_EQ(Save(ini, entry, ""), 1);
    const Owner after = OwnerOf(ini);
    EXPECT_EQ(after.uid, kAlice);
    EXPECT_EQ(after.gid, kGames);
    EXPECT_EQ(after.mode, 0640u);
    // So its owner's next save goes through.
    EXPECT_EQ(RunAs(kAlice, kAlice, {},
                    [&] {
                        return Save(ini, {2, "Alice", 400, 1, 1, 3}, "");
                    }),
              1);
    EXPECT_EQ(ReadRankRecord(ini, 5, 2).Name, "Alice");
}

TEST_F(RankingFileEdges, MembersOfASharedFilesGroupKeepSavingIt) {
    if (geteuid() != 0) GTEST_SKIP() << "users and groups are made for the test as root";
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    // root:games 664 in a root:games 775 folder; Bob and Carol play in games.
    const std::string shared = dir.file("shared");
    ASSERT_EQ(mkdir(shared.c_str(), 0775), 0);
    ASSERT_EQ(chown(shared.c_str(), 0, kGames), 0);
    ASSERT_EQ(chmod(shared.c_str(), 0775), 0);
    const std::string path = shared + "/horonpa.ini";
    std::filesystem::copy_file(ini, path);
    ASSERT_EQ(chown(path.c_str(), 0, kGames), 0);
    ASSERT_EQ(chmod(path.c_str(), 0664), 0);
    EXPECT_EQ(RunAs(kBob, kBob, {kGames},
                    [&] {
                        return Save(path, {1, "Bob", 900, 1, 1, 3}, "");
                    }),
              1);
    EXPECT_EQ(OwnerOf(path).gid, kGames);
    EXPECT_EQ(OwnerOf(path).mode, 0664u);
    EXPECT_EQ(RunAs(kCarol, kCarol, {kGames},
                    [&] {
                        return Save(path, {2, "Carol", 800, 1, 1, 3}, "");
                    }),
              1);
    EXPECT_EQ(ReadRankRecord(path, 5, 1).Name, "Bob");
    EXPECT_EQ(ReadRankRecord(path, 5, 2).Name, "Carol");
}

TEST_F(RankingFileEdges, AnOwnerWhoWouldLoseTheFileKeepsItThroughAnInPlaceSave) {
    if (geteuid() != 0) GTEST_SKIP() << "users and groups are made for the test as root";
    // Alice's file, writable by the group games, which Bob is in and she is
    // not: a replacement would be Bob's and shut her out, so Bob's save
    // rewrites her file in place.
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    ASSERT_EQ(chown(ini.c_str(), kAlice, kGames), 0);
    ASSERT_EQ(chmod(ini.c_str(), 0664), 0);
    const Owner before = OwnerOf(ini);
    EXPECT_EQ(RunAs(kBob, kBob, {kGames},
                    [&] {
                        return Save(ini, {1, "Bob", 900, 1, 1, 3}, "");
                    }),
              1);
    const Owner after = OwnerOf(ini);
    EXPECT_EQ(after.uid, kAlice);
    EXPECT_EQ(after.gid, kGames);
    EXPECT_EQ(after.inode, before.inode);
    EXPECT_EQ(RunAs(kAlice, kAlice, {},
                    [&] {
                        return Save(ini, {2, "Alice", 800, 1, 1, 3}, "");
                    }),
              1);
    EXPECT_EQ(ReadRankRecord(ini, 5, 1).Name, "Bob");
    EXPECT_EQ(ReadRankRecord(ini, 5, 2).Name, "Alice");
    // In a sticky folder nobody may rename over another user's file: a
    // writable one is saved in place there too.
    ASSERT_EQ(chmod(dir.path().c_str(), 01777), 0);
    ASSERT_EQ(chmod(ini.c_str(), 0666), 0);
    EXPECT_EQ(RunAs(kCarol, kCarol, {},
                    [&] {
                        return Save(ini, {3, "Carol", 700, 1, 1, 3}, "");
                    }),
              1);
    EXPECT_EQ(OwnerOf(ini).uid, kAlice);
    EXPECT_EQ(ReadRankRecord(ini, 5, 3).Name, "Carol");
}

TEST_F(RankingFileEdges, NoInodeForTheTemporaryFileRefusesTheSave) {
    // A small file system whose every inode is taken.
    const int result = testsupport::ExitCodeOf(testsupport::StartChild([&] {
        const std::string small = dir.file("small");
        if (mkdir(small.c_str(), 0755) != 0) return 2;
        // A mount of the child's own; where "/" is no mount point (a chroot)
        // it cannot be made private, so it is taken down again at the end.
        if (unshare(CLONE_NEWNS) != 0) return kSkipped;
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
        if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=1m,nr_inodes=16") != 0) return kSkipped;
        const std::string path = small + "/horonpa.ini";
        std::filesystem::copy_file(ini, path);
        for (int i = 0; open((small + "/f" + std::to_string(i)).c_str(),
                             O_CREAT | O_WRONLY | O_CLOEXEC, 0644) >= 0;
             ++i) {
        }
        const std::string before = ReadAll(path);
        const int outcome = Save(path, entry, Refused(path)) != 0 ? 3
                            : ReadAll(path) == before             ? 0
                                                                  : 4;
        umount2(small.c_str(), MNT_DETACH);
        return outcome;
    }));
    if (result == kSkipped) GTEST_SKIP() << "no tmpfs can be mounted here";
    EXPECT_EQ(result, 0);
}

TEST_F(RankingFileEdges, ASaveNeverWritesAFileTooLargeToReadBack) {
    // Just under the bound; one more entry would carry it over.
    std::string bytes = ReadAll(ini);
    bytes.resize(framework::TIniFile::kMaxFileBytes - 10, '\n');
    WriteAll(ini, bytes);
    EXPECT_EQ(Save(ini, {1, std::string(40, 'N'), 500, 10, 20, 3}, Refused(ini)), 0);
    EXPECT_EQ(ReadAll(ini), bytes);
    EXPECT_EQ(ReadRankRecord(ini, 5, 10), DefaultRankRecord(10));  // still read
}

TEST_F(RankingFileEdges, AFileThatMayBeWrittenButNotReadIsNoMissingFile) {
    const std::string before = ReadAll(ini);
    ASSERT_EQ(chmod(ini.c_str(), 0200), 0);
    EXPECT_EQ(testsupport::RunWithoutRoot({dir.path(), ini},
                                          [&] { return Save(ini, entry, Refused(ini)); }),
              0);
    ASSERT_EQ(chmod(ini.c_str(), 0644), 0);
    EXPECT_EQ(ReadAll(ini), before);
}

TEST_F(RankingFileEdges, APlayersOwnLinkToAnotherUsersFileIsFollowed) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can make files of another user";
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    // The target is root's; the link, in a folder of the player's, is theirs.
    const std::string target = dir.file("family.ini");
    WriteAll(target, "[5]\r\n1=1,Family,9,9,9,9\r\n");
    const std::string mine = dir.file("mine");
    ASSERT_EQ(mkdir(mine.c_str(), 0755), 0);
    ASSERT_EQ(chown(mine.c_str(), kAlice, kAlice), 0);
    const std::string link = mine + "/horonpa.ini";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    ASSERT_EQ(lchown(link.c_str(), kAlice, kAlice), 0);
    EXPECT_EQ(
        RunAs(kAlice, kAlice, {}, [&] { return ReadRankRecord(link, 5, 1).Name == "Family"; }), 1);
}

TEST_F(RankingFileEdges, AFileHoldingMoreThanItsSizeSaysIsTooLarge) {
    // Files under /proc say they are empty and hold more: never a cut read
    // taken for the whole file.
    const auto proc = framework::OpenFileAt("/proc/self/maps");
    ASSERT_TRUE(proc);
    EXPECT_EQ(framework::ReadRegularFile(*proc, 64).state, framework::FileState::kTooLarge);
    const framework::FileContent whole = framework::ReadRegularFile(*proc, 1 << 20);
    EXPECT_EQ(whole.state, framework::FileState::kRead);
    EXPECT_GT(whole.bytes.size(), 64u);
}

TEST_F(RankingFileEdges, AnInPlaceRewriteCutShortPutsTheOldBytesBack) {
    // A writable file in a read-only folder, a long name at rank 1 replaced
    // by a short one, and a size limit below the file's size: the write
    // fails part-way, and no room was reserved first since the file shrinks.
    WriteRankRecord(ini, 5, {1, std::string(300, 'L'), 500, 10, 20, 3});
    const std::string before = ReadAll(ini);
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    EXPECT_EQ(testsupport::RunWithoutRoot({dir.path(), ini},
                                          [&] {
                                              testsupport::FullDisk full(64);
                                              return Save(ini, entry, Refused(ini));
                                          }),
              0);
    EXPECT_EQ(ReadAll(ini), before);
}

// Makes `path` a link to `target` that belongs to `owner`.
void LinkOf(uid_t owner, const std::string& target, const std::string& path) {
    ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0);
    ASSERT_EQ(lchown(path.c_str(), owner, owner), 0);
}

TEST_F(RankingFileEdges, EveryLinkOnThePathKeepsToTheRules) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can make links and files of other users";
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    // Alice's folder and her file; a folder like /tmp; Dave's folder.
    const std::string alice = dir.file("alice");
    ASSERT_EQ(mkdir(alice.c_str(), 0755), 0);
    const std::string hers = alice + "/horonpa.ini";
    WriteAll(hers, "[5]\r\n1=1,Alice,9,9,9,9\r\n");
    for (const std::string& p : {alice, hers}) ASSERT_EQ(chown(p.c_str(), kAlice, kAlice), 0);
    const std::string open = dir.file("open");
    ASSERT_EQ(mkdir(open.c_str(), 0777), 0);
    ASSERT_EQ(chmod(open.c_str(), 01777), 0);
    const std::string dave = dir.file("dave");
    ASSERT_EQ(mkdir(dave.c_str(), 0755), 0);
    ASSERT_EQ(chown(dave.c_str(), kDave, kDave), 0);
    // Dave's links to her folder, in the open folder and in his own: root's
    // game reaching her file through either finds nothing there, saves and
    // makes nothing.
    LinkOf(kDave, alice, open + "/xdg");
    LinkOf(kDave, alice, dave + "/xdg");
    for (const std::string& via : {open + "/xdg", dave + "/xdg"}) {
        EXPECT_EQ(ReadRankRecord(via + "/horonpa.ini", 5, 1), DefaultRankRecord(1)) << via;
        EXPECT_EQ(Save(via + "/horonpa.ini", entry, Refused(via + "/horonpa.ini")), 0) << via;
        EXPECT_FALSE(framework::CreateDirectories(via + "/horonpa")) << via;
    }
    EXPECT_EQ(ReadAll(hers), "[5]\r\n1=1,Alice,9,9,9,9\r\n");
    EXPECT_FALSE(std::filesystem::exists(alice + "/horonpa"));
    // Links the rules allow, each on the way to the folder: root's own in the
    // open folder, and Alice's own in an open folder of hers (the folder
    // owner's link, to what she owns).
    LinkOf(0, alice, open + "/roots");
    EXPECT_EQ(ReadRankRecord(open + "/roots/horonpa.ini", 5, 1).Name, "Alice");
    ASSERT_EQ(chown(open.c_str(), kAlice, kAlice), 0);
    LinkOf(kAlice, alice, open + "/hers");
    EXPECT_EQ(Save(open + "/hers/horonpa.ini", entry, ""), 1);
    EXPECT_EQ(ReadRankRecord(hers, 5, 1), entry);
}

TEST_F(RankingFileEdges, RootMakesNothingOfItsOwnInAnotherUsersFolder) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can make files for another user";
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    // Alice's build folder: root's first win there makes a file of hers.
    const std::string build = dir.file("build");
    ASSERT_EQ(mkdir(build.c_str(), 0755), 0);
    ASSERT_EQ(chown(build.c_str(), kAlice, kGames), 0);
    const std::string beside = build + "/horonpa.ini";
    EXPECT_EQ(Save(beside, entry, ""), 1);
    EXPECT_EQ(OwnerOf(beside).uid, kAlice);
    EXPECT_EQ(OwnerOf(beside).gid, kGames);
    EXPECT_EQ(RunAs(kAlice, kAlice, {}, [&] { return Save(beside, entry, ""); }), 1);
    // Her home: root's game makes the data folders, each of them hers.
    const std::string home = dir.file("home");
    ASSERT_EQ(mkdir(home.c_str(), 0755), 0);
    ASSERT_EQ(chown(home.c_str(), kAlice, kAlice), 0);
    ASSERT_TRUE(framework::CreateDirectories(home + "/.local/share/horonpa"));
    for (const char* made : {"/.local", "/.local/share", "/.local/share/horonpa"}) {
        EXPECT_EQ(OwnerOf(home + made).uid, kAlice) << made;
        EXPECT_EQ(OwnerOf(home + made).gid, kAlice) << made;
    }
    const std::string data = home + "/.local/share/horonpa/horonpa.ini";
    EXPECT_EQ(RunAs(kAlice, kAlice, {}, [&] { return Save(data, entry, ""); }), 1);
}

TEST_F(RankingFileEdges, AccessListsAreKept) {
    if (geteuid() != 0) GTEST_SKIP() << "users and groups are made for the test as root";
    if (std::system("setfacl --version >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "setfacl (Debian's acl package) is missing";
    }
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    // root:games 640 with Carol let in to write: Bob, in games, may only read.
    ASSERT_EQ(chown(ini.c_str(), 0, kGames), 0);
    ASSERT_EQ(chmod(ini.c_str(), 0640), 0);
    if (std::system(("setfacl -m u:54323:rw " + ini).c_str()) != 0) {
        GTEST_SKIP() << "no access lists on the file system of " << dir.path();
    }
    EXPECT_EQ(Save(ini, entry, ""), 1);
    EXPECT_EQ(RunAs(kCarol, kCarol, {},
                    [&] {
                        return Save(ini, {2, "Carol", 400, 1, 1, 3}, "");
                    }),
              1);
    EXPECT_EQ(RunAs(kBob, kBob, {kGames}, [&] { return Save(ini, entry, Refused(ini)); }), 0);
    // A folder whose default list lets Carol write the files made there.
    const std::string shared = dir.file("shared");
    ASSERT_EQ(mkdir(shared.c_str(), 0755), 0);
    ASSERT_EQ(std::system(("setfacl -d -m u:54323:rw " + shared).c_str()), 0);
    const std::string made = shared + "/horonpa.ini";
    EXPECT_EQ(Save(made, entry, ""), 1);
    EXPECT_EQ(RunAs(kCarol, kCarol, {},
                    [&] {
                        return Save(made, {2, "Carol", 400, 1, 1, 3}, "");
                    }),
              1);
    EXPECT_EQ(ReadRankRecord(made, 5, 2).Name, "Carol");
}

// Makes a folder append-only while alive: a name made there stays for good.
class AppendOnly {
  public:
    explicit AppendOnly(const std::string& folder) : fd_(open(folder.c_str(), O_RDONLY)) {
        int flags = 0;
        set_ = fd_ >= 0 && ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0 &&
               (flags |= FS_APPEND_FL, ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0);
    }
    ~AppendOnly() {
        int flags = 0;
        if (set_ && ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_APPEND_FL;
            ioctl(fd_, FS_IOC_SETFLAGS, &flags);
        }
        if (fd_ >= 0) close(fd_);
    }
    AppendOnly(const AppendOnly&) = delete;
    AppendOnly& operator=(const AppendOnly&) = delete;
    bool set() const { return set_; }

  private:
    int fd_;
    bool set_ = false;
};

TEST_F(RankingFileEdges, AFolderThatKeepsEveryNameGetsNoTemporaryFile) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can make a folder append-only";
    const std::string kept = dir.file("kept");
    ASSERT_EQ(mkdir(kept.c_str(), 0755), 0);
    const std::string path = kept + "/horonpa.ini";
    AppendOnly appendOnly(kept);
    if (!appendOnly.set())
        GTEST_SKIP() << "the file system of " << dir.path() << " has no append-only folders";
    // The first save makes the file, the second rewrites it.
    EXPECT_EQ(Save(path, entry, ""), 1);
    EXPECT_EQ(Save(path, {2, "Second", 400, 1, 1, 3}, ""), 1);
    EXPECT_EQ(ReadRankRecord(path, 5, 1), entry);
    EXPECT_EQ(ReadRankRecord(path, 5, 2).Name, "Second");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(kept), {}), 1);
}

TEST_F(RankingFileEdges, AFileWithOtherNamesOrMountedOnItsOwnIsWrittenInPlace) {
    // A second name (hard link) sees every save.
    const std::string other = dir.file("other.ini");
    ASSERT_EQ(link(ini.c_str(), other.c_str()), 0);
    EXPECT_EQ(Save(ini, entry, ""), 1);
    EXPECT_EQ(ReadRankRecord(other, 5, 1), entry);
    EXPECT_EQ(OwnerOf(other).inode, OwnerOf(ini).inode);
    // A file mounted over another one, as a container's volume is.
    const std::string volume = dir.file("volume.ini");
    WriteAll(volume, ReadAll(ini));
    const int result = testsupport::ExitCodeOf(testsupport::StartChild([&] {
        const std::string mounted = dir.file("mounted.ini");
        WriteAll(mounted, "");
        if (unshare(CLONE_NEWNS) != 0) return kSkipped;
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
        if (mount(volume.c_str(), mounted.c_str(), nullptr, MS_BIND, nullptr) != 0) return kSkipped;
        const int saved = Save(mounted, {2, "Mounted", 400, 1, 1, 3}, "");
        umount2(mounted.c_str(), MNT_DETACH);
        return saved == 1 && ReadRankRecord(volume, 5, 2).Name == "Mounted" ? 0 : 1 + saved;
    }));
    if (result == kSkipped) GTEST_SKIP() << "no mount namespace here";
    EXPECT_EQ(result, 0);
}

TEST_F(RankingFileEdges, LongNamesTheUmaskAndAFifoInAFolderThatMayNotBeRead) {
    // A name so long that ".name.XXXXXX.tmp" would pass the file-name limit.
    const std::string longName = dir.file(std::string(246, 'n') + ".ini");
    EXPECT_EQ(Save(longName, entry, ""), 1);
    EXPECT_EQ(ReadRankRecord(longName, 5, 1), entry);
    // A umask that takes every bit: the file made is still the player's to
    // read and write.
    const std::string masked = dir.file("masked.ini");
    EXPECT_EQ(testsupport::ExitCodeOf(testsupport::StartChild([&] {
                  umask(0777);
                  return Save(masked, entry, "");
              })),
              1);
    EXPECT_EQ(OwnerOf(masked).mode & 0600, 0600u);
    EXPECT_EQ(ReadRankRecord(masked, 5, 1), entry);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
    // A FIFO where the file should be, in a folder that may not be read:
    // the write error, not another program's lock.
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    const std::string hidden = dir.file("hidden");
    ASSERT_EQ(mkdir(hidden.c_str(), 0755), 0);
    const std::string fifo = hidden + "/horonpa.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
    ASSERT_EQ(chmod(hidden.c_str(), 0311), 0);
    EXPECT_EQ(testsupport::RunWithoutRoot(
                  {hidden, fifo},
                  [&] { return Unblocked([&] { return Save(fifo, entry, Refused(fifo)); }); }),
              0);
}

TEST_F(RankingFileEdges, AnInPlaceRewriteOfAFileThatChangedLengthIsRefused) {
    // Read at one length, grown by another program since: nothing is written.
    const auto at = framework::OpenFileAt(ini);
    ASSERT_TRUE(at);
    const std::string read = ReadAll(ini);
    WriteAll(ini, read + "[7]\r\n");
    EXPECT_FALSE(framework::RewriteInPlace(*at, read, "[5]\r\n"));
    EXPECT_EQ(ReadAll(ini), read + "[7]\r\n");
}

}  // namespace
