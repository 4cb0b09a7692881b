// The ranking window: the top-10 table of one board size. Browsed from the
// menu, or shown after a win, when it scores the game, places it, asks for
// the name and saves the table.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <string>

#include "framework/qt/Form.h"
#include "framework/qt/SpinEdit.h"
#include "framework/qt/StringGrid.h"
#include "game/CellTable.h"

class TForm3 : public framework::TForm {
    Q_OBJECT

  public:
    TForm3();

    QLabel* Label1;                   // the result of the game just won
    QLabel* Label2;                   // 行・列数
    framework::TSpinEdit* SpinEdit1;  // the board size shown
    framework::TStringGrid* StringGrid1;
    QPushButton* Button1;  // 閉じる

    // The table as the ranking logic sees it (CP932 cells); StringGrid1 shows it.
    TCellTable Table;
    // The ranking file read and written here; when it lies in the user's data
    // directory, that directory is made on the first save.
    std::string RankingPath;
    bool RankingInDataHome = false;

    void SpinEdit1Change();
    void Button1Click();

  protected:
    void FormCreate() override;
    void FormShow() override;
    void FormCloseQuery(bool& CanClose) override;

  private:
    // Runs `step` on the table, then shows the table whatever became of the step.
    template <class F>
    void WithTable(F step);
    void ShowTable();
};

extern TForm3* Form3;
