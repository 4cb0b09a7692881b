// horonpa-ranking-check: the ranking file and the version information as this
// build reads, shows and writes them, for the end-to-end check that plays the
// Windows build under Wine against the Linux build (scripts/check-windows).
// Built for both.
//
//   horonpa-ranking-check view FILE SIZE
//       opens the ranking window from the menu on FILE at board size SIZE and
//       prints what its grid shows: rows 0..10, cells separated by a tab, UTF-8
//   horonpa-ranking-check win FILE SIZE SECONDS CLICKS COLORS NAME
//       what a win of those figures does to FILE when the name box is given
//       NAME: the ranking update of the ranking window, its save included;
//       prints the rank the name box showed (11: no place)
//   horonpa-ranking-check version EXE
//       the product name and version that the About window reads from the
//       version information of EXE, separated by a tab, UTF-8
//   horonpa-ranking-check palette
//       the 20 panel colours in cycle order, one a line, as RRGGBB in hex
//       (how a screenshot's pixels name the colours of a board)
//
// Arguments are taken as the system gives them in Unicode (on Windows the
// command line, not the ANSI argv), so file names and NAME may be Japanese.
// Any failure prints one line on standard error and exits with status 2.
#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "app/uGrobal.h"
#include "forms/StartUp.h"
#include "forms/Unit1.h"
#include "forms/Unit3.h"
#include "forms/Version.h"
#include "framework/Codepage.h"
#include "framework/SysUtils.h"
#include "framework/qt/Platform.h"
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

std::int32_t Number(const QString& text) { return framework::StrToInt(text.toStdString()); }

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

int View(const QStringList& args) {
    CreateApplicationWindows();
    Form3->RankingPath = framework::FileNameToCore(args[2]);
    Form3->RankingInDataHome = false;
    Form3->SpinEdit1->SetValue(Number(args[3]));
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
    Print(out);
    return 0;
}

int Win(const QStringList& args) {
    const std::int32_t size = Number(args[3]), seconds = Number(args[4]), clicks = Number(args[5]),
                       colors = Number(args[6]);
    const ranking::GameResult result{CalcScore(clicks, seconds, colors), seconds, clicks, colors};
    TCellTable table;
    table.SetColCount(ranking::kColumns);
    table.SetRowCount(ranking::kRows + 1);
    NamedDialogs dialogs(framework::Utf8ToCp932(args[7].toStdString()));
    const std::int32_t rank =
        ranking::RunRankingUpdate(table, framework::FileNameToCore(args[2]), size, result, dialogs);
    Print(std::to_string(rank) + "\n");
    return 0;
}

int VersionOf(const QStringList& args) {
    const std::string exe = framework::FileNameToCore(args[2]);
    Print(framework::Cp932ToUtf8(GetVersionInfoString(exe, kProductNameIndex)) + "\t" +
          framework::Cp932ToUtf8(GetVersionInfoString(exe, kProductVersionIndex)) + "\n");
    return 0;
}

int Palette() {
    FillPanelPalette();
    for (const TColor c : PanelPalette) {
        char line[8];
        std::snprintf(line, sizeof(line), "%02X%02X%02X\n", static_cast<unsigned>(c & 0xFF),
                      static_cast<unsigned>((c >> 8) & 0xFF),
                      static_cast<unsigned>((c >> 16) & 0xFF));
        Print(line);
    }
    return 0;
}

int Run(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    // Only the ranking window needs a display.
    std::unique_ptr<QCoreApplication> app;
    if (command == "view")
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (command == "view" && args.size() == 4) return View(args);
    if (command == "win" && args.size() == 8) return Win(args);
    if (command == "version" && args.size() == 3) return VersionOf(args);
    if (command == "palette" && args.size() == 2) return Palette();
    throw std::runtime_error(
        "usage: horonpa-ranking-check view FILE SIZE | win FILE SIZE SECONDS CLICKS COLORS NAME"
        " | version EXE | palette");
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const framework::Exception& e) {
        std::fprintf(stderr, "horonpa-ranking-check: %s\n",
                     framework::Cp932ToUtf8(e.Message()).c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "horonpa-ranking-check: %s\n", e.what());
    }
    return 2;
}
