// horonpa-solver: deals, solves and measures boards from the command line.
//
//   horonpa-solver deal --seed S --size N --colors K
//   horonpa-solver solve --colors K          (board on standard input)
//   horonpa-solver stats --size N --colors K
//
// The output is fixed so that scripts can read it (see the README). Bad
// input, and any other failure, prints one line on standard error and exits
// with status 2; output that cannot be written, with status 1. Input is read
// in bounded memory: a line longer than any board needs is refused at once.
#include <cstdint>
#include <iostream>
#include <map>
#include <new>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/PanelBoard.h"
#include "game/Solver.h"

namespace {

constexpr int kBadInput = 2;
constexpr int kOutputFailed = 1;

// A row of 20 numbers needs some 60 bytes; this leaves room for any blanks.
constexpr std::size_t kMaxLineBytes = 4096;

struct TBadInput : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A decimal number of digits only, within lo..hi.
std::int64_t ParseNumber(const std::string& text, std::int64_t lo, std::int64_t hi,
                         const std::string& what) {
    if (text.empty() || text.size() > 12 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        throw TBadInput(what + " is not a number: '" + text + "'");
    }
    const std::int64_t value = std::stoll(text);
    if (value < lo || value > hi) {
        throw TBadInput(what + " " + text + " is out of range " + std::to_string(lo) + ".." +
                        std::to_string(hi));
    }
    return value;
}

// "--name value" pairs; every name must be one of `allowed` and all of them given once.
std::map<std::string, std::string> ParseOptions(int argc, char** argv,
                                                const std::vector<std::string>& allowed) {
    std::map<std::string, std::string> out;
    for (int i = 2; i < argc; i += 2) {
        const std::string name = argv[i];
        bool known = false;
        for (const std::string& a : allowed) known = known || name == "--" + a;
        if (!known) throw TBadInput("unknown option '" + name + "'");
        if (i + 1 >= argc) throw TBadInput("option '" + name + "' needs a value");
        if (!out.emplace(name.substr(2), argv[i + 1]).second) {
            throw TBadInput("option '" + name + "' given twice");
        }
    }
    for (const std::string& a : allowed) {
        if (!out.count(a)) throw TBadInput("missing option '--" + a + "'");
    }
    return out;
}

std::int32_t SizeOption(const std::map<std::string, std::string>& o) {
    return static_cast<std::int32_t>(
        ParseNumber(o.at("size"), kMinBoardSize, kMaxBoardSize, "size"));
}

std::int32_t ColorsOption(const std::map<std::string, std::string>& o) {
    return static_cast<std::int32_t>(
        ParseNumber(o.at("colors"), kMinColorCount, kMaxColorCount, "colour count"));
}

void PrintGrid(const std::vector<std::int32_t>& cells, std::int32_t n) {
    for (std::int32_t r = 0; r < n; ++r) {
        for (std::int32_t c = 0; c < n; ++c) {
            if (c != 0) std::cout << ' ';
            std::cout << cells[static_cast<std::size_t>(r * n + c)];
        }
        std::cout << '\n';
    }
}

int Deal(int argc, char** argv) {
    const auto o = ParseOptions(argc, argv, {"seed", "size", "colors"});
    const auto seed =
        static_cast<std::uint32_t>(ParseNumber(o.at("seed"), 0, 0xFFFFFFFFll, "seed"));
    const std::int32_t n = SizeOption(o), k = ColorsOption(o);
    FillPanelPalette();
    RandSeed = seed;
    TPanelBoard board;
    board.Deal(n, k);
    std::cout << "drawn\n";
    PrintGrid(board.DrawnIndices(), n);
    std::cout << "dealt\n";
    PrintGrid(board.Indices(), n);
    return 0;
}

// One line of `in` without its line end, refused when longer than
// kMaxLineBytes before more of it is read. False at the end of the input.
bool ReadLine(std::istream& in, std::string& line, std::size_t number) {
    line.clear();
    std::streambuf* buf = in.rdbuf();
    for (int c = buf->sbumpc(); c != '\n'; c = buf->sbumpc()) {
        if (c == std::char_traits<char>::eof()) return !line.empty();
        if (line.size() == kMaxLineBytes) {
            throw TBadInput("line " + std::to_string(number) + " is longer than " +
                            std::to_string(kMaxLineBytes) + " bytes");
        }
        line += static_cast<char>(c);
    }
    return true;
}

// N lines of N palette indices; N is the number of entries on the first
// line. Blank lines after the board are ignored.
std::vector<std::int32_t> ReadBoard(std::istream& in, std::int32_t k, std::int32_t& n) {
    std::vector<std::vector<std::string>> rows;
    std::size_t blanks = 0;  // blank lines not yet known to stand inside the board
    std::string line;
    for (std::size_t number = 1; ReadLine(in, line, number); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // What is wrong inside a line is named before the board's shape.
        if (line.find('\0') != std::string::npos) {
            throw TBadInput("line " + std::to_string(number) + " holds a NUL byte");
        }
        std::istringstream words(line);
        std::vector<std::string> row;
        for (std::string w; words >> w;) {
            ParseNumber(w, 0, k - 1, "line " + std::to_string(number) + ": palette index");
            row.push_back(w);
        }
        if (row.empty()) {
            ++blanks;
            continue;
        }
        rows.resize(rows.size() + blanks);
        blanks = 0;
        if (rows.size() >= static_cast<std::size_t>(kMaxBoardSize)) {
            throw TBadInput("more than " + std::to_string(kMaxBoardSize) + " rows");
        }
        rows.push_back(std::move(row));
    }
    if (rows.empty()) throw TBadInput("no board on standard input");
    n = static_cast<std::int32_t>(rows.front().size());
    if (n < kMinBoardSize || n > kMaxBoardSize) {
        throw TBadInput("board size " + std::to_string(n) + " is out of range " +
                        std::to_string(kMinBoardSize) + ".." + std::to_string(kMaxBoardSize));
    }
    if (static_cast<std::int32_t>(rows.size()) != n) {
        throw TBadInput("expected " + std::to_string(n) + " rows, got " +
                        std::to_string(rows.size()));
    }
    std::vector<std::int32_t> cells;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (static_cast<std::int32_t>(rows[r].size()) != n) {
            throw TBadInput("row " + std::to_string(r + 1) + " has " +
                            std::to_string(rows[r].size()) + " entries, expected " +
                            std::to_string(n));
        }
        for (const std::string& w : rows[r]) {
            cells.push_back(static_cast<std::int32_t>(ParseNumber(w, 0, k - 1, "palette index")));
        }
    }
    return cells;
}

