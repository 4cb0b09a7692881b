// The game-wide variables that carry one game from the main menu to the
// board window and on to the ranking window. All 0 when the program starts.
#pragma once

#include <cstdint>

// Rows (= columns) of the board, 3..20 during a game.
extern std::int32_t BoardSize;
// Colours in play, 2..20 during a game.
extern std::int32_t ColorCount;
// Whole seconds since the board was shown; -1 while the ranking window is
// opened from the menu for browsing.
extern std::int32_t ElapsedSeconds;
// Panel releases in this game; -1 while browsing the ranking.
extern std::int32_t ClickCount;
// True once the hint or the plan was shown during this game: its win is not
// entered in the ranking. Reset with each new board.
extern bool HelpUsed;
