// Damaged version information: every length in the block comes from the file,
// so each one is bent here in turn. The reader must answer "not there" or a
// value inside its buffer, never read or write outside it, and never hang.
#include <gtest/gtest.h>

#include <vector>

#include "framework/VersionBlock.h"
#include "framework/VersionFiles.h"
#include "framework/VersionResource.h"
#include "support/TempDir.h"

using namespace framework;
using testsupport::TempDir;
using testsupport::WriteAll;
using versiontest::MakeElf;
using versiontest::Node;
using versiontest::Serialize;
using versiontest::Text;
using versiontest::VersionInfo;

namespace {

const char* const kQueries[] = {
    "\\",
    "\\VarFileInfo\\Translation",
    "\\StringFileInfo\\041103A4\\CompanyName",
    "\\StringFileInfo\\041103A4\\ProductName",
    "\\StringFileInfo\\041103A4\\ProductVersion",
    "\\StringFileInfo\\041103A4\\Comments",
    "\\StringFileInfo\\041103A4",
    "\\StringFileInfo\\041103A4\\ProductName\\Deeper",
};

// The same values as the program's own version information.
Node Standard() {
    return VersionInfo(u"041103A4",
                       {Text(u"CompanyName", u"Brevantis"), Text(u"FileDescription", u""),
                        Text(u"FileVersion", u"1.0.0.0"), Text(u"InternalName", u""),
                        Text(u"LegalCopyright", u"Brevantis"), Text(u"LegalTrademarks", u""),
                        Text(u"OriginalFilename", u""), Text(u"ProductName", u"ホロンパ"),
                        Text(u"ProductVersion", u"1.0.0"), Text(u"Comments", u"")},
                       "\x11\x04\xA4\x03");
}

void Put16(std::string& s, std::size_t at, std::uint16_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}
std::uint16_t Get16(const std::string& s, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(s[at]) |
                                      (static_cast<std::uint8_t>(s[at + 1]) << 8));
}

class VersionDamage : public testing::Test {
  protected:
    // Reads `block` as the contents of the version section, as the file
    // functions do after reading the file, and runs every query, checking that
    // every answer lies inside the buffer and nothing is written past it.
    // Returns how many of kQueries were found.
    int ReadAll(const std::string& block, const std::string& what) {
        const std::vector<std::uint8_t> section(block.begin(), block.end());
        const std::uint32_t size = VersionInfoSize(section);
        if (size == 0) return 0;
        std::vector<std::uint8_t> buffer(size + 64, 0xCD);
        EXPECT_TRUE(LoadVersionInfo(section, size, buffer.data())) << what;
        int found = 0;
        for (const char* q : kQueries) {
            const void* p = nullptr;
            std::uint32_t len = 0;
            if (!VerQueryValueA(buffer.data(), q, &p, &len)) {
                EXPECT_EQ(p, nullptr) << what << " " << q;
                EXPECT_EQ(len, 0u) << what << " " << q;
                continue;
            }
            ++found;
            const auto* at = static_cast<const std::uint8_t*>(p);
            EXPECT_TRUE(at >= buffer.data() && at + len <= buffer.data() + size)
                << what << " " << q << " len " << len;
        }
        for (std::size_t i = size; i < buffer.size(); ++i) {
            if (buffer[i] != 0xCD) {
                ADD_FAILURE() << what << ": written past the buffer at " << i - size;
                break;
            }
        }
        return found;
    }

    // One value of `block`, read from a file that carries it.
    std::string Value(const std::string& block, const char* query) {
        const std::string path = dir_.file("one");
        WriteAll(path, MakeElf(kVersionSectionName, block).bytes);
        const std::uint32_t size = GetFileVersionInfoSizeA(path, nullptr);
        if (size == 0) return "<no information>";
        std::vector<std::uint8_t> buffer(size);
        GetFileVersionInfoA(path, 0, size, buffer.data());
        const void* p = nullptr;
        std::uint32_t len = 0;
        if (!VerQueryValueA(buffer.data(), query, &p, &len)) return "<none>";
        return std::string(static_cast<const char*>(p), len);
    }