int Solve(int argc, char** argv) {
    const auto o = ParseOptions(argc, argv, {"colors"});
    const std::int32_t k = ColorsOption(o);
    std::int32_t n = 0;
    const std::vector<std::int32_t> board = ReadBoard(std::cin, k, n);
    const std::optional<solver::TSolution> s = solver::AnalyseBoard(n, k)->SolveFewest(board);
    if (!s) {
        std::cout << "unsolvable\n";
        return 0;
    }
    std::cout << "target " << s->target << '\n';
    PrintGrid(s->presses, n);
    std::cout << "presses " << s->total << '\n';
    return 0;
}

int Stats(int argc, char** argv) {
    const auto o = ParseOptions(argc, argv, {"size", "colors"});
    const std::int32_t n = SizeOption(o), k = ColorsOption(o);
    const auto analysis = solver::AnalyseBoard(n, k);
    std::cout << "winnable 1/" << analysis->BoardsPerWinnable() << '\n';
    std::cout << "mend-cells " << analysis->MendCells().size() << '\n';
    return 0;
}

int Run(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "deal") return Deal(argc, argv);
    if (command == "solve") return Solve(argc, argv);
    if (command == "stats") return Stats(argc, argv);
    throw TBadInput(command.empty() ? "usage: horonpa-solver deal|solve|stats [options]"
                                    : "unknown command '" + command + "'");
}

}  // namespace

int main(int argc, char** argv) {
    int status = 0;
    try {
        status = Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::cerr << "horonpa-solver: out of memory\n";
        return kBadInput;
    } catch (const std::exception& e) {
        std::cerr << "horonpa-solver: " << e.what() << '\n';
        return kBadInput;
    }
    // Output that did not reach its file (a full disk, a closed pipe) is a failure.
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "horonpa-solver: cannot write to standard output\n";
        return kOutputFailed;
    }
    return status;
}
