// Where the ranking lives on Windows: beside the .exe where that works, else
// in %APPDATA%\horonpa\horonpa.ini, made on the first save.
#include "app/Locations.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "framework/FileUtils.h"
#include "framework/WidePath.h"
#include "game/RankingStore.h"
#include "support/TempDir.h"

using framework::JoinPath;
using testsupport::NativePath;
using testsupport::TempDir;

namespace {

// %APPDATA% for one scope.
class ScopedAppData {
  public:
    explicit ScopedAppData(const std::optional<std::string>& value) {
        if (const wchar_t* old = _wgetenv(L"APPDATA")) old_ = old;
        Set(value ? std::optional<std::wstring>(framework::WidePath(*value)) : std::nullopt);
    }
    ~ScopedAppData() { Set(old_); }

  private:
    static void Set(const std::optional<std::wstring>& value) {
        _wputenv_s(L"APPDATA", value ? value->c_str() : L"");
    }
    std::optional<std::wstring> old_;
};

TEST(LocationsWindows, BesideTheExeWhereItsFolderTakesFilesElseInAppData) {
    TempDir dir;
    const std::string appData = JoinPath(dir.path(), "Roaming");
    ScopedAppData scope(appData);
    const std::string games = JoinPath(dir.path(), "Games");
    ASSERT_TRUE(framework::CreateDirectories(games));
    auto where = RankingFileLocation(JoinPath(games, "horonpa.exe"));
    EXPECT_EQ(where.path, JoinPath(games, "horonpa.ini"));
    EXPECT_FALSE(where.inDataHome);
    // A folder no file can be made in (here one that is not there, as under
    // Program Files for a player): the user's roaming data.
    const std::string programFiles = JoinPath(JoinPath(dir.path(), "Program Files"), "Horonpa");
    where = RankingFileLocation(JoinPath(programFiles, "horonpa.exe"));
    const std::string inAppData = JoinPath(JoinPath(appData, "horonpa"), "horonpa.ini");
    EXPECT_EQ(where.path, inAppData);
    EXPECT_TRUE(where.inDataHome);
    EXPECT_FALSE(std::filesystem::exists(NativePath(JoinPath(appData, "horonpa"))));
    // The first save makes the folder, as the ranking window does.
    ASSERT_TRUE(framework::CreateDirectories(framework::DirectoryOf(where.path)));
    WriteRankRecord(where.path, 5, {1, "First", 500, 10, 20, 3});
    EXPECT_EQ(ReadRankRecord(inAppData, 5, 1).Name, "First");
    EXPECT_FALSE(std::filesystem::exists(NativePath(programFiles)));
}

TEST(LocationsWindows, AppDataCountsOnlyAsAFullPath) {
    {
        ScopedAppData scope(std::string("C:\\Users\\player\\AppData\\Roaming"));
        EXPECT_EQ(DataHomeDirectory(), "C:\\Users\\player\\AppData\\Roaming\\horonpa");
    }
    {
        ScopedAppData scope(std::string("\\\\server\\profiles\\player"));
        EXPECT_EQ(DataHomeDirectory(), "\\\\server\\profiles\\player\\horonpa");
    }
    {
        ScopedAppData scope(std::string("Roaming"));  // relative: not a place to keep files
        EXPECT_EQ(DataHomeDirectory(), "");
    }
    {
        ScopedAppData scope(std::nullopt);
        EXPECT_EQ(DataHomeDirectory(), "");
        // Then beside the .exe, whatever its folder.
        EXPECT_EQ(RankingFileLocation("C:\\Program Files\\Horonpa\\horonpa.exe").path,
                  "C:\\Program Files\\Horonpa\\horonpa.ini");
    }
}

TEST(LocationsWindows, TheFolderOfAPath) {
    EXPECT_EQ(framework::DirectoryOf("C:\\Games\\horonpa.ini"), "C:\\Games");
    EXPECT_EQ(framework::DirectoryOf("C:\\horonpa.ini"), "C:\\");
    EXPECT_EQ(framework::DirectoryOf("C:/Games/x/horonpa.ini"), "C:/Games/x");
    EXPECT_EQ(framework::DirectoryOf("\\horonpa.ini"), "\\");
    EXPECT_EQ(framework::DirectoryOf("horonpa.ini"), ".");
    EXPECT_EQ(JoinPath("C:\\Games", "horonpa.ini"), "C:\\Games\\horonpa.ini");
    EXPECT_EQ(JoinPath("C:\\", "horonpa.ini"), "C:\\horonpa.ini");
}

}  // namespace
