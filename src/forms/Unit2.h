// The board window: one panel per cell of the board model, a one-second clock
// in the caption, and the hand-over to the ranking window on a win.
#pragma once

#include <vector>

#include "controls/PictBtn.h"
#include "framework/qt/Form.h"
#include "framework/qt/Timer.h"
#include "game/PanelBoard.h"

class TForm2 : public framework::TForm {
    Q_OBJECT

  public:
    TForm2();

    framework::TTimer* Timer1;
    // The panels of the current game, [row][col]; empty while the window is hidden.
    std::vector<std::vector<TPictureButton*>> Panels;
    // The cells of the current game; Panels[row][col]->Color() always equals
    // Board.Cell(row, col).
    TPanelBoard Board;

    // A mouse release on a panel: one move.
    void PanelClick(QObject* Sender, Qt::MouseButton Button, TPictureButton::TShiftState Shift,
                    int X, int Y);
    void Timer1Timer();

  protected:
    void FormCreate() override;
    void FormShow() override;
    void FormHide() override;
    void FormCloseQuery(bool& CanClose) override;
};

extern TForm2* Form2;
