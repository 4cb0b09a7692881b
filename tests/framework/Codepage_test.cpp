#include "framework/Codepage.h"

#include <gtest/gtest.h>

using namespace framework;

namespace {

struct Pin {
    const char* cp932;
    const char* utf8;
};

// Characters whose mapping differs between CP932 and plain Shift-JIS, or that
// sit in the ranges Windows adds, pinned byte for byte.
TEST(Codepage, ByteTable) {
    const Pin pins[] = {
        {"\x83\x7A\x83\x8D\x83\x93\x83\x70", "ホロンパ"},
        {"\x81\x60", "～"},  // U+FF5E, not the wave dash U+301C
        {"\x81\x5F", "＼"},  // U+FF3C
        {"\x81\x7C", "－"},  // U+FF0D
        {"\x81\x91", "￠"},  // U+FFE0
        {"\x81\xCA", "￢"},  // U+FFE2
        {"\x87\x40", "①"},   // NEC special characters
        {"\x87\x82", "№"},
        {"\xB1", "ｱ"},   // half-width katakana
        {"\x5C", "\\"},  // 0x5C stays the backslash
        {"\x7E", "~"},
        {"\x81\x79\x81\x7A", "【】"},
        {"\x88\x9F", "亜"},
        {"\xFA\x5C", "纊"},  // IBM extension
    };
    for (const Pin& p : pins) {
        EXPECT_EQ(Cp932ToUtf8(p.cp932), p.utf8) << p.utf8;
        EXPECT_EQ(Utf8ToCp932(p.utf8), p.cp932) << p.utf8;
    }
}

TEST(Codepage, DuplicateCodesDecodeAlikeAndEncodeToOneForm) {
    // NEC-selected IBM extension 0xED40 and IBM extension 0xFA5C are the same character.
    EXPECT_EQ(Cp932ToUtf8("\xED\x40"), "纊");
    EXPECT_EQ(Utf8ToCp932("纊"), "\xFA\x5C");
}

TEST(Codepage, OneCodeUnitPerCharacter) {
    EXPECT_EQ(Cp932ToUtf16("a\x83\x41z").size(), 3u);
    EXPECT_EQ(Cp932ToUtf16("\x85\x40"), u"\u30FB");  // undefined double-byte code
    EXPECT_EQ(Cp932ToUtf16("ab\x83"), u"ab\u30FB");  // lead byte without trail byte
    EXPECT_EQ(Cp932ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Codepage, CharactersCp932CannotHoldBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp932("a😀b"), "a?b");
    EXPECT_EQ(Utf8ToCp932("한"), "?");
    EXPECT_EQ(Utf8ToCp932("a\xFF"
                          "b"),
              "a?b");                                 // invalid UTF-8
    EXPECT_EQ(Utf8ToCp932("\xE3\x81"), "??");         // truncated sequence
    EXPECT_EQ(Utf16ToCp932(u"x\U0001F600y"), "x?y");  // surrogate pair: one "?"
}

TEST(Codepage, LeadBytes) {
    int leads = 0;
    for (int b = 0; b < 256; ++b) leads += IsDBCSLeadByte(static_cast<std::uint8_t>(b));
    EXPECT_EQ(leads, (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1));
    EXPECT_TRUE(IsDBCSLeadByte(0x81));
    EXPECT_TRUE(IsDBCSLeadByte(0xFC));
    EXPECT_FALSE(IsDBCSLeadByte(0xA0));
    EXPECT_FALSE(IsDBCSLeadByte(0x80));
    EXPECT_FALSE(IsDBCSLeadByte(0xFD));
}

}  // namespace
