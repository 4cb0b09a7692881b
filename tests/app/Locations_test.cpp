#include "app/Locations.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "framework/FileUtils.h"
#include "support/TempDir.h"

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

TEST(Locations, RankingFileExtensionRule) {
    EXPECT_EQ(RankingFilePath("/home/a.b/horonpa"), "/home/a.b/horonpa.ini");
    EXPECT_EQ(RankingFilePath("/opt/game/horonpa.exe"), "/opt/game/horonpa.ini");
    EXPECT_EQ(RankingFilePath("C:\\Games\\x.y\\Horonpa.exe"), "C:\\Games\\x.y\\Horonpa.ini");
    EXPECT_EQ(RankingFilePath("C:\\a.b\\horonpa"), "C:\\a.b\\horonpa.ini");
    EXPECT_EQ(RankingFilePath("c:horonpa"), "c:horonpa.ini");
    EXPECT_EQ(RankingFilePath("horonpa.tar.gz"), "horonpa.tar.ini");
}

TEST(Locations, DataHomeFollowsXdgThenHome) {
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
        ScopedEnv relativeHome("HOME", "player");  // nor is a relative HOME
        EXPECT_EQ(DataHomeDirectory(), "");
    }
}

TEST(Locations, BesideTheExecutableWhenThatWorks) {
    TempDir dir;
    const auto where = RankingFileLocation(dir.file("horonpa"));
    EXPECT_EQ(where.path, dir.file("horonpa.ini"));
    EXPECT_FALSE(where.inDataHome);
}

TEST(Locations, InstalledProgramUsesTheDataHome) {
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

TEST(Locations, CreateDirectoriesMakesTheWholePath) {
    TempDir dir;
    const std::string deep = dir.file("a/b/c/horonpa");
    EXPECT_TRUE(framework::CreateDirectories(deep));
    EXPECT_TRUE(std::filesystem::is_directory(deep));
    EXPECT_TRUE(framework::CreateDirectories(deep));  // already there
    testsupport::WriteAll(dir.file("file"), "x");
    EXPECT_FALSE(framework::CreateDirectories(dir.file("file/sub")));
}

TEST(Locations, ManualBesideTheExecutableThenInstalled) {
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
