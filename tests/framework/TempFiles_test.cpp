#include "framework/TempFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <unistd.h>

#include <filesystem>
#include <set>

#include "framework/FileUtils.h"
#include "framework/IniFile.h"
#include "support/TempDir.h"

namespace {

using framework::IsTemporaryOf;

TEST(TempFiles, DirectoryAndNewTemporaries) {
    EXPECT_EQ(framework::DirectoryOf("/a/b/horonpa.ini"), "/a/b");
    EXPECT_EQ(framework::DirectoryOf("/horonpa.ini"), "/");
    EXPECT_EQ(framework::DirectoryOf("horonpa.ini"), ".");
    testsupport::TempDir dir;
    const auto file = framework::OpenFileAt(dir.file("horonpa.ini"));
    ASSERT_TRUE(file);
    std::string first, second;
    const int a = framework::CreateTemporary(*file, first, 0600);
    const int b = framework::CreateTemporary(*file, second, 0600);
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    close(a);
    close(b);
    EXPECT_NE(first, second);
    EXPECT_TRUE(IsTemporaryOf(first, "horonpa.ini")) << first;
    struct stat st {};
    ASSERT_EQ(stat(dir.file(first).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(TempFiles, OnlyNamesOfTheTemplateAreTemporaries) {
    EXPECT_TRUE(IsTemporaryOf(".horonpa.ini.a1B2c3.tmp", "horonpa.ini"));
    EXPECT_FALSE(IsTemporaryOf("horonpa.ini", "horonpa.ini"));
    EXPECT_FALSE(IsTemporaryOf("horonpa.ini.lock", "horonpa.ini"));
    // Names a player may well give a copy of their own.
    EXPECT_FALSE(IsTemporaryOf(".horonpa.ini.a1B2c3", "horonpa.ini"));
    EXPECT_FALSE(IsTemporaryOf(".horonpa.ini.backup", "horonpa.ini"));
    EXPECT_FALSE(IsTemporaryOf(".horonpa.ini.a1B2c.tmp", "horonpa.ini"));    // too short
    EXPECT_FALSE(IsTemporaryOf(".horonpa.ini.a1B2c34.tmp", "horonpa.ini"));  // too long
    EXPECT_FALSE(IsTemporaryOf(".horonpa.ini.a1-2c3.tmp", "horonpa.ini"));
    EXPECT_FALSE(IsTemporaryOf(".horonpa.ini.a1B2c3.tmx", "horonpa.ini"));
    EXPECT_FALSE(IsTemporaryOf(".other.ini.a1B2c3.tmp", "horonpa.ini"));
    EXPECT_FALSE(IsTemporaryOf(".horonpa.ini.a1B2c3.tmp", ""));
}

TEST(TempFiles, ASaveRemovesWhatAKilledSaveLeftAndNothingElse) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("horonpa.ini");
    for (const char* name :
         {".horonpa.ini.Ab12Cd.tmp", ".horonpa.ini.zzzzzz.tmp", "keep.txt", ".horonpa.ini.lock",
          ".other.ini.Ab12Cd.tmp", ".horonpa.ini.backup", ".horonpa.ini.ABC123"}) {
        testsupport::WriteAll(dir.file(name), "x");
    }
    // Of the right name, but another user's file, a link and a directory.
    testsupport::WriteAll(dir.file(".horonpa.ini.other1.tmp"), "x");
    ASSERT_EQ(lchown(dir.file(".horonpa.ini.other1.tmp").c_str(), 65534, 65534) == 0,
              geteuid() == 0);
    ASSERT_EQ(symlink("keep.txt", dir.file(".horonpa.ini.link01.tmp").c_str()), 0);
    ASSERT_EQ(mkdir(dir.file(".horonpa.ini.dir001.tmp").c_str(), 0700), 0);
    framework::TIniFile(ini).WriteString("5", "1", "a");
    std::set<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) {
        names.insert(e.path().filename().string());
    }
    std::set<std::string> kept{"horonpa.ini",
                               "keep.txt",
                               ".horonpa.ini.lock",
                               ".other.ini.Ab12Cd.tmp",
                               ".horonpa.ini.backup",
                               ".horonpa.ini.ABC123",
                               ".horonpa.ini.link01.tmp",
                               ".horonpa.ini.dir001.tmp"};
    // Only root can give a file away; an ordinary user's own file goes.
    if (geteuid() == 0) kept.insert(".horonpa.ini.other1.tmp");
    EXPECT_EQ(names, kept);
}

}  // namespace
