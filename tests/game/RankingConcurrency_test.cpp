// Several programs saving into one ranking file at the same moment.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <grp.h>

#include <unistd.h>
#include <functional>
#include <string>
#include <vector>

#include "framework/SysUtils.h"
#include "game/RankingStore.h"
#include "game/RankingUpdate.h"
#include "support/FakeDialogs.h"
#include "support/TempDir.h"

namespace {

constexpr int kWriters = 4;
constexpr int kEntriesEach = 150;
constexpr int kSizes[] = {3, 7, 12, 20};

// The entry that writer `w` saves as its `i`-th; every one has a rank (key)
// of its own, so none may replace another.
rRanking EntryOf(int w, int i) {
    return {w * 1000 + i, "w" + std::to_string(w) + "e" + std::to_string(i), i, w, i * 7, 2 + w};
}
int SizeOf(int i) { return kSizes[i % 4]; }

// A game won on size 5 with `score`, named `name`: the whole update with
// its dialogs answered. Returns the rank shown in the name box.
int Win(const std::string& ini, int score, const std::string& name,
        const std::function<void()>& holdNameBox = {}) {
    TCellTable table(ranking::kColumns, ranking::kRows + 1);
    testsupport::FakeDialogs dialogs;
    dialogs.answer = name;
    dialogs.beforeAnswer = holdNameBox;
    return ranking::RunRankingUpdate(table, ini, 5, {score, 30, 40, 3}, dialogs);
}

// The names of ranks 1..10 of size 5, as the file holds them.
std::vector<std::string> NamesInFile(const std::string& ini) {
    std::vector<std::string> names;
    for (int r = 1; r <= 10; ++r) names.push_back(ReadRankRecord(ini, 5, r).Name);
    return names;
}

// Every line ends in CR LF and is a section header or a key line; no section
// appears twice.
::testing::AssertionResult WellFormed(const std::string& bytes) {
    std::vector<std::string> sections;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find("\r\n", pos);
        if (end == std::string::npos) return ::testing::AssertionFailure() << "unended last line";
        std::string line = bytes.substr(pos, end - pos);
        if (line.find_first_of("\r\n") != std::string::npos)
            return ::testing::AssertionFailure() << "stray line end in: " << line;
        if (!line.empty() && line.front() == '[') {
            for (const std::string& s : sections)
                if (s == line) return ::testing::AssertionFailure() << "repeated " << line;
            sections.push_back(line);
        } else if (line.find('=') == std::string::npos) {
            return ::testing::AssertionFailure() << "not a key line: " << line;
        }
        pos = end + 2;
    }
    return ::testing::AssertionSuccess();
}

// Four writers saving kEntriesEach entries each at the same moment, writer w
// through the path pathOf(w) and, where `users` are given, as user users[w]
// (in a group of the same number): none may get an error, none may lose an
// entry.
void WritersSaveAtOnce(const std::string& ini, const std::function<std::string(int)>& pathOf,
                       const std::vector<uid_t>& users = {}) {
    // The writers start together when the pipe is closed.
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        children.push_back(testsupport::StartChild([&, w] {
            close(gate[1]);
            if (!users.empty() && users[w] != 0 &&
                (setgroups(0, nullptr) != 0 || setgid(users[w]) != 0 || setuid(users[w]) != 0)) {
                return 4;
            }
            char c;
            if (read(gate[0], &c, 1) != 0) return 3;
            try {
                for (int i = 1; i <= kEntriesEach; ++i)
                    WriteRankRecord(pathOf(w), SizeOf(i), EntryOf(w, i));
            } catch (const framework::Exception&) {
                return 1;
            }
            return 0;
        }));
    }
    close(gate[0]);
    close(gate[1]);
    for (pid_t pid : children)
        EXPECT_EQ(testsupport::ExitCodeOf(pid), 0) << "a writer got an error";
    const std::string bytes = testsupport::ReadAll(ini);
    EXPECT_TRUE(WellFormed(bytes));
    int found = 0;
    for (int w = 0; w < kWriters; ++w) {
        for (int i = 1; i <= kEntriesEach; ++i) {
            const rRanking expected = EntryOf(w, i);
            if (ReadRankRecord(ini, SizeOf(i), expected.Rank) == expected) ++found;
        }
    }
    EXPECT_EQ(found, kWriters * kEntriesEach);
}

TEST(RankingConcurrency, WritersSavingAtOnceLoseNothing) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("horonpa.ini");
    WritersSaveAtOnce(ini, [&](int) { return ini; });
}

