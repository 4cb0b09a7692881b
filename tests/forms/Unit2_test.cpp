#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <set>

#include "app/uGrobal.h"
#include "forms/FormsFixture.h"
#include "forms/HelpPicture.h"
#include "framework/qt/SysColors.h"
#include "game/PanelMark.h"
#include "game/RankingStore.h"
#include "game/Solver.h"

namespace {

using Board = FormsTest;

QString U(const char* s) { return QString::fromUtf8(s); }

// Palette indices of every panel, row by row.
std::vector<int> PanelIndices() {
    std::vector<int> out;
    for (auto& row : Form2->Panels) {
        for (TPictureButton* p : row) {
            int index = -1;
            for (int i = 0; i < kPaletteSize; ++i)
                if (PanelPalette[i] == p->Color()) index = i;
            out.push_back(index);
        }
    }
    return out;
}

void ExpectPanelsMatchModel() {
    const int n = Form2->Board.Size();
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            ASSERT_EQ(Form2->Panels[r][c]->Color(), Form2->Board.Cell(r, c)) << r << "," << c;
            ASSERT_EQ(Form2->Panels[r][c]->InColor(), Form2->Board.Cell(r, c));
        }
}

// With the marks on every panel carries its colour's number in the
// contrasting ink; with them off no panel has a caption.
void ExpectMarks(bool shown) {
    for (auto& row : Form2->Panels)
        for (TPictureButton* p : row) {
            const TPanelMark mark = PanelMarkOf(p->Color());
            ASSERT_EQ(p->Caption(), shown ? QString::number(mark.number) : QString());
            if (shown) {
                ASSERT_EQ(p->FontColor(), mark.ink);
            }
        }
}

// The panels that receive a paint event while it is installed.
class PanelPaints : public QObject {
  public:
    PanelPaints() { qApp->installEventFilter(this); }
    ~PanelPaints() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            if (auto* panel = qobject_cast<TPictureButton*>(watched)) painted.insert(panel);
        }
        return false;
    }
    std::set<TPictureButton*> painted;
};

TEST_F(Board, CreatedSquareAtHalfTheScreenHeight) {
    // Before any game the window is square, frame included.
    const int half = QGuiApplication::primaryScreen()->geometry().height() / 2;
    EXPECT_EQ(initialBoardSize, QSize(half, half));
}

TEST_F(Board, PanelsTileTheClientAreaWithTheirNames) {
    for (int n : {3, 20}) {
        const int outer = Form2->Width();
        StartGame(n, 5);
        const int s = outer / n;
        EXPECT_EQ(Form2->Caption(), U("経過時間:0秒"));
        ASSERT_EQ(Form2->Panels.size(), static_cast<std::size_t>(n));
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c < n; ++c) {
                TPictureButton* p = Form2->Panels[r][c];
                ASSERT_EQ(p->geometry(), QRect(c * s, r * s, s, s));
                ASSERT_EQ(p->objectName(), QString("btn%1_%2").arg(r).arg(c));
                ASSERT_EQ(p->ButtonStyle(), bsGroove);
                ASSERT_FALSE(p->ColorChange());
                ASSERT_FALSE(p->TabStop());
                ASSERT_TRUE(p->isVisible());
            }
        }
        ExpectPanelsMatchModel();
        EXPECT_EQ(Form2->ClientWidth(), n * s);
        EXPECT_EQ(Form2->ClientHeight(), n * s);
        // Only the first ColorCount colours are dealt.
        for (int index : PanelIndices()) {
            EXPECT_GE(index, 0);
            EXPECT_LT(index, 5);
        }
        Form2->Close();
    }
}

TEST_F(Board, SideFollowsTheOuterWidthTheLastGameLeft) {
    StartGame(7, 3);
    const int outer = Form2->Width();
    const QPoint corner(Form2->Left(), Form2->Top());
    Form2->Close();
    StartGame(7, 3);
    EXPECT_EQ(Form2->Panels[0][0]->width(), outer / 7);
    // A later showing keeps the top-left corner, also for a smaller board.
    EXPECT_EQ(QPoint(Form2->Left(), Form2->Top()), corner);
    Form2->Close();
    StartGame(4, 3);
    EXPECT_EQ(QPoint(Form2->Left(), Form2->Top()), corner);
}

