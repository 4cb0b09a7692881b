#include "framework/DataLocation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "support/TempDir.h"

using framework::DataHomeDirectory;
using framework::ManualPath;
using framework::RankingFileLocation;
using testsupport::TempDir;

namespace {

// Sets an environment variable for one scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(DataLocation, DataHomeFollowsXdgThenHome) {
    ScopedEnv home("HOME", "/home/player");
    {
        ScopedEnv xdg("XDG_DATA_HOME", "/data/xdg");
        EXPECT_EQ(DataHomeDirectory(), "/data/xdg/horonpa");
    }
    {
        ScopedEnv xdg("XDG_DATA_HOME", nullptr);
        EXPECT_EQ(DataHomeDirectory(), "/home/player/.local/share/horonpa");
    }
    {
        ScopedEnv xdg("XDG_DATA_HOME", "relative/path");  // not absolute: ignored
        EXPECT_EQ(DataHomeDirectory(), "/home/player/.local/share/horonpa");
    }
}

TEST(DataLocation, BesideTheExecutableWhenThatWorks) {
    TempDir dir;
    const auto where = RankingFileLocation(dir.file("horonpa"));
    EXPECT_EQ(where.path, dir.file("horonpa.ini"));
    EXPECT_FALSE(where.inDataHome);
}

TEST(DataLocation, InstalledProgramUsesTheDataHome) {
    TempDir dir;
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);  // an ordinary user may look inside
    const std::string bin = dir.file("bin");
    std::filesystem::create_directory(bin);
    ASSERT_EQ(chmod(bin.c_str(), 0555), 0);
    ScopedEnv xdg("XDG_DATA_HOME", dir.file("xdg").c_str());
    // An ordinary user cannot write to bin/: the ranking goes to the data home...
    EXPECT_EQ(testsupport::RunWithoutRoot(
                  {},
                  [&] {
                      const auto where = RankingFileLocation(bin + "/horonpa");
                      return where.path == dir.file("xdg/horonpa/horonpa.ini") && where.inDataHome
                                 ? 0
                                 : 1;
                  }),
              0);
    // ...unless a ranking file is already there beside it.
    ASSERT_EQ(chmod(bin.c_str(), 0755), 0);
    testsupport::WriteAll(bin + "/horonpa.ini", "");
    ASSERT_EQ(chmod(bin.c_str(), 0555), 0);
    EXPECT_EQ(testsupport::RunWithoutRoot(
                  {},
                  [&] {
                      const auto where = RankingFileLocation(bin + "/horonpa");
                      return where.path == bin + "/horonpa.ini" && !where.inDataHome ? 0 : 1;
                  }),
              0);
}

TEST(DataLocation, CreateDirectoriesMakesTheWholePath) {
    TempDir dir;
    const std::string deep = dir.file("a/b/c/horonpa");
    EXPECT_TRUE(framework::CreateDirectories(deep));
    EXPECT_TRUE(std::filesystem::is_directory(deep));
    EXPECT_TRUE(framework::CreateDirectories(deep));  // already there
    testsupport::WriteAll(dir.file("file"), "x");
    EXPECT_FALSE(framework::CreateDirectories(dir.file("file/sub")));
}

TEST(DataLocation, ManualBesideTheExecutableThenInstalled) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("usr/bin"));
    const std::string exe = dir.file("usr/bin/horonpa");
    EXPECT_EQ(ManualPath(exe), dir.file("usr/bin/horonpa.html"));  // neither: the first
    std::filesystem::create_directories(dir.file("usr/share/doc/horonpa"));
    testsupport::WriteAll(dir.file("usr/share/doc/horonpa/horonpa.html"), "<html>");
    EXPECT_EQ(ManualPath(exe), dir.file("usr/bin/../share/doc/horonpa/horonpa.html"));
    testsupport::WriteAll(dir.file("usr/bin/horonpa.html"), "<html>");
    EXPECT_EQ(ManualPath(exe), dir.file("usr/bin/horonpa.html"));
}

}  // namespace
