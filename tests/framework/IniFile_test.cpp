#include "framework/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <unistd.h>
#include <filesystem>
#include <set>

#include "framework/SysUtils.h"
#include "support/TempDir.h"

using framework::TIniFile;
using testsupport::ReadAll;
using testsupport::TempDir;
using testsupport::WriteAll;

namespace {

class IniFileTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::string path = dir.file("horonpa.ini");

    std::string Read(const char* section, const char* key) {
        return TIniFile(path).ReadString(section, key, "<none>");
    }
    void Write(const char* section, const char* key, const char* value) {
        TIniFile(path).WriteString(section, key, value);
    }
};

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Read("5", "1"), "<none>");
    WriteAll(path, "[5]\r\n1=a\r\n");
    EXPECT_EQ(Read("6", "1"), "<none>");
    EXPECT_EQ(Read("5", "2"), "<none>");
    EXPECT_EQ(Read("5", "1"), "a");
}

TEST_F(IniFileTest, LineEndsBlanksCaseAndFirstMatch) {
    WriteAll(path,
             "k=outside\r\n"
             "[ Sec ]\n"
             "  Key  =  v1  \r"
             "key=v2\r\n"
             "noequals\r\n"
             "[sec]\r\n"
             "other=x\r\n"
             "[Two]\r\n"
             "a = \t b c \t\r\n");
    EXPECT_EQ(Read("sec", "KEY"), "v1");  // first section, first key, case folded
    EXPECT_EQ(Read("sec", "other"), "<none>");
    EXPECT_EQ(Read("sec", "noequals"), "<none>");
    EXPECT_EQ(Read("two", "A"), "b c");
    EXPECT_EQ(Read("", "k"), "<none>");  // lines before any section belong to none
}

TEST_F(IniFileTest, QuotesAroundAValueAreRemoved) {
    WriteAll(path, "[s]\r\na=\"x y\"\r\nb='z'\r\nc=\"\r\nd=\"x'\r\ne=\"\"\r\n");
    EXPECT_EQ(Read("s", "a"), "x y");
    EXPECT_EQ(Read("s", "b"), "z");
    EXPECT_EQ(Read("s", "c"), "\"");
    EXPECT_EQ(Read("s", "d"), "\"x'");
    EXPECT_EQ(Read("s", "e"), "");
}

TEST_F(IniFileTest, NulByteEndsTheValue) {
    WriteAll(path, std::string("[s]\r\na=ab\0cd\r\nb=\0x\r\n", 20));
    EXPECT_EQ(Read("s", "a"), "ab");
    EXPECT_EQ(Read("s", "b"), "");
}

TEST_F(IniFileTest, LongValuesAreCutAfter2047Bytes) {
    std::string value(3000, 'x');
    WriteAll(path, "[s]\r\nv=" + value + "\r\n");
    EXPECT_EQ(Read("s", "v"), std::string(2047, 'x'));
}

TEST_F(IniFileTest, DoubleByteNamesDoNotFoldTrailBytes) {
    // "ア" is 83 41 and "テ" is 83 65: their trail bytes are "A" and "e".
    WriteAll(path, "[\x83\x41]\r\nk=1\r\n[\x83\x61]\r\nk=2\r\n");
    EXPECT_EQ(TIniFile(path).ReadString("\x83\x41", "k", ""), "1");
    EXPECT_EQ(TIniFile(path).ReadString("\x83\x61", "k", ""), "2");
    // A "]" as a trail byte does not end the section name (83 5D is "ゼ").
    WriteAll(path, "[a\x83\x5D]\r\nk=3\r\n");
    EXPECT_EQ(TIniFile(path).ReadString("a\x83\x5D", "k", ""), "3");
}

TEST_F(IniFileTest, WritesCreateFileAndSectionsInOrder) {
    Write("5", "1", "a");
    Write("5", "2", "b");
    Write("12", "10", "c");
    Write("5", "1", "A");
    EXPECT_EQ(ReadAll(path), "[5]\r\n1=A\r\n2=b\r\n[12]\r\n10=c\r\n");
}

