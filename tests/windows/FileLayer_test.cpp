// What the ranking file's layer promises on Windows beyond what every
// platform's tests try: the lock file beside the ranking, the read-only
// attribute, other programs holding the file open, a file with two names,
// leftovers of killed saves, and names outside the ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "framework/Codepage.h"
#include "framework/IniFile.h"
#include "framework/SysUtils.h"
#include "framework/WidePath.h"
#include "game/RankingStore.h"
#include "support/TempDir.h"

using framework::WidePath;
using testsupport::ReadAll;
using testsupport::TempDir;
using testsupport::WriteAll;

namespace {

const std::string kOld = "[5]\r\n1=1,Old,9,9,9,9\r\n";
const rRanking kEntry{1, "New", 500, 10, 20, 3};

DWORD AttributesOf(const std::string& path) { return GetFileAttributesW(WidePath(path).c_str()); }

// The file's identity on its volume: a replaced file is another one.
std::uint64_t FileIndexOf(const std::string& path) {
    const HANDLE h = CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = h != INVALID_HANDLE_VALUE && GetFileInformationByHandle(h, &info);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return ok ? (std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow) : 0;
}

// Another program's handle on the file, sharing what `share` says.
class OpenElsewhere {
  public:
    OpenElsewhere(const std::string& path, DWORD share)
        : h_(CreateFileW(WidePath(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0,
                         nullptr)) {}
    ~OpenElsewhere() { Close(); }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    void Close() {
        if (valid()) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE h_;
};

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(testsupport::NativePath(folder))) {
        names.push_back(framework::Utf8Path(e.path().filename().wstring()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

class FileLayerWindows : public testing::Test {
  protected:
    TempDir dir;
    std::string ini = dir.file("horonpa.ini");
    void SetUp() override { WriteAll(ini, kOld); }
};

TEST_F(FileLayerWindows, EveryGameLocksTheHiddenLockFileBesideTheRanking) {
    WriteRankRecord(ini, 5, kEntry);
    const std::string lock = dir.file("horonpa.ini.lock");
    const DWORD attributes = AttributesOf(lock);
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"horonpa.ini", "horonpa.ini.lock"}));
    // While one save holds the lock, another (a game of its own) waits and
    // gives up; the file stays as the first save leaves it.
    framework::TIniFile first(ini);
    bool refused = false;
    first.Update([&](framework::TMemIniFile& file) {
        framework::TIniFile second(ini);
        second.SetLockWait(std::chrono::milliseconds(100));
        try {
            second.WriteString("5", "2", "2,Second,1,1,1,1");
        } catch (const framework::EIniFileLocked&) {
            refused = true;
        }
        file.WriteString("5", "3", "3,First,1,1,1,1");
        return true;
    });
    EXPECT_TRUE(refused);
    EXPECT_EQ(ReadRankRecord(ini, 5, 3).Name, "First");
    EXPECT_EQ(ReadRankRecord(ini, 5, 2), DefaultRankRecord(2));
    // Free again: the next save goes through.
    WriteRankRecord(ini, 5, {2, "Second", 1, 1, 1, 1});
    EXPECT_EQ(ReadRankRecord(ini, 5, 2).Name, "Second");
}

TEST_F(FileLayerWindows, AReadOnlyFileIsReportedAndLeftByteForByte) {
    ASSERT_TRUE(SetFileAttributesW(WidePath(ini).c_str(), FILE_ATTRIBUTE_READONLY));
    try {
        WriteRankRecord(ini, 5, kEntry);
        ADD_FAILURE() << "saved into a read-only file";
    } catch (const framework::EIniFileException& e) {
        EXPECT_EQ(e.Message(), framework::Utf8ToCp932(ini) + framework::Cp932(" に書き込めません"));
    }
    EXPECT_EQ(ReadAll(ini), kOld);
    EXPECT_TRUE(AttributesOf(ini) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"horonpa.ini", "horonpa.ini.lock"}));
}

TEST_F(FileLayerWindows, AFileAnotherProgramReadsIsReplacedOnceItIsClosed) {
    const std::uint64_t before = FileIndexOf(ini);
    OpenElsewhere reader(ini, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_TRUE(reader.valid());
    std::thread closer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        reader.Close();
    });
    WriteRankRecord(ini, 5, kEntry);
    closer.join();
    EXPECT_EQ(ReadRankRecord(ini, 5, 1), kEntry);
    EXPECT_NE(FileIndexOf(ini), before);  // a new file took the name in one step
}