TEST(RankingConcurrency, WritersThroughLinksInTheirOwnFoldersLoseNothing) {
    // A family sharing one table: each game in a folder of its own, its
    // horonpa.ini a link to the one shared file.
    testsupport::TempDir dir;
    const std::string shared = dir.file("shared.ini");
    testsupport::WriteAll(shared, "");  // a link to a missing file makes none
    for (int w = 0; w < kWriters; ++w) {
        const std::string folder = dir.file("game" + std::to_string(w));
        ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
        ASSERT_EQ(symlink("../shared.ini", (folder + "/horonpa.ini").c_str()), 0);
    }
    WritersSaveAtOnce(shared,
                      [&](int w) { return dir.file("game" + std::to_string(w)) + "/horonpa.ini"; });
}

TEST(RankingConcurrency, WritersWhoMayAndMayNotReadTheFolderLoseNothing) {
    if (geteuid() != 0) GTEST_SKIP() << "users are made for the test as root";
    // Alice's folder, which others may pass through but not read (0711) or
    // also make files in (0733), and her file that all may write. Alice and
    // root can lock the folder, Bob and Carol only the file.
    constexpr uid_t kAlice = 54321;
    for (const mode_t folderMode : {0711, 0733}) {
        testsupport::TempDir dir;
        ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
        const std::string folder = dir.file("alice");
        ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
        const std::string ini = folder + "/horonpa.ini";
        testsupport::WriteAll(ini, "");
        ASSERT_EQ(chown(ini.c_str(), kAlice, kAlice), 0);
        ASSERT_EQ(chmod(ini.c_str(), 0666), 0);
        ASSERT_EQ(chown(folder.c_str(), kAlice, kAlice), 0);
        ASSERT_EQ(chmod(folder.c_str(), folderMode), 0);
        SCOPED_TRACE(folderMode);
        WritersSaveAtOnce(ini, [&](int) { return ini; }, {kAlice, 0, kAlice + 1, kAlice + 2});
    }
}

TEST(RankingConcurrency, GamesWonAtOnceKeepEveryResult) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("horonpa.ini");
    // Eight games on one size, finished together; the better scores rank higher.
    constexpr int kGames = 8;
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> games;
    for (int g = 0; g < kGames; ++g) {
        games.push_back(testsupport::StartChild([&, g] {
            close(gate[1]);
            char c;
            if (read(gate[0], &c, 1) != 0) return 4;
            Win(ini, 100 + g, "g" + std::to_string(g));
            return 0;
        }));
    }
    close(gate[0]);
    close(gate[1]);
    for (pid_t pid : games) EXPECT_EQ(testsupport::ExitCodeOf(pid), 0);
    EXPECT_EQ(NamesInFile(ini), (std::vector<std::string>{"g7", "g6", "g5", "g4", "g3", "g2", "g1",
                                                          "g0", "NoName", "NoName"}));
    EXPECT_TRUE(WellFormed(testsupport::ReadAll(ini)));
}

TEST(RankingConcurrency, NameBoxHeldOpenWhileAnotherGameSaves) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("horonpa.ini");
    for (int r = 1; r <= 10; ++r) WriteRankRecord(ini, 5, {r, "old", 1000 - r * 100, 9, 9, 3});
    // The first game's name box opens and stays open until the second game,
    // with a better score, has saved.
    int boxOpen[2], goOn[2];
    ASSERT_EQ(pipe(boxOpen), 0);
    ASSERT_EQ(pipe(goOn), 0);
    const pid_t first = testsupport::StartChild([&] {
        const int rank = Win(ini, 450, "first", [&] {
            char c = 'o';
            if (write(boxOpen[1], &c, 1) != 1 || read(goOn[0], &c, 1) != 1) _exit(5);
        });
        return rank;  // the rank its name box showed
    });
    char c;
    ASSERT_EQ(read(boxOpen[0], &c, 1), 1);
    EXPECT_EQ(Win(ini, 750, "second"), 3);
    ASSERT_EQ(write(goOn[1], &c, 1), 1);
    EXPECT_EQ(testsupport::ExitCodeOf(first), 6);
    // Both results, each where its score puts it; the two lowest old entries drop out.
    EXPECT_EQ(NamesInFile(ini), (std::vector<std::string>{"old", "old", "second", "old", "old",
                                                          "old", "first", "old", "old", "old"}));
    for (int fd : {boxOpen[0], boxOpen[1], goOn[0], goOn[1]}) close(fd);
}

}  // namespace