TEST_F(Board, CornerBorderAndInnerMovesChangeThreeFourAndFivePanels) {
    StartGame(5, 4);
    struct Case {
        int row, col, changed;
    } cases[] = {{0, 0, 3}, {4, 4, 3}, {0, 4, 3}, {0, 2, 4}, {3, 0, 4}, {2, 2, 5}};
    int clicks = 0;
    for (const Case& c : cases) {
        std::vector<int> before = PanelIndices();
        ClickPanel(c.row, c.col);
        ++clicks;
        std::vector<int> after = PanelIndices();
        int changed = 0;
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (before[i] == after[i]) continue;
            ++changed;
            EXPECT_EQ(after[i], (before[i] + 1) % 4);
            const int r = static_cast<int>(i) / 5, col = static_cast<int>(i) % 5;
            EXPECT_LE(std::abs(r - c.row) + std::abs(col - c.col), 1);
        }
        EXPECT_EQ(changed, c.changed);
        ExpectPanelsMatchModel();
    }
    EXPECT_EQ(ClickCount, clicks);
}

TEST_F(Board, EveryMouseButtonMovesAndADoubleClickIsTwoMoves) {
    StartGame(4, 20);
    std::vector<int> before = PanelIndices();
    ClickPanel(1, 1, Qt::RightButton);
    ClickPanel(1, 1, Qt::MiddleButton);
    EXPECT_EQ(ClickCount, 2);
    TPictureButton* p = Form2->Panels[1][1];
    mouse.Pause();
    mouse.Click(p, Qt::LeftButton);
    mouse.Click(p, Qt::LeftButton);  // the second press is a double click
    EXPECT_EQ(ClickCount, 4);
    EXPECT_EQ(PanelIndices()[5], (before[5] + 4) % 20);
}

TEST_F(Board, RightReleaseMovesThePanelUnderThePointer) {
    StartGame(4, 20);
    std::vector<int> before = PanelIndices();
    TPictureButton* a = Form2->Panels[0][0];
    TPictureButton* b = Form2->Panels[3][3];
    mouse.Pause();
    mouse.Press(a, Qt::RightButton);
    mouse.Release(b, Qt::RightButton);
    EXPECT_EQ(ClickCount, 1);
    std::vector<int> after = PanelIndices();
    EXPECT_EQ(after[0], before[0]);
    EXPECT_EQ(after[15], (before[15] + 1) % 20);
    // A left press keeps the mouse: released over b, it moves a.
    mouse.Pause();
    mouse.Press(a, Qt::LeftButton);
    mouse.Release(b, Qt::LeftButton);
    EXPECT_EQ(ClickCount, 2);
    after = PanelIndices();
    EXPECT_EQ(after[0], (before[0] + 1) % 20);
    EXPECT_EQ(after[15], (before[15] + 1) % 20);
}

TEST_F(Board, KeysNeverMove) {
    StartGame(3, 3);
    TPictureButton* p = Form2->Panels[1][1];
    p->setFocus();
    QTest::keyClick(p, Qt::Key_Space);
    QTest::keyClick(p, Qt::Key_Return);
    EXPECT_EQ(ClickCount, 0);
}

TEST_F(Board, TheKeyMSwitchesTheMarksAndChangesNothingElse) {
    StartGame(5, 20);
    ExpectMarks(false);
    ClickPanel(4, 4);
    Form2->Timer1->SetEnabled(false);
    ElapsedSeconds = 7;
    const std::vector<int> colours = PanelIndices();
    // Keys reach the panel that has the focus first; it passes M on.
    TPictureButton* focused = Form2->Panels[4][4];
    QTest::keyClick(focused, Qt::Key_M);
    ExpectMarks(true);
    // Other keys, and M with Ctrl, Alt or Meta, do nothing.
    for (auto key : {Qt::Key_A, Qt::Key_N, Qt::Key_Space, Qt::Key_Return})
        QTest::keyClick(focused, key);
    for (auto chord : {Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier}) {
        QTest::keyClick(focused, Qt::Key_M, chord);
        ExpectMarks(true);
    }
    // Held down, M switches once: its auto-repeats are ignored.
    QTest::keyPress(Form2, Qt::Key_M);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_M, Qt::NoModifier, "m", true);
    QApplication::sendEvent(Form2, &repeat);
    QTest::keyRelease(Form2, Qt::Key_M);
    ExpectMarks(false);

    EXPECT_EQ(PanelIndices(), colours);
    EXPECT_EQ(ClickCount, 1);
    EXPECT_EQ(ElapsedSeconds, 7);
    EXPECT_FALSE(Form2->Timer1->Enabled());
    EXPECT_EQ(Form2->Caption(), U("経過時間:0秒"));
}