    // Offset of the node whose key is `key` (the first one) in `block`.
    static std::size_t NodeOffset(const std::string& block, const std::u16string& key) {
        std::string pattern;
        for (char16_t c : key) pattern += versiontest::U16(c);
        pattern += versiontest::U16(0);
        const std::size_t at = block.find(pattern);
        EXPECT_NE(at, std::string::npos);
        return at - 6;
    }

    TempDir dir_;
    std::string block_ = Serialize(Standard());
};

TEST_F(VersionDamage, UndamagedBlockAnswersEveryQuery) {
    EXPECT_EQ(ReadAll(block_, "as built"), 7);  // all but the path below a text value
    EXPECT_EQ(Value(block_, "\\StringFileInfo\\041103A4\\ProductVersion"), std::string("1.0.0", 6));
}

TEST_F(VersionDamage, OuterLengthBeyondTheSectionMeansNoInformation) {
    std::string b = block_;
    Put16(b, 0, static_cast<std::uint16_t>(b.size() + 4));
    EXPECT_EQ(Value(b, "\\"), "<no information>");
    Put16(b, 0, 0);
    EXPECT_EQ(Value(b, "\\"), "<no information>");
    Put16(b, 0, 7);
    EXPECT_EQ(Value(b, "\\"), "<no information>");
}

TEST_F(VersionDamage, ChildOfLengthZeroEndsItsParent) {
    std::string b = block_;
    const std::size_t at = NodeOffset(b, u"FileDescription");
    Put16(b, at, 0);
    EXPECT_EQ(Value(b, "\\StringFileInfo\\041103A4\\CompanyName"), std::string("Brevantis", 10));
    EXPECT_EQ(Value(b, "\\StringFileInfo\\041103A4\\ProductName"), "<none>");
    // The siblings of the parents are still found.
    EXPECT_EQ(Value(b, "\\VarFileInfo\\Translation"), "\x11\x04\xA4\x03");
}

TEST_F(VersionDamage, ChildLongerThanItsParent) {
    std::string b = block_;
    const std::size_t table = NodeOffset(b, u"041103A4");
    const std::size_t last = NodeOffset(b, u"Comments");
    const std::size_t tableEnd = table + Get16(b, table);
    Put16(b, last, static_cast<std::uint16_t>(tableEnd - last + 4));
    EXPECT_EQ(Value(b, "\\StringFileInfo\\041103A4\\Comments"), "<none>");
    EXPECT_EQ(Value(b, "\\StringFileInfo\\041103A4\\ProductVersion"), std::string("1.0.0", 6));
}

TEST_F(VersionDamage, TextValueLongerThanItsNode) {
    std::string b = block_;
    const std::size_t at = NodeOffset(b, u"ProductName");
    Put16(b, at + 2, 200);  // wValueLength in UTF-16 units
    EXPECT_EQ(Value(b, "\\StringFileInfo\\041103A4\\ProductName"), "<none>");
    // Nothing says where the next node starts once one is damaged.
    EXPECT_EQ(Value(b, "\\StringFileInfo\\041103A4\\ProductVersion"), "<none>");
    EXPECT_EQ(Value(b, "\\StringFileInfo\\041103A4\\CompanyName"), std::string("Brevantis", 10));
}

TEST_F(VersionDamage, BinaryValueLongerThanItsNode) {
    std::string b = block_;
    const std::size_t at = NodeOffset(b, u"Translation");
    Put16(b, at + 2, 5);
    EXPECT_EQ(Value(b, "\\VarFileInfo\\Translation"), "<none>");
    Put16(b, at + 2, 0);
    EXPECT_EQ(Value(b, "\\VarFileInfo\\Translation"), "");
}

TEST_F(VersionDamage, KeyWithoutItsNul) {
    // The translation node is the last thing in the block; cut it right after
    // its key's last character.
    std::string b = block_;
    const std::size_t at = NodeOffset(b, u"Translation");
    const std::size_t keyEnd = at + 6 + 2 * std::u16string(u"Translation").size();
    b.resize(keyEnd);
    Put16(b, at, static_cast<std::uint16_t>(keyEnd - at));
    const std::size_t varInfo = NodeOffset(b, u"VarFileInfo");
    Put16(b, varInfo, static_cast<std::uint16_t>(keyEnd - varInfo));
    Put16(b, 0, static_cast<std::uint16_t>(keyEnd));
    EXPECT_EQ(Value(b, "\\VarFileInfo\\Translation"), "<none>");
    EXPECT_EQ(Value(b, "\\StringFileInfo\\041103A4\\ProductVersion"), std::string("1.0.0", 6));
}

