#include "forms/Unit3.h"

#include "app/Locations.h"
#include "app/uGrobal.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "framework/Codepage.h"
#include "framework/FileUtils.h"
#include "framework/SysUtils.h"
#include "framework/qt/Dialogs.h"
#include "framework/qt/HandlerGuard.h"
#include "framework/qt/Platform.h"
#include "framework/qt/WindowFont.h"
#include "game/RankingStore.h"
#include "game/RankingUpdate.h"
#include "game/score.h"

TForm3* Form3 = nullptr;

namespace {

QString FromCp932(const std::string& s) {
    return QString::fromStdString(framework::Cp932ToUtf8(s));
}

// The ranking's dialogs are the framework's boxes, over the window they
// belong to: after a win, the ranking is not shown yet, and they are the
// finished board's.
class WindowDialogs : public ranking::RankingDialogs {
  public:
    explicit WindowDialogs(QWidget* owner) : owner_(owner) {}
    void ShowMessage(const std::string& text) override {
        framework::ShowMessage(FromCp932(text), owner_);
    }
    std::string InputName(const std::string& title) override {
        // A character CP932 cannot hold becomes "?", so the file stays CP932.
        const QString name = framework::InputBox(FromCp932(title), QString(), QString(), owner_);
        return framework::Utf8ToCp932(name.toStdString());
    }

  private:
    QWidget* owner_;
};

}  // namespace

TForm3::TForm3() {
    setObjectName("Form3");
    SetCaption(QString::fromUtf8("ホロンパ　スコアランキング"));
    SetClientSize(682, 421);
    framework::ApplyWindowFont(this, 12);

    // Top left: the size selector over the grid, which fills the window's
    // lower part; top right: 閉じる; between them the result of the game.
    SpinEdit1 = new framework::TSpinEdit(this);
    SpinEdit1->setObjectName("SpinEdit1");
    SpinEdit1->setGeometry(72, 56, 57, 21);
    SpinEdit1->SetMinValue(3);
    SpinEdit1->SetMaxValue(20);
    SpinEdit1->SetValue(3);
    SpinEdit1->SetMaxLength(2);
    SpinEdit1->OnChange = [this] { SpinEdit1Change(); };

    StringGrid1 = new framework::TStringGrid(this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setGeometry(24, 80, 633, 329);
    StringGrid1->SetDefaultColWidth(64);
    StringGrid1->SetDefaultRowHeight(24);

    Button1 = new QPushButton(QString::fromUtf8("閉じる"), this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(488, 24, 161, 41);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, framework::Guarded([this] { Button1Click(); }));
    setTabOrder(SpinEdit1, StringGrid1);
    setTabOrder(StringGrid1, Button1);

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->move(160, 8);
    framework::ApplyWindowFont(Label1, 19);
    Label2 = new QLabel(QString::fromUtf8("行・列数"), this);
    Label2->setObjectName("Label2");
    Label2->move(24, 60);
    Label2->adjustSize();

    const RankingLocation where = RankingFileLocation(framework::ExePath());
    RankingPath = where.path;
    RankingInDataHome = where.inDataHome;
    Create();
}

void TForm3::FormCreate() {
    Table.SetColCount(ranking::kColumns);
    Table.SetRowCount(ranking::kRows + 1);
    const char* headings[ranking::kColumns] = {"順位",     "名前",         "スコア",
                                               "時間(秒)", "クリック回数", "色数"};
    for (int c = 0; c < ranking::kColumns; ++c) Table.SetCell(c, 0, framework::Cp932(headings[c]));
    ShowTable();
}

template <class F>
void TForm3::WithTable(F step) {
    try {
        step();
    } catch (...) {
        ShowTable();
        throw;
    }
    ShowTable();
}

void TForm3::ShowTable() {
    StringGrid1->SetColCount(Table.ColCount());
    StringGrid1->SetRowCount(Table.RowCount());
    for (int r = 0; r < Table.RowCount(); ++r) {
        for (int c = 0; c < Table.ColCount(); ++c)
            StringGrid1->SetCells(c, r, FromCp932(Table.Cell(c, r)));
    }
}

void TForm3::SpinEdit1Change() {
    WithTable([this] { ranking::LoadTable(Table, RankingPath, SpinEdit1->Value()); });
}

void TForm3::FormShow() {
    if (ElapsedSeconds == -1) {
        // Opened from the menu: browse the size shown last time.
        Label1->clear();
        Label1->adjustSize();
        SpinEdit1Change();
        return;
    }
    // Two lines: the seconds over the clicks.
    Label1->setText(QString::fromUtf8("%1秒\n%2クリック").arg(ElapsedSeconds).arg(ClickCount));
    Label1->adjustSize();
    SpinEdit1->SetValue(Form1->SpinEdit1->Value());
    const ranking::GameResult result{CalcScore(ClickCount, ElapsedSeconds, ColorCount),
                                     ElapsedSeconds, ClickCount, Form1->SpinEdit2->Value(),
                                     HelpUsed};
    WindowDialogs dialogs(Owner() != nullptr ? Owner() : static_cast<QWidget*>(this));
    std::int32_t savedRow = ranking::kRows + 1;
    WithTable([&] {
        ranking::RunRankingUpdate(
            Table, RankingPath, SpinEdit1->Value(), result, dialogs,
            [this] {
                if (RankingInDataHome) {
                    // A failure shows as the write error.
                    framework::CreateDirectories(framework::DirectoryOf(RankingPath));
                }
            },
            &savedRow);
    });
    // The player's new entry is where the grid's current cell stands.
    if (savedRow <= ranking::kRows)
        StringGrid1->setCurrentCell(savedRow, StringGrid1->currentColumn());
}

void TForm3::Button1Click() { Close(); }

void TForm3::FormCloseQuery(bool& CanClose) {
    // Closing the ranking ends the game it was opened for; a failure there
    // must not keep the ranking open.
    try {
        Form2->Close();
    } catch (...) {
    }
    Form1->SetEnabled(true);
    CanClose = true;
}