TEST_F(Board, MarksStayForLaterGamesAndAMoveRepaintsOnlyTheChangedPanels) {
    StartGame(3, 4);
    QTest::keyClick(Form2, Qt::Key_M);
    Form2->Close();
    StartGame(20, 20);
    ExpectMarks(true);
    // Sized to the panel: the widest number fits inside the groove.
    TPictureButton* corner = Form2->Panels[0][0];
    EXPECT_LE(QFontMetrics(corner->font()).horizontalAdvance("20"), corner->width() - 4);
    QTest::qWait(20);
    for (auto [row, col] : {std::pair{2, 3}, std::pair{0, 19}, std::pair{2, 3}}) {
        TPictureButton* panel = Form2->Panels[row][col];
        mouse.Pause();
        mouse.Press(panel, Qt::LeftButton);
        QTest::qWait(20);
        std::set<TPictureButton*> changed;
        for (auto t : Form2->Board.TargetsOf(row, col)) changed.insert(Form2->Panels[t.row][t.col]);
        PanelPaints paints;
        mouse.Release(panel, Qt::LeftButton);
        QTest::qWait(20);
        EXPECT_EQ(paints.painted, changed) << row << "," << col;
        ExpectMarks(true);
    }
}

TEST_F(Board, TicksCountSecondsInTheCaption) {
    StartGame(3, 3);
    Form2->Timer1Timer();
    EXPECT_EQ(Form2->Caption(), U("経過時間:1秒"));
    for (int i = 0; i < 74; ++i) Form2->Timer1Timer();
    EXPECT_EQ(ElapsedSeconds, 75);
    EXPECT_EQ(Form2->Caption(), U("経過時間:75秒"));
}

TEST_F(Board, AMoveRestartsAStoppedClockFromZero) {
    StartGame(3, 3);
    Form2->Timer1->SetEnabled(false);
    ElapsedSeconds = 33;
    ClickPanel(0, 0);
    EXPECT_TRUE(Form2->Timer1->Enabled());
    EXPECT_EQ(ElapsedSeconds, 0);
    // A running clock is left alone.
    ElapsedSeconds = 5;
    ClickPanel(0, 0);
    EXPECT_EQ(ElapsedSeconds, 5);
}

TEST_F(Board, ClosingMidGameShowsTheMenuAndFreesThePanels) {
    StartGame(6, 3);
    Form2->Close();
    EXPECT_FALSE(Form2->Visible());
    EXPECT_TRUE(Form1->Visible());
    EXPECT_TRUE(Form2->Panels.empty());
    FlushDeletes();
    EXPECT_TRUE(Form2->findChildren<TPictureButton*>().isEmpty());
    EXPECT_TRUE(Form2->Timer1->Enabled());  // the abandoned clock runs on unseen
    EXPECT_EQ(Form1->Label3->text(), U("パネル数は36枚になります"));
}

// Press counts that bring a 3 x 3 board to one colour: every 3 x 3 board can be
// won, so a search over all press vectors finds one.
std::vector<int> FindSolution(const TPanelBoard& board, int k) {
    std::vector<int> presses(9, 0);
    for (;;) {
        // next press vector in base k
        int i = 0;
        while (i < 9 && ++presses[i] == k) presses[i++] = 0;
        if (i == 9) return {};
        TPanelBoard b = board;
        for (int cell = 0; cell < 9; ++cell)
            for (int t = 0; t < presses[cell]; ++t) b.ApplyMove(cell / 3, cell % 3);
        if (b.IsSolved()) return presses;
    }
}

