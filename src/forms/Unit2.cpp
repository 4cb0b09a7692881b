#include "forms/Unit2.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <chrono>

#include "app/uGrobal.h"
#include "forms/Unit1.h"
#include "forms/Unit3.h"
#include "framework/SysUtils.h"
#include "game/PanelMark.h"
#include "util/modStringCut.h"

TForm2* Form2 = nullptr;

TForm2::TForm2() {
    setObjectName("Form2");
    SetCaption("Form2");
    SetClientSize(294, 200);
    Timer1 = new framework::TTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->OnTimer = [this] { Timer1Timer(); };
    helpTimer_ = new framework::TTimer(this);
    helpTimer_->SetInterval(0);
    helpTimer_->OnTimer = [this] { HelpSlice(); };
    Create();
}

void TForm2::FormCreate() {
    Randomize();
    FillPanelPalette();
    // The first board fills half the screen's height, in a square window.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenHeight = screen != nullptr ? screen->geometry().height() : 600;
    SetHeight(screenHeight / 2);
    SetWidth(Height());
}

void TForm2::FormShow() {
    // A new game: nothing to take back, no hint, no plan, not helped.
    Help.NewGame();
    HelpUsed = false;
    hint_.reset();
    planShown_ = false;
    helpTimer_->SetEnabled(false);
    helpLooks_.clear();
    helpPictures_.clear();
    SetCaption(QString::fromUtf8("経過時間:0秒"));
    const int n = BoardSize;
    // The panel side comes from the outer width, frame included: each game's
    // side follows from the size the previous game left the window at.
    const int s = Width() / n;
    markFont_ = MarkFont(s);
    Board.Deal(n, ColorCount);
    Panels.assign(static_cast<std::size_t>(n),
                  std::vector<TPictureButton*>(static_cast<std::size_t>(n)));
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            auto* panel = new TPictureButton(this);
            Panels[row][col] = panel;
            // The board's grid: panel (row, col) at column col, row row, side s.
            panel->setGeometry(col * s, row * s, s, s);
            panel->setVisible(true);
            panel->setTabStop(false);
            panel->OnMouseUp = [this](QObject* sender, Qt::MouseButton button,
                                      TPictureButton::TShiftState shift, int x,
                                      int y) { PanelClick(sender, button, shift, x, y); };
            panel->setObjectName(QString("btn%1_%2").arg(row).arg(col));
            panel->setColor(Board.Cell(row, col));
            panel->setInColor(panel->Color());
            panel->setColorChange(false);
            panel->setButtonStyle(bsGroove);
            if (marksShown_) ShowMark(panel, true);
        }
    }
    // Auto-size: the client area just holds the panels.
    SetClientSize(n * s, n * s);
}

void TForm2::PanelClick(QObject* Sender, Qt::MouseButton, TPictureButton::TShiftState, int, int) {
    ++ClickCount;
    if (!Timer1->Enabled()) {
        ElapsedSeconds = 0;
        Timer1->SetEnabled(true);
    }
    SetEnabled(false);
    const std::string name = Sender->objectName().toStdString();
    const std::string rest = StringCut(name, "btn", 2, true);
    const int row = framework::StrToInt(StringCut(rest, "_", 0, false));
    const int col = framework::StrToInt(StringCut(rest, "_", 2, false));
    Board.ApplyMove(row, col);
    Help.Moved(Board, row, col);
    for (TPanelBoard::CellPos p : Board.TargetsOf(row, col)) ShowCellColour(p);
    if (hint_ || planShown_) {
        hint_.reset();
        ShowHelp();
    }
    const bool solved = Board.IsSolved();
    SetEnabled(true);
    if (solved) Won();
}

void TForm2::Won() {
    Timer1->SetEnabled(false);
    // Owned by the finished board: kept above it until it closes the board.
    Form3->ShowAbove(this);
    SetEnabled(false);
}

void TForm2::ShowCellColour(TPanelBoard::CellPos p) {
    TPictureButton* panel = Panels[p.row][p.col];
    panel->setEnabled(false);
    panel->setColor(Board.Cell(p.row, p.col));
    panel->setInColor(panel->Color());
    if (marksShown_) ShowMark(panel, false);
    panel->setEnabled(true);
}

void TForm2::ToggleMarks() {
    marksShown_ = !marksShown_;
    for (auto& row : Panels) {
        for (TPictureButton* panel : row) ShowMark(panel, true);
    }
    if (planShown_ || hint_) ShowHelp();  // the help makes room for the marks
}

void TForm2::ShowHint() {
    HelpUsed = true;
    hint_ = Help.NextPress(Board);
    ShowHelp();
}

