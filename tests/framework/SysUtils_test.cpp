#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include "framework/Codepage.h"
#include "framework/StringList.h"

using namespace framework;

namespace {

TEST(StrToInt, AcceptedForms) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("99999"), 99999);
    EXPECT_EQ(StrToInt("  42"), 42);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("-13"), -13);
    EXPECT_EQ(StrToInt("007"), 7);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
}

TEST(StrToInt, RejectedFormsNameTheText) {
    for (const char* bad : {"", " ", "-", "+", "$", "0x", "12 ", "1.5", "abc", "1a", "2147483648",
                            "-2147483649", "99999999999999999999", "$80000000", "１２", "--1"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + std::string(bad) + Utf8ToCp932("' は整数ではありません"));
        }
    }
}

TEST(Exceptions, MessagesAreCp932) {
    EXPECT_EQ(EConvertError("x y").Message(),
              "'x y' \x82\xCD\x90\xAE\x90\x94\x82\xC5\x82\xCD\x82"
              "\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1");
    EXPECT_EQ(Cp932ToUtf8(EStringListError(2).Message()),
              "リストのインデックスが範囲を超えています (2)");
    EXPECT_EQ(Cp932ToUtf8(EIniFileException("/tmp/a.ini").Message()),
              "/tmp/a.ini に書き込めません");
    EXPECT_EQ(IntToStr(-5), "-5");
    EXPECT_EQ(IntToStr(0), "0");
}

TEST(Exceptions, WhatIsTheSameMessageInUtf8) {
    // A name with a Japanese character and a byte CP932 does not define.
    const EConvertError e(Utf8ToCp932("名") + "\xA0");
    EXPECT_STREQ(e.what(), Cp932ToUtf8(e.Message()).c_str());
    EXPECT_EQ(std::string(EIniFileLocked("/x.ini").what()),
              "/x.ini に書き込めません (他のプログラムが書き込み中です)");
    const framework::Exception& base = e;
    EXPECT_EQ(std::string(base.what()).substr(0, 4), "'名");
}

// Fields by the comma-text rule.
std::vector<std::string> Split(const std::string& text) {
    TStringList list;
    list.SetCommaText(text);
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list.Strings(i));
    return out;
}

using V = std::vector<std::string>;

TEST(CommaText, Table) {
    EXPECT_EQ(Split("1,,5"), (V{"1", "", "5"}));
    EXPECT_EQ(Split("1,5,"), (V{"1", "5", ""}));
    EXPECT_EQ(Split("a b,c"), (V{"a", "b", "c"}));
    EXPECT_EQ(Split("1, x ,5"), (V{"1", "x", "5"}));
    EXPECT_EQ(Split(""), V{});
    EXPECT_EQ(Split("   "), V{});
    EXPECT_EQ(Split(" \t a"), V{"a"});
    EXPECT_EQ(Split("a\x01"
                    "b"),
              (V{"a", "b"}));  // any byte up to 0x20 is a blank
    EXPECT_EQ(Split(","), (V{"", ""}));
}

TEST(CommaText, QuotedFields) {
    EXPECT_EQ(Split("1,\"a b\",3"), (V{"1", "a b", "3"}));
    EXPECT_EQ(Split("\"say \"\"hi\"\"\",2"), (V{"say \"hi\"", "2"}));
    EXPECT_EQ(Split("\"a,b\""), V{"a,b"});
    EXPECT_EQ(Split("\"\",x"), (V{"", "x"}));
    EXPECT_EQ(Split("\"ab\"cd"), (V{"ab", "cd"}));  // text right after the quote: next field
    // No closing quote: runs to the end less its last character.
    EXPECT_EQ(Split("1,\"abc,56,35"), (V{"1", "abc,56,3"}));
    EXPECT_EQ(Split("\"x\x83\x41"), V{"x"});  // the last character is a double-byte one
}

TEST(CommaText, DoubleByteCharactersAreOneUnit) {
    // A lead byte takes the next byte with it, whatever it is.
    EXPECT_EQ(Split("\x83,a,b"), (V{"\x83,a", "b"}));
    EXPECT_EQ(Split("\x83\x41 \x83\x43"), (V{"\x83\x41", "\x83\x43"}));
}

TEST(CommaText, IndexOutOfRangeRaisesListError) {
    TStringList list;
    list.SetCommaText("a,b");
    EXPECT_EQ(list.Strings(1), "b");
    try {
        list.Strings(2);
        ADD_FAILURE();
    } catch (const EStringListError& e) {
        EXPECT_EQ(Cp932ToUtf8(e.Message()), "リストのインデックスが範囲を超えています (2)");
    }
    EXPECT_THROW(list.Strings(-1), EStringListError);
}

TEST(CommaText, QuoteFieldOnlyWhenNeeded) {
    EXPECT_EQ(QuoteCommaField("NoName"), "NoName");
    EXPECT_EQ(QuoteCommaField("\x83\x41\x83\x43"), "\x83\x41\x83\x43");
    EXPECT_EQ(QuoteCommaField("a b"), "\"a b\"");
    // A quote inside or at the end is no quote to the reader; one at the start is.
    EXPECT_EQ(QuoteCommaField("a\"b"), "a\"b");
    EXPECT_EQ(QuoteCommaField("\"q"), "\"\"\"q\"");
    for (std::string name : {"a b", " lead", "trail ", "x,y", "\"q", "q\"", "a\"b", "\"", ",", " ",
                             "a\"b c", "\x01"}) {
        EXPECT_EQ(Split(QuoteCommaField(name)), V{name}) << name;
    }
}

}  // namespace
