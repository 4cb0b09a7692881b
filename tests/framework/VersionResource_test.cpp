#include "framework/VersionResource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "framework/Codepage.h"
#include "framework/FileUtils.h"
#include "framework/VersionFiles.h"
#include "support/TempDir.h"

using namespace framework;
using testsupport::TempDir;
using testsupport::WriteAll;
using versiontest::Binary;
using versiontest::MakeElf;
using versiontest::Node;
using versiontest::Serialize;
using versiontest::Text;
using versiontest::U16;
using versiontest::VersionInfo;

namespace {

// Version information read the way the About window reads it.
class Info {
  public:
    explicit Info(const std::string& path) {
        std::uint32_t handle = 77;
        size_ = GetFileVersionInfoSizeA(path, &handle);
        EXPECT_EQ(handle, 0u);
        buffer_.assign(size_ + 16, 0xCD);  // a guard area after the buffer
        if (size_ > 0) ok_ = GetFileVersionInfoA(path, 0, size_, buffer_.data());
    }
    std::uint32_t size() const { return size_; }
    bool ok() const { return ok_; }

    // The raw answer of VerQueryValueA, checked to lie inside the buffer.
    bool Query(const std::string& path, std::string& value) {
        const void* p = reinterpret_cast<const void*>(1);
        std::uint32_t len = 99;
        const bool found = VerQueryValueA(buffer_.data(), path, &p, &len);
        value.clear();
        if (!found) {
            EXPECT_EQ(p, nullptr) << path;
            EXPECT_EQ(len, 0u) << path;
            return false;
        }
        const auto* at = static_cast<const std::uint8_t*>(p);
        EXPECT_GE(at, buffer_.data()) << path;
        EXPECT_LE(at + len, buffer_.data() + size_) << path;
        if (at >= buffer_.data() && at + len <= buffer_.data() + size_) {
            value.assign(reinterpret_cast<const char*>(at), len);
        }
        return true;
    }
    // A text value as the program uses it: the bytes before the first NUL.
    std::string String(const std::string& path) {
        std::string value;
        if (!Query(path, value)) return "<none>";
        return value.substr(0, value.find('\0'));
    }
    const std::uint8_t* data() const { return buffer_.data(); }
    bool GuardIntact() const {
        for (std::size_t i = size_; i < buffer_.size(); ++i) {
            if (buffer_[i] != 0xCD) return false;
        }
        return true;
    }

