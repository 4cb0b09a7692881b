#include "framework/TempFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "framework/FileUtils.h"
#include "framework/IniFile.h"
#include "support/TempDir.h"

namespace {

using framework::IsTemporaryOf;

TEST(TempFiles, DirectoryAndTemplate) {
    EXPECT_EQ(framework::DirectoryOf("/a/b/horonpa.ini"), "/a/b");
    EXPECT_EQ(framework::DirectoryOf("/horonpa.ini"), "/");
    EXPECT_EQ(framework::DirectoryOf("horonpa.ini"), ".");
    EXPECT_EQ(framework::TemporaryTemplate("/a/b/horonpa.ini"), "/a/b/.horonpa.ini.XXXXXX");
}

TEST(TempFiles, OnlyNamesOfTheTemplateAreTemporaries) {
    EXPECT_TRUE(IsTemporaryOf(".horonpa.ini.a1B2c3", "horonpa.ini"));
    EXPECT_FALSE(IsTemporaryOf("horonpa.ini", "horonpa.ini"));
    EXPECT_FALSE(IsTemporaryOf("horonpa.ini.lock", "horonpa.ini"));
    EXPECT_FALSE(IsTemporaryOf(".horonpa.ini.a1B2c", "horonpa.ini"));    // too short
    EXPECT_FALSE(IsTemporaryOf(".horonpa.ini.a1B2c34", "horonpa.ini"));  // too long
    EXPECT_FALSE(IsTemporaryOf(".horonpa.ini.a1-2c3", "horonpa.ini"));
    EXPECT_FALSE(IsTemporaryOf(".other.ini.a1B2c3", "horonpa.ini"));
    EXPECT_FALSE(IsTemporaryOf(".horonpa.ini.a1B2c3", ""));
}

TEST(TempFiles, ASaveRemovesWhatAKilledSaveLeftAndNothingElse) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("horonpa.ini");
    for (const char* name : {".horonpa.ini.Ab12Cd", ".horonpa.ini.zzzzzz", "keep.txt",
                             ".horonpa.ini.lock", ".other.ini.Ab12Cd"}) {
        testsupport::WriteAll(dir.file(name), "x");
    }
    framework::TIniFile(ini).WriteString("5", "1", "a");
    std::set<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) {
        names.insert(e.path().filename().string());
    }
    EXPECT_EQ(names, (std::set<std::string>{"horonpa.ini", "horonpa.ini.lock", "keep.txt",
                                            ".horonpa.ini.lock", ".other.ini.Ab12Cd"}));
}

}  // namespace
