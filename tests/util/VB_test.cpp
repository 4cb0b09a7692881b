#include "util/VB.h"

#include <gtest/gtest.h>

#include "util/modStringCut.h"

namespace {

// "ア" and "イ" in CP932, and a character whose trail byte is "b" (0x62).
const std::string kA = "\x83\x41";
const std::string kI = "\x83\x43";
const std::string kTrailB = "\x83\x62";  // "ッ"

TEST(CharLen, CountsCharactersNotBytes) {
    EXPECT_EQ(CharLen(""), 0);
    EXPECT_EQ(CharLen("btn"), 3);
    EXPECT_EQ(CharLen(kA + kI), 2);
    EXPECT_EQ(CharLen("x" + kA + "y"), 3);
    EXPECT_EQ(CharLen("ab\x83"), 3);  // a lead byte at the end is a character of its own
}

TEST(CharMid, CutsWholeCharacters) {
    EXPECT_EQ(CharMid(kA + kI, 2, 1), kI);
    EXPECT_EQ(CharMid("a" + kA + "b", 2, 1), kA);
    EXPECT_EQ(CharMid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(CharMid("abc", 2, 10), "bc");
    EXPECT_EQ(CharMid("abc", 0, 2), "ab");
    EXPECT_EQ(CharMid("abc", -5, 1), "a");
    EXPECT_EQ(CharMid("abc", 1, 0), "");
    EXPECT_EQ(CharMid("abc", 1, -1), "");
    EXPECT_EQ(CharMid("abc", 4, 1), "");
    EXPECT_EQ(CharMid("", 1, 1), "");
}

TEST(CharMidFrom, RestFromACharacter) {
    EXPECT_EQ(CharMidFrom("abc", 1), "abc");
    EXPECT_EQ(CharMidFrom("abc", 0), "abc");
    EXPECT_EQ(CharMidFrom("abc", 3), "c");
    EXPECT_EQ(CharMidFrom("abc", 4), "");
    EXPECT_EQ(CharMidFrom(kA + kI + "z", 2), kI + "z");
}

TEST(CharInStr, FindsFirstOccurrenceAtCharacterBoundaries) {
    EXPECT_EQ(CharInStr("abcabc", "c"), 3);
    EXPECT_EQ(CharInStr("abcabc", "ca"), 3);
    EXPECT_EQ(CharInStr("abcabc", "x"), 0);
    EXPECT_EQ(CharInStr("", "a"), 0);
    EXPECT_EQ(CharInStr(kA + "x" + kI, kI), 3);
    // The trail byte of ッ is "b": it must not match.
    EXPECT_EQ(CharInStr(kTrailB, "b"), 0);
    EXPECT_EQ(CharInStr(kTrailB + "b", "b"), 2);
}

TEST(StringCut, ReadsRowAndColumnFromAPanelName) {
    EXPECT_EQ(StringCut("btn12_3", "btn", 2, true), "12_3");
    EXPECT_EQ(StringCut("12_3", "_", 0, false), "12");
    EXPECT_EQ(StringCut("12_3", "_", 2, false), "3");
    EXPECT_EQ(StringCut("btn0_19", "btn", 2, true), "0_19");
}

TEST(StringCut, FirstAndLastOccurrence) {
    EXPECT_EQ(StringCut("1_2_3", "_", 0, false), "1_2");
    EXPECT_EQ(StringCut("1_2_3", "_", 0, true), "1");
    EXPECT_EQ(StringCut("1_2_3", "_", 2, false), "3");
    EXPECT_EQ(StringCut("1_2_3", "_", 2, true), "2_3");
}

TEST(StringCut, AllModesWithAndWithoutAnOccurrence) {
    EXPECT_EQ(StringCut("ab=cd", "=", 0, true), "ab");
    EXPECT_EQ(StringCut("ab=cd", "=", 1, true), "ab=");
    EXPECT_EQ(StringCut("ab=cd", "=", 2, true), "cd");
    EXPECT_EQ(StringCut("ab=cd", "=", 3, true), "=cd");
    EXPECT_EQ(StringCut("abcd", "=", 0, true), "");
    EXPECT_EQ(StringCut("abcd", "=", 1, true), "");
    EXPECT_EQ(StringCut("abcd", "=", 2, true), "abcd");
    EXPECT_EQ(StringCut("abcd", "=", 3, true), "abcd");
    EXPECT_EQ(StringCut("abcd", "=", 2, false), "abcd");
    // Two-character delimiter missing: mode 1 gives L-1 characters, mode 2 from character L.
    EXPECT_EQ(StringCut("abcd", "==", 1, true), "a");
    EXPECT_EQ(StringCut("abcd", "==", 2, true), "bcd");
    EXPECT_EQ(StringCut("abcd", "=", 7, true), "");
}

TEST(StringCut, DoubleByteTextAndDelimiters) {
    EXPECT_EQ(StringCut(kA + "_" + kI, "_", 0, false), kA);
    EXPECT_EQ(StringCut(kA + "_" + kI, "_", 2, false), kI);
    EXPECT_EQ(StringCut("x" + kA + "y", kA, 2, true), "y");
    EXPECT_EQ(StringCut(kTrailB + "_b", "b", 0, false), kTrailB + "_");
}

}  // namespace
