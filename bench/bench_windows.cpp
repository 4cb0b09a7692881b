// The game's own windows, driven as a player drives them, timed from the
// outside:
//   board-show  from the confirmation answered Yes to every panel of the new
//               board painted, for N = 3, 10 and 20 with 20 colours;
//   move        on a 20 x 20 board, from the mouse release on a panel to the
//               changed panels painted, with the panels that were repainted.
//   first       with --first N: the first board of the process, N x N with
//               20 colours, from Yes to every panel painted, the menu played
//               as a player does (a preset or the selectors, "Let's Go!!",
//               Yes), with --pause P milliseconds before each press.
//   help        on a 20 x 20 board of 20 colours, its analysis kept: from the
//               key H to the ringed panel painted, each time after a press
//               the plan left alone (so the plan is made afresh); and with
//               the plan shown (S), from the mouse release to every panel
//               whose number changed painted, for presses the plan leaves
//               alone (made afresh) and presses it asks for.
// Paint events are counted by an application-wide event filter, so the
// controls carry no measuring code. Prints one JSON object with every sample.
//
//   bench_windows [--shows R] [--moves M] [--helps H]
//   bench_windows --first N [--pause P]
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <utility>

#include "controls/PictBtn.h"
#include "forms/StartUp.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"

Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type t, int k,
                                    Qt::KeyboardModifiers mods, const QString& text, bool autorep,
                                    ushort count);

namespace {

QElapsedTimer clockSinceStart;

double NowMs() { return static_cast<double>(clockSinceStart.nsecsElapsed()) / 1e6; }

// Counts paint events: which panels were painted, how often, and how many
// paints went to any other widget.
class PaintCounter : public QObject {
  public:
    void Reset() {
        panels.clear();
        panelPaints = 0;
        otherPaints = 0;
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        if (auto* panel = qobject_cast<TPictureButton*>(watched)) {
            panels.insert(panel);
            ++panelPaints;
        } else {
            ++otherPaints;
        }
        return false;
    }

    std::set<const TPictureButton*> panels;
    int panelPaints = 0;
    int otherPaints = 0;
};

PaintCounter* counter = nullptr;

// Runs the event loop until `done` holds; false after `limitMs`.
template <class Pred>
bool SpinUntil(Pred done, double limitMs = 5000) {
    const double until = NowMs() + limitMs;
    while (!done()) {
        if (NowMs() > until) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

// Lets whatever is queued (deferred deletes, repaints) run for a while.
void Settle(double ms) {
    const double until = NowMs() + ms;
    while (NowMs() < until) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Starts a game of `n` x `n` with `colors` colours from the main menu, answering
// the confirmation with Yes; returns the moment Yes was pressed. With a pause,
// Yes is pressed that many milliseconds after the box has appeared.
double StartGame(int n, int colors, double pauseMs = 0) {
    Form1->SpinEdit1->SetValue(n);
    Form1->SpinEdit2->SetValue(colors);
    double yesAt = -1;
    double boxAt = -1;
    QTimer answer;
    answer.setInterval(1);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr) return;
        if (boxAt < 0) boxAt = NowMs();
        if (NowMs() - boxAt < pauseMs) return;
        for (auto* button : box->findChildren<QAbstractButton*>()) {
            if (button->text() != QString::fromUtf8("はい(&Y)")) continue;
            answer.stop();
            yesAt = NowMs();
            button->click();
            return;
        }
    });
    answer.start();
    Form1->Button1->click();
    return yesAt;
}

bool BoardPainted(int n) {
    return static_cast<int>(counter->panels.size()) >= n * n && Form2->isVisible();
}

void EndGame() {
    Form2->Close();
    Settle(30);
}

QJsonArray Array(const std::vector<double>& v) {
    QJsonArray a;
    for (double x : v) a.append(x);
    return a;
}

// Mouse events as the window system delivers them: the window first, so the
// panel's capture and the application's routing take part.
class Pointer {
  public:
    void Send(QWidget* w, QEvent::Type type, Qt::MouseButton button) {
        QWindow* window = w->window()->windowHandle();
        const QPoint local =
            window->mapFromGlobal(w->mapToGlobal(QPoint(w->width() / 2, w->height() / 2)));
        if (type == QEvent::MouseButtonPress) buttons_ |= button;
        if (type == QEvent::MouseButtonRelease) buttons_ &= ~Qt::MouseButtons(button);
        // Far apart in time, so no two clicks make a double click.
        timestamp_ += 5000;
        qt_handleMouseEvent(window, local, window->mapToGlobal(QPointF(local)), buttons_, button,
                            type, {}, timestamp_);
    }

