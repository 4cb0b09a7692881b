// The board window: one panel per cell of the board model, a one-second clock
// in the caption, and the hand-over to the ranking window on a win.
#pragma once

#include <QFont>
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

    // The marks: every panel shows its colour's place in the cycle. Off when
    // the program starts; the key M switches them on and off, and the choice
    // holds for the rest of the run.
    bool MarksShown() const { return marksShown_; }
    void ToggleMarks();

  protected:
    void FormCreate() override;
    void FormShow() override;
    void FormHide() override;
    void FormCloseQuery(bool& CanClose) override;
    void FormKeyDown(int Key, Qt::KeyboardModifiers Shift, bool AutoRepeat) override;

  private:
    // Writes the panel's mark into its caption (in the mark font when
    // `newFont`), or clears the caption with the marks off.
    void ShowMark(TPictureButton* panel, bool newFont) const;

    bool marksShown_ = false;
    QFont markFont_;  // sized to this game's panels
};

extern TForm2* Form2;
