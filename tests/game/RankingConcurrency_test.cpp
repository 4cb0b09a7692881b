// Several programs saving into one ranking file at the same moment.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <unistd.h>
#include <string>
#include <vector>

#include "framework/SysUtils.h"
#include "game/RankingStore.h"
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

TEST(RankingConcurrency, WritersSavingAtOnceLoseNothing) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("horonpa.ini");
    // The writers start together when the pipe is closed.
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(gate[1]);
            char c;
            if (read(gate[0], &c, 1) != 0) _exit(3);
            try {
                for (int i = 1; i <= kEntriesEach; ++i)
                    WriteRankRecord(ini, SizeOf(i), EntryOf(w, i));
            } catch (const framework::Exception&) {
                _exit(1);
            }
            _exit(0);
        }
        children.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "a writer got an error";
    }
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

}  // namespace
