// horonpa-ranking-check: the ranking file as this build reads, shows and
// writes it, for the end-to-end check that plays the Windows build under Wine
// against the Linux build (scripts/check-windows). Built for both.
//
//   horonpa-ranking-check view FILE SIZE
//       opens the ranking window from the menu on FILE at board size SIZE and
//       prints what its grid shows: rows 0..10, cells separated by a tab, UTF-8
//   horonpa-ranking-check win FILE SIZE SECONDS CLICKS COLORS NAME
//       what a win of those figures does to FILE when the name box is given
//       NAME (UTF-8): the ranking update of the ranking window, its save
//       included; prints the rank the name box showed (11: no place)
//   horonpa-ranking-check palette
//       the 20 panel colours in cycle order, one a line, as RRGGBB in hex
//       (how a screenshot's pixels name the colours of a board)
//
// Any failure prints one line on standard error and exits with status 2.
#include <QApplication>
#include <cstdio>
#include <exception>
#include <string>

#include "app/uGrobal.h"
#include "forms/StartUp.h"
#include "forms/Unit1.h"
#include "forms/Unit3.h"
#include "framework/Codepage.h"
#include "framework/SysUtils.h"
#include "game/CellTable.h"
#include "game/PanelBoard.h"
#include "game/RankingUpdate.h"
#include "game/score.h"

namespace {

class NamedDialogs : public ranking::RankingDialogs {
  public:
    explicit NamedDialogs(std::string name) : name_(std::move(name)) {}
    void ShowMessage(const std::string&) override {}
    std::string InputName(const std::string&) override { return name_; }

  private:
    std::string name_;
};

std::int32_t Number(const char* text) { return framework::StrToInt(text); }

int View(int argc, char** argv) {
    if (argc != 4) throw std::runtime_error("usage: view FILE SIZE");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    CreateApplicationWindows();
    Form3->RankingPath = argv[2];
    Form3->RankingInDataHome = false;
    Form3->SpinEdit1->SetValue(Number(argv[3]));
    Form1->Show();
    Form1->Button6Click();  // スコアランキング: browsing, the size shown last
    std::string out;
    for (int r = 0; r < Form3->StringGrid1->RowCount(); ++r) {
        for (int c = 0; c < Form3->StringGrid1->ColCount(); ++c) {
            if (c != 0) out += '\t';
            out += Form3->StringGrid1->Cells(c, r).toStdString();
        }
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int Win(int argc, char** argv) {
    if (argc != 8) throw std::runtime_error("usage: win FILE SIZE SECONDS CLICKS COLORS NAME");
    const std::int32_t size = Number(argv[3]), seconds = Number(argv[4]), clicks = Number(argv[5]),
                       colors = Number(argv[6]);
    const ranking::GameResult result{CalcScore(clicks, seconds, colors), seconds, clicks, colors};
    TCellTable table;
    table.SetColCount(ranking::kColumns);
    table.SetRowCount(ranking::kRows + 1);
    NamedDialogs dialogs(framework::Utf8ToCp932(argv[7]));
    const std::int32_t rank = ranking::RunRankingUpdate(table, argv[2], size, result, dialogs);
    std::printf("%d\n", rank);
    return 0;
}

int Palette() {
    FillPanelPalette();
    for (const TColor c : PanelPalette) {
        std::printf("%02X%02X%02X\n", static_cast<unsigned>(c & 0xFF),
                    static_cast<unsigned>((c >> 8) & 0xFF),
                    static_cast<unsigned>((c >> 16) & 0xFF));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "view") return View(argc, argv);
        if (command == "win") return Win(argc, argv);
        if (command == "palette" && argc == 2) return Palette();
        throw std::runtime_error("usage: horonpa-ranking-check view|win|palette ...");
    } catch (const framework::Exception& e) {
        std::fprintf(stderr, "horonpa-ranking-check: %s\n",
                     framework::Cp932ToUtf8(e.Message()).c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "horonpa-ranking-check: %s\n", e.what());
    }
    return 2;
}