TEST_F(VersionDamage, MisalignedChildIsNotFound) {
    // Two bytes slipped in before the string table: its header is no longer
    // where the 32-bit rule puts it.
    std::string b = block_;
    const std::size_t table = NodeOffset(b, u"041103A4");
    const std::size_t file = NodeOffset(b, u"StringFileInfo");
    b.insert(table, 2, '\0');
    Put16(b, file, static_cast<std::uint16_t>(Get16(b, file) + 2));
    Put16(b, 0, static_cast<std::uint16_t>(Get16(b, 0) + 2));
    EXPECT_EQ(Value(b, "\\StringFileInfo\\041103A4\\ProductName"), "<none>");
    EXPECT_EQ(Value(b, "\\").size(), 52u);  // the fixed part is still there
    EXPECT_GE(ReadAll(b, "misaligned"), 1);
}

TEST_F(VersionDamage, NodeLengthsNeedNotBeMultiplesOfFour) {
    // "ホロンパ" and its NUL end the ProductName node two bytes short of a
    // 32-bit boundary; the next node starts on that boundary.
    const std::size_t at = NodeOffset(block_, u"ProductName");
    EXPECT_EQ(Get16(block_, at) % 4, 2);
    EXPECT_EQ(Value(block_, "\\StringFileInfo\\041103A4\\ProductVersion"), std::string("1.0.0", 6));
}

TEST_F(VersionDamage, EveryTruncation) {
    for (std::size_t n = 0; n < block_.size(); ++n) {
        std::string cut = block_.substr(0, n);
        ReadAll(cut, "cut at " + std::to_string(n));  // the outer length no longer fits
        if (n >= 2) Put16(cut, 0, static_cast<std::uint16_t>(n));
        ReadAll(cut, "cut and outer length fixed at " + std::to_string(n));
    }
}

TEST_F(VersionDamage, EveryByteBent) {
    for (std::size_t i = 0; i < block_.size(); ++i) {
        for (const char v : {'\x00', '\x01', '\x03', '\xFF'}) {
            std::string b = block_;
            b[i] = v;
            ReadAll(b, "byte " + std::to_string(i) + " = " + std::to_string(v & 0xFF));
        }
    }
}

TEST_F(VersionDamage, EveryWordBent) {
    for (std::size_t i = 0; i + 1 < block_.size(); i += 2) {
        const std::uint16_t old = Get16(block_, i);
        for (const std::uint16_t v :
             {std::uint16_t{6}, std::uint16_t{7}, std::uint16_t{8}, std::uint16_t{0x7FFF},
              std::uint16_t{0xFFFF}, static_cast<std::uint16_t>(old + 2),
              static_cast<std::uint16_t>(old - 2)}) {
            std::string b = block_;
            Put16(b, i, v);
            ReadAll(b, "word " + std::to_string(i) + " = " + std::to_string(v));
        }
    }
}

TEST_F(VersionDamage, NodesWalkOnlyForward) {
    // A block of nothing but minimal children: the walk ends after each.
    Node root = versiontest::Block(u"R", {});
    for (int i = 0; i < 2000; ++i) root.children.push_back(versiontest::Block(u"", {}));
    root.children.push_back(Text(u"Z", u"last"));
    const std::string b = Serialize(root);
    ASSERT_LT(b.size(), 0x10000u);
    EXPECT_EQ(Value(b, "\\Z"), std::string("last", 5));
    const std::vector<std::uint8_t> bytes(b.begin(), b.end());
    const auto top = ReadVersionNode(bytes, 0, bytes.size());
    ASSERT_TRUE(top.has_value());
    EXPECT_EQ(VersionChildren(bytes, *top).size(), 2001u);
}

}  // namespace
