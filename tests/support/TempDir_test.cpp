// The tests' own temporary folders: what a test leaves in one is removed
// with it, and nothing outside it is touched, whatever lies inside.
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <unistd.h>
#include <filesystem>
#include <memory>

namespace {

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(TempDirTest, RemovesWhatATestLockedAndFollowsNoLinkOut) {
    testsupport::TempDir outside;
    const std::string file = outside.file("file");
    testsupport::WriteAll(file, "x");
    ASSERT_EQ(chmod(file.c_str(), 0400), 0);
    const std::string folder = outside.file("folder");
    ASSERT_EQ(mkdir(folder.c_str(), 0500), 0);
    auto inner = std::make_unique<testsupport::TempDir>();
    const std::string innerPath = inner->path();
    ASSERT_EQ(symlink(file.c_str(), inner->file("to-file").c_str()), 0);
    ASSERT_EQ(symlink(folder.c_str(), inner->file("to-folder").c_str()), 0);
    // A folder of the test's own, closed with a file in it.
    ASSERT_EQ(mkdir(inner->file("closed").c_str(), 0755), 0);
    testsupport::WriteAll(inner->file("closed/inside"), "y");
    ASSERT_EQ(chmod(inner->file("closed").c_str(), 0), 0);
    inner.reset();
    EXPECT_FALSE(std::filesystem::exists(innerPath));
    EXPECT_EQ(ModeOf(file), 0400u);
    EXPECT_EQ(ModeOf(folder), 0500u);
}

}  // namespace
