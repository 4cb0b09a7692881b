#include <filesystem>

#include <QTest>
#include <QWindow>

#include "app/uGrobal.h"
#include "forms/FormsFixture.h"
#include "framework/Codepage.h"
#include "game/RankingStore.h"
#include "support/FullDisk.h"
#include "support/TempDir.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }
std::string Cp(const char* s) { return framework::Utf8ToCp932(s); }

class Ranking : public FormsTest {
  protected:
    // Stores ten entries of `size` with these scores.
    void Store(int size, std::vector<int> scores) {
        for (int r = 1; r <= 10; ++r)
            WriteRankRecord(ini, size, {r, "P" + std::to_string(r), scores[r - 1], 9, 9, 3});
    }
    // The ranking window as a win opens it.
    void Win(int size, int colors, int seconds, int clicks) {
        Form1->SpinEdit1->SetValue(size);
        Form1->SpinEdit2->SetValue(colors);
        ColorCount = colors;
        ElapsedSeconds = seconds;
        ClickCount = clicks;
        Form3->Show();
    }
    QString Cell(int col, int row) { return Form3->StringGrid1->Cells(col, row); }
};

TEST_F(Ranking, LayoutAndHeadings) {
    EXPECT_EQ(Form3->Caption(), U("ホロンパ　スコアランキング"));
    EXPECT_EQ(Form3->ClientWidth(), 682);
    EXPECT_EQ(Form3->ClientHeight(), 421);
    EXPECT_EQ(Form3->StringGrid1->geometry(), QRect(24, 80, 633, 329));
    EXPECT_EQ(Form3->SpinEdit1->geometry(), QRect(72, 56, 57, 21));
    EXPECT_EQ(Form3->Button1->geometry(), QRect(488, 24, 161, 41));
    EXPECT_EQ(Form3->Button1->text(), U("閉じる"));
    EXPECT_EQ(Form3->StringGrid1->ColCount(), 6);
    EXPECT_EQ(Form3->StringGrid1->RowCount(), 11);
    const char* headings[] = {"順位", "名前", "スコア", "時間(秒)", "クリック回数", "色数"};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(Cell(c, 0), U(headings[c]));
}