TEST_F(FileLayerWindows, AFileKeptOpenElsewhereIsRewrittenInPlace) {
    const std::uint64_t before = FileIndexOf(ini);
    // Open for as long as the save waits: Windows will not rename over it,
    // but lets it be written.
    OpenElsewhere holder(ini, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(holder.valid());
    WriteRankRecord(ini, 5, kEntry);
    holder.Close();
    EXPECT_EQ(ReadRankRecord(ini, 5, 1), kEntry);
    EXPECT_EQ(FileIndexOf(ini), before);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"horonpa.ini", "horonpa.ini.lock"}));
}

TEST_F(FileLayerWindows, AFileKeptOpenAgainstWritingIsReportedAndLeftAsItWas) {
    OpenElsewhere holder(ini, FILE_SHARE_READ);
    ASSERT_TRUE(holder.valid());
    EXPECT_THROW(WriteRankRecord(ini, 5, kEntry), framework::EIniFileException);
    holder.Close();
    EXPECT_EQ(ReadAll(ini), kOld);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"horonpa.ini", "horonpa.ini.lock"}));
}

TEST_F(FileLayerWindows, AFileWithTwoNamesKeepsBoth) {
    const std::string other = dir.file("copy.ini");
    ASSERT_TRUE(CreateHardLinkW(WidePath(other).c_str(), WidePath(ini).c_str(), nullptr));
    WriteRankRecord(ini, 5, kEntry);
    EXPECT_EQ(ReadRankRecord(ini, 5, 1), kEntry);
    EXPECT_EQ(ReadAll(other), ReadAll(ini));
    EXPECT_EQ(FileIndexOf(other), FileIndexOf(ini));
}

TEST_F(FileLayerWindows, LeftoversOfKilledSavesGoOnlyUnderTheLock) {
    const std::string stale = dir.file(".horonpa.ini.Ab12Cd.tmp");
    WriteAll(stale, "killed");
    // Names that only look like leftovers, and a folder of the pattern.
    for (const char* name :
         {".horonpa.ini.backup", ".horonpa.ini.Ab12Cde.tmp", ".other.ini.Ab12Cd.tmp"}) {
        WriteAll(dir.file(name), "keep");
    }
    ASSERT_TRUE(CreateDirectoryW(WidePath(dir.file(".horonpa.ini.Zz99Yy.tmp")).c_str(), nullptr));
    const std::string later = dir.file(".horonpa.ini.Qq77Rr.tmp");
    framework::TIniFile first(ini);
    first.Update([&](framework::TMemIniFile& file) {
        // A save that cannot have the lock removes nothing.
        WriteAll(later, "killed");
        framework::TIniFile second(ini);
        second.SetLockWait(std::chrono::milliseconds(50));
        EXPECT_THROW(second.WriteString("5", "2", "2,X,1,1,1,1"), framework::EIniFileLocked);
        EXPECT_TRUE(std::filesystem::exists(testsupport::NativePath(later)));
        file.WriteString("5", "1", "1,New,500,10,20,3");
        return true;
    });
    EXPECT_FALSE(std::filesystem::exists(testsupport::NativePath(stale)));
    WriteRankRecord(ini, 5, {2, "Two", 1, 1, 1, 1});
    EXPECT_EQ(Entries(dir.path()),
              (std::vector<std::string>{".horonpa.ini.Ab12Cde.tmp", ".horonpa.ini.Zz99Yy.tmp",
                                        ".horonpa.ini.backup", ".other.ini.Ab12Cd.tmp",
                                        "horonpa.ini", "horonpa.ini.lock"}));
}

TEST_F(FileLayerWindows, AFolderNameTheAnsiCodePageCannotHoldWorks) {
    // Hangul: no character of code page 932.
    const std::string folder = dir.file("한글");
    ASSERT_TRUE(CreateDirectoryW(WidePath(folder).c_str(), nullptr));
    const std::string path = folder + "\\horonpa.ini";
    WriteRankRecord(path, 5, kEntry);
    EXPECT_EQ(ReadRankRecord(path, 5, 1), kEntry);
    EXPECT_EQ(ReadAll(path).substr(0, 9), "[5]\r\n1=1,");
}

}  // namespace
