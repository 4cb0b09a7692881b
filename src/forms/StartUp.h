// The start-up of the program up to its message loop: the application title,
// the fonts, the mouse capture, and the four windows created in order (main
// menu, board, ranking, About). Each window's create handler runs here.
#pragma once

void CreateApplicationWindows();