TEST_F(Ranking, BrowsingShowsDefaultsForSizesNeverSaved) {
    Form1->Button6->click();
    EXPECT_TRUE(Form3->Visible());
    EXPECT_EQ(Form3->Label1->text(), QString());
    for (int size : {Form3->SpinEdit1->Value(), 20}) {
        Form3->SpinEdit1->SetValue(size);
        for (int r = 1; r <= 10; ++r) {
            EXPECT_EQ(Cell(0, r), QString::number(r));
            EXPECT_EQ(Cell(1, r), "NoName");
            EXPECT_EQ(Cell(2, r), "0");
            EXPECT_EQ(Cell(3, r), "99999");
            EXPECT_EQ(Cell(4, r), "99999");
            EXPECT_EQ(Cell(5, r), "20");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST_F(Ranking, FirstWinOnASizeAsksTheNameAndSavesTheTable) {
    testsupport::DialogScript& script = *dialogs;
    script.Press("OK").Type(U("山田"), "OK");
    Win(5, 3, 35, 12);
    ASSERT_EQ(script.seen().size(), 2);
    EXPECT_EQ(script.seen()[0].title, U("ホロンパ"));
    EXPECT_EQ(script.seen()[0].text, "56");
    EXPECT_EQ(script.seen()[1].title, U("【1位】名前を入力してください"));
    EXPECT_TRUE(Form3->Visible());
    EXPECT_EQ(Form3->Label1->text(), U("35秒\n12クリック"));
    EXPECT_EQ(Form3->SpinEdit1->Value(), 5);
    EXPECT_EQ(ReadRankRecord(ini, 5, 1), (rRanking{1, Cp("山田"), 56, 35, 12, 3}));
    EXPECT_EQ(ReadRankRecord(ini, 5, 10), DefaultRankRecord(10));
    EXPECT_EQ(Cell(1, 1), U("山田"));
    EXPECT_EQ(Cell(2, 1), "56");
    EXPECT_EQ(Cell(1, 2), "NoName");
    // Browsing from the menu later shows the same size with an empty result line.
    Form3->Close();
    Form1->Button6->click();
    EXPECT_EQ(Form3->SpinEdit1->Value(), 5);
    EXPECT_EQ(Form3->Label1->text(), QString());
    EXPECT_EQ(Cell(1, 1), U("山田"));
}

// After a ranked win the grid's current cell stands on the new entry's row,
// in the column it was in; browsing leaves it where it is. Browsed from the
// menu, the ranking belongs to the menu.
TEST_F(Ranking, TheCurrentCellGoesToTheNewEntrysRow) {
    Store(5, {900, 800, 700, 600, 500, 450, 300, 200, 100, 50});
    Form1->Button6->click();
    EXPECT_EQ(Form3->windowHandle()->transientParent(), Form1->windowHandle());
    Form3->StringGrid1->setCurrentCell(3, 2);
    Form3->SpinEdit1->SetValue(5);
    EXPECT_EQ(Form3->StringGrid1->currentRow(), 3);
    Form3->Close();
    dialogs->Press("OK").Type("new", "OK");
    Win(5, 2, 0, 1);  // 400 points: rank 7
    EXPECT_EQ(Cell(1, 7), "new");
    EXPECT_EQ(Form3->StringGrid1->currentRow(), 7);
    EXPECT_EQ(Form3->StringGrid1->currentColumn(), 2);
}

TEST_F(Ranking, TiesAtTheTopAndTheBottom) {
    // K = 2, 0 s, 1 click: 400 points.
    Store(4, {400, 300, 300, 300, 300, 300, 300, 300, 300, 300});
    testsupport::DialogScript& top = *dialogs;
    top.Press("OK").Type("new", "OK");
    Win(4, 2, 0, 1);
    EXPECT_EQ(top.seen()[1].title, U("【1位】名前を入力してください"));
    EXPECT_EQ(Cell(1, 1), "new");
    EXPECT_EQ(Cell(1, 2), "P1");
    Form3->Close();

    Store(4, {900, 800, 700, 600, 500, 450, 440, 430, 420, 400});
    testsupport::DialogScript& bottom = *dialogs;
    bottom.Press("OK").Type("last", "OK");
    Win(4, 2, 0, 1);
    EXPECT_EQ(bottom.seen()[3].title, U("【10位】名前を入力してください"));
    EXPECT_EQ(ReadRankRecord(ini, 4, 10).Name, "last");
    EXPECT_EQ(ReadRankRecord(ini, 4, 9).Score, 420);
}

TEST_F(Ranking, NoPlaceCongratulatesAndLeavesTheFile) {
    Store(6, {900, 800, 700, 600, 500, 450, 440, 430, 420, 401});
    const std::string before = testsupport::ReadAll(ini);
    testsupport::DialogScript& script = *dialogs;
    script.Press("OK").Press("OK");
    Win(6, 2, 0, 1);
    ASSERT_EQ(script.seen().size(), 2);
    EXPECT_EQ(script.seen()[0].text, "400");
    EXPECT_EQ(script.seen()[1].text, "Congratulations!!");
    EXPECT_EQ(testsupport::ReadAll(ini), before);
    EXPECT_EQ(Cell(2, 10), "401");
    EXPECT_EQ(Form3->StringGrid1->RowCount(), 11);
}

TEST_F(Ranking, CancelledNameBoxStoresNoName) {
    testsupport::DialogScript& script = *dialogs;
    script.Press("OK").Type("typed", U("キャンセル"));
    Win(8, 4, 10, 10);
    EXPECT_EQ(ReadRankRecord(ini, 8, 1).Name, "NoName");
    EXPECT_EQ(Cell(1, 1), "NoName");
}

TEST_F(Ranking, DamagedLineShowsTheErrorAndThePartlyLoadedTable) {
    testsupport::WriteAll(ini, "[7]\r\n1=1,A,50,1,1,2\r\n2=2,two words,40,1,1,2\r\n");
    Form1->Button6->click();
    Form3->SpinEdit1->SetValue(6);
    testsupport::DialogScript& script = *dialogs;
    script.Press("OK");
    Form3->SpinEdit1->setFocus();
    QTest::keyClick(Form3->SpinEdit1, Qt::Key_Up);  // the player steps to 7
    ASSERT_EQ(script.seen().size(), 1);
    EXPECT_EQ(script.seen()[0].title, U("ホロンパ"));
    EXPECT_EQ(script.seen()[0].text, U("'words' は整数ではありません."));
    EXPECT_EQ(Form3->SpinEdit1->Value(), 7);
    EXPECT_EQ(Cell(1, 1), "A");       // loaded before the failing rank
    EXPECT_EQ(Cell(1, 2), "NoName");  // rank 2 of size 6, as before
}

TEST_F(Ranking, ErrorWhileShowingAfterAWinStillShowsTheWindow) {
    testsupport::WriteAll(ini, "[9]\r\n1=1,\"open,50,1,1,2\r\n");
    testsupport::DialogScript& script = *dialogs;
    script.Press("OK");
    Win(9, 3, 5, 5);
    ASSERT_EQ(script.seen().size(), 1);  // the error, and no score box
    EXPECT_EQ(script.seen()[0].text,
              U("リストのインデックスが範囲を超えています (2)"));  // ")" sorts before "."
    EXPECT_TRUE(Form3->Visible());
    EXPECT_EQ(testsupport::ReadAll(ini), "[9]\r\n1=1,\"open,50,1,1,2\r\n");
}

TEST_F(Ranking, RefusedSaveShowsTheErrorAndKeepsTheOldFile) {
    Store(5, {90, 80, 70, 60, 50, 40, 30, 20, 10, 5});
    const std::string before = testsupport::ReadAll(ini);
    testsupport::DialogScript& script = *dialogs;
    script.Press("OK").Type("Me", "OK").Press("OK");
    {
        testsupport::FullDisk full(before.size() - 1);
        Win(5, 2, 0, 1);
    }
    ASSERT_EQ(script.seen().size(), 3);
    EXPECT_EQ(script.seen()[2].text, QString::fromStdString(ini) + U(" に書き込めません."));
    EXPECT_EQ(testsupport::ReadAll(ini), before);
    EXPECT_TRUE(Form3->Visible());
    EXPECT_EQ(Cell(1, 1), "Me");  // the table keeps the updated rows
}

TEST_F(Ranking, FirstSaveInTheDataHomeMakesItsDirectory) {
    const std::string home = dir->file("xdg/horonpa");
    Form3->RankingPath = home + "/horonpa.ini";
    Form3->RankingInDataHome = true;
    dialogs->Press("OK").Type("Me", "OK");
    Win(3, 3, 1, 1);
    Form3->RankingInDataHome = false;
    EXPECT_TRUE(std::filesystem::is_directory(home));
    EXPECT_EQ(ReadRankRecord(home + "/horonpa.ini", 3, 1).Name, "Me");
}

TEST_F(Ranking, ClosingAfterAWinClosesTheBoardAndFreesTheMenu) {
    StartGame(3, 2);
    Form2->SetEnabled(false);
    Form1->SetEnabled(false);
    Form3->Close();
    EXPECT_FALSE(Form2->Visible());
    EXPECT_TRUE(Form1->Visible());
    EXPECT_TRUE(Form1->Enabled());
}

TEST_F(Ranking, TabLeavesTheGridEnterClosesWidthsHold) {
    Form1->Button6->click();
    Form3->StringGrid1->setColumnWidth(1, 214);  // as a drag leaves it
    Form3->StringGrid1->setFocus();
    QTest::keyClick(Form3->StringGrid1, Qt::Key_Tab);
    EXPECT_EQ(Form3->focusWidget(), Form3->Button1);
    QTest::keyClick(Form3->Button1, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(Form3->focusWidget(), Form3->StringGrid1);
    Form3->Button1->setFocus();
    QTest::keyClick(Form3->Button1, Qt::Key_Return);  // 閉じる
    EXPECT_FALSE(Form3->Visible());
    Form1->Button6->click();  // reloads the table
    EXPECT_EQ(Form3->StringGrid1->ColWidths(1), 214);
    Form3->StringGrid1->setColumnWidth(1, 64);  // the windows are shared by every test
}

}  // namespace
