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

// Every conversion, summed up: each single byte and each lead byte with every
// byte after it decoded, each UTF-16 code unit encoded. glibc's converter on
// Linux and the system's on Windows must give exactly these, or a ranking file
// would read differently on each.
TEST(Codepage, EveryConversionIsTheSameOnEveryPlatform) {
    std::uint64_t hash = 14695981039346656037u;  // FNV-1a, 64 bits
    auto mix = [&hash](std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            hash ^= (value >> (8 * i)) & 0xFF;
            hash *= 1099511628211u;
        }
    };
    int defined = 0;
    for (int first = 0; first < 256; ++first) {
        const std::string one(1, static_cast<char>(first));
        if (!IsDBCSLeadByte(static_cast<std::uint8_t>(first))) {
            for (char16_t u : Cp932ToUtf16(one)) mix(u);
            continue;
        }
        for (int second = 0; second < 256; ++second) {
            const std::u16string u = Cp932ToUtf16(one + static_cast<char>(second));
            ASSERT_EQ(u.size(), 1u);
            defined += u[0] != u'\u30FB';
            mix(u[0]);
        }
    }
    int encodable = 0;
    for (std::uint32_t unit = 0; unit <= 0xFFFF; ++unit) {
        if (unit >= 0xD800 && unit <= 0xDFFF) continue;
        const std::string bytes = Utf16ToCp932(std::u16string(1, static_cast<char16_t>(unit)));
        encodable += bytes != "?";
        mix(unit);
        for (char c : bytes) mix(static_cast<std::uint8_t>(c));
    }
    EXPECT_EQ(defined, 9603);    // double-byte sequences CP932 defines
    EXPECT_EQ(encodable, 9395);  // code units with a CP932 form
    EXPECT_EQ(hash, 4112605309543102173u);
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