TEST_F(Board, WinningStopsTheClockShowsTheRankingAndLocksTheBoard) {
    StartGame(3, 3);
    AnswerNextBox("OK");  // the score
    AnswerNextBox("OK");  // the name
    std::vector<int> presses = FindSolution(Form2->Board, 3);
    ASSERT_FALSE(presses.empty());
    int clicks = 0;
    for (int cell = 0; cell < 9; ++cell) {
        for (int t = 0; t < presses[cell]; ++t) {
            ASSERT_FALSE(Form3->Visible());
            ClickPanel(cell / 3, cell % 3);
            ++clicks;
        }
    }
    EXPECT_TRUE(Form2->Board.IsSolved());
    const std::vector<int> finalColours = PanelIndices();
    EXPECT_EQ(std::set<int>(finalColours.begin(), finalColours.end()).size(), 1u);
    EXPECT_EQ(ClickCount, clicks);
    // The ranking scored the game with the winning click counted.
    EXPECT_EQ(Form3->Label1->text(), U("%1秒\n%2クリック").arg(ElapsedSeconds).arg(clicks));
    EXPECT_EQ(Form3->StringGrid1->Cells(4, 1), QString::number(clicks));
    EXPECT_FALSE(Form2->Timer1->Enabled());
    EXPECT_TRUE(Form3->Visible());
    EXPECT_FALSE(Form2->Enabled());
    EXPECT_TRUE(Form2->Visible());
    // Locked: no more moves, and the close box does nothing.
    ClickPanel(1, 1);
    EXPECT_EQ(ClickCount, clicks);
    Form2->close();
    EXPECT_TRUE(Form2->Visible());
    // A click on it under a window manager activates it: the ranking takes that over.
    Form2->activateWindow();
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), Form3);
    // Closing the ranking closes the board and brings the menu back.
    Form3->Close();
    EXPECT_FALSE(Form2->Visible());
    EXPECT_TRUE(Form1->Visible());
    EXPECT_TRUE(Form1->Enabled());
}

// ---- Help: H, S and Ctrl+Z ----

// A key as the player presses it: to the panel that has the focus, which
// passes it on to the window.
void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = Form2->focusWidget() != nullptr ? Form2->focusWidget() : Form2;
    QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
}

// The fewest presses that win the board as it is now.
std::int64_t Fewest() {
    const std::vector<int> cells = PanelIndices();
    return solver::AnalyseBoard(Form2->Board.Size(), Form2->Board.Colors())
        ->SolveFewest(std::vector<std::int32_t>(cells.begin(), cells.end()))
        ->total;
}

// The presses left the panels show, row by row, after checking that they
// win the board and that only panels with presses left carry a picture.
std::vector<int> ShownPlan() {
    TPanelBoard b = Form2->Board;
    const int n = b.Size();
    std::vector<int> plan;
    for (int i = 0; i < n * n; ++i) {
        plan.push_back(Form2->HelpLookOf(i / n, i % n).presses);
        for (int t = 0; t < plan[i]; ++t) b.ApplyMove(i / n, i % n);
        EXPECT_EQ(Form2->Panels[i / n][i % n]->Picture().isNull(), plan[i] == 0) << i;
    }
    EXPECT_TRUE(b.IsSolved());
    return plan;
}

// Black, white and the panel's own colour all show on a helped panel, on
// every colour of the cycle.
void ExpectBlackWhiteAndFace(TPictureButton* p) {
    const TColor own = p->Color();
    for (TColor c : PanelPalette) {
        p->setColor(c);
        const QImage shot = p->grab().toImage();
        std::set<QRgb> seen;
        for (int y = 2; y < shot.height() - 2; ++y)
            for (int x = 2; x < shot.width() - 2; ++x) seen.insert(shot.pixel(x, y) & RGB_MASK);
        EXPECT_TRUE(seen.count(0x000000) && seen.count(0xFFFFFF)) << std::hex << c;
        EXPECT_TRUE(seen.count(framework::ColorToQColor(c).rgb() & RGB_MASK)) << std::hex << c;
    }
    p->setColor(own);
}

// Hint after hint, each gone with the move it asks for, wins in the fewest
// presses; the win is scored, told it is not ranked, and makes no ranking
// file nor its folder. The next game starts unhelped.
TEST_F(Board, FollowingTheHintsWinsInTheFewestPressesUnranked) {
    Form3->RankingPath = dir->file("data/horonpa/horonpa.ini");
    Form3->RankingInDataHome = true;
    RandSeed = 1234;
    StartGame(4, 3);
    const std::int64_t fewest = Fewest();
    dialogs->Press("OK").Press("OK");
    int presses = 0;
    while (!Form3->Visible() && presses <= fewest) {
        Key(Qt::Key_H);
        const auto hint = Form2->HintShown();
        ASSERT_TRUE(hint.has_value());
        TPictureButton* panel = Form2->Panels[hint->row][hint->col];
        if (presses == 0) ExpectBlackWhiteAndFace(panel);
        ClickPanel(hint->row, hint->col);
        ++presses;
        EXPECT_TRUE(panel->Picture().isNull());
    }
    EXPECT_EQ(presses, fewest);
    ASSERT_TRUE(Form3->Visible());
    ASSERT_EQ(dialogs->seen().size(), 3);  // Let's Go!!, the score, then
    EXPECT_EQ(dialogs->seen()[2].title, U("ホロンパ"));
    EXPECT_EQ(dialogs->seen()[2].text,
              U("ヒントや解き方を使ったゲームはランキングに登録されません"));
    EXPECT_FALSE(std::filesystem::exists(dir->file("data")));
    EXPECT_EQ(Form3->SpinEdit1->Value(), 4);

    Form3->Close();
    StartGame(3, 2);
    EXPECT_FALSE(HelpUsed);
}

