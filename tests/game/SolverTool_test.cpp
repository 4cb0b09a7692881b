// The horonpa-solver command: its output formats and its refusal of bad input.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "game/PanelBoard.h"
#include "game/Solver.h"
#include "support/TempDir.h"

namespace {

struct TRun {
    int status = -1;
    std::string out;
    std::string err;
};

#ifdef HORONPA_SOLVER_PATH

TRun RunTool(const std::string& args, const std::string& input = "") {
    testsupport::TempDir dir;
    testsupport::WriteAll(dir.file("in"), input);
    const std::string command = std::string("'") + HORONPA_SOLVER_PATH + "' " + args + " < '" +
                                dir.file("in") + "' > '" + dir.file("out") + "' 2> '" +
                                dir.file("err") + "'";
    const int raw = std::system(command.c_str());
    TRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = testsupport::ReadAll(dir.file("out"));
    run.err = testsupport::ReadAll(dir.file("err"));
    return run;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::string GridText(const std::vector<std::int32_t>& cells, int n) {
    std::string text;
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) text += (c ? " " : "") + std::to_string(cells[r * n + c]);
        text += "\n";
    }
    return text;
}

class SolverToolTest : public ::testing::Test {
  protected:
    void SetUp() override { FillPanelPalette(); }
};

TEST_F(SolverToolTest, DealPrintsTheDrawnAndTheDealtBoardOfTheSeed) {
    for (std::uint32_t seed : {1u, 4000000000u}) {
        const TRun run = RunTool("deal --seed " + std::to_string(seed) + " --size 5 --colors 7");
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        RandSeed = seed;
        TPanelBoard b;
        b.Deal(5, 7);
        EXPECT_EQ(run.out,
                  "drawn\n" + GridText(b.DrawnIndices(), 5) + "dealt\n" + GridText(b.Indices(), 5));
    }
}

TEST_F(SolverToolTest, DealOfAWinnableDrawPrintsTheSameBoardTwice) {
    const TRun run =
        RunTool("deal --seed 17 --size 10 --colors 9");  // every 10 x 10 board can be won
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0], "drawn");
    EXPECT_EQ(lines[11], "dealt");
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(lines[i], lines[i + 11]);
}

