// The four windows as start-up makes them, shared by the window tests (they
// live for the whole run, as in the program), and helpers to drive them.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QString>
#include <memory>
#include <vector>

#include "support/GuiHelpers.h"
#include "support/Mouse.h"
#include "support/TempDir.h"

#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "forms/Version.h"

class FormsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    // Every test starts from the idle main menu: only Form1 shown and enabled,
    // spin edits at 3 and 3, timer stopped.
    void SetUp() override;
    void TearDown() override;

    // The modal boxes of a test are answered in turn by `dialogs`; a box
    // nobody expected is closed (and seen), so no test hangs on one.
    // Presses the button captioned `caption` of the next box.
    void AnswerNextBox(const QString& buttonCaption) { dialogs->Press(buttonCaption); }
    // The title and text of the last box answered.
    QString LastBoxText() const;
    QString LastBoxCaption() const;
    // Starts a game of `size` x `size` with `colors` colours through the menu.
    void StartGame(int size, int colors);
    // A release of `button` on a panel (a press first for the left button).
    void ClickPanel(int row, int col, Qt::MouseButton button = Qt::LeftButton);
    // Deletes the panels of closed boards now.
    static void FlushDeletes();

    // The board window's outer size right after start-up.
    static QSize initialBoardSize;

    testsupport::Mouse mouse;
    std::unique_ptr<testsupport::DialogScript> dialogs;
    // Each test has its own ranking file.
    std::unique_ptr<testsupport::TempDir> dir;
    std::string ini;
};