// S shows the presses left: a press the plan asks for takes one off its
// panel, other presses and take-backs show the plan of the board as it is.
// Beside the marks of M each number keeps to its label, each mark to its
// caption. Hidden again, the plan still counts as help.
TEST_F(Board, ThePlanFollowsEveryMove) {
    RandSeed = 99;
    StartGame(5, 3);
    Key(Qt::Key_S);
    std::vector<int> plan = ShownPlan();
    EXPECT_EQ(std::accumulate(plan.begin(), plan.end(), 0), Fewest());
    const int on = static_cast<int>(std::find(plan.begin(), plan.end(), 1) - plan.begin());
    ASSERT_LT(on, 25);
    ClickPanel(on / 5, on % 5);
    --plan[on];
    EXPECT_EQ(ShownPlan(), plan);
    ClickPanel(on / 5, on % 5);  // now off the plan
    Key(Qt::Key_Z, Qt::ControlModifier);
    plan = ShownPlan();
    EXPECT_EQ(std::accumulate(plan.begin(), plan.end(), 0), Fewest());

    Key(Qt::Key_M);
    for (int i = 0; i < 25; ++i) {
        TPictureButton* p = Form2->Panels[i / 5][i % 5];
        ASSERT_EQ(p->CaptionTop() != -1, plan[i] > 0);
        ASSERT_EQ(p->Caption(), QString::number(PanelMarkOf(p->Color()).number));
    }
    const int labelled = static_cast<int>(
        std::find_if(plan.begin(), plan.end(), [](int p) { return p > 0; }) - plan.begin());
    ExpectBlackWhiteAndFace(Form2->Panels[labelled / 5][labelled % 5]);
    Key(Qt::Key_S);
    for (auto& row : Form2->Panels)
        for (TPictureButton* p : row) ASSERT_TRUE(p->Picture().isNull() && p->CaptionTop() == -1);
    EXPECT_TRUE(HelpUsed);
}

// A search for the fewest presses longer than a frame: a winning plan shows
// at once and the fewest soon after, found between events; the ring then
// stands on a panel that plan presses.
TEST_F(Board, ALongSearchShowsAPlanAtOnceAndTheFewestSoonAfter) {
    RandSeed = 16;
    StartGame(16, 8);
    Key(Qt::Key_S);
    Key(Qt::Key_H);
    ASSERT_TRUE(Form2->Help.Improving());
    ShownPlan();
    ASSERT_TRUE(QTest::qWaitFor([] { return !Form2->Help.Improving(); }, 10000));
    const std::vector<int> plan = ShownPlan();
    EXPECT_EQ(std::accumulate(plan.begin(), plan.end(), 0), Fewest());
    const auto hint = Form2->HintShown();
    ASSERT_TRUE(hint.has_value());
    EXPECT_GT(plan[hint->row * 16 + hint->col], 0);
}

// Each panel shows the picture of its own look (ring, presses left, mark),
// drawn for this game's panels: no two looks share one, and nothing is kept
// from the game before, neither from one with larger panels nor from the
// same deal.
TEST_F(Board, EachPanelShowsThePictureOfItsOwnLook) {
    for (int n : {5, 6, 6}) {
        RandSeed = 99;
        StartGame(n, 3);
        Key(Qt::Key_S);
        Key(Qt::Key_H);
        for (int shown = 0; shown < 3; ++shown) {
            if (shown > 0) Key(Qt::Key_M);  // on, then off again
            for (int r = 0; r < n; ++r)
                for (int c = 0; c < n; ++c) {
                    TPictureButton* p = Form2->Panels[r][c];
                    ASSERT_EQ(p->Picture(), HelpPicture(p->width(), Form2->HelpLookOf(r, c)))
                        << n << ": " << r << "," << c;
                }
        }
        Form2->Close();
    }
}

