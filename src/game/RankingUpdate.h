// What a win does to the top-10 table of its board size: place the result,
// ask for a name when it has a place, save the table. The table is the
// ranking window's grid (row 0 headings, rows 1..10 ranks 1..10, columns
// rank / name / score / seconds / clicks / colours); the dialogs are the
// window's, reached through RankingDialogs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "game/CellTable.h"

namespace ranking {

constexpr std::int32_t kRows = 10;  // ranks in a table
constexpr std::int32_t kColumns = 6;

enum Column : std::int32_t { colRank = 0, colName, colScore, colSeconds, colClicks, colColors };

// The dialogs of a win; texts are CP932.
class RankingDialogs {
  public:
    virtual ~RankingDialogs() = default;
    // A plain message box (the score, "Congratulations!!").
    virtual void ShowMessage(const std::string& text) = 0;
    // The name box titled `title`; "" when cancelled.
    virtual std::string InputName(const std::string& title) = 0;
};

// A won game as the ranking sees it.
struct GameResult {
    std::int32_t score = 0;
    std::int32_t seconds = 0;
    std::int32_t clicks = 0;
    std::int32_t colors = 0;
    bool helped = false;  // the hint or the plan was shown during the game
};

// Loads the table of `size` into rows 1..10 from one read of the file: for
// each rank, read its entry and write the row right away (column 0 the row
// number, not the stored rank). A read error leaves the rows after the failing
// one as they were.
void LoadTable(TCellTable& table, const std::string& iniPath, std::int32_t size);

// Exchanges columns 1..5 of two rows; column 0 stays.
void SwapRows(TCellTable& table, std::int32_t r1, std::int32_t r2);

// Writes rows 1..10 as ranks 1..10 of `size`, rank 1 first, all in one
// replace of the file: a refused write stores none of them.
void SaveRanking(const TCellTable& table, const std::string& iniPath, std::int32_t size);

// Moves the result in row 11 up past every row whose score is less than or
// equal to its own (ten passes from row 10 to row 1, no early exit). Returns
// the row it ends in, 11 when it has no place.
std::int32_t PlaceResult(TCellTable& table);

// "【p位】名前を入力してください" in CP932.
std::string NameBoxTitle(std::int32_t rank);

// What a helped game is told after its score, in CP932.
std::string HelpedGameText();

// The whole update after a win on a board of `size`: load, show the score,
// place, then "Congratulations!!" or ask the name and save, then load again.
// A helped game ends after the score with HelpedGameText: it takes no place,
// and the file is neither written nor locked.
// The save is one transaction under the file's lock: the table is read
// afresh, the named result placed in it by the same rule, and the ten rows
// written in one replace, so games won at the same time keep every result
// that has a place. `beforeSave` runs just before it (the caller may have a
// directory to make). Returns the rank shown in the name box, 11 for none;
// `savedRow`, when given, receives the row the result took in the table as
// saved (other games saving meanwhile may have moved it from the rank shown),
// 11 when nothing was saved.
// Errors of the store end it where they arise: a refused save stores nothing
// and leaves the table showing the updated rows.
std::int32_t RunRankingUpdate(TCellTable& table, const std::string& iniPath, std::int32_t size,
                              const GameResult& result, RankingDialogs& dialogs,
                              const std::function<void()>& beforeSave = {},
                              std::int32_t* savedRow = nullptr);

}  // namespace ranking
