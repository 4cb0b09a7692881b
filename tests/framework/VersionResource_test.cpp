#include "framework/VersionResource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "framework/FileUtils.h"
#include "framework/VersionInfoReader.h"
#include "support/TempDir.h"

using namespace framework;
using versiontest::Info;
using versiontest::kHoronpaCp932;

namespace {

#ifdef HORONPA_EXE_PATH

// The executable the build made, with the information of resources/version.rc.
class BuiltExecutable : public testing::Test {
  protected:
    Info info_{HORONPA_EXE_PATH};
};

TEST_F(BuiltExecutable, CarriesVersionInformation) {
    ASSERT_GT(info_.size(), 0u);
    EXPECT_TRUE(info_.ok());
    EXPECT_TRUE(info_.GuardIntact());
}

TEST_F(BuiltExecutable, TranslationIsJapaneseShiftJis) {
    std::string table;
    ASSERT_TRUE(info_.Query("\\VarFileInfo\\Translation", table));
    EXPECT_EQ(table, std::string("\x11\x04\xA4\x03", 4));
}

TEST_F(BuiltExecutable, StringTableValues) {
    const std::string t = "\\StringFileInfo\\041103A4\\";
    EXPECT_EQ(info_.String(t + "ProductName"), kHoronpaCp932);
    EXPECT_EQ(info_.String(t + "ProductVersion"), "1.0.0");
    EXPECT_EQ(info_.String(t + "FileVersion"), "1.0.0.0");
    EXPECT_EQ(info_.String(t + "CompanyName"), "Brevantis");
    EXPECT_EQ(info_.String(t + "LegalCopyright"), "Brevantis");
    EXPECT_EQ(info_.String(t + "Comments"), "");
    EXPECT_EQ(info_.String(t + "FileDescription"), "");
    EXPECT_EQ(info_.String(t + "PrivateBuild"), "<none>");
    EXPECT_EQ(info_.String(t + "SpecialBuild"), "<none>");
}

TEST_F(BuiltExecutable, TextLengthCountsTheCp932BytesAndTheNul) {
    std::string value;
    ASSERT_TRUE(info_.Query("\\StringFileInfo\\041103A4\\ProductName", value));
    EXPECT_EQ(value, kHoronpaCp932 + '\0');
    ASSERT_TRUE(info_.Query("\\StringFileInfo\\041103A4\\ProductVersion", value));
    EXPECT_EQ(value, std::string("1.0.0", 6));
}

TEST_F(BuiltExecutable, KeysIgnoreCase) {
    EXPECT_EQ(info_.String("\\stringfileinfo\\041103a4\\PRODUCTNAME"), kHoronpaCp932);
    std::string table;
    EXPECT_TRUE(info_.Query("\\varfileinfo\\TRANSLATION", table));
    EXPECT_EQ(table.size(), 4u);
}

TEST_F(BuiltExecutable, FixedPart) {
    std::string fixed;
    ASSERT_TRUE(info_.Query("\\", fixed));
    ASSERT_EQ(fixed.size(), 52u);
    std::uint32_t f[13];
    std::memcpy(f, fixed.data(), sizeof f);
    EXPECT_EQ(f[0], 0xFEEF04BDu);  // signature
    EXPECT_EQ(f[2], 0x00010000u);  // file version 1.0 ...
    EXPECT_EQ(f[3], 0u);           // ... .0.0
    EXPECT_EQ(f[4], 0x00010000u);  // product version 1.0 ...
    EXPECT_EQ(f[5], 0u);
    EXPECT_EQ(f[6], 0x3Fu);  // flag mask
    EXPECT_EQ(f[7], 0u);     // flags
    EXPECT_EQ(f[8], 4u);     // 32-bit Windows
    EXPECT_EQ(f[9], 1u);     // application
    EXPECT_EQ(f[10], 0u);
}

TEST_F(BuiltExecutable, RepeatedQueriesGiveTheSameCopy) {
    const void* first = nullptr;
    const void* second = nullptr;
    std::uint32_t len1 = 0;
    std::uint32_t len2 = 0;
    const std::string path = "\\StringFileInfo\\041103A4\\ProductName";
    ASSERT_TRUE(VerQueryValueA(info_.data(), path, &first, &len1));
    ASSERT_TRUE(VerQueryValueA(info_.data(), path, &second, &len2));
    EXPECT_EQ(first, second);
    EXPECT_EQ(len1, len2);
}

TEST_F(BuiltExecutable, IsReadInAFolderOfAnyName) {
    // Japanese, which the ANSI code page 932 holds, and Hangul, which it does
    // not (Windows then reads the file through the wide functions).
    testsupport::TempDir dir;
    for (const char* folder : {"ゲーム", "한글"}) {
        const std::string copy = framework::JoinPath(dir.file(folder), "horonpa.exe");
        ASSERT_TRUE(framework::CreateDirectories(dir.file(folder)));
        std::filesystem::copy_file(testsupport::NativePath(HORONPA_EXE_PATH),
                                   testsupport::NativePath(copy));
        Info copied(copy);
        EXPECT_EQ(copied.size(), info_.size()) << folder;
        EXPECT_EQ(copied.String("\\StringFileInfo\\041103A4\\ProductName"), kHoronpaCp932)
            << folder;
        EXPECT_EQ(copied.String("\\StringFileInfo\\041103A4\\ProductVersion"), "1.0.0") << folder;
    }
}

TEST_F(BuiltExecutable, ABufferTooSmallIsRefusedAndFindsNothing) {
    ASSERT_GT(info_.size(), 0u);
    std::vector<std::uint8_t> buffer(info_.size(), 0xEE);
    EXPECT_FALSE(GetFileVersionInfoA(HORONPA_EXE_PATH, 0, info_.size() - 1, buffer.data()));
    EXPECT_EQ(buffer[info_.size() - 1], 0xEE);  // nothing written past the given size
    const void* p = nullptr;
    std::uint32_t len = 0;
    EXPECT_FALSE(VerQueryValueA(buffer.data(), "\\VarFileInfo\\Translation", &p, &len));
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(len, 0u);
}

#else

TEST(BuiltExecutable, NotBuilt) { GTEST_SKIP() << "no horonpa executable in this build"; }

#endif

TEST(VersionResource, ExecutableWithoutTheSectionHasNone) {
    // The test program itself carries no version information.
    const std::string self = ExecutablePath();
    ASSERT_FALSE(self.empty());
    std::uint32_t handle = 5;
    EXPECT_EQ(GetFileVersionInfoSizeA(self, &handle), 0u);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(GetFileVersionInfoSizeA(self, nullptr), 0u);
    std::vector<std::uint8_t> buffer(256, 0xAA);
    EXPECT_FALSE(GetFileVersionInfoA(self, 0, buffer.size(), buffer.data()));
    const void* p = nullptr;
    std::uint32_t len = 1;
    EXPECT_FALSE(VerQueryValueA(buffer.data(), "\\VarFileInfo\\Translation", &p, &len));
    EXPECT_EQ(len, 0u);
}

}  // namespace