TEST_F(IniFileTest, WritesKeepEveryOtherByte) {
    const std::string original =
        "; comment\n"
        "[5]\r\n"
        "1=old\r\n"
        "junk line\r\n"
        "\r\n"
        "[6]\r"
        "x = keep \r";
    WriteAll(path, original);
    Write("5", "1", "new");  // replaced where it stands, its line end kept
    Write("5", "2", "two");  // after the last key line of its section
    Write("6", "y", "why");
    EXPECT_EQ(ReadAll(path),
              "; comment\n"
              "[5]\r\n"
              "1=new\r\n"
              "2=two\r\n"
              "junk line\r\n"
              "\r\n"
              "[6]\r"
              "x = keep \r"
              "y=why\r\n");
}

TEST_F(IniFileTest, UnendedLastLineGetsALineEndBeforeNewLines) {
    WriteAll(path, "[5]\r\n1=a");
    Write("5", "2", "b");
    EXPECT_EQ(ReadAll(path), "[5]\r\n1=a\r\n2=b\r\n");
    WriteAll(path, "[5]");
    Write("5", "1", "a");
    EXPECT_EQ(ReadAll(path), "[5]\r\n1=a\r\n");
    WriteAll(path, "x=1");
    Write("7", "1", "a");
    EXPECT_EQ(ReadAll(path), "x=1\r\n[7]\r\n1=a\r\n");
}

TEST_F(IniFileTest, Utf8ByteOrderMarkIsSkippedAndKept) {
    WriteAll(path, "\xEF\xBB\xBF[5]\r\n1=a\r\n");
    EXPECT_EQ(Read("5", "1"), "a");
    Write("5", "2", "b");
    EXPECT_EQ(ReadAll(path), "\xEF\xBB\xBF[5]\r\n1=a\r\n2=b\r\n");
    WriteAll(path, "\xEF\xBB\xBF");
    Write("3", "1", "c");
    EXPECT_EQ(ReadAll(path), "\xEF\xBB\xBF[3]\r\n1=c\r\n");
}

TEST_F(IniFileTest, Utf16FileIsReadButNeverRewritten) {
    std::u16string text = u"[5]\r\n1=1,ホロンパ,56\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t u : text) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    WriteAll(path, bytes);
    EXPECT_EQ(Read("5", "1"), "1,\x83\x7A\x83\x8D\x83\x93\x83\x70,56");
    EXPECT_THROW(Write("5", "2", "x"), framework::EIniFileException);
    EXPECT_EQ(ReadAll(path), bytes);
}

TEST_F(IniFileTest, SaveKeepsPermissionBitsAndLeavesNoTemporaryFiles) {
    Write("5", "1", "a");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    Write("5", "2", "b");
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // Nothing beside the file: no temporary file left, no lock file made.
    std::set<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) {
        names.insert(e.path().filename().string());
    }
    EXPECT_EQ(names, (std::set<std::string>{"horonpa.ini"}));
}

// What a write as an ordinary user gives: 0 stored, 1 refused with the write error.
int WriteAsUser(const std::string& path, const std::vector<std::string>& handOver) {
    return testsupport::RunWithoutRoot(handOver, [&] {
        try {
            TIniFile(path).WriteString("5", "2", "b");
            return 0;
        } catch (const framework::EIniFileException&) {
            return 1;
        }
    });
}

TEST_F(IniFileTest, WritableFileInReadOnlyDirectoryIsWrittenInPlace) {
    Write("5", "1", "a");
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    EXPECT_EQ(WriteAsUser(path, {dir.path(), path}), 0);
    EXPECT_EQ(ReadAll(path), "[5]\r\n1=a\r\n2=b\r\n");
}

TEST_F(IniFileTest, ReadOnlyFileIsNotReplaced) {
    Write("5", "1", "a");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(WriteAsUser(path, {dir.path(), path}), 1);  // even where the directory is writable
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    EXPECT_EQ(WriteAsUser(path, {dir.path(), path}), 1);
    EXPECT_EQ(ReadAll(path), "[5]\r\n1=a\r\n");
}

TEST_F(IniFileTest, NewFileInReadOnlyDirectoryIsRefused) {
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    EXPECT_EQ(WriteAsUser(path, {dir.path()}), 1);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(IniFileTest, WriteThroughASymbolicLinkKeepsTheLink) {
    std::string target = dir.file("real.ini");
    WriteAll(target, "[5]\r\n1=a\r\n");
    ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0);
    Write("5", "2", "b");
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(ReadAll(target), "[5]\r\n1=a\r\n2=b\r\n");
}

}  // namespace