// While the search for the fewest presses goes on, the ring stands on a
// panel that the plan in hand presses, also when a better plan found later
// leaves the panel it first stood on alone.
TEST_F(Board, TheRingMovesWithABetterPlan) {
    RandSeed = 3;  // the first plan's first press is soon left alone
    StartGame(16, 8);
    Key(Qt::Key_H);
    ASSERT_TRUE(Form2->Help.Improving());
    int stale = 0;
    const auto ringOnThePlan = [&] {
        const auto hint = Form2->HintShown();
        const std::vector<std::int32_t>& plan = Form2->Help.Plan(Form2->Board);
        if (!hint || plan[static_cast<std::size_t>(hint->row * 16 + hint->col)] == 0) ++stale;
        return !Form2->Help.Improving();
    };
    ASSERT_TRUE(QTest::qWaitFor(ringOnThePlan, 10000));
    EXPECT_EQ(stale, 0);
}

// Ctrl+Z takes the moves back one by one to the deal, each panel exactly one
// colour back, counting a click each; the clock runs on; with nothing left it
// does nothing. H and S with Shift, Ctrl, Alt or Meta held, Z without Ctrl
// or with more, and the auto-repeats of all three do nothing.
TEST_F(Board, TakingMovesBackCountsAClickEachAndOtherChordsDoNothing) {
    StartGame(4, 20);
    std::vector<std::vector<int>> boards{PanelIndices()};
    for (auto [row, col] : {std::pair{0, 0}, std::pair{1, 2}, std::pair{1, 2}}) {
        ClickPanel(row, col);
        boards.push_back(PanelIndices());
    }
    for (auto mods : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier}) {
        Key(Qt::Key_H, mods);
        Key(Qt::Key_S, mods);
    }
    Key(Qt::Key_Z);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    for (auto [key, mods] :
         {std::pair{Qt::Key_H, Qt::NoModifier}, std::pair{Qt::Key_S, Qt::NoModifier},
          std::pair{Qt::Key_Z, Qt::ControlModifier}}) {
        QKeyEvent repeat(QEvent::KeyPress, key, mods, QString(), true);
        QApplication::sendEvent(Form2, &repeat);
    }
    EXPECT_FALSE(Form2->HintShown().has_value());
    EXPECT_FALSE(Form2->PlanShown());
    EXPECT_EQ(PanelIndices(), boards.back());
    EXPECT_EQ(ClickCount, 3);

    ElapsedSeconds = 9;
    for (int undo = 1; undo <= 3; ++undo) {
        Key(Qt::Key_Z, Qt::ControlModifier);
        boards.pop_back();
        EXPECT_EQ(PanelIndices(), boards.back());
        ExpectPanelsMatchModel();
        EXPECT_EQ(ClickCount, 3 + undo);
    }
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(PanelIndices(), boards.front());
    EXPECT_EQ(ClickCount, 6);
    EXPECT_EQ(ElapsedSeconds, 9);
    EXPECT_TRUE(Form2->Timer1->Enabled());
    EXPECT_FALSE(HelpUsed);  // taking back is no help
}

// Counted as a move is, a take-back that leaves the board in one colour wins
// as a move does: the clock stops and the game is ranked, its boxes over the
// finished board.
TEST_F(Board, ATakeBackIntoOneColourWinsRanked) {
    StartGame(3, 2);
    QList<const QWindow*> owners;
    const auto answer = [&](QWidget* box) {
        owners.push_back(box->windowHandle()->transientParent());
        QTest::keyClick(box, Qt::Key_Return);
    };
    dialogs->Then(answer).Then(answer);  // the score, the name
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            Form2->Board.SetCell(r, c, PanelPalette[1]);
            Form2->Panels[r][c]->setColor(PanelPalette[1]);
        }
    ClickPanel(1, 1);
    ASSERT_FALSE(Form3->Visible());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(Form3->Visible());
    EXPECT_FALSE(Form2->Timer1->Enabled());
    EXPECT_FALSE(Form2->Enabled());
    EXPECT_EQ(ReadRankRecord(ini, 3, 1).Clicks, 2);
    EXPECT_EQ(owners, QList<const QWindow*>(2, Form2->windowHandle()));
}