TEST_F(SolverToolTest, SolvePrintsTargetPressesAndTheirSum) {
    const std::string board = "1 0 0\n0 0 0\n0 0 0\n";
    const TRun run = RunTool("solve --colors 2", board);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 5u) << run.out;
    ASSERT_EQ(lines[0].rfind("target ", 0), 0u);
    const int target = std::stoi(lines[0].substr(7));
    std::vector<std::int32_t> presses;
    int sum = 0;
    for (int r = 1; r <= 3; ++r) {
        std::istringstream in(lines[r]);
        for (int v; in >> v;) {
            presses.push_back(v);
            sum += v;
        }
    }
    ASSERT_EQ(presses.size(), 9u);
    EXPECT_EQ(lines[4], "presses " + std::to_string(sum));
    // The fewest presses: checked against the solver and by playing them.
    auto fewest = solver::AnalyseBoard(3, 2)->SolveFewest({1, 0, 0, 0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(fewest.has_value());
    EXPECT_EQ(sum, fewest->total);
    TPanelBoard b;
    b.Deal(3, 2);
    const int cells[] = {1, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 9; ++i) b.SetCell(i / 3, i % 3, PanelPalette[cells[i]]);
    for (int i = 0; i < 9; ++i)
        for (int t = 0; t < presses[i]; ++t) b.ApplyMove(i / 3, i % 3);
    EXPECT_TRUE(b.IsSolved());
    EXPECT_EQ(b.CellIndex(0, 0), target);
}

TEST_F(SolverToolTest, SolveOfABoardThatCannotBeWon) {
    const TRun run =
        RunTool("solve --colors 2", "1 0 0 0 0\n0 0 0 0 0\n0 0 0 0 0\n0 0 0 0 0\n0 0 0 0 0\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "unsolvable\n");
}

TEST_F(SolverToolTest, StatsPrintsTheShareAndTheMendCells) {
    TRun run = RunTool("stats --size 5 --colors 7");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "winnable 1/49\nmend-cells 2\n");
    run = RunTool("stats --size 19 --colors 16");
    EXPECT_EQ(run.out, "winnable 1/" + solver::AnalyseBoard(19, 16)->BoardsPerWinnable() +
                           "\nmend-cells 16\n");
    run = RunTool("stats --colors 20 --size 20");
    EXPECT_EQ(run.out, "winnable 1/1\nmend-cells 0\n");
}

TEST_F(SolverToolTest, BadInputPrintsOneLineAndExitsWithTwo) {
    struct Case {
        const char* args;
        const char* input;
    } cases[] = {
        {"", ""},
        {"shuffle --size 5 --colors 7", ""},
        {"stats --size 5", ""},
        {"stats --size 5 --colors", ""},
        {"stats --size five --colors 7", ""},
        {"stats --size 2 --colors 7", ""},
        {"stats --size 21 --colors 7", ""},
        {"stats --size 5 --colors 1", ""},
        {"stats --size 5 --colors 21", ""},
        {"stats --size 5 --colors 7 --size 6", ""},
        {"stats --size 5 --colors 7 --seed 3", ""},
        {"deal --seed -1 --size 5 --colors 7", ""},
        {"deal --seed 4294967296 --size 5 --colors 7", ""},
        {"deal --seed 12 --size 5", ""},
        {"solve --colors 3", ""},
        {"solve --colors 3", "0 1 2\n0 1\n0 1 2\n"},           // ragged
        {"solve --colors 3", "0 1 2\n0 1 2\n"},                // too few rows
        {"solve --colors 3", "0 1 2\n0 1 2\n0 1 2\n0 1 2\n"},  // too many rows
        {"solve --colors 3", "0 1 2\n0 x 2\n0 1 2\n"},         // not a number
        {"solve --colors 3", "0 1 2\n0 3 2\n0 1 2\n"},         // index out of 0..K-1
        {"solve --colors 3", "0 1\n1 0\n"},                    // N out of range
        {"solve --colors 25", "0 1 2\n0 1 2\n0 1 2\n"},
        {"solve --colors 3", "0 1 2\n0 1 2\n0 1 2\n\n0 1 2\n"},  // a gap inside
    };
    for (const Case& c : cases) {
        const TRun run = RunTool(c.args, c.input);
        EXPECT_EQ(run.status, 2) << c.args << " / " << c.input;
        EXPECT_EQ(run.out, "") << c.args;
        const auto lines = Lines(run.err);
        EXPECT_EQ(lines.size(), 1u) << c.args << ": " << run.err;
    }
}

TEST_F(SolverToolTest, TheMessageNamesWhatIsWrongInsideALine) {
    const char withNul[] = "1 0 0\0 junk 7\n";
    EXPECT_EQ(RunTool("solve --colors 9", std::string(withNul, sizeof(withNul) - 1)).err,
              "horonpa-solver: line 1 holds a NUL byte\n");
    EXPECT_EQ(RunTool("solve --colors 9", "1 0 0\n0 junk 7\n").err,
              "horonpa-solver: line 2: palette index is not a number: 'junk'\n");
}

TEST_F(SolverToolTest, OverlongInputIsRefusedAndUnwritableOutputFails) {
    // A line no board needs is refused before the rest is read.
    TRun run = RunTool("solve --colors 3", std::string(4 << 20, '1') + "\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "horonpa-solver: line 1 is longer than 4096 bytes\n");
    // Standard output on a full device: one line on standard error, status 1.
    testsupport::TempDir dir;
    const std::string command = std::string("'") + HORONPA_SOLVER_PATH +
                                "' stats --size 5 --colors 7 > /dev/full 2> '" + dir.file("err") +
                                "'";
    const int raw = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 1);
    EXPECT_EQ(Lines(testsupport::ReadAll(dir.file("err"))).size(), 1u);
}

#endif  // HORONPA_SOLVER_PATH

}  // namespace