  private:
    std::uint32_t size_ = 0;
    bool ok_ = false;
    std::vector<std::uint8_t> buffer_;
};

const std::string kHoronpaCp932 = "\x83\x7A\x83\x8D\x83\x93\x83\x70";  // ホロンパ

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

TEST(VersionResource, MissingAndForeignFilesHaveNone) {
    TempDir dir;
    EXPECT_EQ(GetFileVersionInfoSizeA(dir.file("missing"), nullptr), 0u);
    WriteAll(dir.file("text"), "VS_VERSION_INFO is not enough");
    EXPECT_EQ(GetFileVersionInfoSizeA(dir.file("text"), nullptr), 0u);
    // An ELF file whose section has another name.
    const std::string block = Serialize(VersionInfo(u"041103A4", {}, "\x11\x04\xA4\x03"));
    WriteAll(dir.file("other"), MakeElf(".other", block).bytes);
    EXPECT_EQ(GetFileVersionInfoSizeA(dir.file("other"), nullptr), 0u);
}

class HandBuilt : public testing::Test {
  protected:
    std::string Write(const Node& root) { return WriteBlock(Serialize(root)); }
    std::string WriteBlock(const std::string& block) {
        const std::string path = dir_.file("prog" + std::to_string(files_++));
        WriteAll(path, MakeElf(kVersionSectionName, block).bytes);
        return path;
    }
    TempDir dir_;
    int files_ = 0;
};

TEST_F(HandBuilt, EnglishTranslationAndItsStringTable) {
    const std::string path = Write(VersionInfo(
        u"040904E4", {Text(u"ProductName", u"Demo"), Text(u"Comments", u"")}, "\x09\x04\xE4\x04"));
    Info info(path);
    ASSERT_TRUE(info.ok());
    std::string table;
    ASSERT_TRUE(info.Query("\\VarFileInfo\\Translation", table));
    EXPECT_EQ(table, "\x09\x04\xE4\x04");
    EXPECT_EQ(info.String("\\StringFileInfo\\040904E4\\ProductName"), "Demo");
    EXPECT_EQ(info.String("\\StringFileInfo\\040904e4\\productname"), "Demo");
    EXPECT_EQ(info.String("\\StringFileInfo\\041103A4\\ProductName"), "<none>");
    EXPECT_TRUE(info.GuardIntact());
}

TEST_F(HandBuilt, EmptyTranslationTableHasLengthZero) {
    Info info(Write(VersionInfo(u"041103A4", {Text(u"ProductName", u"x")}, "")));
    ASSERT_TRUE(info.ok());
    std::string table = "unchanged";
    EXPECT_TRUE(info.Query("\\VarFileInfo\\Translation", table));
    EXPECT_EQ(table, "");
}

TEST_F(HandBuilt, MissingTranslationTable) {
    Node root = VersionInfo(u"041103A4", {Text(u"ProductName", u"x")}, "\x11\x04\xA4\x03");
    root.children.pop_back();  // no VarFileInfo
    Info info(Write(root));
    ASSERT_TRUE(info.ok());
    std::string table;
    EXPECT_FALSE(info.Query("\\VarFileInfo\\Translation", table));
    EXPECT_EQ(info.String("\\StringFileInfo\\041103A4\\ProductName"), "x");
}

TEST_F(HandBuilt, TextIsConvertedToCp932) {
    Info info(Write(VersionInfo(
        u"041103A4",
        {Text(u"A", u"ホロンパ"), Text(u"B", u"caf\u00E9 \U0001F600 ①"), Text(u"C", u"半角ｱ～")},
        "\x11\x04\xA4\x03")));
    ASSERT_TRUE(info.ok());
    EXPECT_EQ(info.String("\\StringFileInfo\\041103A4\\A"), kHoronpaCp932);
    EXPECT_EQ(info.String("\\StringFileInfo\\041103A4\\B"), "caf? ? \x87\x40");
    EXPECT_EQ(info.String("\\StringFileInfo\\041103A4\\C"), Utf8ToCp932("半角ｱ～"));
    EXPECT_TRUE(info.GuardIntact());
}

TEST_F(HandBuilt, TextStopsAtTheFirstNul) {
    Info info(Write(
        VersionInfo(u"041103A4", {Text(u"A", std::u16string(u"ab\0cd", 5))}, "\x11\x04\xA4\x03")));
    std::string value;
    ASSERT_TRUE(info.Query("\\StringFileInfo\\041103A4\\A", value));
    EXPECT_EQ(value, std::string("ab", 3));
}

TEST_F(HandBuilt, TextWithoutNulFillsItsWholeRoom) {
    // The widest copy possible: every unit a two-byte character, no NUL stored.
    Node full = Text(u"A", u"ホロンパ");
    full.value.resize(full.value.size() - 2);
    Info info(Write(VersionInfo(u"041103A4", {full, Text(u"B", u"yz")}, "\x11\x04\xA4\x03")));
    ASSERT_TRUE(info.ok());
    EXPECT_EQ(info.String("\\StringFileInfo\\041103A4\\A"), kHoronpaCp932);
    EXPECT_EQ(info.String("\\StringFileInfo\\041103A4\\B"), "yz");
    EXPECT_TRUE(info.GuardIntact());
}

TEST_F(HandBuilt, ValueOfLengthZero) {
    Node empty = Text(u"Comments", u"");
    empty.value.clear();
    Info info(Write(VersionInfo(u"041103A4", {empty}, "\x11\x04\xA4\x03")));
    std::string value = "x";
    EXPECT_TRUE(info.Query("\\StringFileInfo\\041103A4\\Comments", value));
    EXPECT_EQ(value, "");
}

TEST_F(HandBuilt, BufferTooSmallIsRefused) {
    const std::string path =
        Write(VersionInfo(u"041103A4", {Text(u"ProductName", u"x")}, "\x11\x04\xA4\x03"));
    const std::uint32_t size = GetFileVersionInfoSizeA(path, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<std::uint8_t> buffer(size, 0xEE);
    EXPECT_FALSE(GetFileVersionInfoA(path, 0, size - 1, buffer.data()));
    EXPECT_EQ(buffer[size - 1], 0xEE);  // nothing written past the given size
    const void* p = nullptr;
    std::uint32_t len = 0;
    EXPECT_FALSE(VerQueryValueA(buffer.data(), "\\VarFileInfo\\Translation", &p, &len));
    EXPECT_TRUE(GetFileVersionInfoA(path, 0, size, buffer.data()));
    EXPECT_TRUE(VerQueryValueA(buffer.data(), "\\VarFileInfo\\Translation", &p, &len));
    EXPECT_EQ(len, 4u);
}

TEST_F(HandBuilt, SectionLongerThanTheBlockIsFine) {
    const std::string block =
        Serialize(VersionInfo(u"041103A4", {Text(u"ProductName", u"x")}, "\x11\x04\xA4\x03"));
    Info info(WriteBlock(block + std::string(100, '\xFF')));
    ASSERT_TRUE(info.ok());
    EXPECT_EQ(info.String("\\StringFileInfo\\041103A4\\ProductName"), "x");
}

}  // namespace
