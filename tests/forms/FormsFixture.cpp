#include "forms/FormsFixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QTest>

#include "app/uGrobal.h"
#include "forms/StartUp.h"
#include "support/GuiHelpers.h"

QSize FormsTest::initialBoardSize;

void FormsTest::SetUpTestSuite() {
    if (Form1 != nullptr) return;
    CreateApplicationWindows();
    initialBoardSize = QSize(Form2->Width(), Form2->Height());
    Form1->Show();
}

void FormsTest::SetUp() {
    dialogs = std::make_unique<testsupport::DialogScript>();
    dir = std::make_unique<testsupport::TempDir>();
    ini = dir->file("horonpa.ini");
    Form3->RankingPath = ini;
    Form3->RankingInDataHome = false;
    HelpUsed = false;
    Form1->SpinEdit1->SetValue(3);
    Form1->SpinEdit2->SetValue(3);
    Form1->Show();
    Form1->SetEnabled(true);
}

void FormsTest::TearDown() {
    // Close whatever a test left open, in the order the program would.
    if (Form3->Visible()) Form3->Close();
    if (frmVersion->Visible()) frmVersion->Close();
    if (Form2->Visible()) {
        Form2->SetEnabled(true);
        Form2->Close();
    }
    Form2->Timer1->SetEnabled(false);
    if (Form2->MarksShown()) Form2->ToggleMarks();  // the run's choice, not the test's
    FlushDeletes();
    EXPECT_EQ(dialogs->pending(), 0) << "expected boxes that never came";
    dialogs.reset();
    dir.reset();
}

QString FormsTest::LastBoxText() const {
    return dialogs->seen().isEmpty() ? QString() : dialogs->seen().back().text;
}

QString FormsTest::LastBoxCaption() const {
    return dialogs->seen().isEmpty() ? QString() : dialogs->seen().back().title;
}

void FormsTest::FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void FormsTest::StartGame(int size, int colors) {
    Form1->SpinEdit1->SetValue(size);
    Form1->SpinEdit2->SetValue(colors);
    AnswerNextBox(QString::fromUtf8("はい(&Y)"));
    Form1->Button1->click();
    ASSERT_TRUE(Form2->Visible());
}

void FormsTest::ClickPanel(int row, int col, Qt::MouseButton button) {
    TPictureButton* panel = Form2->Panels[row][col];
    mouse.Pause();
    mouse.Click(panel, button, QPoint(panel->width() / 2, panel->height() / 2));
}