TEST_F(Board, DealtInOneColourIsNotSolvedUntilAMoveSolvesIt) {
    StartGame(3, 2);
    AnswerNextBox("OK");  // the score
    AnswerNextBox("OK");  // the name
    // Make the dealt board uniform, as a deal may be.
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            Form2->Board.SetCell(r, c, PanelPalette[0]);
            Form2->Panels[r][c]->setColor(PanelPalette[0]);
        }
    EXPECT_FALSE(Form3->Visible());
    ClickPanel(0, 0);
    EXPECT_FALSE(Form3->Visible());
    ClickPanel(0, 0);  // back to one colour
    EXPECT_TRUE(Form3->Visible());
    EXPECT_EQ(ClickCount, 2);
}

// The panel drawn at `dpr` device pixels per pixel.
QImage Render(TPictureButton* p, int dpr) {
    QImage image(p->size() * dpr, QImage::Format_ARGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    p->render(&image);
    return image;
}

int Contrast(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// With M, S and H all on, the ringed panel's number stands on its own colour:
// every pixel the number covers differs from what the ring and the label
// put there, on each of the 20 colours, on panels of 25 pixels (20 x 20 on a
// 1024-pixel screen) at 1x and at 2x. The number keeps a pixel clear of the
// groove, and the help leaves the groove as it is.
TEST_F(Board, WithMarkPlanAndHintOnEveryNumberReadsOnEveryColour) {
    const int outer = Form2->Width();
    const int frame = outer - Form2->ClientWidth();
    for (auto [side, dpr] : {std::pair{25, 1}, std::pair{25, 2}}) {
        SCOPED_TRACE(std::to_string(side) + " px at " + std::to_string(dpr) + "x");
        // The side follows from the width the last game left.
        StartGame(3, 2);
        Form2->SetWidth(20 * side + frame);
        Form2->Close();
        RandSeed = 2020;
        StartGame(20, 20);
        if (!Form2->MarksShown()) Key(Qt::Key_M);  // they stay on for later games
        Key(Qt::Key_S);
        Key(Qt::Key_H);
        const auto hint = Form2->HintShown();
        ASSERT_TRUE(hint.has_value());
        TPictureButton* p = Form2->Panels[hint->row][hint->col];
        ASSERT_EQ(p->width(), side);
        // As the board draws it on a screen of that resolution.
        p->setPicture(HelpPicture(side, Form2->HelpLookOf(hint->row, hint->col), dpr));
        const QImage help = p->Picture();
        const QString mark = p->Caption();
        for (TColor c : PanelPalette) {
            const TPanelMark m = PanelMarkOf(c);
            p->setColor(c);
            p->setFontColor(m.ink);
            p->setCaption(QString::number(m.number));
            const QImage all = Render(p, dpr);
            p->setPicture(QImage());
            const QImage number = Render(p, dpr);
            p->setCaption(QString());
            const QImage plain = Render(p, dpr);
            p->setPicture(help);
            const QImage under = Render(p, dpr);
            const QRgb ink = framework::ColorToQColor(m.ink).rgb();
            // The number's pixels: those it draws in (nearly) its ink on a
            // face of another colour.
            int covered = 0, hidden = 0, top = side * dpr, grooveChanged = 0;
            for (int y = 0; y < all.height(); ++y)
                for (int x = 0; x < all.width(); ++x) {
                    const int edge = std::min({x, y, all.width() - 1 - x, all.height() - 1 - y});
                    if (edge < 2 * dpr && all.pixel(x, y) != plain.pixel(x, y)) ++grooveChanged;
                    if (number.pixel(x, y) != plain.pixel(x, y)) top = std::min(top, y);
                    if (Contrast(number.pixel(x, y), ink) >= 64 ||
                        Contrast(plain.pixel(x, y), ink) < 96)
                        continue;
                    ++covered;
                    if (Contrast(under.pixel(x, y), ink) < 96) ++hidden;
                }
            EXPECT_GT(covered, 0) << m.number;
            EXPECT_EQ(hidden, 0) << "number " << m.number << ": " << hidden << " of " << covered
                                 << " pixels on the help's own ink";
            EXPECT_GE(top, 3 * dpr) << m.number;
            EXPECT_EQ(grooveChanged, 0) << m.number;
        }
        p->setCaption(mark);
        Form2->Close();
    }
    StartGame(3, 2);
    Form2->SetWidth(outer);
}

}  // namespace
