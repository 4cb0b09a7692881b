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
    FlushDeletes();
    handlers.clear();
}

void FormsTest::FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QAbstractButton* FindButton(QWidget* dialog, const QString& caption) {
    for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
        if (b->text() == caption) return b;
    }
    return nullptr;
}

void FormsTest::AnswerNextBox(const QString& buttonCaption, const QString& expectCaption) {
    handlers.push_back(std::make_unique<testsupport::ModalHandler>([=, this](QWidget* box) {
        lastBoxText = testsupport::DialogText(box);
        lastBoxCaption = box->windowTitle();
        if (!expectCaption.isEmpty()) {
            EXPECT_EQ(box->windowTitle(), expectCaption);
        }
        QAbstractButton* b = FindButton(box, buttonCaption);
        EXPECT_NE(b, nullptr) << buttonCaption.toStdString();
        if (b != nullptr) b->click();
    }));
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
