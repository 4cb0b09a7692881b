#include "game/RankingUpdate.h"

#include "framework/SysUtils.h"
#include "game/RankingStore.h"

using framework::IntToStr;
using framework::StrToInt;

namespace ranking {

namespace {
constexpr std::int32_t kResultRow = kRows + 1;
}

void LoadTable(TCellTable& table, const std::string& iniPath, std::int32_t size) {
    for (std::int32_t r = 1; r <= kRows; ++r) {
        rRanking e = ReadRankRecord(iniPath, size, r);
        table.SetCell(colRank, r, IntToStr(r));
        table.SetCell(colName, r, e.Name);
        table.SetCell(colScore, r, IntToStr(e.Score));
        table.SetCell(colSeconds, r, IntToStr(e.Seconds));
        table.SetCell(colClicks, r, IntToStr(e.Clicks));
        table.SetCell(colColors, r, IntToStr(e.Colors));
    }
}

void SwapRows(TCellTable& table, std::int32_t r1, std::int32_t r2) {
    for (std::int32_t c = colName; c <= colColors; ++c) {
        std::string t = table.Cell(c, r1);
        table.SetCell(c, r1, table.Cell(c, r2));
        table.SetCell(c, r2, std::move(t));
    }
}

void SaveRanking(const TCellTable& table, const std::string& iniPath, std::int32_t size) {
    for (std::int32_t r = 1; r <= kRows; ++r) {
        rRanking e;
        e.Rank = r;
        e.Name = table.Cell(colName, r);
        e.Score = StrToInt(table.Cell(colScore, r));
        e.Seconds = StrToInt(table.Cell(colSeconds, r));
        e.Clicks = StrToInt(table.Cell(colClicks, r));
        e.Colors = StrToInt(table.Cell(colColors, r));
        WriteRankRecord(iniPath, size, e);
    }
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

std::int32_t RunRankingUpdate(TCellTable& table, const std::string& iniPath, std::int32_t size,
                              const GameResult& result, RankingDialogs& dialogs,
                              const std::function<void()>& beforeSave) {
    LoadTable(table, iniPath, size);
    table.SetRowCount(kResultRow + 1);
    table.SetCell(colName, kResultRow, "");
    table.SetCell(colScore, kResultRow, IntToStr(result.score));
    table.SetCell(colSeconds, kResultRow, IntToStr(result.seconds));
    table.SetCell(colClicks, kResultRow, IntToStr(result.clicks));
    table.SetCell(colColors, kResultRow, IntToStr(result.colors));
    dialogs.ShowMessage(table.Cell(colScore, kResultRow));
    const std::int32_t p = PlaceResult(table);
    table.SetRowCount(kResultRow);
    if (p == kResultRow) {
        dialogs.ShowMessage("Congratulations!!");
    } else {
        std::string name = dialogs.InputName(NameBoxTitle(p));
        table.SetCell(colName, p, name.empty() ? std::string("NoName") : name);
        if (beforeSave) beforeSave();
        SaveRanking(table, iniPath, size);
    }
    LoadTable(table, iniPath, size);
    return p;
}

}  // namespace ranking
