// The board window: one panel per cell of the board model, a one-second clock
// in the caption, and the hand-over to the ranking window on a win.
#pragma once

#include <QFont>
#include <QImage>
#include <map>
#include <optional>
#include <vector>

#include "controls/PictBtn.h"
#include "forms/HelpPicture.h"
#include "framework/qt/Form.h"
#include "framework/qt/Timer.h"
#include "game/BoardHelp.h"
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

    // Help on the board. Each new game starts without it; using the hint or
    // the plan in a game keeps its win out of the ranking (HelpUsed).
    TBoardHelp Help;
    // H: rings the next press of a plan that wins the board, until the next
    // move or take-back.
    void ShowHint();
    std::optional<TPanelBoard::CellPos> HintShown() const { return hint_; }
    // S: every panel shows how many more presses the plan gives it, following
    // each move; S again hides the numbers.
    void TogglePlan();
    bool PlanShown() const { return planShown_; }
    // What the help shows on a panel now.
    THelpLook HelpLookOf(int row, int col) const;
    // Ctrl+Z: takes the last move back, counting a click; nothing when there
    // is no move left to take back. A board it leaves in one colour is won.
    void TakeBack();
    // A better plan is searched for a slice of this length per pass of the
    // event loop.
    static constexpr int kHelpSliceUs = 1000;

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
    // Writes a cell's colour from the board model to its panel.
    void ShowCellColour(TPanelBoard::CellPos p);
    // Brings the help every panel shows up to date with the hint and the plan.
    void ShowHelp();
    void HelpSlice();
    // The board is in one colour: the clock stops and the ranking takes over.
    void Won();

    bool marksShown_ = false;
    QFont markFont_;  // sized to this game's panels

    framework::TTimer* helpTimer_;  // the search for a better plan, in slices
    std::optional<TPanelBoard::CellPos> hint_;
    bool planShown_ = false;
    std::vector<THelpLook> helpLooks_;  // what each panel shows, row-major
    // Drawn once per look and resolution for this game's panels.
    std::map<std::pair<THelpLook, qreal>, QImage> helpPictures_;
};

extern TForm2* Form2;
