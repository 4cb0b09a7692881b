// The Linux version service: the block in a section of an ELF file.
#include <gtest/gtest.h>

#include <vector>

#include "framework/Codepage.h"
#include "framework/VersionFiles.h"
#include "framework/VersionInfoReader.h"
#include "framework/VersionResource.h"
#include "support/TempDir.h"

using namespace framework;
using testsupport::TempDir;
using testsupport::WriteAll;
using versiontest::Info;
using versiontest::kHoronpaCp932;
using versiontest::MakeElf;
using versiontest::Node;
using versiontest::Serialize;
using versiontest::Text;
using versiontest::VersionInfo;

namespace {

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