void TForm2::TogglePlan() {
    HelpUsed = true;
    planShown_ = !planShown_;
    ShowHelp();
}

void TForm2::TakeBack() {
    const std::optional<TPanelBoard::CellPos> at = Help.TakeBack(Board);
    if (!at) return;
    ++ClickCount;
    for (TPanelBoard::CellPos p : Board.TargetsOf(at->row, at->col)) ShowCellColour(p);
    if (hint_ || planShown_) {
        hint_.reset();
        ShowHelp();
    }
    // Counted like a move, a take-back that leaves one colour wins like one.
    if (Board.IsSolved()) Won();
}

void TForm2::ShowHelp() {
    if (Panels.empty()) return;
    const int n = Board.Size();
    const int side = Panels[0][0]->width();
    const std::vector<std::int32_t>* plan = planShown_ ? &Help.Plan(Board) : nullptr;
    if (plan != nullptr && plan->empty()) plan = nullptr;  // a board that cannot be won
    // Drawn at the screen's own resolution.
    const qreal dpr = Panels[0][0]->devicePixelRatioF();
    helpLooks_.resize(static_cast<std::size_t>(n * n));
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            const std::size_t i = static_cast<std::size_t>(row * n + col);
            THelpLook look;
            look.presses = plan != nullptr ? (*plan)[i] : 0;
            look.nextPress = hint_ && hint_->row == row && hint_->col == col;
            look.mark = marksShown_ && !look.Empty();
            if (look == helpLooks_[i]) continue;
            helpLooks_[i] = look;
            auto drawn = helpPictures_.find({look, dpr});
            if (drawn == helpPictures_.end())
                drawn =
                    helpPictures_.emplace(std::pair{look, dpr}, HelpPicture(side, look, dpr)).first;
            TPictureButton* panel = Panels[row][col];
            panel->setPicture(drawn->second);
            panel->setCaptionTop(MarkTop(side, look));
        }
    }
    if (Help.Improving()) helpTimer_->SetEnabled(true);
}

THelpLook TForm2::HelpLookOf(int row, int col) const {
    const std::size_t i = static_cast<std::size_t>(row * Board.Size() + col);
    return i < helpLooks_.size() ? helpLooks_[i] : THelpLook{};
}

// A better plan found moves the numbers, and the ring where its panel needs
// no more presses.
void TForm2::HelpSlice() {
    if (Panels.empty() || !Help.Improving()) {
        helpTimer_->SetEnabled(false);
        return;
    }
    if (Help.Improve(std::chrono::microseconds(kHelpSliceUs))) {
        if (hint_ &&
            Help.Plan(Board)[static_cast<std::size_t>(hint_->row * Board.Size() + hint_->col)] == 0)
            hint_ = Help.NextPress(Board);
        ShowHelp();
    }
    if (!Help.Improving()) helpTimer_->SetEnabled(false);
}

void TForm2::ShowMark(TPictureButton* panel, bool newFont) const {
    if (!marksShown_) {
        panel->setCaption(QString());
        return;
    }
    const TPanelMark mark = PanelMarkOf(panel->Color());
    if (newFont) panel->setFont(markFont_);
    panel->setFontColor(mark.ink);
    panel->setCaption(QString::number(mark.number));
}

// The keys of the board: M, H, S and Ctrl+Z. None of them makes a move, and
// a held key acts once.
void TForm2::FormKeyDown(int Key, Qt::KeyboardModifiers Shift, bool AutoRepeat) {
    const auto chords = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (Key == Qt::Key_M && !AutoRepeat && (Shift & chords) == 0) ToggleMarks();
    if (AutoRepeat) return;
    const auto held = Shift & (chords | Qt::ShiftModifier);
    if (Key == Qt::Key_H && held == 0) ShowHint();
    if (Key == Qt::Key_S && held == 0) TogglePlan();
    if (Key == Qt::Key_Z && held == Qt::ControlModifier) TakeBack();
}

void TForm2::Timer1Timer() {
    ++ElapsedSeconds;
    SetCaption(QString::fromUtf8("経過時間:%1秒").arg(ElapsedSeconds));
}

void TForm2::FormHide() {
    for (auto& row : Panels) {
        for (TPictureButton*& panel : row) {
            panel->setVisible(false);
            // Deferred: the panel may be inside its own event handler.
            panel->deleteLater();
            panel = nullptr;
        }
    }
    Panels.clear();
}

void TForm2::FormCloseQuery(bool& CanClose) {
    Form1->Show();
    CanClose = true;
}
