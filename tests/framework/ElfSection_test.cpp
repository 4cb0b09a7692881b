#include "framework/ElfSection.h"

#include <gtest/gtest.h>

#include "framework/VersionFiles.h"
#include "support/TempDir.h"

using framework::ReadElfSection;
using testsupport::TempDir;
using testsupport::WriteAll;
using versiontest::Elf;
using versiontest::MakeElf;

namespace {

class ElfSectionTest : public testing::Test {
  protected:
    // Writes `elf` and reads the section ".data1" from it.
    bool Read(const Elf& elf, std::string& out, std::size_t maxBytes = 1024) {
        WriteAll(file_, elf.bytes);
        return ReadElfSection(file_, ".data1", maxBytes, out);
    }

    TempDir dir_;
    std::string file_ = dir_.file("prog");
    Elf elf_ = MakeElf(".data1", "0123456789");
};

TEST_F(ElfSectionTest, FindsTheSectionByName) {
    std::string out = "old";
    ASSERT_TRUE(Read(elf_, out));
    EXPECT_EQ(out, "0123456789");
    EXPECT_FALSE(ReadElfSection(file_, ".data", 1024, out));  // a prefix is another name
    EXPECT_EQ(out, "");
    EXPECT_FALSE(ReadElfSection(file_, ".data12", 1024, out));
}

TEST_F(ElfSectionTest, ReadsAtMostTheGivenNumberOfBytes) {
    std::string out;
    ASSERT_TRUE(Read(elf_, out, 4));
    EXPECT_EQ(out, "0123");
}

TEST_F(ElfSectionTest, BigEndianHeadersAreRead) {
    // The same file with every header field written most significant byte first.
    Elf be = elf_;
    be.bytes[5] = 2;
    const auto swap = [&](std::size_t at, int width) {
        for (int i = 0; i < width / 2; ++i)
            std::swap(be.bytes[at + i], be.bytes[at + width - 1 - i]);
    };
    swap(0x28, 8);
    swap(0x3A, 2);
    swap(0x3C, 2);
    swap(0x3E, 2);
    for (std::size_t s = 0; s < 3; ++s) {
        swap(be.HeaderField(s, 0x00), 4);
        swap(be.HeaderField(s, 0x04), 4);
        swap(be.HeaderField(s, 0x18), 8);
        swap(be.HeaderField(s, 0x20), 8);
    }
    std::string out;
    ASSERT_TRUE(Read(be, out));
    EXPECT_EQ(out, "0123456789");
}

TEST_F(ElfSectionTest, ManySectionsFormIsRead) {
    // Count 0 and index SHN_XINDEX: the real values are in section header 0.
    elf_.Put16(0x3C, 0);
    elf_.Put16(0x3E, 0xFFFF);
    elf_.Put64(elf_.HeaderField(0, 0x20), 3);
    elf_.Put32(elf_.HeaderField(0, 0x28), 2);
    std::string out;
    ASSERT_TRUE(Read(elf_, out));
    EXPECT_EQ(out, "0123456789");
}

TEST_F(ElfSectionTest, NotAnElfFile) {
    std::string out;
    WriteAll(file_, "#!/bin/sh\necho hello\n");
    EXPECT_FALSE(ReadElfSection(file_, ".data1", 1024, out));
    WriteAll(file_, "");
    EXPECT_FALSE(ReadElfSection(file_, ".data1", 1024, out));
    EXPECT_FALSE(ReadElfSection(dir_.file("missing"), ".data1", 1024, out));
    EXPECT_FALSE(ReadElfSection(dir_.path(), ".data1", 1024, out));  // a directory

    Elf elf32 = elf_;
    elf32.bytes[4] = 1;  // 32-bit class
    EXPECT_FALSE(Read(elf32, out));
    Elf oddOrder = elf_;
    oddOrder.bytes[5] = 3;
    EXPECT_FALSE(Read(oddOrder, out));
}

TEST_F(ElfSectionTest, EveryTruncationIsRefused) {
    // The section data sits right after the file header; the headers come last.
    for (std::size_t n = 0; n < elf_.bytes.size(); ++n) {
        Elf cut = elf_;
        cut.bytes.resize(n);
        std::string out;
        EXPECT_FALSE(Read(cut, out)) << n;
        EXPECT_EQ(out, "") << n;
    }
}

TEST_F(ElfSectionTest, HeaderFieldsPointingOutsideTheFileAreRefused) {
    struct Damage {
        const char* what;
        std::size_t at;
        int width;
        std::uint64_t value;
    };
    const std::size_t size = elf_.bytes.size();
    const Damage damages[] = {
        {"header table past the end", 0x28, 8, size},
        {"header table offset wraps", 0x28, 8, ~std::uint64_t{0} - 10},
        {"no header table", 0x28, 8, 0},
        {"header entries too small", 0x3A, 2, 32},
        {"more sections than the file holds", 0x3C, 2, 0xFFFE},
        {"name table index out of range", 0x3E, 2, 3},
        {"name table past the end", elf_.HeaderField(2, 0x18), 8, size},
        {"name table too long", elf_.HeaderField(2, 0x20), 8, size},
        {"name table size wraps", elf_.HeaderField(2, 0x20), 8, ~std::uint64_t{0}},
        {"name offset past the table", elf_.HeaderField(1, 0x00), 4, 0xFFFFFFF0},
        {"section data past the end", elf_.HeaderField(1, 0x18), 8, size - 4},
        {"section size past the end", elf_.HeaderField(1, 0x20), 8, size},
        {"section size wraps", elf_.HeaderField(1, 0x20), 8, ~std::uint64_t{0}},
        {"section holds no file data", elf_.HeaderField(1, 0x04), 4, 8},
        {"name table holds no file data", elf_.HeaderField(2, 0x04), 4, 8},
    };
    for (const Damage& d : damages) {
        Elf bad = elf_;
        if (d.width == 2) bad.Put16(d.at, static_cast<std::uint16_t>(d.value));
        if (d.width == 4) bad.Put32(d.at, static_cast<std::uint32_t>(d.value));
        if (d.width == 8) bad.Put64(d.at, d.value);
        std::string out;
        EXPECT_FALSE(Read(bad, out)) << d.what;
        EXPECT_EQ(out, "") << d.what;
    }
}

TEST_F(ElfSectionTest, NameWithoutItsNulIsNotAMatch) {
    // The section's name is the last thing in the name table, cut before its NUL.
    Elf bad = elf_;
    bad.Put32(bad.HeaderField(2, 0x00), 0);      // the table's own name: ""
    bad.Put64(bad.HeaderField(2, 0x20), 1 + 6);  // "\0.data1" without the NUL
    std::string out;
    EXPECT_FALSE(Read(bad, out));
}

}  // namespace
