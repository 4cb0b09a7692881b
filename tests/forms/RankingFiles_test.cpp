// The ranking window on damaged ranking files and on saves the system refuses:
// the player sees the entries or the error box, and the game goes on.
#include <sys/stat.h>

#include <filesystem>

#include <QTest>

#include "app/uGrobal.h"
#include "forms/FormsFixture.h"
#include "framework/Codepage.h"
#include "framework/SysUtils.h"
#include "game/RankingStore.h"
#include "support/FsUser.h"
#include "support/FullDisk.h"
#include "support/HostileFiles.h"

namespace {

using testsupport::HostileFile;

QString U(const char* s) { return QString::fromUtf8(s); }
QString Q(const std::string& cp932) {
    return QString::fromStdU16String(framework::Cp932ToUtf16(cp932));
}
// The error box's text for a message: "." added when the last character sorts after it.
QString BoxText(const std::string& cp932) {
    QString text = Q(cp932);
    if (!text.isEmpty() && text.back() > QChar('.')) text += '.';
    return text;
}

const std::vector<HostileFile>& Files() {
    static const std::vector<HostileFile> files = testsupport::HostileFiles();
    return files;
}

class RankingFilesBase : public FormsTest {
  protected:
    QString Cell(int col, int row) { return Form3->StringGrid1->Cells(col, row); }
    // The ranking window as a win of `size` x `size` with 2 colours, 0 s and
    // 1 click (400 points) opens it.
    void Win(int size) {
        Form1->SpinEdit1->SetValue(size);
        Form1->SpinEdit2->SetValue(2);
        ColorCount = 2;
        ElapsedSeconds = 0;
        ClickCount = 1;
        Form3->Show();
    }
    // The window goes on: it closes, and the menu is usable again.
    void ExpectTheGameGoesOn() {
        EXPECT_TRUE(Form3->Visible());
        Form3->Close();
        EXPECT_FALSE(Form3->Visible());
        EXPECT_TRUE(Form1->Visible());
        EXPECT_TRUE(Form1->Enabled());
    }
};

class RankingWindowOnFile : public RankingFilesBase,
                            public ::testing::WithParamInterface<std::size_t> {
  protected:
    const HostileFile& file = Files()[GetParam()];
};

TEST_P(RankingWindowOnFile, BrowsingShowsTheEntriesOrTheFirstError) {
    Form3->SpinEdit1->SetValue(4);  // browsing opens on size 4, which no file holds
    testsupport::WriteAll(ini, file.bytes);
    Form1->Button6->click();
    ASSERT_TRUE(Form3->Visible());
    EXPECT_EQ(Cell(1, 1), "NoName");
    int firstError = 0;
    for (int r = 1; r <= 10 && firstError == 0; ++r)
        if (file.size5[r - 1].rfind("error:", 0) == 0) firstError = r;
    if (firstError != 0) dialogs->Press("OK");
    Form3->SpinEdit1->setFocus();
    QTest::keyClick(Form3->SpinEdit1, Qt::Key_Up);  // the player steps to 5
    EXPECT_EQ(Form3->SpinEdit1->Value(), 5);
    if (firstError != 0) {
        ASSERT_EQ(dialogs->seen().size(), 1);
        EXPECT_EQ(dialogs->seen()[0].title, U("ホロンパ"));
        EXPECT_EQ(dialogs->seen()[0].text, BoxText(file.size5[firstError - 1].substr(6)));
    } else {
        EXPECT_TRUE(dialogs->seen().isEmpty());
    }
    // The rows before the first error show the entries.
    const int shown = firstError != 0 ? firstError - 1 : 10;
    for (int r = 1; r <= shown; ++r) {
        const std::string& e = file.size5[r - 1];
        const std::size_t bar = e.find('|');
        EXPECT_EQ(Cell(1, r), Q(e.substr(bar + 1, e.find('|', bar + 1) - bar - 1))) << r;
    }
    ExpectTheGameGoesOn();
}

TEST_P(RankingWindowOnFile, AWinSavesItsOwnSizeAndNothingElse) {
    testsupport::WriteAll(ini, file.bytes);
    dialogs->Press("OK").Type("Me", "OK");
    if (file.saveRefused) dialogs->Press("OK");
    Win(4);
    const std::string after = testsupport::ReadAll(ini);
    if (file.saveRefused) {
        ASSERT_EQ(dialogs->seen().size(), 3);
        EXPECT_EQ(dialogs->seen()[2].text, QString::fromStdString(ini) + U(" に書き込めません."));
        EXPECT_EQ(after, file.bytes);
    } else {
        ASSERT_EQ(dialogs->seen().size(), 2);
        ASSERT_GE(after.size(), file.bytes.size());
        EXPECT_TRUE(after.compare(0, file.bytes.size(), file.bytes) == 0) << "old bytes changed";
        std::string added = after.substr(file.bytes.size());
        if (added.rfind("\r\n", 0) == 0) added.erase(0, 2);
        std::string table = "[4]\r\n1=" + FormatRankValue({1, "Me", 400, 0, 1, 2}) + "\r\n";
        for (int r = 2; r <= 10; ++r)
            table += std::to_string(r) + "=" + FormatRankValue(DefaultRankRecord(r)) + "\r\n";
        EXPECT_EQ(added, table);
    }
    EXPECT_EQ(Cell(1, 1), "Me");
    for (int r = 1; r <= 10; ++r)
        EXPECT_EQ(testsupport::ReadOutcome(ini, 5, r), file.size5[r - 1]) << r;
    ExpectTheGameGoesOn();
}

INSTANTIATE_TEST_SUITE_P(Files, RankingWindowOnFile,
                         ::testing::Range<std::size_t>(0, Files().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             return Files()[info.param].name;
                         });

// Saves the system refuses, after a win that places the player first.
class RankingWindowRefused : public RankingFilesBase {
  protected:
    std::string before;
    void SetUp() override {
        RankingFilesBase::SetUp();
        for (int r = 1; r <= 10; ++r) WriteRankRecord(ini, 5, {r, "Old", 10 - r, 9, 9, 2});
        before = testsupport::ReadAll(ini);
    }
    // Wins at size 5 and expects the write error naming `path`.
    void WinAndExpectRefusal(const std::string& path) {
        dialogs->Press("OK").Type("Me", "OK").Press("OK");
        Win(5);
        ASSERT_EQ(dialogs->seen().size(), 3);
        EXPECT_EQ(dialogs->seen()[2].title, U("ホロンパ"));
        EXPECT_EQ(dialogs->seen()[2].text, QString::fromStdString(path) + U(" に書き込めません."));
        EXPECT_EQ(Cell(1, 1), "Me");  // the table keeps the updated rows
    }
};

TEST_F(RankingWindowRefused, ReadOnlyFile) {
    ASSERT_EQ(chmod(dir->path().c_str(), 0777), 0);
    ASSERT_EQ(chmod(ini.c_str(), 0444), 0);
    {
        testsupport::FsUserNobody nobody;
        WinAndExpectRefusal(ini);
    }
    EXPECT_EQ(testsupport::ReadAll(ini), before);
    ExpectTheGameGoesOn();
}

TEST_F(RankingWindowRefused, ReadOnlyDirectory) {
    const std::string sub = dir->file("sub");
    std::filesystem::create_directory(sub);
    Form3->RankingPath = sub + "/horonpa.ini";
    ASSERT_EQ(chmod(dir->path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(sub.c_str(), 0555), 0);
    {
        testsupport::FsUserNobody nobody;
        WinAndExpectRefusal(Form3->RankingPath);
    }
    EXPECT_TRUE(std::filesystem::is_empty(sub));
    ExpectTheGameGoesOn();
}

TEST_F(RankingWindowRefused, MissingDirectory) {
    Form3->RankingPath = dir->file("gone/horonpa.ini");
    WinAndExpectRefusal(Form3->RankingPath);
    EXPECT_FALSE(std::filesystem::exists(dir->file("gone")));
    ExpectTheGameGoesOn();
}

TEST_F(RankingWindowRefused, FileThatIsADirectory) {
    Form3->RankingPath = dir->file("folder.ini");
    std::filesystem::create_directory(Form3->RankingPath);
    WinAndExpectRefusal(Form3->RankingPath);
    EXPECT_TRUE(std::filesystem::is_directory(Form3->RankingPath));
    ExpectTheGameGoesOn();
}

TEST_F(RankingWindowRefused, DiskFull) {
    {
        testsupport::FullDisk full(64);
        WinAndExpectRefusal(ini);
    }
    EXPECT_EQ(testsupport::ReadAll(ini), before);
    ExpectTheGameGoesOn();
}

}  // namespace
