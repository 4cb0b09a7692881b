#include "game/RankingUpdate.h"

#include "framework/IniFile.h"
#include "framework/SysUtils.h"
#include "game/RankingStore.h"

using framework::IntToStr;
using framework::StrToInt;

namespace ranking {

namespace {

constexpr std::int32_t kResultRow = kRows + 1;

void LoadTable(TCellTable& table, const framework::TMemIniFile& file, std::int32_t size) {
    for (std::int32_t r = 1; r <= kRows; ++r) {
        rRanking e = ReadRankRecord(file, size, r);
        table.SetCell(colRank, r, IntToStr(r));
        table.SetCell(colName, r, e.Name);
        table.SetCell(colScore, r, IntToStr(e.Score));
        table.SetCell(colSeconds, r, IntToStr(e.Seconds));
        table.SetCell(colClicks, r, IntToStr(e.Clicks));
        table.SetCell(colColors, r, IntToStr(e.Colors));
    }
}

void WriteTable(const TCellTable& table, framework::TMemIniFile& file, std::int32_t size) {
    for (std::int32_t r = 1; r <= kRows; ++r) {
        rRanking e;
        e.Rank = r;
        e.Name = table.Cell(colName, r);
        e.Score = StrToInt(table.Cell(colScore, r));
        e.Seconds = StrToInt(table.Cell(colSeconds, r));
        e.Clicks = StrToInt(table.Cell(colClicks, r));
        e.Colors = StrToInt(table.Cell(colColors, r));
        WriteRankRecord(file, size, e);
    }
}

// Appends the result as row 11, moves it to its place and drops row 11 again;
// returns the row it took, kResultRow for none.
std::int32_t Place(TCellTable& table, const GameResult& result, const std::string& name) {
    table.SetRowCount(kResultRow + 1);
    table.SetCell(colName, kResultRow, name);
    table.SetCell(colScore, kResultRow, IntToStr(result.score));
    table.SetCell(colSeconds, kResultRow, IntToStr(result.seconds));
    table.SetCell(colClicks, kResultRow, IntToStr(result.clicks));
    table.SetCell(colColors, kResultRow, IntToStr(result.colors));
    const std::int32_t p = PlaceResult(table);
    table.SetRowCount(kResultRow);
    return p;
}

}  // namespace

void LoadTable(TCellTable& table, const std::string& iniPath, std::int32_t size) {
    LoadTable(table, framework::TIniFile(iniPath).ReadAll(), size);
}

void SwapRows(TCellTable& table, std::int32_t r1, std::int32_t r2) {
    for (std::int32_t c = colName; c <= colColors; ++c) {
        std::string t = table.Cell(c, r1);
        table.SetCell(c, r1, table.Cell(c, r2));
        table.SetCell(c, r2, std::move(t));
    }
}

void SaveRanking(const TCellTable& table, const std::string& iniPath, std::int32_t size) {
    framework::TIniFile(iniPath).Update([&](framework::TMemIniFile& file) {
        WriteTable(table, file, size);
        return true;
    });
}

std::int32_t PlaceResult(TCellTable& table) {
    std::int32_t p = kResultRow;
    for (std::int32_t r = kRows; r >= 1; --r) {
        if (StrToInt(table.Cell(colScore, r)) <= StrToInt(table.Cell(colScore, p))) {
            SwapRows(table, r, p);
            p = r;
        }
    }
    return p;
}

std::string NameBoxTitle(std::int32_t rank) {
    return framework::Cp932("【") + IntToStr(rank) + framework::Cp932("位】名前を入力してください");
}

std::string HelpedGameText() {
    return framework::Cp932("ヒントや解き方を使ったゲームはランキングに登録されません");
}

std::int32_t RunRankingUpdate(TCellTable& table, const std::string& iniPath, std::int32_t size,
                              const GameResult& result, RankingDialogs& dialogs,
                              const std::function<void()>& beforeSave, std::int32_t* savedRow) {
    if (savedRow != nullptr) *savedRow = kResultRow;
    LoadTable(table, iniPath, size);
    dialogs.ShowMessage(IntToStr(result.score));
    if (result.helped) {
        // The table stays as the file holds it, the file as it is.
        dialogs.ShowMessage(HelpedGameText());
        return kResultRow;
    }
    const std::int32_t p = Place(table, result, "");
    if (p == kResultRow) {
        dialogs.ShowMessage("Congratulations!!");
    } else {
        std::string name = dialogs.InputName(NameBoxTitle(p));
        if (name.empty()) name = "NoName";
        table.SetCell(colName, p, name);
        if (beforeSave) beforeSave();
        // The name box may have stood open for minutes while other games
        // saved this size: the result goes into the table as the file holds
        // it now, under the file's lock, and the ten rows are written in one
        // replace, so no result is lost and no save is half done.
        std::int32_t saved = kResultRow;
        framework::TIniFile(iniPath).Update([&](framework::TMemIniFile& file) {
            LoadTable(table, file, size);
            saved = Place(table, result, name);
            if (saved == kResultRow) return false;
            WriteTable(table, file, size);
            return true;
        });
        if (savedRow != nullptr) *savedRow = saved;
    }
    LoadTable(table, iniPath, size);
    return p;
}

}  // namespace ranking