  private:
    Qt::MouseButtons buttons_;
    int timestamp_ = 0;
};

// A key pressed and released on the board, through the window system.
double PressKey(int key, const QString& text) {
    QWindow* window = Form2->windowHandle();
    const double at = NowMs();
    qt_handleKeyEvent(window, QEvent::KeyPress, key, Qt::NoModifier, text, false, 1);
    qt_handleKeyEvent(window, QEvent::KeyRelease, key, Qt::NoModifier, text, false, 1);
    return at;
}

// A panel of the 20 x 20 board whose press the plan asks for (`inPlan`) or
// leaves alone.
std::pair<int, int> PlanPanel(std::mt19937& pick, bool inPlan) {
    const std::vector<std::int32_t>& plan = Form2->Help.Plan(Form2->Board);
    std::vector<int> cells;
    for (int i = 0; i < 400; ++i)
        if ((plan[static_cast<std::size_t>(i)] > 0) == inPlan) cells.push_back(i);
    const int cell = cells[pick() % cells.size()];
    return {cell / 20, cell % 20};
}

std::vector<THelpLook> HelpLooks() {
    std::vector<THelpLook> out;
    for (int r = 0; r < 20; ++r)
        for (int c = 0; c < 20; ++c) out.push_back(Form2->HelpLookOf(r, c));
    return out;
}

// The hint and the plan on one 20 x 20 board of 20 colours.
bool HelpOnTheBoard(int trials, QJsonObject& out) {
    counter->Reset();
    StartGame(20, 20);
    if (!SpinUntil([] { return BoardPainted(20); })) return false;
    Settle(50);
    Pointer pointer;
    std::mt19937 pick(1808);
    auto press = [&](std::pair<int, int> at) {
        TPictureButton* panel = Form2->Panels[at.first][at.second];
        pointer.Send(panel, QEvent::MouseMove, Qt::NoButton);
        pointer.Send(panel, QEvent::MouseButtonPress, Qt::LeftButton);
        Settle(3);
        return panel;
    };

    std::vector<double> hintMs;
    for (int t = 0; t < trials && Form2->Enabled(); ++t) {
        TPictureButton* panel = press(PlanPanel(pick, false));
        pointer.Send(panel, QEvent::MouseButtonRelease, Qt::LeftButton);
        Settle(5);
        counter->Reset();
        const double at = PressKey(Qt::Key_H, "h");
        const auto hint = Form2->HintShown();
        if (!hint) return false;
        const TPictureButton* ringed = Form2->Panels[hint->row][hint->col];
        SpinUntil([&] { return counter->panels.count(ringed) != 0; });
        hintMs.push_back(NowMs() - at);
        Settle(3);
    }
    out["hint_ms"] = Array(hintMs);

    PressKey(Qt::Key_S, "s");
    Settle(50);
    std::vector<double> offMs, onMs, offRepainted;
    for (int t = 0; t < 2 * trials && Form2->Enabled(); ++t) {
        const bool inPlan = t % 2 == 1;
        const std::pair<int, int> at = PlanPanel(pick, inPlan);
        TPictureButton* panel = press(at);
        const std::vector<THelpLook> before = HelpLooks();
        counter->Reset();
        const double releasedAt = NowMs();
        pointer.Send(panel, QEvent::MouseButtonRelease, Qt::LeftButton);
        const std::vector<THelpLook> after = HelpLooks();
        std::set<const TPictureButton*> changed;
        for (auto p : Form2->Board.TargetsOf(at.first, at.second))
            changed.insert(Form2->Panels[p.row][p.col]);
        for (std::size_t i = 0; i < after.size(); ++i)
            if (!(after[i] == before[i])) changed.insert(Form2->Panels[i / 20][i % 20]);
        SpinUntil([&] {
            for (const TPictureButton* c : changed)
                if (counter->panels.count(c) == 0) return false;
            return true;
        });
        (inPlan ? onMs : offMs).push_back(NowMs() - releasedAt);
        if (!inPlan) offRepainted.push_back(static_cast<double>(changed.size()));
        Settle(3);
    }
    out["plan_update_ms"] = Array(offMs);
    out["plan_update_panels"] = Array(offRepainted);
    out["plan_update_in_plan_ms"] = Array(onMs);
    EndGame();
    return true;
}

}  // namespace

