#include "framework/IniText.h"

#include <gtest/gtest.h>

#include "framework/IniEdit.h"
#include "framework/MemIniFile.h"

namespace {

// Only a section header ends a section: a key after a blank line or a
// comment line inside it belongs to it, for reading and for writing.
TEST(IniTextTest, BlankAndCommentLinesDoNotEndASection) {
    const std::string text =
        "[5]\r\n"
        "1=a\r\n"
        "\r\n"
        "; kept by hand\r\n"
        "2=b\r\n"
        "   \r\n"
        "3=c\r\n"
        "[6]\r\n"
        "1=x\r\n";
    const framework::TMemIniFile file(text);
    EXPECT_EQ(file.ReadString("5", "2", "<none>"), "b");
    EXPECT_EQ(file.ReadString("5", "3", "<none>"), "c");
    EXPECT_EQ(file.ReadString("6", "1", "<none>"), "x");
    EXPECT_EQ(framework::ini::LookUpValue(text, "5", "3"), "c");

    // A new key goes after the section's last key, past the blank lines.
    EXPECT_EQ(framework::ini::SetValue(text, "5", "4", "d"),
              "[5]\r\n1=a\r\n\r\n; kept by hand\r\n2=b\r\n   \r\n3=c\r\n4=d\r\n[6]\r\n1=x\r\n");
}

}  // namespace