// The first board of the process: the menu shown, the selectors set, a
// player's pause, "Let's Go!!", another pause, Yes.
int FirstBoard(int n, double pauseMs) {
    if (!SpinUntil([] { return !counter->panels.empty() || counter->otherPaints > 0; })) return 1;
    Form1->SpinEdit1->SetValue(n);
    Form1->SpinEdit2->SetValue(20);
    Settle(pauseMs);
    counter->Reset();
    const double yesAt = StartGame(n, 20, pauseMs);
    if (yesAt < 0 || !SpinUntil([n] { return BoardPainted(n); })) {
        std::fprintf(stderr, "bench_windows: the first %dx%d board was not painted\n", n, n);
        return 1;
    }
    QJsonObject out;
    out["first_board_ms"] = NowMs() - yesAt;
    out["pause_ms"] = pauseMs;
    std::printf("%s\n", QJsonDocument(out).toJson(QJsonDocument::Compact).constData());
    return 0;
}

int main(int argc, char** argv) {
    int shows = 15;
    int moves = 200;
    int first = 0;
    int helps = 30;
    double pauseMs = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--shows") == 0) shows = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--moves") == 0) moves = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--first") == 0) first = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--pause") == 0) pauseMs = std::atof(argv[i + 1]);
        if (std::strcmp(argv[i], "--helps") == 0) helps = std::atoi(argv[i + 1]);
    }
    clockSinceStart.start();
    QApplication app(argc, argv);
    CreateApplicationWindows();
    counter = new PaintCounter;
    app.installEventFilter(counter);
    Form1->Show();
    if (first > 0) return FirstBoard(first, pauseMs);
    if (!SpinUntil([] { return Form1->isVisible(); })) return 1;
    Settle(200);

    QJsonObject out;
    QJsonObject showOut;
    for (int n : {3, 10, 20}) {
        std::vector<double> samples;
        for (int r = 0; r < shows; ++r) {
            counter->Reset();
            const double yesAt = StartGame(n, 20);
            if (yesAt < 0 || !SpinUntil([n] { return BoardPainted(n); })) {
                std::fprintf(stderr, "bench_windows: the %dx%d board was not painted\n", n, n);
                return 1;
            }
            samples.push_back(NowMs() - yesAt);
            EndGame();
        }
        showOut[QString::number(n)] = Array(samples);
    }
    out["board_show_ms"] = showOut;

    // Moves on one 20 x 20 board, at panels drawn at random.
    counter->Reset();
    StartGame(20, 20);
    if (!SpinUntil([] { return BoardPainted(20); })) return 1;
    Settle(50);
    Pointer pointer;
    std::mt19937 pick(2024);
    std::vector<double> moveMs, handledMs, repainted, changed, panelPaints, otherPaints, exact;
    for (int m = 0; m < moves && Form2->Enabled(); ++m) {
        const int row = static_cast<int>(pick() % 20);
        const int col = static_cast<int>(pick() % 20);
        TPictureButton* panel = Form2->Panels[row][col];
        pointer.Send(panel, QEvent::MouseMove, Qt::NoButton);
        pointer.Send(panel, QEvent::MouseButtonPress, Qt::LeftButton);
        Settle(3);
        std::set<const TPictureButton*> targets;
        for (auto p : Form2->Board.TargetsOf(row, col)) targets.insert(Form2->Panels[p.row][p.col]);

        counter->Reset();
        const double releasedAt = NowMs();
        pointer.Send(panel, QEvent::MouseButtonRelease, Qt::LeftButton);
        handledMs.push_back(NowMs() - releasedAt);
        SpinUntil([&] {
            for (const TPictureButton* t : targets)
                if (counter->panels.count(t) == 0) return false;
            return true;
        });
        moveMs.push_back(NowMs() - releasedAt);
        // Anything else the move repaints comes in the same round or never.
        Settle(3);
        repainted.push_back(static_cast<double>(counter->panels.size()));
        changed.push_back(static_cast<double>(targets.size()));
        panelPaints.push_back(counter->panelPaints);
        otherPaints.push_back(counter->otherPaints);
        exact.push_back(counter->panels == targets ? 1 : 0);
    }
    out["move_ms"] = Array(moveMs);
    out["move_release_handled_ms"] = Array(handledMs);
    out["move_panels_repainted"] = Array(repainted);
    out["move_panels_changed"] = Array(changed);
    out["move_panel_paint_events"] = Array(panelPaints);
    out["move_other_paint_events"] = Array(otherPaints);
    out["move_repainted_exactly_changed"] = Array(exact);
    EndGame();

    if (!HelpOnTheBoard(helps, out)) {
        std::fprintf(stderr, "bench_windows: the help on a 20x20 board did not show\n");
        return 1;
    }

    std::printf("%s\n", QJsonDocument(out).toJson(QJsonDocument::Compact).constData());
    return 0;
}
